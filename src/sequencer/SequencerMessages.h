#pragma once
// Texts the sequencing subsystem shows to the user. "%s" stands for a name; fill it with
// FormatText (platform/TextFormat.h).
#include <string_view>

namespace jorvo {

namespace SequencerMessages {

// A stored event element could not be read (element name, then the cause of the error).
inline constexpr std::string_view kEventReadFailed = "The %s element could not be read: %s.";
// Renaming a pattern or section into a name in use (wanted name, proposed name); Yes/No.
inline constexpr std::string_view kPatternNameInUse =
    "Pattern Name '%s' is already in use.  Would you like to use '%s' instead ?";
inline constexpr std::string_view kSectionNameInUse =
    "Section Name '%s' is already in use.  Would you like to use '%s' instead ?";

// Pattern banks. The bank standing for the open song's patterns, and the dialog titles.
inline constexpr std::string_view kCurrentBankName = "Current";
inline constexpr std::string_view kSelectPatternTitle = "Select Pattern";
inline constexpr std::string_view kSelectBankTitle = "Select Preset Bank";
inline constexpr std::string_view kRenamePatternTitle = "Rename Pattern";
inline constexpr std::string_view kRenameBankTitle = "Rename PatternBank";
inline constexpr std::string_view kInsertBankTitle = "Insert Bank";
// Adding or renaming a pattern into a name the bank holds (the name).
inline constexpr std::string_view kPatternNameTaken =
    "There is already a pattern named '%s' in this PatternBank. Please choose another name.";
// Refusals for the bank "Current".
inline constexpr std::string_view kCannotRenameBank = "You cannot rename this PatternBank.";
inline constexpr std::string_view kCannotRemoveBank = "You cannot remove this PatternBank.";
inline constexpr std::string_view kCannotAddPattern = "You cannot add a pattern to this PatternBank.";
inline constexpr std::string_view kCannotRemovePattern = "You cannot remove a pattern from this PatternBank.";
// Moving a pattern out of "Current"; Yes/No.
inline constexpr std::string_view kMoveFromCurrentQuestion =
    "You cannot remove  a pattern from this PatternBank.  Would you like to copy the pattern instead ?";
// Bank files (paths or names).
inline constexpr std::string_view kBankFileExists =
    "PatternBank file '%s' already exists. Please select another name or delete the existing PatternBank.";
inline constexpr std::string_view kBankRenameFailed = "Failed to rename PatternBank file from '%s' to '%s'.";
inline constexpr std::string_view kBankCreateFailed = "Failed to create PatternBank file '%s' . Sorry.";
inline constexpr std::string_view kBankDeleteFailed = "Failed to delete PatternBank file '%s'.";
inline constexpr std::string_view kBankSaveFailed = "Failed to save PatternBank file '%s'.";
inline constexpr std::string_view kBankNameInvalid =
    "'%s' cannot be used as a PatternBank name. Please select another name.";
// A bank whose file could not be read completely is never rewritten (the path).
inline constexpr std::string_view kBankDamaged =
    "PatternBank file '%s' could not be read completely. It is left unchanged.";
inline constexpr std::string_view kPatternCopyFailed = "The pattern '%s' could not be copied.";
// Questions of the bank dialog (a name); Yes/No.
inline constexpr std::string_view kBankNameExistsQuestion =
    "You already have a PatternBank named %s, are you sure you wish to create another ?";
inline constexpr std::string_view kRemoveBankQuestion = "Are you sure you wish to remove the PatternBank '%s' ?";
// The pattern-bank folder (the folder).
inline constexpr std::string_view kCreateFolderQuestion = "Folder '%s' does not exist would you like to create it ?";
inline constexpr std::string_view kCreateFolderFailed = "Failed to create Folder '%s'.";
inline constexpr std::string_view kBankFolderInvalid =
    "Your Current PatternBank Folder is invalid.  You can change this in the Folder tab of the Options dialog in "
    "the tools menu.";
// A pattern command of the bank dialog without a pattern.
inline constexpr std::string_view kNoPatternSelected = "No Pattern Selected.";

} // namespace SequencerMessages

} // namespace jorvo
