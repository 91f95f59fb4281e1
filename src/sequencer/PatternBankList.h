#pragma once
// The pattern banks the selection dialog ("Select Pattern") shows, owned by the sequencer: first
// "Current" (the song's patterns), then every file of the pattern-bank folder and every
// ".PatternBank" file under the plug-ins folder. The array is built on first use; destroying the
// list destroys every bank, which saves the changed ones. The dialog's bank and pattern commands
// are the operations below; it calls them with the tab (bank index) it shows. UI thread only.
#include <cstddef>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/ShellRequests.h"
#include "sequencer/PatternBank.h"

namespace jorvo {

class Sequencer;

class PatternBankList {
public:
    using BankArray = std::vector<std::unique_ptr<PatternBank>>;

    // A list serving `sequencer`, whose patterns the bank "Current" shows. No folder is read yet.
    explicit PatternBankList(Sequencer& sequencer);
    // Destroys every bank; the changed ones are saved.
    ~PatternBankList();
    PatternBankList(const PatternBankList&) = delete;
    PatternBankList& operator=(const PatternBankList&) = delete;

    // The banks in tab order, building the array on first use (which may ask to create the
    // pattern-bank folder).
    const BankArray& GetBanks();
    // The number of banks, building the array on first use.
    std::size_t GetBankCount() { return GetBanks().size(); }
    // The bank at `index`, or null past the end.
    PatternBank* GetBank(std::size_t index);
    // True when `index` is the bank "Current".
    bool IsCurrentBank(std::size_t index);
    // The sequencer served.
    Sequencer& GetSequencer() const { return sequencer_; }

    // Appends one tab label per bank, in array order, to `labels`.
    void FillTabs(std::vector<std::string>& labels);
    // Appends the patterns of bank `index` to `list`; nothing past the end.
    void FillPatterns(std::size_t index, std::vector<SeqEventPattern*>& list);

    // Asks for a name ("Insert Bank") until a new bank file can be created in the pattern-bank
    // folder, and appends its bank. False on Cancel.
    bool InsertBank();
    // After the question, deletes the file of bank `index` and removes the bank. False for
    // "Current" (with a message), on No, or when the file cannot be deleted (with a message; the
    // bank stays).
    bool RemoveBank(std::size_t index);
    // The bank's RenameBank; false past the end.
    bool RenameBank(std::size_t index);
    // Asks for a destination ("Select Preset Bank") and copies `pattern` of bank `index` there.
    // False without a pattern ("No Pattern Selected."), on Cancel, for the same bank, or when
    // the copy is refused.
    bool CopyToBank(SeqEventPattern* pattern, std::size_t index);
    // The same, moving the pattern (out of "Current" a copy is offered instead).
    bool MoveToBank(SeqEventPattern* pattern, std::size_t index);
    // Removes `pattern` from bank `index` and destroys it. False without a pattern ("No Pattern
    // Selected.") or when the bank refuses.
    bool RemovePatternAt(SeqEventPattern* pattern, std::size_t index);
    // The bank's RenamePattern. False without a pattern ("No Pattern Selected.").
    bool RenamePatternAt(SeqEventPattern* pattern, std::size_t index);
    // Runs the selection dialog. The pattern chosen; when the dialog asked for an alias of a
    // pattern the song does not hold, a copy entered in the song's pattern list takes its place,
    // so the alias never refers to a bank's pattern. Nothing on Cancel or when the copy fails.
    std::optional<PatternPick> PickPattern();

private:
    void BuildBanks();
    bool EnsureBankFolder(const std::string& folder);
    void ScanFolder(const std::string& folder, const std::string& mask, std::set<std::string>& attached);
    bool HasBankNamed(const std::string& name) const;
    bool CreateNamedBank(const std::string& name);
    PatternBank* SelectedPatternBank(const SeqEventPattern* pattern, std::size_t index);
    PatternBank* AskDestination(std::size_t source);

    Sequencer& sequencer_;
    std::optional<BankArray> banks_;
};

} // namespace jorvo
