// What only the Windows build does: names in the ANSI code page, "\" as the separator, names
// found whatever their letter case, and files replaced through the Windows calls.
#include "app/cli/CliMain.h"
#include "platform/FileSystem.h"
#include "platform/TextWriter.h"
#include "settings/SettingsFile.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <sstream>
#include <utility>
#include <windows.h>

using brennic::test::readFile;
using brennic::test::TempFolder;
using brennic::test::writeFile;
namespace platform = brennic::platform;
namespace settings = brennic::settings;

namespace {

// Latin-1 and Windows-1252 agree on é (0xE9); other code pages spell it differently.
bool westernCodePage() { return GetACP() == 1252; }

} // namespace

TEST(WindowsNames, TextIsTheAnsiCodePage) {
    if (!westernCodePage()) {
        GTEST_SKIP() << "code page " << GetACP();
    }
    EXPECT_EQ(platform::pathFromText("Caf\xe9").native(), std::wstring(L"Caf\u00e9"));
    EXPECT_EQ(platform::textFromPath(std::filesystem::path(L"Caf\u00e9")), "Caf\xe9");
}

TEST(WindowsNames, FoldersEndInOneBackslash) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\GTA\\gtadata", "C:\\GTA\\gtadata\\"},
        {"C:\\", "C:\\"},
        {"C:/GTA/", "C:/GTA/"}, // a slash separates as well
    };
    for (const auto& [folder, expected] : cases) {
        SCOPED_TRACE(folder);
        EXPECT_EQ(platform::withFinalSeparator(folder), expected);
    }
}

TEST(WindowsNames, AFileFoundIgnoringCaseKeepsItsStoredName) {
    TempFolder temp;
    writeFile(temp / "MISSION.INI", "");
    const auto found = platform::findFileIgnoringCase(temp.path(), "mission.ini");
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->filename().native(), std::wstring(L"MISSION.INI"));
}

// A mission called Café: the script's name is the same text as on a Latin-1 system, and the
// status text names it in the same bytes.
TEST(WindowsNames, AMissionNameWithAnAccentNamesItsScript) {
    if (!westernCodePage()) {
        GTEST_SKIP() << "code page " << GetACP();
    }
    TempFolder temp;
    writeFile(temp / "gtadata" / "mission.ini", "[1]\r\nCaf\xe9, 1, nyc.cmp\r\n\r\n\r\n");
    std::filesystem::create_directories(temp / "out");
    const std::string mission = temp.path().string() + "\\gtadata";
    const std::string output = temp.path().string() + "\\out";
    const char* argv[] = {"brennic-cli", "--mission-dir", mission.c_str(), "--output-dir",
                          output.c_str()};
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(brennic::cli::Run_cli(5, argv, out, err), 0) << err.str();
    EXPECT_TRUE(std::filesystem::is_regular_file(temp.path() / L"out" / L"nyc_Caf\u00e9_1.mis"));
    EXPECT_NE(out.str().find("\r\nnyc_Caf\xe9_1.mis\r\n"), std::string::npos);
}

TEST(WindowsFiles, SettingsAreReplacedWholeAndReadOnlyFilesKept) {
    TempFolder temp;
    const std::filesystem::path file = temp / "brennic.INI";
    settings::StoredSettings stored = settings::firstStartSettings();
    stored.GTA1iniFile = "C:\\GTA\\gtadata\\";
    ASSERT_TRUE(settings::SaveSettingsFile(file, stored));
    stored.OutputFolder = "D:\\GTA2\\data\\";
    ASSERT_TRUE(settings::SaveSettingsFile(file, stored)); // replaces the first
    const std::string saved = readFile(file);
    EXPECT_TRUE(saved.starts_with("[BRENNIC Settings]\r\nGTA1iniFile=C:\\GTA\\gtadata\\\r\n"
                                  "OutputFolder=D:\\GTA2\\data\\\r\nPhone=0\r\n"));
    EXPECT_TRUE(saved.ends_with("Xoffset=1\r\nYoffset=0.5\r\nZoffset=-2\r\n"));
    EXPECT_EQ(settings::LoadSettingsFile(file).settings.OutputFolder, "D:\\GTA2\\data\\");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.path()), {}), 1);

    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
    stored.OutputFolder.clear();
    EXPECT_FALSE(settings::SaveSettingsFile(file, stored));
    EXPECT_EQ(readFile(file), saved);
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// An open file cannot be deleted: another run's sweep leaves what a live writer has open aside,
// and removes what a killed one left.
TEST(WindowsFiles, WhatIsWrittenAsideGoesOnlyOnceAbandoned) {
    TempFolder temp;
    writeFile(temp / "a.mis", "kept");
    writeFile(temp / ".b.mis.brennic-partial-99999-1", "left by a killed run");
    platform::IoError error;
    const auto folder = platform::Folder::open(temp.path(), error);
    ASSERT_TRUE(folder) << error.description;
    auto writer = platform::TextWriter::create(*folder, "a.mis", error);
    ASSERT_TRUE(writer) << error.description;
    writer->writeLine("new");
    folder->removeAbandoned();
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.path()), {}), 2);
    EXPECT_FALSE(writer->close());
    EXPECT_EQ(readFile(temp / "a.mis"), "new\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.path()), {}), 1);
}

// Files are told apart by what they are, not by how a name spells them: the mission file under
// another letter case is refused as a report, any other file taken.
TEST(WindowsFiles, AReportNeverReplacesTheMissionFile) {
    TempFolder temp;
    writeFile(temp / "gtadata" / "MISSION.INI", "[1]\r\nA, 1, nyc.cmp\r\n\r\n\r\n");
    std::filesystem::create_directories(temp / "out");
    const std::string mission = temp.path().string() + "\\gtadata";
    const std::string output = temp.path().string() + "\\out";
    for (const auto& [report, code] : {std::pair{mission + "\\mission.ini", 2},
                                       std::pair{temp.path().string() + "\\report.txt", 0}}) {
        SCOPED_TRACE(report);
        const char* argv[] = {"brennic-cli",  "--mission-dir", mission.c_str(), "--output-dir",
                              output.c_str(), "--report",      report.c_str()};
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(brennic::cli::Run_cli(7, argv, out, err), code) << err.str();
    }
    EXPECT_EQ(readFile(temp / "gtadata" / "MISSION.INI"), "[1]\r\nA, 1, nyc.cmp\r\n\r\n\r\n");
    EXPECT_TRUE(readFile(temp / "report.txt").starts_with("nyc_A_1.mis\r\n"));
}
