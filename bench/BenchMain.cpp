// The benchmarks run with their own home folder and settings store, like the tests.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "BenchSupport.h"
#include "platform/RecordingShell.h"
#include "platform/ShellServices.h"

int main(int argc, char** argv)
{
    const std::filesystem::path home = jorvo::bench::ScratchFolder();
    std::filesystem::create_directories(home);
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home / ".config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (home / ".local/share").c_str(), 1);
    ::setenv("JORVO_REGISTRY", (home / "registry.xml").c_str(), 1);
    jorvo::RecordingShell shell; // a benchmark shows no messages
    jorvo::ScopedShell scoped(shell);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return 0;
}
