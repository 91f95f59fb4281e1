// The user-interface tests run offscreen with their own settings store and home folder; widgets
// need a QApplication, created here before any test runs.
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>

int main(int argc, char** argv)
{
    const auto home = std::filesystem::temp_directory_path() / ("jorvo-home-" + std::to_string(::getpid()));
    std::filesystem::create_directories(home);
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home / ".config").c_str(), 1);
    ::setenv("JORVO_REGISTRY", (home / "registry.xml").c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);

    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return result;
}
