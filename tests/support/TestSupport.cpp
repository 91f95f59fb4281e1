#include "support/TestSupport.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace jorvo::test {

TempDir::TempDir()
{
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("jorvo-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

ScopedEnvironment::ScopedEnvironment(const char* name, const char* value) : name_(name)
{
    if (const char* old = std::getenv(name))
        old_ = old;
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
}

ScopedEnvironment::~ScopedEnvironment()
{
    old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_);
}

FreshHome::FreshHome()
    : homeVariable_("HOME", home_.path().c_str()),
      config_("XDG_CONFIG_HOME", nullptr),
      data_("XDG_DATA_HOME", nullptr),
      registry_("JORVO_REGISTRY", nullptr),
      device_("JORVO_DEVICE_ROOT", nullptr)
{
}

std::string ReadFileBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFileBytes(const std::filesystem::path& file, const std::string& bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace jorvo::test
