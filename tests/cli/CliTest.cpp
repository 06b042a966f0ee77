#include "tests/cli/CliRun.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

using brennic::test::CliResult;
using brennic::test::readFile;
using brennic::test::runCli;
using brennic::test::TempFolder;
using brennic::test::writeFile;

namespace {

struct Folders {
    TempFolder temp{};
    std::string mission = (temp / "gtadata").string(); // no final separator: the CLI adds it
    std::string output = (temp / "out").string();
    Folders() {
        std::filesystem::create_directories(output);
        writeFile(temp / "gtadata" / "MISSION.INI",
                  "[1]\r\nA, 1, nyc.cmp\r\n\r\n\r\n5 SURVIVE 0\r\n6 1 (460,461,0) LAMP\r\n");
    }
    std::vector<std::string> args(std::vector<std::string> more) const {
        std::vector<std::string> all = {"--mission-dir", mission, "--output-dir", output};
        all.insert(all.end(), more.begin(), more.end());
        return all;
    }
    std::string script() const { return readFile(temp / "out" / "nyc_A_1.mis"); }
};

} // namespace

TEST(Cli, ExitCodes) {
    Folders folders;
    const CliResult ok = runCli(folders.args({}));
    EXPECT_EQ(ok.code, 0);
    EXPECT_TRUE(ok.out.starts_with("Generating GTA2 mission scripts...\r\n\r\nnyc_A_1.mis\r\n"));
    EXPECT_TRUE(ok.err.empty());

    EXPECT_EQ(runCli(folders.args({"--on", "Bogus"})).code, 2);
    EXPECT_EQ(runCli(folders.args({"--offset", "1", "2"})).code, 2);
    EXPECT_EQ(runCli(folders.args({"--offset", "1e400", "0", "0"})).code, 2);
    EXPECT_EQ(runCli({"--no-such-option"}).code, 2);
    EXPECT_EQ(runCli({"--help"}).code, 0);
    const CliResult version = runCli({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, "brennic-cli " BRENNIC_VERSION "\n");

    const CliResult noMission =
        runCli({"--mission-dir", folders.output, "--output-dir", folders.output});
    EXPECT_EQ(noMission.code, 3);
    EXPECT_EQ(noMission.err, "brennic-cli: the mission folder \"" + folders.output +
                                 "/\" holds no mission.ini or missuk.ini (use --mission-dir)\n");
    EXPECT_TRUE(noMission.out.empty());
    const CliResult noOutput =
        runCli({"--mission-dir", folders.mission, "--output-dir", folders.output + "/nowhere"});
    EXPECT_EQ(noOutput.code, 3);
    EXPECT_EQ(noOutput.err, "brennic-cli: the output folder \"" + folders.output +
                                "/nowhere/\" does not exist (use --output-dir)\n");
    const CliResult outputIsAFile = runCli(
        {"--mission-dir", folders.mission, "--output-dir", folders.mission + "/MISSION.INI"});
    EXPECT_EQ(outputIsAFile.code, 3);
    EXPECT_NE(outputIsAFile.err.find("MISSION.INI/\" is not a folder"), std::string::npos)
        << outputIsAFile.err;
}

TEST(Cli, WarningsGoToStandardErrorAndTheRunSucceeds) {
    Folders folders;
    const std::string cars = (folders.temp / "none.ini").string();
    const CliResult run = runCli(folders.args({"--cars", cars}));
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.err, "brennic-cli: warning: the vehicle file " + cars +
                           " does not exist; the built-in vehicle names are used\n");
}

TEST(Cli, SwitchesApplyInOrderAfterAll) {
    Folders folders;
    ASSERT_EQ(runCli(folders.args({"--all", "--off", "unknown,Dummy", "--on", "UNKNOWN"})).code, 0);
    EXPECT_NE(folders.script().find("// 5 SURVIVE 0\r\n"), std::string::npos);
    ASSERT_EQ(runCli(folders.args({"--on", "unknown", "--off", "unknown"})).code, 0);
    EXPECT_EQ(folders.script().find("// 5 SURVIVE 0"), std::string::npos);
}

TEST(Cli, SettingsFileAndOverrides) {
    Folders folders;
    writeFile(folders.temp / "brennic.INI", "[BRENNIC Settings]\r\nGTA1iniFile=" + folders.mission +
                                                "/\r\nOutputFolder=" + folders.output +
                                                "/\r\nUnknown=1\r\nDummy=2\r\n");
    const std::string settings = (folders.temp / "brennic.INI").string();
    ASSERT_EQ(runCli({"--settings", settings}).code, 0);
    EXPECT_NE(folders.script().find("// 5 SURVIVE 0"), std::string::npos);
    ASSERT_EQ(runCli({"--settings", settings, "--off", "Unknown"}).code, 0);
    EXPECT_EQ(folders.script().find("// 5 SURVIVE 0"), std::string::npos);
    // A FIFO would wait for a writer.
    ASSERT_EQ(::mkfifo((folders.temp / "fifo.INI").c_str(), 0644), 0);
    const std::pair<std::string, const char*> unusable[] = {
        {(folders.temp / "missing.INI").string(), " does not exist\n"},
        {folders.temp.path().string(), " is a folder\n"},
        {(folders.temp / "fifo.INI").string(), " is not a regular file\n"},
    };
    for (const auto& [path, why] : unusable) {
        SCOPED_TRACE(path);
        const CliResult refused = runCli({"--settings", path});
        EXPECT_EQ(refused.code, 2);
        EXPECT_EQ(refused.err, "brennic-cli: the settings file " + path + why);
    }

    // Read as the window reads it: a bad box value is named and leaves only that box off.
    writeFile(folders.temp / "brennic.INI", "[BRENNIC Settings]\r\nGTA1iniFile=" + folders.mission +
                                                "/\r\nOutputFolder=" + folders.output +
                                                "/\r\nDoor=3\r\nUnknown=1\r\n");
    const CliResult bad = runCli({"--settings", settings});
    EXPECT_EQ(bad.code, 0);
    EXPECT_NE(bad.err.find("Door=3"), std::string::npos);
    EXPECT_NE(folders.script().find("// 5 SURVIVE 0"), std::string::npos);

    // An offset the file holds is the file's fault, unless --offset stands in for it.
    writeFile(folders.temp / "brennic.INI", "[BRENNIC Settings]\r\nGTA1iniFile=" + folders.mission +
                                                "/\r\nOutputFolder=" + folders.output +
                                                "/\r\nYoffset=1e999\r\n");
    const CliResult badOffset = runCli({"--settings", settings});
    EXPECT_EQ(badOffset.code, 2);
    EXPECT_TRUE(badOffset.err.starts_with("brennic-cli: " + settings + ": ")) << badOffset.err;
    EXPECT_NE(badOffset.err.find("1e999"), std::string::npos) << badOffset.err;
    EXPECT_EQ(runCli({"--settings", settings, "--offset", "0", "0", "0"}).code, 0);
}
