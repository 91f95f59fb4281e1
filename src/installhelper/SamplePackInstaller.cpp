#include "installhelper/SamplePackInstaller.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "installhelper/InstallHelperMessages.h"
#include "installhelper/PresetMerger.h"
#include "platform/AtomicFileWriter.h"
#include "platform/FolderScan.h"
#include "platform/Paths.h"
#include "platform/TextFormat.h"

namespace jorvo::installhelper {
namespace {

constexpr std::size_t kCopyChunk = 65535;
constexpr char kSampleMask[] = "*.wav";
constexpr char kPresetMask[] = "*.presets";
constexpr char kSamplerPresetFolder[] = "Sampler";
constexpr char kSamplerPresetFile[] = "Sampler.presets";
// What the device gets when it has no sampler preset file yet: the default bank, empty.
constexpr char kEmptyPresetFile[] = "<?xml version=\"1.0\"?>\n<PresetFile>\n\t<PresetList />\n</PresetFile>\n";

class FileDescriptor {
public:
    explicit FileDescriptor(int descriptor) : descriptor_(descriptor) {}
    ~FileDescriptor()
    {
        if (descriptor_ >= 0)
            ::close(descriptor_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    bool IsOpen() const { return descriptor_ >= 0; }
    int Get() const { return descriptor_; }

private:
    int descriptor_;
};

// Reads up to one copy chunk; -1 on a read error.
ssize_t ReadChunk(int descriptor, std::vector<char>& buffer)
{
    std::size_t got = 0;
    while (got < buffer.size()) {
        const ssize_t read = ::read(descriptor, buffer.data() + got, buffer.size() - got);
        if (read < 0 && errno == EINTR)
            continue;
        if (read < 0)
            return -1;
        if (read == 0)
            break;
        got += static_cast<std::size_t>(read);
    }
    return static_cast<ssize_t>(got);
}

bool WriteAll(int descriptor, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(descriptor, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// A uniquely named file in this machine's temporary folder, removed with the object.
class TemporaryFile {
public:
    TemporaryFile()
    {
        std::error_code error;
        std::string pattern = (std::filesystem::temp_directory_path(error) / "JorvoPresetsXXXXXX").string();
        if (error)
            return;
        const FileDescriptor created(::mkstemp(pattern.data()));
        if (created.IsOpen())
            path_ = pattern;
    }
    ~TemporaryFile()
    {
        if (!path_.empty())
            ::unlink(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    // The file's path; empty when none could be made.
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

SamplePackInstaller::FolderIdentity IdentityOf(const struct stat& info)
{
    return {static_cast<unsigned long>(info.st_dev), static_cast<unsigned long>(info.st_ino)};
}

} // namespace

bool SamplePackInstaller::Fail(std::string text)
{
    lastError_ = std::move(text);
    return false;
}

bool SamplePackInstaller::Install(const std::string& packName, const std::string& folder)
{
    lastError_.clear();
    const std::optional<std::string> sampleFolder = device_.SampleFolder();
    if (!sampleFolder || sampleFolder->empty())
        return Fail(kNoDestinationSampleFolder);
    const std::string packFolder = JoinPath(*sampleFolder, packName);

    InstallProgress progress(static_cast<int>(ScanFiles(folder, kSampleMask).size()) + 3);
    std::set<FolderIdentity> visited;
    if (!CopySampleFolder(folder, packFolder, progress, visited))
        return false;
    std::string packPresets;
    return FindSourcePresetFile(folder, packPresets) && MergePresets(packPresets, progress);
}

bool SamplePackInstaller::CopySampleFolder(const std::string& folder, const std::string& deviceFolder,
                                           InstallProgress& progress, std::set<FolderIdentity>& visited)
{
    // A folder reached again through a symbolic link would otherwise be copied without end.
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || !visited.insert(IdentityOf(info)).second)
        return true;
    bool copied = true;
    for (const std::string& sub : ListSubFolders(folder))
        copied = CopySampleFolder(JoinPath(folder, sub), JoinPath(deviceFolder, sub), progress, visited) && copied;
    for (const std::string& file : ListFiles(folder, kSampleMask)) {
        if (CopyToDevice(JoinPath(folder, file), deviceFolder, JoinPath(deviceFolder, file)))
            progress.Step(file);
        else
            copied = false;
    }
    return copied;
}

bool SamplePackInstaller::FindSourcePresetFile(const std::string& folder, std::string& presetFile)
{
    // The first entry matching the mask, be it a file or a folder.
    std::vector<std::string> files = ListFiles(folder, kPresetMask);
    std::vector<std::string> folders;
    for (const std::string& sub : ListSubFolders(folder)) {
        if (MatchesMask(sub, kPresetMask))
            folders.push_back(sub);
    }
    if (files.empty() && folders.empty())
        return Fail(kNoSourcePresetFile);
    if (files.empty() || (!folders.empty() && folders.front() < files.front()))
        return Fail(FormatText(kSourcePresetIsFolder, {JoinPath(folder, folders.front())}));
    presetFile = JoinPath(folder, files.front());
    return true;
}

bool SamplePackInstaller::MergePresets(const std::string& packPresets, InstallProgress& progress)
{
    const std::optional<std::string> skinsFolder = device_.SkinsFolder();
    if (!skinsFolder)
        return Fail(kRemoteRegistryFailed);
    const std::string deviceFolder = JoinPath(*skinsFolder, kSamplerPresetFolder);
    const std::string devicePresets = JoinPath(deviceFolder, kSamplerPresetFile);
    const TemporaryFile localCopy;
    if (localCopy.Path().empty())
        return Fail(kNoTemporaryFile);

    if (!FetchDevicePresets(devicePresets, localCopy.Path()))
        return false;
    progress.Step(kSamplerPresetFile);
    std::string error;
    if (!MergePresetFiles(packPresets, localCopy.Path(), error))
        return Fail(std::move(error));
    progress.Step(kSamplerPresetFile);
    if (!CopyToDevice(localCopy.Path(), deviceFolder, devicePresets))
        return false;
    progress.Step(kSamplerPresetFile);
    return true;
}

bool SamplePackInstaller::FetchDevicePresets(const std::string& devicePresets, const std::string& localCopy)
{
    std::error_code error;
    if (std::filesystem::exists(devicePresets, error) || error)
        return CopyFromDevice(devicePresets, localCopy);
    // The sampler has never saved a preset on this device: start its file with the default bank.
    const FileDescriptor file(::open(localCopy.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
    if (!file.IsOpen())
        return Fail(FormatText(kOpenDestFile, {localCopy}));
    if (!WriteAll(file.Get(), kEmptyPresetFile, sizeof kEmptyPresetFile - 1))
        return Fail(FormatText(kWriteDestinationFile, {localCopy}));
    return true;
}

bool SamplePackInstaller::CopyToDevice(const std::string& file, const std::string& deviceFolder,
                                       const std::string& deviceFile)
{
    const FileDescriptor source(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (!source.IsOpen())
        return Fail(FormatText(kOpenSourceFile, {file}));
    CreateFolder(deviceFolder);
    // The device's old file is replaced only once the new one is complete.
    AtomicFileWriter destination(deviceFile);
    if (!destination.Open())
        return Fail(FormatText(kCreateDestinationFile, {deviceFile}));
    std::vector<char> buffer(kCopyChunk);
    for (;;) {
        const ssize_t got = ReadChunk(source.Get(), buffer);
        if (got < 0)
            return Fail(FormatText(kReadSourceFile, {file}));
        if (!destination.Write(buffer.data(), static_cast<std::size_t>(got)))
            return Fail(FormatText(kWriteDestinationFile, {deviceFile}));
        if (static_cast<std::size_t>(got) < kCopyChunk)
            break;
    }
    if (!destination.Commit())
        return Fail(FormatText(kWriteDestinationFile, {deviceFile}));
    return true;
}

bool SamplePackInstaller::CopyFromDevice(const std::string& deviceFile, const std::string& file)
{
    const FileDescriptor source(::open(deviceFile.c_str(), O_RDONLY | O_CLOEXEC));
    if (!source.IsOpen())
        return Fail(FormatText(kOpenDeviceSourceFile, {deviceFile}));
    const FileDescriptor destination(::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    if (!destination.IsOpen())
        return Fail(FormatText(kOpenDestFile, {file}));
    std::vector<char> buffer(kCopyChunk);
    for (;;) {
        const ssize_t got = ReadChunk(source.Get(), buffer);
        if (got < 0)
            return Fail(FormatText(kReadSourceFile, {deviceFile}));
        if (!WriteAll(destination.Get(), buffer.data(), static_cast<std::size_t>(got)))
            return Fail(FormatText(kWriteDestinationFile, {file}));
        if (static_cast<std::size_t>(got) < kCopyChunk)
            break;
    }
    return true;
}

} // namespace jorvo::installhelper
