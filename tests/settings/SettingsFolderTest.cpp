#include "settings/SettingsFile.h"
#include "tests/support/TempFolder.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <tuple>

using brennic::test::TempFolder;
using brennic::test::writeFile;
namespace fs = std::filesystem;
namespace settings = brennic::settings;

namespace {

// Sets (or, with nullopt, removes) an environment variable while it lives.
class Environment {
  public:
    Environment(const char* name, std::optional<std::string> value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        set(value);
    }
    ~Environment() { set(m_old); }
    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;

  private:
    void set(const std::optional<std::string>& value) {
        if (value) {
            ::setenv(m_name, value->c_str(), 1);
        } else {
            ::unsetenv(m_name);
        }
    }
    const char* m_name;
    std::optional<std::string> m_old;
};

} // namespace

TEST(settingsFolder, BesideAProgramWhoseFolderIsWritable) {
    TempFolder program;
    const Environment config("XDG_CONFIG_HOME", (program / "config").string());
    EXPECT_EQ(settings::settingsFolder(program.path()), program.path());
}

// An installed program's folder cannot be written (root can write anywhere, so a folder that is
// not there stands in for it). Without a home the program keeps to its own folder: a relative
// path would put the settings wherever the program was started from.
TEST(settingsFolder, TheUsersConfigurationFolderForAnInstalledProgram) {
    TempFolder home;
    const fs::path installed = home / "usr" / "bin";
    const std::tuple<std::optional<std::string>, std::optional<std::string>, fs::path> cases[] = {
        {home.path().string(), (home / "xdg").string(), home / "xdg" / "brennic"},
        {home.path().string(), std::nullopt, home / ".config" / "brennic"},
        {home.path().string(), "", home / ".config" / "brennic"},
        {home.path().string(), "relative/config", home / ".config" / "brennic"},
        {std::nullopt, (home / "xdg").string(), home / "xdg" / "brennic"},
        {std::nullopt, std::nullopt, installed},
        {std::nullopt, "relative/config", installed},
        {"relative/home", "", installed},
    };
    for (const auto& [homeValue, config, expected] : cases) {
        SCOPED_TRACE(homeValue.value_or("(unset)") + " " + config.value_or("(unset)"));
        const Environment homeVariable("HOME", homeValue);
        const Environment configVariable("XDG_CONFIG_HOME", config);
        EXPECT_EQ(settings::settingsFolder(installed), expected);
    }
}

TEST(SaveSettingsFile, MakesTheMissingConfigurationFolder) {
    TempFolder home;
    const fs::path file = home / ".config" / "brennic" / "brennic.INI";
    settings::StoredSettings stored = settings::firstStartSettings();
    stored.OutputFolder = "/gta2/data/";
    ASSERT_TRUE(settings::SaveSettingsFile(file, stored));
    EXPECT_EQ(settings::LoadSettingsFile(file).settings.OutputFolder, "/gta2/data/");
}

TEST(vehicleFilePath, BesideTheProgramFirstThenInTheUsersFolder) {
    TempFolder home;
    const Environment config("XDG_CONFIG_HOME", (home / "config").string());
    const fs::path installed = home / "usr" / "bin";
    EXPECT_EQ(settings::vehicleFilePath(installed), std::nullopt);
    writeFile(home / "config" / "brennic" / "CARS.INI", "[BRENNIC Vehicles]\r\n");
    EXPECT_EQ(settings::vehicleFilePath(installed), home / "config" / "brennic" / "CARS.INI");

    // A program in a folder of its own keeps to its own files.
    TempFolder program;
    EXPECT_EQ(settings::vehicleFilePath(program.path()), std::nullopt);
    writeFile(program / "cars.ini", "[BRENNIC Vehicles]\r\n");
    EXPECT_EQ(settings::vehicleFilePath(program.path()), program / "cars.ini");
}
