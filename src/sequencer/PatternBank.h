#pragma once
// A pattern bank: a library of patterns kept outside the song in an XML file, or the bank
// "Current", which stands for the patterns of the open song (the sequencer's pattern list). A file
// bank reads its patterns on first use and writes them back when it is destroyed, only when they
// changed.
//
// Bank file: the root "PatternBankFile" holding one "PatternList" (absent while the bank is
// empty) with one "Pattern" element per pattern in bank order. Anything else under the root
// survives every save; only the "PatternList" is replaced.
//
// A bank whose file could not be read completely (not XML, a pattern that could not be read, a
// duplicate name the user would not resolve) refuses every change: saving it would rewrite the
// file without what could not be read. UI thread only.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sequencer/SeqEventPattern.h"

namespace jorvo {

class CXMLArchive;
class Sequencer;

class PatternBank {
public:
    // The extension of bank files, and the root element of their documents.
    static constexpr char kFileExtension[] = ".PatternBank";
    static constexpr char kRootElement[] = "PatternBankFile";
    static constexpr char kListElement[] = "PatternList";

    // A bank without file, name or patterns.
    PatternBank() = default;
    // Saves the patterns when they were changed, then destroys them.
    ~PatternBank();
    PatternBank(const PatternBank&) = delete;
    PatternBank& operator=(const PatternBank&) = delete;

    // True when a bank name can become a file name: not empty, no folder separator, not "." or "..".
    static bool IsUsableName(const std::string& name);
    // True when something (a file, a folder, a dangling link) is at `path`.
    static bool PathTaken(const std::string& path);

    // Makes this the bank "Current" of `sequencer`: no file, no patterns of its own, unmodified.
    void ResetAsCurrent(Sequencer& sequencer);
    // Attaches the existing file `path` and names the bank after it; its patterns are read on
    // first use. False (unchanged) for "Current" or when no file is at `path`.
    bool AttachFile(const std::string& path);
    // Writes an empty bank file at `path` and attaches it. False (nothing written) for "Current",
    // when something is already at `path`, or when the file cannot be written.
    bool CreateBankFile(const std::string& path);
    // Deletes the bank file and drops the patterns without saving them. False, with nothing
    // changed, for "Current" or when the file cannot be deleted.
    bool DeleteBankFile();
    // Reads the patterns of the bank file (with a wait cursor), replacing those in memory. False
    // when there is no file or it cannot be read; the bank then holds no patterns.
    bool LoadPatterns();
    // Writes the patterns into the bank file (with a wait cursor), keeping the file's other
    // content. False, with the file left as it was, for "Current", a bank not read completely,
    // or when the file cannot be read or written.
    bool SavePatterns();

    // Appends every pattern of the bank ("Current": of the song) to `list`.
    void FillList(std::vector<SeqEventPattern*>& list);
    // The pattern named exactly `name` ("Current": in the song), or null.
    SeqEventPattern* FindPattern(const std::string& name);
    // Takes `pattern` into the bank, asking for another name ("Rename Pattern") while the bank
    // holds its name. False, and the caller keeps it, on Cancel, for "Current" (with a message)
    // or for a bank not read completely (with a message).
    bool AddPattern(std::unique_ptr<SeqEventPattern>& pattern);
    // Takes `pattern` out of the bank and hands it to the caller. Null (with a message) for
    // "Current" and for a bank not read completely; null when the bank does not hold it.
    std::unique_ptr<SeqEventPattern> RemovePattern(SeqEventPattern* pattern);
    // Asks for a new name ("Rename Pattern"; "Current": the song's rename dialog) until it is
    // free in the bank. False on Cancel, for the same name, or for a pattern not in the bank.
    bool RenamePattern(SeqEventPattern* pattern);
    // Asks for a new bank name ("Rename PatternBank") and renames the file to it in the same
    // folder. True for the unchanged name; false, with a message and the bank's name and path
    // kept, for "Current", a name in use or unusable, or a failed rename; false on Cancel.
    bool RenameBank();
    // Adds a deep copy of `pattern` (held by this bank) to `destination`. False when the copy
    // cannot be made or is refused; the copy is then destroyed.
    bool CopyPattern(SeqEventPattern* pattern, PatternBank& destination);
    // Moves `pattern` (held by this bank) to `destination`. Out of "Current" a copy is offered
    // instead. When `destination` refuses it the pattern stays here unchanged. False then, on No,
    // or when `destination` is this bank.
    bool MovePattern(SeqEventPattern* pattern, PatternBank& destination);

    // The shown name: "Current", or the file name without folder and extension.
    const std::string& GetName() const { return bankName_; }
    // The bank file; empty for "Current" and after DeleteBankFile.
    const std::string& GetPath() const { return bankPath_; }
    // True only for the bank "Current".
    bool IsCurrent() const { return isCurrent_; }
    // True when patterns were added, removed or renamed since they were read or saved.
    bool IsModified() const { return modified_; }
    // True once the patterns are in memory.
    bool IsLoaded() const { return patterns_.has_value(); }

private:
    using PatternList = std::vector<std::unique_ptr<SeqEventPattern>>;

    void EnsureLoaded();
    bool Holds(const SeqEventPattern* pattern);
    bool IsDamaged();
    bool RefusedForCurrent(std::string_view message) const;
    void TakeFile(const std::string& path);
    PatternList::iterator Find(const SeqEventPattern* pattern);
    bool InsertWithFreeName(std::unique_ptr<SeqEventPattern>& pattern);
    std::optional<std::string> ChooseFreeName(std::string name, bool askFirst, const SeqEventPattern* self);
    void ReadPatternList(const CXMLArchive& archive);
    bool StartBankDocument(CXMLArchive& archive, const std::string& path);
    void WritePatternList(const CXMLArchive& archive) const;

    std::string bankName_;
    std::string bankPath_;
    std::optional<PatternList> patterns_;
    bool isCurrent_ = false;
    bool modified_ = false;
    bool damaged_ = false;
    Sequencer* sequencer_ = nullptr;
};

} // namespace jorvo
