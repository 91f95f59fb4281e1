#include "FuzzSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "platform/HeadlessShell.h"
#include "platform/ShellServices.h"

namespace jorvo::fuzz {
namespace {

namespace fs = std::filesystem;

// The batch commands' answers without their printing: a fuzzer's messages are expected noise.
class QuietShell : public HeadlessShell {
public:
    MessageAnswer MessageBox(const std::string&, const std::string&, MessageButtons buttons, MessageIcon,
                             std::optional<MessageAnswer> safeAnswer) override
    {
        return UnattendedAnswer(buttons, safeAnswer);
    }
};

void RemoveScratchFolder()
{
    std::error_code ignored;
    fs::remove_all(ScratchFolder(), ignored);
}

} // namespace

const std::string& ScratchFolder()
{
    static const std::string folder =
        (fs::temp_directory_path() / ("jorvo-fuzz-" + std::to_string(::getpid()))).string();
    return folder;
}

void Prepare()
{
    static const bool prepared = [] {
        const fs::path home = ScratchFolder();
        fs::create_directories(home);
        ::setenv("HOME", home.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (home / ".config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (home / ".local/share").c_str(), 1);
        ::setenv("JORVO_REGISTRY", (home / "registry.xml").c_str(), 1);
        static QuietShell shell;
        SetShell(&shell);
        std::atexit(RemoveScratchFolder);
        return true;
    }();
    (void)prepared;
}

void WriteFileBytes(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

std::string WriteScratchFile(const std::string& name, const std::uint8_t* data, std::size_t size)
{
    const std::string path = (fs::path(ScratchFolder()) / name).string();
    WriteFileBytes(path, data, size);
    return path;
}

} // namespace jorvo::fuzz
