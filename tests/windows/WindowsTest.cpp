// What only the Windows build does: names in UTF-8 from end to end while mission text stays in
// the ANSI code page, "\" as the separator, names found whatever their letter case, the command
// line as Windows hands it over, and the settings file of earlier versions.
#include "app/cli/CliMain.h"
#include "app/cli/WindowsConsole.h"
#include "platform/FileSystem.h"
#include "platform/TextWriter.h"
#include "platform/WideText.h"
#include "settings/SettingsFile.h"
#include "tests/support/TempFolder.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>
#include <utility>
#include <vector>
#include <windows.h>

using brennic::test::readFile;
using brennic::test::TempFolder;
using brennic::test::writeFile;
namespace fs = std::filesystem;
namespace platform = brennic::platform;
namespace settings = brennic::settings;

namespace {

// Windows-1252 is the code page of the western systems, wine's under an English locale.
bool westernCodePage() { return GetACP() == 1252; }

// "Łukasz", "Жук" and "日本" in UTF-8, written out so that no editor can change them.
const std::string kPolish = "\xc5\x81ukasz";
const std::string kRussian = "\xd0\x96\xd1\x83\xd0\xba";
const std::string kJapanese = "\xe6\x97\xa5\xe6\x9c\xac";

} // namespace

TEST(WindowsNames, UserNamesAreUtf8AndMissionNamesTheCodePage) {
    EXPECT_EQ(platform::pathFromText(kPolish + "\\" + kRussian + "\\" + kJapanese).native(),
              std::wstring(L"\u0141ukasz\\\u0416\u0443\u043a\\\u65e5\u672c"));
    EXPECT_EQ(platform::textFromPath(fs::path(L"C:\\\u0141ukasz")), "C:\\" + kPolish);
    if (!westernCodePage()) {
        GTEST_SKIP() << "code page " << GetACP();
    }
    EXPECT_EQ(platform::pathFromCodePageText("nyc_Caf\xe9_1.mis").native(),
              std::wstring(L"nyc_Caf\u00e9_1.mis"));
    // The code page holds é but not Ł: no look-alike L takes its place.
    EXPECT_EQ(platform::codePageFromWide(L"Caf\u00e9"), "Caf\xe9");
    EXPECT_EQ(platform::codePageFromWide(L"\u0141ukasz"), std::nullopt);
}

// Where a user's folder (UTF-8) and a mission's text (code page) meet in one message, each shows
// as what it is.
TEST(WindowsNames, ShownTextDecodesUtf8AndTheCodePageTogether) {
    if (!westernCodePage()) {
        GTEST_SKIP() << "code page " << GetACP();
    }
    const std::pair<std::string, std::wstring> cases[] = {
        {"nyc_Caf\xe9_1.mis", L"nyc_Caf\u00e9_1.mis"},
        {"C:\\" + kPolish + "\\" + kJapanese, L"C:\\\u0141ukasz\\\u65e5\u672c"},
        {"C:\\" + kRussian + "\\nyc_Caf\xe9_1.mis", L"C:\\\u0416\u0443\u043a\\nyc_Caf\u00e9_1.mis"},
        {"\x80\xc5", L"\u20ac\u00c5"}, // a lead byte without its follower is the code page's
        {"\xc0\xaf", L"\u00c0\u00af"}, // an overlong form is not UTF-8
        {"r\xe9sum\xc3\xa9", L"r\u00e9sum\u00e9"}, // both in one word
    };
    for (const auto& [bytes, shown] : cases) {
        SCOPED_TRACE(bytes);
        EXPECT_EQ(platform::shownText(bytes), shown);
    }
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
    writeFile(temp.path() / L"\u0141ukasz" / L"MISSION.INI", "");
    const auto found = platform::findFileIgnoringCase(temp.path() / L"\u0141ukasz", "mission.ini");
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
    fs::create_directories(temp.path() / L"\u65e5\u672c");
    const std::string mission = platform::textFromPath(temp / "gtadata");
    const std::string output = platform::textFromPath(temp.path() / L"\u65e5\u672c");
    const char* argv[] = {"brennic-cli", "--mission-dir", mission.c_str(), "--output-dir",
                          output.c_str()};
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(brennic::cli::Run_cli(5, argv, out, err), 0) << err.str();
    EXPECT_TRUE(fs::is_regular_file(temp.path() / L"\u65e5\u672c" / L"nyc_Caf\u00e9_1.mis"));
    EXPECT_NE(out.str().find("\r\nnyc_Caf\xe9_1.mis\r\n"), std::string::npos);
}

TEST(WindowsNames, WildcardsMatchNamesIgnoringCase) {
    TempFolder temp;
    const fs::path folder = temp.path() / L"\u0416\u0443\u043a";
    for (const wchar_t* name : {L"b.mis", L"A.MIS", L"c.misc", L"d.txt", L"\u00e9.Mis"}) {
        writeFile(folder / name, "");
    }
    fs::create_directories(folder / L"e.mis");
    const std::string prefix = platform::textFromPath(folder) + "\\";
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"*.mis", {"A.MIS", "b.mis", "\xc3\xa9.Mis"}}, // no folder, no x.misc (its short name)
        {"?.MIS", {"A.MIS", "b.mis", "\xc3\xa9.Mis"}},
        {"*a*.*", {"A.MIS"}},
        {"**.txt", {"d.txt"}},
        {"*.ini", {}},
    };
    for (const auto& [pattern, names] : cases) {
        SCOPED_TRACE(pattern);
        std::vector<std::string> expected;
        for (const std::string& name : names) {
            expected.push_back(prefix + name);
        }
        EXPECT_EQ(platform::filesMatching(prefix + pattern), expected);
    }
}

// What cmd and PowerShell hand over: the C run time's rules, but a quoted folder ending in a
// backslash (as shells complete one) is that folder.
TEST(WindowsCommandLine, ArgumentsAsUsersTypeThem) {
    const std::pair<std::wstring, std::vector<std::string>> cases[] = {
        {L"brennic-cli.exe --mission-dir \"C:\\GTA Stuff\\gtadata\\\" --output-dir out",
         {"brennic-cli.exe", "--mission-dir", "C:\\GTA Stuff\\gtadata\\", "--output-dir", "out"}},
        {L"x \"C:\\A B\\\" \"C:\\C D\\\"", {"x", "C:\\A B\\", "C:\\C D\\"}},
        // PowerShell 7 doubles the backslash, as the rules want it.
        {L"x \"C:\\GTA Stuff\\gtadata\\\\\"", {"x", "C:\\GTA Stuff\\gtadata\\"}},
        {L"x C:\\gta\\ \\\\server\\share\\", {"x", "C:\\gta\\", "\\\\server\\share\\"}},
        {L"\"C:\\Program Files\\b\\brennic-cli.exe\" /? -? /?x",
         {"C:\\Program Files\\b\\brennic-cli.exe", "--help", "--help", "/?x"}},
        {L"x a\\\"b \"a b\"c \"\" a\\\\\\\\\"b c\"", {"x", "a\"b", "a bc", "", "a\\\\b c"}},
        {L"x\t--mission-dir  C:\\\u0141ukasz\\\u65e5\u672c ",
         {"x", "--mission-dir", "C:\\" + kPolish + "\\" + kJapanese}},
    };
    for (const auto& [line, arguments] : cases) {
        SCOPED_TRACE(brennic::platform::utf8FromWide(line));
        EXPECT_EQ(brennic::cli::argumentsOf(line), arguments);
    }
}

// A folder value the code page holds keeps the bytes earlier versions wrote and read; any other
// is stored as UTF-8 behind "utf8:", which an earlier version takes for a folder that does not
// exist. Every text comes back as it was.
TEST(WindowsSettings, NamesOutsideTheCodePageAreStoredAsUtf8) {
    if (!westernCodePage()) {
        GTEST_SKIP() << "code page " << GetACP();
    }
    TempFolder temp;
    const fs::path file = temp / "brennic.INI";
    settings::StoredSettings stored = settings::firstStartSettings();
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\Users\\" + kPolish + "\\gtadata\\", "utf8:C:\\Users\\" + kPolish + "\\gtadata\\"},
        {"C:\\" + kRussian + " " + kJapanese + "\\",
         "utf8:C:\\" + kRussian + " " + kJapanese + "\\"},
        {"C:\\Caf\xc3\xa9\\", "C:\\Caf\xe9\\"},
        {"D:\\GTA2\\data\\", "D:\\GTA2\\data\\"},
        {"utf8:x", "utf8:utf8:x"}, // would otherwise read back as x
    };
    for (const auto& [folder, inFile] : cases) {
        SCOPED_TRACE(folder);
        stored.OutputFolder = folder;
        stored.offsets[2] = folder.substr(0, 5);
        ASSERT_TRUE(settings::SaveSettingsFile(file, stored));
        EXPECT_NE(readFile(file).find("\r\nOutputFolder=" + inFile + "\r\n"), std::string::npos);
        const settings::StoredSettings loaded = settings::LoadSettingsFile(file).settings;
        EXPECT_EQ(loaded.OutputFolder, folder);
        EXPECT_EQ(loaded.offsets[2], folder.substr(0, 5));
    }
    // A file of an earlier version, in the code page's bytes.
    writeFile(file, "[BRENNIC Settings]\r\nGTA1iniFile=C:\\Caf\xe9\\gtadata\\\r\n");
    EXPECT_EQ(settings::LoadSettingsFile(file).settings.GTA1iniFile, "C:\\Caf\xc3\xa9\\gtadata\\");
}

TEST(WindowsSettings, SettingsAreReplacedWholeAndReadOnlyFilesKept) {
    TempFolder temp;
    const fs::path file = temp / "brennic.INI";
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
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.path()), {}), 1);

    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
    stored.OutputFolder.clear();
    EXPECT_FALSE(settings::SaveSettingsFile(file, stored));
    EXPECT_EQ(readFile(file), saved);
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A program that cannot write beside itself (unpacked under Program Files) keeps its settings in
// the user's application data, and looks for cars.ini there after its own folder. A folder that
// is not there stands in for one that cannot be written: wine's files obey root.
TEST(WindowsSettings, TheApplicationDataFolderForAProgramThatCannotWriteBesideItself) {
    const char* appData = std::getenv("APPDATA");
    ASSERT_NE(appData, nullptr);
    const fs::path userFolder = platform::pathFromText(appData) / "BRENNIC";
    TempFolder program;
    const fs::path installed = program / "Program Files" / "BRENNIC";
    EXPECT_EQ(settings::settingsFolder(program.path()), program.path());
    EXPECT_EQ(settings::settingsFolder(installed), userFolder);
    EXPECT_EQ(std::distance(fs::directory_iterator(program.path()), {}), 0); // the test left none

    const bool userFolderExisted = fs::exists(userFolder);
    writeFile(userFolder / "Cars.ini", "[BRENNIC Vehicles]\r\n");
    EXPECT_EQ(settings::vehicleFilePath(installed), userFolder / "Cars.ini");
    writeFile(program / "cars.ini", "");
    EXPECT_EQ(settings::vehicleFilePath(program.path()), program / "cars.ini");
    fs::remove(userFolder / "Cars.ini");
    if (!userFolderExisted) {
        fs::remove(userFolder);
    }
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

// NUL, CON and the other names Windows keeps for devices are in every folder: a report goes into
// them as into /dev/null, and a file that must be replaced whole is never one of them.
TEST(WindowsFiles, ReservedDeviceNamesAreDevices) {
    TempFolder temp;
    writeFile(temp / "gtadata" / "MISSION.INI", "[1]\r\nA, 1, nyc.cmp\r\n\r\n\r\n");
    std::filesystem::create_directories(temp / "out");
    const std::string mission = temp.path().string() + "\\gtadata";
    const std::string output = temp.path().string() + "\\out";
    const char* argv[] = {"brennic-cli",  "--mission-dir", mission.c_str(),
                          "--output-dir", output.c_str(),  "--report",
                          "nul"};
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(brennic::cli::Run_cli(7, argv, out, err), 0) << err.str();
    EXPECT_EQ(err.str(), "");
    platform::IoError error;
    EXPECT_FALSE(platform::TextWriter::replace("NUL", platform::SpecialFiles::Refuse, error));
    EXPECT_FALSE(
        platform::TextWriter::replace(temp / "Con", platform::SpecialFiles::Refuse, error));
    EXPECT_TRUE(
        platform::TextWriter::replace(temp / "console.txt", platform::SpecialFiles::Refuse, error));
}
