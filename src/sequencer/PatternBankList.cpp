#include "sequencer/PatternBankList.h"

#include <filesystem>
#include <system_error>

#include "document/Configuration.h"
#include "platform/FolderScan.h"
#include "platform/Paths.h"
#include "platform/ShellServices.h"
#include "platform/TextFormat.h"
#include "sequencer/Sequencer.h"
#include "sequencer/SequencerMessages.h"

namespace jorvo {

using namespace SequencerMessages;

namespace {

// Every file of the pattern-bank folder is a bank; under the plug-ins folder only bank files.
constexpr char kAnyFileMask[] = "*";
constexpr char kBankFileMask[] = "PatternBank";

void Tell(std::string_view pattern, std::initializer_list<std::string_view> arguments = {})
{
    Shell().MessageBox(FormatText(pattern, arguments));
}

bool AskYesNo(std::string_view pattern, std::initializer_list<std::string_view> arguments)
{
    return Shell().MessageBox(FormatText(pattern, arguments), "Jorvo", MessageButtons::YesNo,
                              MessageIcon::Question) == MessageAnswer::Yes;
}

// One spelling per file, so that two banks never hold (and save over) the same file.
std::string FileIdentity(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(path, error);
    return error ? path : canonical.string();
}

} // namespace

PatternBankList::PatternBankList(Sequencer& sequencer) : sequencer_(sequencer) {}

PatternBankList::~PatternBankList() = default;

const PatternBankList::BankArray& PatternBankList::GetBanks()
{
    if (!banks_)
        BuildBanks();
    return *banks_;
}

PatternBank* PatternBankList::GetBank(std::size_t index)
{
    const BankArray& banks = GetBanks();
    return index < banks.size() ? banks[index].get() : nullptr;
}

bool PatternBankList::IsCurrentBank(std::size_t index)
{
    const PatternBank* bank = GetBank(index);
    return bank != nullptr && bank->IsCurrent();
}

// Building the array ----------------------------------------------------------------------------

void PatternBankList::BuildBanks()
{
    banks_.emplace();
    auto current = std::make_unique<PatternBank>();
    current->ResetAsCurrent(sequencer_);
    banks_->push_back(std::move(current));

    std::set<std::string> attached;
    const std::string bankFolder = Configuration().GetPatternBankDir();
    if (EnsureBankFolder(bankFolder))
        ScanFolder(bankFolder, kAnyFileMask, attached);
    ScanFolder(Configuration().GetPluginsDir(), kBankFileMask, attached);
}

bool PatternBankList::EnsureBankFolder(const std::string& folder)
{
    if (!FolderExists(folder) && AskYesNo(kCreateFolderQuestion, {folder}) && !CreateFolder(folder))
        Tell(kCreateFolderFailed, {folder});
    if (FolderExists(folder))
        return true;
    Tell(kBankFolderInvalid);
    return false;
}

void PatternBankList::ScanFolder(const std::string& folder, const std::string& mask, std::set<std::string>& attached)
{
    for (const std::string& path : ScanFiles(folder, std::string("*.") + mask)) {
        auto bank = std::make_unique<PatternBank>();
        if (attached.insert(FileIdentity(path)).second && bank->AttachFile(path))
            banks_->push_back(std::move(bank));
    }
}

// Tabs and lists --------------------------------------------------------------------------------

void PatternBankList::FillTabs(std::vector<std::string>& labels)
{
    for (const std::unique_ptr<PatternBank>& bank : GetBanks())
        labels.push_back(bank->GetName());
}

void PatternBankList::FillPatterns(std::size_t index, std::vector<SeqEventPattern*>& list)
{
    if (PatternBank* bank = GetBank(index))
        bank->FillList(list);
}

// Bank commands ---------------------------------------------------------------------------------

bool PatternBankList::HasBankNamed(const std::string& name) const
{
    for (const std::unique_ptr<PatternBank>& bank : *banks_)
        if (bank->GetName() == name)
            return true;
    return false;
}

bool PatternBankList::InsertBank()
{
    GetBanks();
    std::string name;
    for (;;) {
        const std::optional<std::string> entered = Shell().PromptName(std::string(kInsertBankTitle), name);
        if (!entered)
            return false;
        name = *entered;
        if (CreateNamedBank(name))
            return true;
    }
}

// One attempt of InsertBank: false, after telling why, when the user is to be asked again.
bool PatternBankList::CreateNamedBank(const std::string& name)
{
    if (!PatternBank::IsUsableName(name)) {
        Tell(kBankNameInvalid, {name});
        return false;
    }
    if (HasBankNamed(name) && !AskYesNo(kBankNameExistsQuestion, {name}))
        return false;
    const std::string path = JoinPath(Configuration().GetPatternBankDir(), name + PatternBank::kFileExtension);
    if (PatternBank::PathTaken(path)) {
        Tell(kBankFileExists, {path});
        return false;
    }
    auto bank = std::make_unique<PatternBank>();
    if (!bank->CreateBankFile(path)) {
        Tell(kBankCreateFailed, {path});
        return false;
    }
    banks_->push_back(std::move(bank));
    return true;
}

bool PatternBankList::RemoveBank(std::size_t index)
{
    PatternBank* bank = GetBank(index);
    if (bank == nullptr)
        return false;
    if (bank->IsCurrent()) {
        Tell(kCannotRemoveBank);
        return false;
    }
    if (!AskYesNo(kRemoveBankQuestion, {bank->GetName()}))
        return false;
    const std::string path = bank->GetPath();
    if (!bank->DeleteBankFile()) {
        Tell(kBankDeleteFailed, {path});
        return false;
    }
    banks_->erase(banks_->begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

bool PatternBankList::RenameBank(std::size_t index)
{
    PatternBank* bank = GetBank(index);
    return bank != nullptr && bank->RenameBank();
}

// Pattern commands ------------------------------------------------------------------------------

PatternBank* PatternBankList::SelectedPatternBank(const SeqEventPattern* pattern, std::size_t index)
{
    if (pattern == nullptr) {
        Tell(kNoPatternSelected);
        return nullptr;
    }
    return GetBank(index);
}

PatternBank* PatternBankList::AskDestination(std::size_t source)
{
    SelectPresetBankRequest request;
    request.title = kSelectBankTitle;
    FillTabs(request.banks);
    request.selected = source;
    const std::optional<std::size_t> chosen = Shell().SelectPresetBank(request);
    return chosen && *chosen != source ? GetBank(*chosen) : nullptr;
}

bool PatternBankList::CopyToBank(SeqEventPattern* pattern, std::size_t index)
{
    PatternBank* source = SelectedPatternBank(pattern, index);
    PatternBank* destination = source != nullptr ? AskDestination(index) : nullptr;
    return destination != nullptr && source->CopyPattern(pattern, *destination);
}

bool PatternBankList::MoveToBank(SeqEventPattern* pattern, std::size_t index)
{
    PatternBank* source = SelectedPatternBank(pattern, index);
    PatternBank* destination = source != nullptr ? AskDestination(index) : nullptr;
    return destination != nullptr && source->MovePattern(pattern, *destination);
}

bool PatternBankList::RemovePatternAt(SeqEventPattern* pattern, std::size_t index)
{
    PatternBank* bank = SelectedPatternBank(pattern, index);
    return bank != nullptr && bank->RemovePattern(pattern) != nullptr;
}

bool PatternBankList::RenamePatternAt(SeqEventPattern* pattern, std::size_t index)
{
    PatternBank* bank = SelectedPatternBank(pattern, index);
    return bank != nullptr && bank->RenamePattern(pattern);
}

std::optional<PatternPick> PatternBankList::PickPattern()
{
    PickPatternRequest request;
    request.banks = this;
    request.title = kSelectPatternTitle;
    std::optional<PatternPick> pick = Shell().PickPattern(request);
    if (!pick || pick->pattern == nullptr)
        return std::nullopt;
    if (pick->asAlias && sequencer_.FindPattern(pick->pattern->GetName()) != pick->pattern) {
        pick->pattern = sequencer_.ReplicatePattern(pick->pattern);
        if (pick->pattern == nullptr)
            return std::nullopt;
    }
    return pick;
}

} // namespace jorvo
