#pragma once
// The program-wide sample table: every WAV file an instrument plays is read once and shared by
// index. Each studio owns a SampleStore; all stores share one table, emptied when the first
// store is created and freed when the last one is destroyed.
#include <string>

#include "audio/SampleRecord.h"

namespace jorvo {

class SampleStore {
public:
    // The most entries the table holds: indices must fit a 16-bit sample slot, whose 65535 means
    // "empty".
    static constexpr int kMaxEntries = 65535;

    SampleStore();
    ~SampleStore();
    SampleStore(const SampleStore&) = delete;
    SampleStore& operator=(const SampleStore&) = delete;

    // Loads the WAV file `name` (absolute, or relative to the sample folder) and returns its
    // index; a name already in the table gives its index without reading anything. A name inside
    // the sample folder is rewritten, in `name` too, relative to it. Returns −1 for an empty name
    // (silently) or a file that cannot be used (after showing why). A file without a data chunk
    // gives an index whose entry holds no data. UI thread only.
    int LoadSample(std::string& name);

    // The entry at `index`, or null outside 0…count − 1. Any thread: entries never move, and an
    // entry in use (refCount > 0) is not changed until it is released and purged.
    const SampleRecord* GetRecord(int index) const;

    // Number of entries in the table, free ones included. Any thread.
    int GetCount() const;

    // The entry's name (its key) or the path it was read from; empty for a bad index.
    std::string GetSampleName(int index) const;
    std::string GetSamplePath(int index) const;

    // Raises or lowers the entry's count of users; a bad index is ignored, and the count never
    // drops below 0. Whoever stores an index holds one reference. UI thread only.
    void AddRef(int index);
    void Release(int index);

    // Empties every entry without users, freeing its data, so the next load can reuse it. Only
    // while no voice plays (the studio purges after stopping the sequencer). UI thread only.
    void Purge();

    // Shows this store's file browser (opened once, then reused) at the path of sample `index`,
    // or at the sample folder when there is none; the file chosen is posted to `requester`.
    // False when the shell can show no browser. UI thread only.
    bool ShowBrowser(const void* requester, int index);
    // The same, at `path`, or at the sample folder when `path` is empty.
    bool ShowBrowser(const void* requester, const std::string& path);

private:
    bool browserShown_ = false;
};

} // namespace jorvo
