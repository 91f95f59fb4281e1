#include "engine/PresetModel.h"

#include <exception>
#include <filesystem>
#include <optional>

#include "document/XMLArchive.h"
#include "engine/EngineMessages.h"
#include "engine/SeqEventTarget.h"
#include "platform/Paths.h"
#include "platform/ShellServices.h"
#include "platform/TextFormat.h"

namespace jorvo {
namespace {

constexpr char kBankElement[] = "PresetList";
constexpr char kNameAttribute[] = "Name";

// Child elements of `parent` named `tag`, in document order.
std::vector<DomNode> ChildElements(const DomNode& parent, const std::string& tag)
{
    std::vector<DomNode> children;
    const DomNodeList nodes = parent.ChildNodes();
    for (std::size_t i = 0; i < nodes.Length(); ++i) {
        const DomNode node = nodes.Item(i);
        if (node.Type() == DomNodeType::Element && node.TagName() == tag)
            children.push_back(node);
    }
    return children;
}

void Tell(std::string_view pattern, std::initializer_list<std::string_view> arguments)
{
    Shell().MessageBox(FormatText(pattern, arguments));
}

} // namespace

PresetModel::PresetModel(CXMLArchive& archive, SeqEventTarget& target)
    : archive_(archive), target_(target), category_(target.GetTypeName())
{
    // The document element, wherever the archive stands.
    root_ = archive.GetCurrentNode().SelectSingleNode("/*").value_or(DomNode());
    Refresh();
}

void PresetModel::Refresh()
{
    bankNodes_ = ChildElements(root_, kBankElement);
    banks_.clear();
    for (const DomNode& node : bankNodes_) {
        PresetBank bank;
        bank.isDefault = !node.GetAttribute(kNameAttribute);
        bank.name = BankName(node);
        for (const DomNode& preset : ChildElements(node, category_))
            bank.presets.push_back(preset.GetAttribute(kNameAttribute).value_or(std::string()));
        banks_.push_back(std::move(bank));
    }
}

void PresetModel::Changed()
{
    modified_ = true;
    Refresh();
}

DomNode PresetModel::BankNode(std::size_t bank) const
{
    return bank < bankNodes_.size() ? bankNodes_[bank] : DomNode();
}

DomNode PresetModel::DefaultBankNode() const
{
    for (const DomNode& node : bankNodes_) {
        if (!node.GetAttribute(kNameAttribute))
            return node;
    }
    return DomNode();
}

std::string PresetModel::BankName(const DomNode& bank) const
{
    return bank.GetAttribute(kNameAttribute).value_or(std::string(kDefaultBankName));
}

bool PresetModel::IsBankName(const std::string& name) const
{
    for (const PresetBank& bank : banks_) {
        if (bank.name == name)
            return true;
    }
    return false;
}

// Compares names directly rather than through a path expression, so a name holding quotes
// cannot break the look-up.
DomNode PresetModel::FindPreset(const DomNode& bank, const std::string& name) const
{
    for (const DomNode& preset : ChildElements(bank, category_)) {
        if (preset.GetAttribute(kNameAttribute) == name)
            return preset;
    }
    return DomNode();
}

PresetModel::PresetPlace PresetModel::FindPresetOrDefault(std::size_t bank, const std::string& name) const
{
    const DomNode chosen = BankNode(bank);
    if (const DomNode preset = FindPreset(chosen, name))
        return {chosen, preset};
    const DomNode fallback = DefaultBankNode();
    return {fallback, FindPreset(fallback, name)};
}

bool PresetModel::RefuseTakenName(const DomNode& bank, const std::string& name) const
{
    if (name.empty()) {
        Shell().MessageBox(std::string(kPresetNameBlank));
        return true;
    }
    if (!FindPreset(bank, name))
        return false;
    Tell(kPresetNameTaken, {BankName(bank), name});
    return true;
}

// A preset file holds one type's presets; an element of another engine is refused before the
// target reads any of it, so a damaged file never half-changes the target.
bool PresetModel::Readable(const DomNode& preset, const std::string& name) const
{
    if (preset.GetAttribute("Engine") == target_.GetEngineName())
        return true;
    Tell(kPresetUnreadable, {name, target_.GetEngineName()});
    return false;
}

DomNode PresetModel::AppendBank(const std::string* name)
{
    CXMLArchive writer = StoringArchive();
    writer.SetCurrentNode(root_);
    if (!writer.CreateChild(kBankElement) || (name != nullptr && !writer.Write(kNameAttribute, *name)))
        return DomNode();
    return writer.GetCurrentNode();
}

// A copy of the file's archive at the same place, switched to storing (the document is kept).
CXMLArchive PresetModel::StoringArchive() const
{
    CXMLArchive writer(archive_);
    writer.Open(archive_.GetOwner(), archive_.GetPath(), CXMLArchive::kStore);
    return writer;
}

bool PresetModel::LoadPreset(std::size_t bank, const std::string& preset, const std::string& name)
{
    const PresetPlace place = FindPresetOrDefault(bank, preset);
    // Only a document read from its file has an archive that reads; a fresh one holds no preset
    // that was not saved in this dialog.
    if (!place.preset || !archive_.IsLoading() || !Readable(place.preset, preset))
        return false;
    CXMLArchive reader(archive_);
    reader.SetCurrentNode(place.preset);
    try {
        target_.SerializeXMLAs(reader, name);
    } catch (const std::exception&) {
        Tell(kPresetUnreadable, {preset, target_.GetEngineName()});
        return false;
    }
    return true;
}

bool PresetModel::SavePreset(std::size_t bank, const std::string& name)
{
    DomNode destination = BankNode(bank);
    if (!destination)
        destination = DefaultBankNode();
    if (!destination) {
        destination = AppendBank(nullptr);
        Changed();
    }
    if (!destination || RefuseTakenName(destination, name))
        return false;
    CXMLArchive writer = StoringArchive();
    writer.SetCurrentNode(destination);
    target_.SerializeXMLAs(writer, name);
    Changed();
    return true;
}

bool PresetModel::InsertBank()
{
    const std::optional<std::string> name = Shell().PromptName(std::string(kInsertBankTitle), std::string());
    if (!name || name->empty() || IsBankName(*name) || !AppendBank(&*name))
        return false;
    Changed();
    return true;
}

bool PresetModel::RenameBank(std::size_t bank)
{
    const DomNode node = BankNode(bank);
    if (!node || banks_[bank].isDefault || banks_[bank].name.empty())
        return false;
    const std::optional<std::string> name = Shell().PromptName(std::string(kRenameBankTitle), banks_[bank].name);
    if (!name || name->empty() || *name == banks_[bank].name || IsBankName(*name))
        return false;
    node.SetAttribute(kNameAttribute, *name);
    Changed();
    return true;
}

bool PresetModel::RemoveBank(std::size_t bank)
{
    const DomNode node = BankNode(bank);
    if (!node || banks_[bank].isDefault || banks_[bank].name.empty())
        return false;
    if (Shell().MessageBox(FormatText(kAskRemoveBank, {banks_[bank].name}), "Jorvo", MessageButtons::YesNo,
                           MessageIcon::Question) != MessageAnswer::Yes)
        return false;
    root_.RemoveChild(node);
    Changed();
    return true;
}

bool PresetModel::RemovePreset(std::size_t bank, const std::string& preset)
{
    const PresetPlace place = FindPresetOrDefault(bank, preset);
    if (!place.preset)
        return false;
    place.bank.RemoveChild(place.preset);
    Changed();
    return true;
}

bool PresetModel::RenamePreset(std::size_t bank, const std::string& preset)
{
    const PresetPlace place = FindPresetOrDefault(bank, preset);
    if (!place.preset)
        return false;
    const std::optional<std::string> name = Shell().PromptName(std::string(kRenamePresetTitle), preset);
    if (!name || *name == preset || RefuseTakenName(place.bank, *name))
        return false;
    place.preset.SetAttribute(kNameAttribute, *name);
    Changed();
    return true;
}

// The move is written like every other change, so it is not lost when the dialog closes.
bool PresetModel::MovePreset(std::size_t bank, const std::string& preset)
{
    const PresetPlace place = FindPresetOrDefault(bank, preset);
    if (!place.preset)
        return false;
    SelectPresetBankRequest request;
    for (const PresetBank& each : banks_)
        request.banks.push_back(each.name);
    request.selected = bank < banks_.size() ? bank : 0;
    const std::optional<std::size_t> chosen = Shell().SelectPresetBank(request);
    const DomNode destination = chosen ? BankNode(*chosen) : DomNode();
    if (!destination)
        return false;
    if (FindPreset(destination, preset)) {
        Tell(kPresetNameTaken, {BankName(destination), preset});
        return false;
    }
    place.bank.RemoveChild(place.preset);
    destination.AppendChild(place.preset);
    Changed();
    return true;
}

bool PresetModel::Commit()
{
    if (!modified_)
        return true;
    // A built-in type's folder below the skins folder may not exist before its first preset.
    CreateFolder(std::filesystem::path(archive_.GetPath()).parent_path().string());
    CXMLArchive writer = StoringArchive();
    if (!writer.Save())
        return false;
    modified_ = false;
    return true;
}

} // namespace jorvo
