#pragma once
// What the preset dialog works on: the banks of one preset file and the presets in each, and every
// change the dialog can make to them. The file's document is shared through the XML archive; the
// banks are read from it again after every change. Banks are addressed by their position in
// Banks() (the dialog's tabs), presets by name within a bank.
//
// Preset file format (one file per instrument or effect type):
//   <PresetFile>
//     <PresetList>                 the default bank, stored without "Name", shown as "Default"
//       <Instrument Name="Bass" …/>  a preset: the target's element as SerializeXMLAs writes it,
//     </PresetList>                  named by its category ("Instrument" or "Effect")
//     <PresetList Name="Leads">…</PresetList>
//   </PresetFile>
// UI thread only.
#include <cstddef>
#include <string>
#include <vector>

#include "document/DomNode.h"

namespace jorvo {

class CXMLArchive;
class SeqEventTarget;

// One bank as the dialog shows it.
struct PresetBank {
    // The stored "Name", or "Default" for the bank stored without one.
    std::string name;
    // True for the bank stored without "Name".
    bool isDefault = false;
    // The names of its presets, in file order.
    std::vector<std::string> presets;
};

class PresetModel {
public:
    // Reads the banks of the document `archive` holds (root "PresetFile") for presets of `target`.
    // Both must outlive the model; `archive` is the one the file was opened with.
    PresetModel(CXMLArchive& archive, SeqEventTarget& target);
    PresetModel(const PresetModel&) = delete;
    PresetModel& operator=(const PresetModel&) = delete;

    // The banks in file order.
    const std::vector<PresetBank>& Banks() const { return banks_; }
    // The target presets are loaded into and saved from.
    SeqEventTarget& Target() const { return target_; }
    // True when the document changed since it was opened or last written.
    bool IsModified() const { return modified_; }

    // Loads preset `preset` of bank `bank` (or, when that bank has none of the name, of the default
    // bank) into the target, under the name `name` (SerializeXMLAs, which may ask to rename the
    // target). False when there is no such preset, the document was not read from a file, or the
    // element is not one the target can read (shown: "Preset '%s' could not be loaded into %s.").
    bool LoadPreset(std::size_t bank, const std::string& preset, const std::string& name);
    // Saves the target as a new preset `name` in bank `bank` (else the default bank, else a new
    // default bank). False, with a message shown, for an empty name ("The preset name cannot be
    // blank") or a name the bank holds ("Bank '%s' already contains a preset named '%s'.").
    bool SavePreset(std::size_t bank, const std::string& name);

    // Asks for a name ("Insert Bank") and appends a bank of that name. False on Cancel, for an
    // empty name or one that is already a bank.
    bool InsertBank();
    // Asks for a new name for bank `bank` ("Rename Bank"). False for the default bank, on Cancel,
    // for an unchanged or empty name or one that is already a bank.
    bool RenameBank(std::size_t bank);
    // Asks "Are you sure you wish to remove the Bank %s ?"" and on Yes removes the bank with its
    // presets. False for the default bank or on No.
    bool RemoveBank(std::size_t bank);

    // Removes preset `preset` from bank `bank` (or from the default bank). False when not found.
    bool RemovePreset(std::size_t bank, const std::string& preset);
    // Asks for a new name ("Rename Preset"). False when not found, on Cancel, for an unchanged name,
    // an empty one ("The preset name cannot be blank") or one its bank holds ("Bank '%s' already
    // contains a preset named '%s'.").
    bool RenamePreset(std::size_t bank, const std::string& preset);
    // Asks for a bank ("Select Preset Bank") and moves the preset there, to the end. False when not
    // found, on Cancel, or when the destination holds the name ("Bank '%s' already contains a
    // preset named '%s'.").
    bool MovePreset(std::size_t bank, const std::string& preset);

    // Writes the file when the document changed (the previous file is replaced only by a complete
    // one). True when nothing needed writing or the write succeeded; false, with the archive's
    // message shown, when it failed.
    bool Commit();

private:
    // A preset element and the bank element holding it.
    struct PresetPlace {
        DomNode bank;
        DomNode preset;
    };

    void Refresh();
    void Changed();
    DomNode BankNode(std::size_t bank) const;
    DomNode DefaultBankNode() const;
    std::string BankName(const DomNode& bank) const;
    bool IsBankName(const std::string& name) const;
    DomNode FindPreset(const DomNode& bank, const std::string& name) const;
    PresetPlace FindPresetOrDefault(std::size_t bank, const std::string& name) const;
    bool RefuseTakenName(const DomNode& bank, const std::string& name) const;
    bool Readable(const DomNode& preset, const std::string& name) const;
    DomNode AppendBank(const std::string* name);
    CXMLArchive StoringArchive() const;

    CXMLArchive& archive_;
    SeqEventTarget& target_;
    std::string category_;
    DomNode root_;
    std::vector<DomNode> bankNodes_;
    std::vector<PresetBank> banks_;
    bool modified_ = false;
};

} // namespace jorvo
