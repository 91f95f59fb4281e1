// jorvo-install-pack: the setup program of a sample pack. Fills a property table and calls
// InstallSamplePack of libJorvoInstallHelper.so (found beside this program) through dlopen.
//   jorvo-install-pack --name PACK --folder DIR [--device ROOT]
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "jorvo/InstallHelper.h"
#include "platform/Paths.h"

namespace {

constexpr char kLibraryName[] = "libJorvoInstallHelper.so";
constexpr char kUsage[] = "usage: jorvo-install-pack --name PACK --folder DIR [--device ROOT]\n";
constexpr int kBarWidth = 40;
constexpr std::uint32_t kEntries = 8;
constexpr std::uint32_t kNameSlot = 64;
constexpr std::uint32_t kValueSlot = 4096;

struct Arguments {
    std::string name;
    std::string folder;
    std::string device;
};

bool ParseArguments(int argc, char** argv, Arguments& arguments)
{
    for (int index = 1; index + 1 < argc; index += 2) {
        const std::string option = argv[index];
        std::string* target = option == "--name" ? &arguments.name
                              : option == "--folder" ? &arguments.folder
                              : option == "--device" ? &arguments.device
                                                     : nullptr;
        if (!target)
            return false;
        *target = argv[index + 1];
    }
    return argc % 2 == 1;
}

// The setup program's own table: slots in two flat blocks, filled in order.
class Table {
public:
    Table() : names_(kEntries * kNameSlot), values_(kEntries * kValueSlot)
    {
        table_ = PropertyTable{0, 0, kEntries, kNameSlot, kValueSlot, 0, names_.data(), values_.data()};
    }
    void Add(const char* name, const std::string& value)
    {
        const std::uint32_t index = table_.entriesInUse++;
        std::snprintf(names_.data() + index * kNameSlot, kNameSlot, "%%%s%%", name);
        std::snprintf(values_.data() + index * kValueSlot, kValueSlot, "%s", value.c_str());
    }
    PropertyTable* Get() { return &table_; }
    // The value of entry "%name%", as the library left it; empty when missing.
    std::string Value(const char* name) const
    {
        const std::string enclosed = std::string("%") + name + "%";
        for (std::uint32_t index = 0; index < table_.entriesInUse && index < kEntries; ++index) {
            if (enclosed == names_.data() + index * kNameSlot)
                return values_.data() + index * kValueSlot;
        }
        return {};
    }

private:
    std::vector<char> names_;
    std::vector<char> values_;
    PropertyTable table_{};
};

void ShowProgress(int step, int range, const char* text)
{
    if (step == 0) {
        std::fprintf(stderr, "%s\n", text);
        return;
    }
    const int filled = range > 0 ? step * kBarWidth / range : kBarWidth;
    std::fprintf(stderr, "\r[%-*s] %d/%d", kBarWidth, std::string(static_cast<std::size_t>(filled), '#').c_str(),
                 step, range);
    if (step >= range || !::isatty(STDERR_FILENO))
        std::fputc('\n', stderr);
}

} // namespace

int main(int argc, char** argv)
{
    Arguments arguments;
    if (!ParseArguments(argc, argv, arguments)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string library = jorvo::JoinPath(jorvo::ProgramFolder(), kLibraryName);
    void* handle = ::dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    auto install = handle ? reinterpret_cast<InstallSamplePackFunction>(::dlsym(handle, "InstallSamplePack")) : nullptr;
    auto setProgress = handle ? reinterpret_cast<SetInstallProgressCallbackFunction>(
                                    ::dlsym(handle, "SetInstallProgressCallback"))
                              : nullptr;
    if (!install || !setProgress) {
        std::fprintf(stderr, "Cannot load %s: %s\n", library.c_str(), ::dlerror());
        return 2;
    }
    Table table;
    table.Add("PACK_NAME", arguments.name);
    table.Add("FOLDER", arguments.folder);
    if (!arguments.device.empty())
        table.Add("DEVICE_ROOT", arguments.device);
    setProgress(&ShowProgress);
    const int result = install(table.Get());
    setProgress(nullptr);
    if (result != 0)
        std::fprintf(stderr, "%s\n", table.Value("DLLERROR").c_str());
    ::dlclose(handle);
    return result == 0 ? 0 : 1;
}
