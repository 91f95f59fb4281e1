#include "sequencer/PatternBank.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "document/ArchiveException.h"
#include "document/DeepCopy.h"
#include "document/XMLArchive.h"
#include "platform/Paths.h"
#include "platform/ShellServices.h"
#include "platform/TextFormat.h"
#include "sequencer/SeqEventFactory.h"
#include "sequencer/Sequencer.h"
#include "sequencer/SequencerMessages.h"

namespace jorvo {

namespace fs = std::filesystem;
using namespace SequencerMessages;

namespace {

void Tell(std::string_view pattern, std::initializer_list<std::string_view> arguments = {})
{
    Shell().MessageBox(FormatText(pattern, arguments));
}

bool AskYesNo(std::string_view pattern, std::initializer_list<std::string_view> arguments)
{
    return Shell().MessageBox(FormatText(pattern, arguments), "Jorvo", MessageButtons::YesNo,
                              MessageIcon::Question) == MessageAnswer::Yes;
}

} // namespace

PatternBank::~PatternBank()
{
    if (modified_)
        SavePatterns();
}

bool PatternBank::IsUsableName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string::npos &&
           name.find('\0') == std::string::npos;
}

bool PatternBank::PathTaken(const std::string& path)
{
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

void PatternBank::ResetAsCurrent(Sequencer& sequencer)
{
    patterns_.reset();
    bankPath_.clear();
    bankName_ = kCurrentBankName;
    modified_ = false;
    damaged_ = false;
    isCurrent_ = true;
    sequencer_ = &sequencer;
}

bool PatternBank::AttachFile(const std::string& path)
{
    if (isCurrent_ || !FileExists(path))
        return false;
    TakeFile(path);
    return true;
}

void PatternBank::TakeFile(const std::string& path)
{
    bankPath_ = path;
    bankName_ = fs::path(path).stem().string();
}

bool PatternBank::CreateBankFile(const std::string& path)
{
    if (isCurrent_ || PathTaken(path))
        return false;
    CXMLArchive archive;
    if (!StartBankDocument(archive, path) || !archive.Save())
        return false;
    TakeFile(path);
    patterns_.emplace();
    modified_ = false;
    damaged_ = false;
    return true;
}

bool PatternBank::DeleteBankFile()
{
    if (isCurrent_)
        return false;
    std::error_code error;
    fs::remove(bankPath_, error);
    if (error)
        return false;
    patterns_.reset();
    bankPath_.clear();
    modified_ = false;
    damaged_ = false;
    return true;
}

// Loading and saving ----------------------------------------------------------------------------

void PatternBank::EnsureLoaded()
{
    if (!isCurrent_ && !patterns_)
        LoadPatterns();
}

bool PatternBank::LoadPatterns()
{
    WaitCursor wait;
    patterns_.emplace();
    modified_ = false;
    damaged_ = false;
    if (bankPath_.empty() || !FileExists(bankPath_))
        return false;
    CXMLArchive archive;
    if (!archive.Open(this, bankPath_, CXMLArchive::kLoad)) {
        damaged_ = true;
        return false;
    }
    ReadPatternList(archive);
    modified_ = false;
    return true;
}

void PatternBank::ReadPatternList(const CXMLArchive& archive)
{
    DomNodeList nodes;
    if (!archive.GetChildList(kListElement, nodes))
        return;
    DomNode node;
    while (archive.NextNode(nodes, node)) {
        // Only pattern elements are turned into patterns; other nodes are not the bank's.
        if (node.TagName() != SeqEvent::ElementName(kSeqEventPattern))
            continue;
        CXMLArchive child(archive);
        child.SetCurrentNode(node);
        std::unique_ptr<SeqEventPattern> pattern = SeqEventFactory::CreatePatternFromXML(child);
        if (!pattern || !InsertWithFreeName(pattern))
            damaged_ = true;
    }
}

bool PatternBank::SavePatterns()
{
    if (isCurrent_ || bankPath_.empty() || !patterns_)
        return false;
    if (damaged_) {
        Tell(kBankDamaged, {bankPath_});
        return false;
    }
    WaitCursor wait;
    // The reader keeps the file's document alive while the writer replaces its pattern list.
    CXMLArchive reader;
    CXMLArchive writer;
    if (FileExists(bankPath_)) {
        if (!reader.Open(this, bankPath_, CXMLArchive::kLoad) || !writer.Open(this, bankPath_, CXMLArchive::kStore))
            return false;
        const DomNode root = reader.GetCurrentNode();
        writer.SetCurrentNode(root);
        DomNode oldList;
        while (writer.FindChild(kListElement, oldList))
            root.RemoveChild(oldList);
    } else if (!StartBankDocument(writer, bankPath_)) {
        Tell(kBankSaveFailed, {bankPath_});
        return false;
    }
    if (!patterns_->empty())
        WritePatternList(writer);
    if (!writer.Save())
        return false;
    modified_ = false;
    return true;
}

bool PatternBank::StartBankDocument(CXMLArchive& archive, const std::string& path)
{
    if (!archive.Open(this, path, CXMLArchive::kStore))
        return false;
    // The shared document still holds another archive's content while that archive lives.
    std::string rootName;
    if (archive.GetRootName(rootName) && !archive.Reset())
        return false;
    return archive.CreateRoot(kRootElement);
}

void PatternBank::WritePatternList(const CXMLArchive& archive) const
{
    CXMLArchive list(archive);
    list.CreateChild(kListElement);
    for (const std::unique_ptr<SeqEventPattern>& pattern : *patterns_) {
        CXMLArchive child(list);
        pattern->SerializeXML(child);
    }
}

// Patterns --------------------------------------------------------------------------------------

void PatternBank::FillList(std::vector<SeqEventPattern*>& list)
{
    if (isCurrent_) {
        for (const auto& [name, pattern] : sequencer_->Patterns())
            list.push_back(pattern.get());
        return;
    }
    EnsureLoaded();
    for (const std::unique_ptr<SeqEventPattern>& pattern : *patterns_)
        list.push_back(pattern.get());
}

SeqEventPattern* PatternBank::FindPattern(const std::string& name)
{
    if (isCurrent_)
        return sequencer_->FindPattern(name);
    EnsureLoaded();
    const auto found = std::find_if(patterns_->begin(), patterns_->end(),
                                    [&name](const auto& pattern) { return pattern->GetName() == name; });
    return found == patterns_->end() ? nullptr : found->get();
}

PatternBank::PatternList::iterator PatternBank::Find(const SeqEventPattern* pattern)
{
    EnsureLoaded();
    return std::find_if(patterns_->begin(), patterns_->end(),
                        [pattern](const auto& held) { return held.get() == pattern; });
}

bool PatternBank::Holds(const SeqEventPattern* pattern)
{
    if (pattern == nullptr)
        return false;
    if (isCurrent_)
        return sequencer_->FindPattern(pattern->GetName()) == pattern;
    return Find(pattern) != patterns_->end();
}

bool PatternBank::IsDamaged()
{
    EnsureLoaded();
    if (damaged_)
        Tell(kBankDamaged, {bankPath_});
    return damaged_;
}

bool PatternBank::RefusedForCurrent(std::string_view message) const
{
    if (isCurrent_)
        Tell(message);
    return isCurrent_;
}

bool PatternBank::AddPattern(std::unique_ptr<SeqEventPattern>& pattern)
{
    if (!pattern || RefusedForCurrent(kCannotAddPattern) || IsDamaged())
        return false;
    return InsertWithFreeName(pattern);
}

bool PatternBank::InsertWithFreeName(std::unique_ptr<SeqEventPattern>& pattern)
{
    const std::optional<std::string> name = ChooseFreeName(pattern->GetName(), false, nullptr);
    if (!name)
        return false;
    pattern->SetName(*name);
    patterns_->push_back(std::move(pattern));
    modified_ = true;
    return true;
}

std::optional<std::string> PatternBank::ChooseFreeName(std::string name, bool askFirst, const SeqEventPattern* self)
{
    for (bool ask = askFirst;; ask = true) {
        if (ask) {
            std::optional<std::string> entered = Shell().PromptName(std::string(kRenamePatternTitle), name);
            if (!entered)
                return std::nullopt;
            name = *entered;
        }
        if (name.empty())
            continue;
        const SeqEventPattern* holder = FindPattern(name);
        if (holder == nullptr || holder == self)
            return name;
        Tell(kPatternNameTaken, {name});
    }
}

std::unique_ptr<SeqEventPattern> PatternBank::RemovePattern(SeqEventPattern* pattern)
{
    if (RefusedForCurrent(kCannotRemovePattern) || IsDamaged())
        return nullptr;
    const auto found = Find(pattern);
    if (found == patterns_->end())
        return nullptr;
    std::unique_ptr<SeqEventPattern> taken = std::move(*found);
    patterns_->erase(found);
    modified_ = true;
    return taken;
}

bool PatternBank::RenamePattern(SeqEventPattern* pattern)
{
    if (!Holds(pattern))
        return false;
    if (isCurrent_)
        return sequencer_->RenameWithDialog(pattern);
    if (IsDamaged())
        return false;
    const std::optional<std::string> name = ChooseFreeName(pattern->GetName(), true, pattern);
    if (!name || *name == pattern->GetName())
        return false;
    pattern->SetName(*name);
    modified_ = true;
    return true;
}

bool PatternBank::CopyPattern(SeqEventPattern* pattern, PatternBank& destination)
{
    if (!Holds(pattern))
        return false;
    std::unique_ptr<SeqEventPattern> copy;
    try {
        copy = DeepCopy(*pattern);
    } catch (const ArchiveException&) {
        Tell(kPatternCopyFailed, {pattern->GetName()});
        return false;
    }
    return copy && destination.AddPattern(copy);
}

bool PatternBank::MovePattern(SeqEventPattern* pattern, PatternBank& destination)
{
    if (&destination == this || !Holds(pattern))
        return false;
    if (isCurrent_)
        return AskYesNo(kMoveFromCurrentQuestion, {}) && CopyPattern(pattern, destination);
    const std::size_t place = static_cast<std::size_t>(Find(pattern) - patterns_->begin());
    const bool wasModified = modified_;
    std::unique_ptr<SeqEventPattern> moving = RemovePattern(pattern);
    if (!moving)
        return false;
    if (destination.AddPattern(moving))
        return true;
    // Refused: the name it had is free again, so it goes back where it was.
    patterns_->insert(patterns_->begin() + static_cast<std::ptrdiff_t>(place), std::move(moving));
    modified_ = wasModified;
    return false;
}

// The bank itself -------------------------------------------------------------------------------

bool PatternBank::RenameBank()
{
    if (isCurrent_) {
        Tell(kCannotRenameBank);
        return false;
    }
    const std::optional<std::string> entered = Shell().PromptName(std::string(kRenameBankTitle), bankName_);
    if (!entered)
        return false;
    if (*entered == bankName_)
        return true;
    if (!IsUsableName(*entered)) {
        Tell(kBankNameInvalid, {*entered});
        return false;
    }
    const std::string newPath = JoinPath(fs::path(bankPath_).parent_path().string(), *entered + kFileExtension);
    if (PathTaken(newPath)) {
        Tell(kBankFileExists, {newPath});
        return false;
    }
    std::error_code error;
    fs::rename(bankPath_, newPath, error);
    if (error) {
        Tell(kBankRenameFailed, {bankPath_, newPath});
        return false;
    }
    TakeFile(newPath);
    return true;
}

} // namespace jorvo
