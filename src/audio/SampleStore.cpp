#include "audio/SampleStore.h"

#include <array>
#include <atomic>
#include <fstream>
#include <vector>

#include "audio/AudioMessages.h"
#include "audio/WavReader.h"
#include "document/Configuration.h"
#include "platform/Paths.h"
#include "platform/ShellServices.h"
#include "platform/TextFormat.h"

namespace jorvo {
namespace {

constexpr int kGrowthStep = 8;
constexpr int kBlockCount = (SampleStore::kMaxEntries + kGrowthStep - 1) / kGrowthStep;

// Entries live in blocks of kGrowthStep that never move once allocated, so the render threads
// can read an entry without a lock while the user-interface thread appends new ones.
class SampleTable {
public:
    ~SampleTable() { Clear(); }

    int Count() const { return count_.load(std::memory_order_acquire); }

    SampleRecord* At(int index) const
    {
        if (index < 0 || index >= Count())
            return nullptr;
        return &blocks_[index / kGrowthStep].load(std::memory_order_acquire)[index % kGrowthStep];
    }

    // Appends a new empty entry and returns its index, or −1 when the table is full.
    int Append()
    {
        const int index = Count();
        if (index >= SampleStore::kMaxEntries)
            return -1;
        std::atomic<SampleRecord*>& block = blocks_[index / kGrowthStep];
        if (!block.load(std::memory_order_relaxed))
            block.store(new SampleRecord[kGrowthStep], std::memory_order_release);
        count_.store(index + 1, std::memory_order_release);
        return index;
    }

    void Clear()
    {
        count_.store(0, std::memory_order_release);
        for (std::atomic<SampleRecord*>& block : blocks_)
            delete[] block.exchange(nullptr, std::memory_order_acq_rel);
    }

    int liveStores = 0;

private:
    std::array<std::atomic<SampleRecord*>, kBlockCount> blocks_{};
    std::atomic<int> count_{0};
};

SampleTable& Table()
{
    static SampleTable table;
    return table;
}

// An entry the next load may take: it holds no sample and nobody holds its index.
bool IsFree(const SampleRecord& record)
{
    return !record.HasData() && record.refCount < 1;
}

void ShowMessage(std::string_view pattern, const std::string& name)
{
    Shell().MessageBox(FormatText(pattern, {name}));
}

// The sample folder with '/' separators and no trailing separator.
std::string SampleFolder()
{
    return Configuration().GetSampleDir();
}

// `name` relative to `folder` when it lies inside it (exact, case-sensitive comparison).
std::string RelativeToFolder(const std::string& name, const std::string& folder)
{
    if (folder.empty())
        return name;
    const std::string prefix = folder == "/" ? folder : folder + "/";
    if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0)
        return name.substr(prefix.size());
    return name;
}

// The file a name refers to: an absolute name as it stands, a relative one inside the sample
// folder.
std::string PathOf(const std::string& name, const std::string& folder)
{
    return name.front() == '/' ? name : JoinPath(folder, name);
}

// The index of the entry named `name`, or −1; `firstFree` gets the first free entry met, or −1.
int FindEntry(const std::string& name, int& firstFree)
{
    SampleTable& table = Table();
    firstFree = -1;
    for (int index = 0; index < table.Count(); ++index) {
        const SampleRecord& record = *table.At(index);
        if (record.name == name)
            return index;
        if (firstFree < 0 && IsFree(record))
            firstFree = index;
    }
    return -1;
}

} // namespace

SampleStore::SampleStore()
{
    SampleTable& table = Table();
    if (table.liveStores++ == 0)
        table.Clear();
}

SampleStore::~SampleStore()
{
    // The browser would otherwise report a choice to a store that is gone.
    if (browserShown_)
        Shell().CloseFileBrowser(this);
    SampleTable& table = Table();
    if (--table.liveStores == 0)
        table.Clear();
}

int SampleStore::LoadSample(std::string& name)
{
    const std::string folder = SampleFolder();
    name = RelativeToFolder(NormalizeSeparators(name), folder);
    if (name.empty())
        return -1;

    int index = -1;
    const int existing = FindEntry(name, index);
    if (existing >= 0)
        return existing;
    if (index < 0)
        index = Table().Append();
    if (index < 0) {
        ShowMessage(kTooManySamples, name);
        return -1;
    }

    const std::string path = PathOf(name, folder);
    std::ifstream file;
    // Only regular files: opening a pipe or a device could hang.
    if (FileExists(path))
        file.open(path, std::ios::binary);
    if (!file.is_open()) {
        ShowMessage(kFailedToOpenAudioFile, name);
        return -1;
    }

    SampleRecord loaded;
    const WavReadResult result = ReadWav(file, loaded);
    if (result != WavReadResult::Loaded) {
        ShowMessage(WavReadMessage(result), name);
        return -1;
    }
    SampleRecord& entry = *Table().At(index);
    loaded.name = name;
    loaded.path = path;
    loaded.refCount = entry.refCount;
    entry = std::move(loaded);
    return index;
}

const SampleRecord* SampleStore::GetRecord(int index) const
{
    return Table().At(index);
}

int SampleStore::GetCount() const
{
    return Table().Count();
}

std::string SampleStore::GetSampleName(int index) const
{
    const SampleRecord* record = GetRecord(index);
    return record ? record->name : std::string();
}

std::string SampleStore::GetSamplePath(int index) const
{
    const SampleRecord* record = GetRecord(index);
    return record ? record->path : std::string();
}

void SampleStore::AddRef(int index)
{
    if (SampleRecord* record = Table().At(index))
        ++record->refCount;
}

void SampleStore::Release(int index)
{
    SampleRecord* record = Table().At(index);
    if (record && record->refCount > 0)
        --record->refCount;
}

void SampleStore::Purge()
{
    SampleTable& table = Table();
    for (int index = 0; index < table.Count(); ++index) {
        SampleRecord& record = *table.At(index);
        if (record.refCount < 1) {
            record = SampleRecord{};
            record.rootNote = 0;
        }
    }
}

bool SampleStore::ShowBrowser(const void* requester, int index)
{
    return ShowBrowser(requester, GetSamplePath(index));
}

bool SampleStore::ShowBrowser(const void* requester, const std::string& path)
{
    FileBrowserRequest request;
    request.owner = this;
    request.requester = requester;
    request.startPath = path.empty() ? SampleFolder() : path;
    if (!Shell().ShowFileBrowser(request))
        return false;
    browserShown_ = true;
    return true;
}

} // namespace jorvo
