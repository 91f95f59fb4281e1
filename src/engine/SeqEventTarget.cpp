#include "engine/SeqEventTarget.h"

#include "audio/SampleStore.h"
#include "document/ArchiveException.h"
#include "document/BinaryArchive.h"
#include "document/XMLArchive.h"
#include "engine/EngineMessages.h"
#include "engine/SoundStudio.h"
#include "platform/ShellServices.h"
#include "platform/TextFormat.h"
#include "platform/TreeSink.h"

namespace jorvo {

JORVO_IMPLEMENT_PERSISTENT(SeqEventTarget, PersistentObject, 0)

namespace {

constexpr std::uint8_t kBinaryVersion = 2;
// A damaged file must not make a target grow a slot list of billions of entries.
constexpr int kMaxSampleSlots = 4096;

SampleStore* CurrentSampleStore()
{
    SoundStudio* studio = SoundStudio::Current();
    return studio ? &studio->GetSampleStore() : nullptr;
}

// The sample-store index for `name`, or −1 when there is no store or the file cannot be used.
int LoadSampleByName(std::string name)
{
    SampleStore* store = CurrentSampleStore();
    return store ? store->LoadSample(name) : -1;
}

} // namespace

SeqEventTarget::~SeqEventTarget()
{
    ReleaseSampleSlots();
}

void SeqEventTarget::CopyFrom(const SeqEventTarget& other)
{
    SetName(other.GetName());
    timing_ = other.timing_;
}

void SeqEventTarget::HandleEvent(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {}

void SeqEventTarget::SetName(const std::string& name)
{
    if (name == name_)
        return;
    SoundStudio* studio = SoundStudio::Current();
    if (!studio)
        return;
    std::string unique = name;
    studio->MakeUniqueName(*this, unique);
    name_ = unique;
    studio->NameChanged(*this);
}

std::int32_t SeqEventTarget::GetParameterValue(std::uint16_t number) const
{
    const SeqParameter* parameter = FindParameter(number);
    return parameter ? parameter->LiveValue() : 0;
}

SeqParameter* SeqEventTarget::FindParameter(std::uint16_t number) const
{
    const auto found = parameters_.find(number);
    return found == parameters_.end() ? nullptr : found->second;
}

bool SeqEventTarget::AddParameter(SeqParameter* parameter)
{
    if (!parameter)
        return false;
    return parameters_.emplace(parameter->Number(), parameter).second;
}

bool SeqEventTarget::RemoveParameter(SeqParameter* parameter)
{
    return parameter && parameters_.erase(parameter->Number()) > 0;
}

bool SeqEventTarget::ContainsParameter(const SeqParameter* parameter) const
{
    return parameter && FindParameter(parameter->Number()) == parameter;
}

void SeqEventTarget::SetStoredValue(std::uint16_t number, std::int32_t value)
{
    if (SeqParameter* parameter = FindParameter(number))
        parameter->SetStored(value);
}

void SeqEventTarget::ApplyParameters()
{
    for (const auto& [number, parameter] : parameters_)
        HandleEvent(number, parameter->StoredValue(), 0, 0, 0);
}

bool SeqEventTarget::Rename()
{
    const std::optional<std::string> entered = Shell().PromptName("Rename", name_);
    if (!entered)
        return false;
    SetName(*entered);
    return true;
}

void SeqEventTarget::FillParameterTree(TreeSink& tree)
{
    const TreeSink::ItemId root = tree.InsertItem(TreeSink::Root, GetName(), 0, 0, nullptr);
    if (parameters_.empty()) {
        tree.InsertItem(root, std::string(kNoParameters), 0, 0, nullptr);
        return;
    }
    for (const auto& [number, parameter] : parameters_)
        tree.InsertItem(root, parameter->Name(), 2, 2, parameter);
}

void SeqEventTarget::SetSampleSlot(int slot, int index)
{
    SampleStore* store = CurrentSampleStore();
    if (slot < 0 || slot >= kMaxSampleSlots || !store)
        return;
    const auto position = static_cast<std::size_t>(slot);
    if (position < sampleSlots_.size()) {
        if (sampleSlots_[position] != kEmptySlot)
            store->Release(sampleSlots_[position]);
        sampleSlots_[position] = kEmptySlot;
    } else {
        // Slots in between hold nothing (an index there would be released without being held).
        sampleSlots_.resize(position + 1, kEmptySlot);
    }
    sampleSlots_[position] = static_cast<std::uint16_t>(index);
    store->AddRef(index);
}

int SeqEventTarget::GetSampleSlot(int slot) const
{
    if (slot < 0 || slot >= SampleSlotCount())
        return -1;
    return sampleSlots_[static_cast<std::size_t>(slot)];
}

void SeqEventTarget::ReleaseSampleSlots()
{
    if (SampleStore* store = CurrentSampleStore()) {
        for (const std::uint16_t index : sampleSlots_) {
            if (index != kEmptySlot)
                store->Release(index);
        }
    }
    sampleSlots_.clear();
}

void SeqEventTarget::WriteReference(CXMLArchive& archive) const
{
    if (archive.IsLoading())
        return;
    CXMLArchive reference(archive);
    reference.CreateChild("Target");
    reference.Write("Name", GetName());
    reference.Write("Class", GetTypeName());
}

// Binary storage ------------------------------------------------------------------------------

void SeqEventTarget::Serialize(BinaryArchive& archive)
{
    if (archive.IsStoring()) {
        archive.WriteByte(kBinaryVersion);
        archive.WriteString(name_);
        SerializeParameterBlock(archive);
        SerializeSampleBlock(archive);
        return;
    }
    const std::uint8_t version = archive.ReadByte();
    const std::string name = archive.ReadString();
    if (!name.empty())
        SetName(name);
    SerializeParameterBlock(archive);
    if (version > 1)
        SerializeSampleBlock(archive);
}

void SeqEventTarget::SerializeParameterBlock(BinaryArchive& archive)
{
    if (archive.IsStoring()) {
        archive.WriteDword(static_cast<std::uint32_t>(parameters_.size()));
        for (const auto& [number, parameter] : parameters_) {
            archive.WriteWord(number);
            archive.WriteInt32(parameter->StoredValue());
        }
        return;
    }
    const std::uint32_t count = archive.ReadDword();
    archive.RequireAvailable(static_cast<std::uint64_t>(count) * 6);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint16_t number = archive.ReadWord();
        const std::int32_t value = archive.ReadInt32();
        SetStoredValue(number, value);
    }
    ApplyParameters();
}

void SeqEventTarget::SerializeSampleBlock(BinaryArchive& archive)
{
    if (archive.IsStoring()) {
        SampleStore* store = CurrentSampleStore();
        archive.WriteDword(static_cast<std::uint32_t>(sampleSlots_.size()));
        for (std::size_t slot = 0; slot < sampleSlots_.size(); ++slot) {
            archive.WriteDword(static_cast<std::uint32_t>(slot));
            const bool empty = sampleSlots_[slot] == kEmptySlot || !store;
            archive.WriteString(empty ? std::string() : store->GetSampleName(sampleSlots_[slot]));
        }
        return;
    }
    ReleaseSampleSlots();
    const std::uint32_t count = archive.ReadDword();
    archive.RequireAvailable(static_cast<std::uint64_t>(count) * 8);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t slot = archive.ReadDword();
        const std::string name = archive.ReadString();
        if (slot < static_cast<std::uint32_t>(kMaxSampleSlots))
            SetSampleSlot(static_cast<int>(slot), LoadSampleByName(name));
    }
}

// XML storage ---------------------------------------------------------------------------------

void SeqEventTarget::SerializeXML(CXMLArchive& archive)
{
    if (!archive.IsLoading()) {
        archive.CreateChild(GetTypeName());
        archive.Write("Name", GetName());
        StoreXMLChildren(archive);
        return;
    }
    if (!archive.IsCurrent(GetTypeName()))
        throw ArchiveException(ArchiveException::Cause::Generic, archive.GetPath());
    std::string name;
    if (archive.Read("Name", name))
        SetName(name);
    LoadXMLParameters(archive);
    LoadXMLSampleSlots(archive);
}

void SeqEventTarget::StoreXMLChildren(CXMLArchive& archive)
{
    for (const auto& [number, parameter] : parameters_) {
        CXMLArchive child(archive);
        child.CreateChild("Parameter");
        child.Write("Name", parameter->Name());
        child.Write("Value", parameter->StoredValue());
    }
    SampleStore* store = CurrentSampleStore();
    for (std::size_t slot = 0; slot < sampleSlots_.size(); ++slot) {
        CXMLArchive child(archive);
        child.CreateChild("AudioFile");
        const bool empty = sampleSlots_[slot] == kEmptySlot || !store;
        child.Write("Name", empty ? std::string() : store->GetSampleName(sampleSlots_[slot]));
        child.Write("Index", static_cast<int>(slot));
    }
}

void SeqEventTarget::LoadXMLParameters(CXMLArchive& archive)
{
    DomNodeList list;
    archive.SelectChildren("Parameter", list);
    DomNode node;
    while (archive.NextNode(list, node)) {
        CXMLArchive child(archive);
        child.SetCurrentNode(node);
        std::string name;
        int value = 0;
        if (!child.Read("Name", name) || !child.Read("Value", value))
            continue;
        for (const auto& [number, parameter] : parameters_) {
            if (parameter->Name() == name)
                parameter->SetStored(value);
        }
    }
    ApplyParameters();
}

void SeqEventTarget::LoadXMLSampleSlots(CXMLArchive& archive)
{
    ReleaseSampleSlots();
    DomNodeList list;
    archive.SelectChildren("AudioFile", list);
    DomNode node;
    while (archive.NextNode(list, node)) {
        CXMLArchive child(archive);
        child.SetCurrentNode(node);
        std::string name;
        int slot = 0;
        if (child.Read("Name", name) && child.Read("Index", slot))
            SetSampleSlot(slot, LoadSampleByName(name));
    }
}

void SeqEventTarget::SerializeEngineName(BinaryArchive& archive)
{
    constexpr std::uint8_t kEngineVersion = 1;
    if (archive.IsStoring()) {
        archive.WriteByte(kEngineVersion);
        archive.WriteString(GetEngineName());
        return;
    }
    archive.ReadByte();
    if (archive.ReadString() != GetEngineName())
        throw ArchiveException(ArchiveException::Cause::Generic);
}

void SeqEventTarget::SerializeXMLEngineName(CXMLArchive& archive)
{
    if (!archive.IsLoading()) {
        archive.Write("Engine", GetEngineName());
        return;
    }
    std::string engine;
    if (!archive.Read("Engine", engine) || engine != GetEngineName())
        throw ArchiveException(ArchiveException::Cause::Generic, archive.GetPath());
}

void SeqEventTarget::SerializeXMLAs(CXMLArchive& archive, const std::string& presetName)
{
    const std::string kept = name_;
    name_ = presetName;
    SerializeXML(archive);
    name_ = kept;
    if (!archive.IsLoading() || kept == presetName)
        return;
    const std::string_view question =
        GetTypeName() == "Instrument" ? kAskRenameInstrument : kAskRenameEffect;
    if (Shell().MessageBox(FormatText(question, {kept, presetName}), "Jorvo", MessageButtons::YesNo,
                           MessageIcon::Question) == MessageAnswer::Yes)
        SetName(presetName);
}

} // namespace jorvo
