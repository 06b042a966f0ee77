#include "tests/cli/CliRun.h"
#include "tests/support/Fault.h"
#include "tests/support/TempFolder.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace fs = std::filesystem;
using brennic::test::CliResult;
using brennic::test::filesIn;
using brennic::test::readFile;
using brennic::test::runCli;
using brennic::test::TempFolder;
using brennic::test::writeFile;

namespace {

// The mission file in a folder of its own, converted with every translation on.
struct Converted {
    TempFolder temp{};
    fs::path output = temp / "out";
    CliResult result{};

    Converted(const fs::path& missionFile, std::vector<std::string> more = {}) {
        fs::create_directories(temp / "gtadata");
        fs::create_directories(output);
        fs::copy_file(missionFile, temp / "gtadata" / "mission.ini");
        std::vector<std::string> args = {"--mission-dir", (temp / "gtadata").string(),
                                         "--output-dir", output.string(), "--all"};
        args.insert(args.end(), more.begin(), more.end());
        result = runCli(args);
    }
};

} // namespace

TEST(CliReport, LeavesStatusExitCodeAndScriptsAsTheyAre) {
    for (const fs::path& file :
         {fs::path(BRENNIC_EXAMPLES_DIR) / "gtadata" / "MISSION.INI",
          fs::path(BRENNIC_CASES_DIR) / "report-items" / "input" / "MISSION.INI"}) {
        SCOPED_TRACE(file.string());
        Converted plain(file);
        TempFolder reportFolder;
        Converted withReport(file, {"--report", (reportFolder / "report.txt").string()});
        EXPECT_EQ(withReport.result.code, plain.result.code);
        EXPECT_EQ(withReport.result.out, plain.result.out);
        EXPECT_EQ(withReport.result.err, plain.result.err);
        EXPECT_EQ(filesIn(withReport.output), filesIn(plain.output));
        EXPECT_FALSE(readFile(reportFolder / "report.txt").empty());
    }
}

TEST(CliReport, NoReportWhenNothingWasConverted) {
    TempFolder temp;
    fs::create_directories(temp / "gtadata");
    writeFile(temp / "gtadata" / "mission.ini", "[1]\r\nA, 1, nyc.cmp\r\n\r\n\r\n");
    const CliResult noFolder =
        runCli({"--mission-dir", (temp / "gtadata").string(), "--output-dir", temp.path().string(),
                "--report", (temp / "none" / "report.txt").string()});
    EXPECT_EQ(noFolder.code, 2); // known before the run starts
    EXPECT_FALSE(fs::exists(temp / "nyc_A_1.mis"));

    const CliResult cancelled =
        runCli({"--mission-dir", temp.path().string(), "--output-dir", temp.path().string(),
                "--report", (temp / "report.txt").string()});
    EXPECT_EQ(cancelled.code, 3);
    EXPECT_FALSE(fs::exists(temp / "report.txt"));
}

// The report never takes the place of what the run reads or writes: such a name is refused before
// anything is converted, as is a name that cannot be a report at all.
TEST(CliReport, RefusedBeforeTheRunWithTheReason) {
    TempFolder temp;
    const fs::path out = temp / "out";
    writeFile(temp / "gtadata" / "mission.ini", "[1]\r\nA, 1, nyc.cmp\r\n\r\n\r\n");
    writeFile(out / "E.TXT", "[1]text\r\n");
    writeFile(out / "old.mis", "hand made\r\n");
    writeFile(temp / "cars.ini", "[BRENNIC Vehicles]\r\n");
    writeFile(temp / "brennic.INI", "[BRENNIC Settings]\r\n");
    writeFile(temp / "texts.txt", "[1]text\r\n");
    fs::create_symlink(temp / "gtadata" / "mission.ini", temp / "link.txt");
    fs::create_directory(temp / "locked");
    TempFolder pipes; // apart: listing the files with their bytes would wait at a FIFO
    ASSERT_EQ(::mkfifo((pipes / "fifo").c_str(), 0644), 0);
    const std::pair<std::string, std::string> cases[] = {
        {(temp / "gtadata" / "mission.ini").string(), " is the mission file of this run"},
        {(temp / "link.txt").string(), " is the mission file of this run"},
        {(out / "E.TXT").string(), " is the brief text file of this run"},
        {(out / "e.txt").string(), " would be read as the brief texts (e.txt) of this run"},
        {(temp / "cars.ini").string(), " is the vehicle file of this run"},
        {(temp / "brennic.INI").string(), " is the settings file of this run"},
        {(temp / "texts.txt").string(), " is the brief text file of this run"},
        {(out / "old.mis").string(), " would replace a script of this run"},
        {(out / "NYC_A_1.MIS").string(), " would replace a script of this run"},
        {"", "no file name given"},
        {out.string(), " is a folder"},
        {out.string() + "/", " is a folder"},
        {(pipes / "fifo").string(), "Nothing reads from the FIFO (opening "}, // never a wait
        {(temp / "none" / "r.txt").string(), "the folder of "},
        {(temp / "locked" / "r.txt").string(), "Permission denied (opening the folder "},
    };
    const brennic::test::Fault locked(
        [&temp](brennic::platform::FileOperation op, const fs::path& path) {
            return op == brennic::platform::FileOperation::OpenFolder && path == temp / "locked"
                       ? EACCES
                       : 0;
        });
    const auto before = filesIn(temp.path());
    for (const auto& [report, why] : cases) {
        SCOPED_TRACE(report);
        const CliResult refused = runCli(
            {"--mission-dir", (temp / "gtadata").string(), "--output-dir", out.string(), "--cars",
             (temp / "cars.ini").string(), "--settings", (temp / "brennic.INI").string(), "--texts",
             (temp / "texts.txt").string(), "--report", report});
        EXPECT_EQ(refused.code, 2);
        EXPECT_TRUE(refused.err.starts_with("brennic-cli: --report: ")) << refused.err;
        EXPECT_NE(refused.err.find(why), std::string::npos) << refused.err;
        // Only what is not there "does not exist"; a folder that cannot be opened says why.
        EXPECT_EQ(refused.err.find("does not exist") != std::string::npos, why == "the folder of ");
        EXPECT_EQ(filesIn(temp.path()), before);
    }
}

// Beside a Missuk.ini, a report named mission.ini, or MISSUK.INI (first in byte order), would be
// the next run's mission file.
TEST(CliReport, RefusedWhereALaterRunWouldReadItAsTheMissionFile) {
    TempFolder temp;
    writeFile(temp / "gtadata" / "Missuk.ini", "[1]\r\nA, 1, nyc.cmp\r\n\r\n\r\n");
    fs::create_directories(temp / "out");
    for (const char* name : {"mission.ini", "MISSION.INI", "MISSUK.INI"}) {
        SCOPED_TRACE(name);
        const CliResult refused =
            runCli({"--mission-dir", (temp / "gtadata").string(), "--output-dir",
                    (temp / "out").string(), "--report", (temp / "gtadata" / name).string()});
        EXPECT_EQ(refused.code, 2);
        EXPECT_NE(refused.err.find(" could be read as the mission file by a later run"),
                  std::string::npos)
            << refused.err;
        EXPECT_FALSE(fs::exists(temp / "gtadata" / name));
    }
}

// A report goes into a pipe (>(wc -c)) as into a file, and through a link into the file it leads
// to; neither is replaced.
TEST(CliReport, GoesIntoPipesAndThroughLinks) {
    TempFolder temp;
    writeFile(temp / "gtadata" / "mission.ini", "[1]\r\nA, 1, nyc.cmp\r\n\r\n\r\n");
    fs::create_symlink("reports/last.txt", temp / "report.txt");
    fs::create_directory(temp / "reports");
    ASSERT_EQ(::mkfifo((temp / "fifo").c_str(), 0644), 0);
    const int reader = ::open((temp / "fifo").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    for (const char* name : {"fifo", "report.txt"}) {
        const CliResult run = runCli({"--mission-dir", (temp / "gtadata").string(), "--output-dir",
                                      temp.path().string(), "--report", (temp / name).string()});
        EXPECT_EQ(run.code, 0) << run.err;
    }
    std::string piped(100, '\0');
    piped.resize(static_cast<std::size_t>(std::max<ssize_t>(0, ::read(reader, piped.data(), 100))));
    ::close(reader);
    const std::string report = "nyc_A_1.mis\r\n  nothing left to do\r\n";
    EXPECT_EQ(piped, report);
    EXPECT_TRUE(fs::is_fifo(temp / "fifo"));
    EXPECT_TRUE(fs::is_symlink(temp / "report.txt"));
    EXPECT_EQ(readFile(temp / "reports" / "last.txt"), report);
}

// The run tells the report which lines are its markers; a GTA1 line whose comment merely reads
// like one is a line not translated. A script checked on its own cannot tell the two apart.
TEST(CliReport, MarkersAreWhatTheConverterLeft) {
    TempFolder temp;
    writeFile(temp / "gtadata" / "mission.ini",
              "[1]\r\nA, 1, nyc.cmp\r\n\r\n\r\nMOVE FAIL LINE HERE\r\n2 CHECK_CAR 5\r\n");
    const CliResult run =
        runCli({"--mission-dir", (temp / "gtadata").string(), "--output-dir", temp.path().string(),
                "--on", "Unknown,CheckCar", "--report", (temp / "report.txt").string()});
    ASSERT_EQ(run.code, 0);
    EXPECT_EQ(readFile(temp / "report.txt"),
              "nyc_A_1.mis\r\n"
              "  16: GTA1 line 2: CHECK_CAR test left as a comment: //IF ( IS_CHARACTER_IN_CAR ( "
              "player1 , OBJECT5 ) ) \r\n"
              "  17: GTA1 line 2: fail line to move here: // MOVE FAIL LINE HERE\r\n"
              "  1 line of FAIL not translated: MOVE\r\n");
    const CliResult check = runCli({"--check", (temp / "nyc_A_1.mis").string()});
    EXPECT_NE(check.out.find("  12: fail line to move here: // MOVE FAIL LINE HERE\r\n"),
              std::string::npos);
}

TEST(CliCheck, ExitCodes) {
    TempFolder temp;
    writeFile(temp / "clean.mis", "ARROW_DATA ARROW\r\n"
                                  "OBJ_DATA OBJECT1 = ( 1.0 , 2.0 , 3.0 ) 0 PHONE\r\n"
                                  "LEVELSTART\r\n"
                                  "POINT_ARROW_AT ( ARROW , OBJECT1 ) // 2\r\n"
                                  "LEVELEND\r\n");
    writeFile(temp / "left.mis", "LEVELSTART\r\n// MOVE FAIL LINE HERE\r\nLEVELEND\r\n");
    const std::string clean = (temp / "clean.mis").string();
    const std::string left = (temp / "left.mis").string();

    const CliResult nothing = runCli({"--check", clean});
    EXPECT_EQ(nothing.code, 0);
    EXPECT_EQ(nothing.out, clean + "\r\n  nothing left to do\r\n");

    const CliResult some = runCli({"--check", clean, left});
    EXPECT_EQ(some.code, 4);
    EXPECT_EQ(some.out, clean + "\r\n  nothing left to do\r\n\r\n" + left +
                            "\r\n  2: fail line to move here: // MOVE FAIL LINE HERE\r\n");

    EXPECT_EQ(runCli({"--check"}).code, 2);
    EXPECT_EQ(runCli({"--check", (temp / "none.mis").string()}).code, 2);
    EXPECT_EQ(runCli({"--check", temp.path().string()}).code, 2); // a folder
    const CliResult mixed = runCli({"--check", clean, "--all"});
    EXPECT_EQ(mixed.code, 2);
    EXPECT_NE(mixed.err.find("--all"), std::string::npos);
    EXPECT_EQ(runCli({"--check", clean, "--report", (temp / "r.txt").string()}).code, 2);
}

// What a user does with the check: each item the converter left is fixed at the line it names
// (an arrow at an object never declared is deleted, as the Arrow box tells; a CHECK_CAR test is
// made real; the other comments are done with), and none of them is listed again. A wrong line
// number leaves its item. What the language check says of the modders' own lines stays.
TEST(CliCheck, RealScriptsLoseTheConvertersItemsOnceFixedByHand) {
    const fs::path corpus = BRENNIC_CORPUS_DIR;
    if (!fs::is_directory(corpus)) {
        GTEST_SKIP() << "no mission files in " << corpus;
    }
    const std::regex item(R"(  (\d+): (.*?): (.*)\r)");
    const auto leftByTheConverter = [](const std::string& reason) {
        return reason.ends_with(" is not declared") || reason == "fail line to move here" ||
               reason.ends_with(" left as a comment");
    };
    int fixedItems = 0;
    for (const auto& mission : fs::directory_iterator(corpus)) {
        if (mission.path().extension() != ".ini") {
            continue;
        }
        SCOPED_TRACE(mission.path().string());
        Converted converted(mission.path());
        ASSERT_EQ(converted.result.code, 0) << converted.result.err;
        for (const auto& [name, bytes] : filesIn(converted.output)) {
            if (!name.ends_with(".mis")) {
                continue;
            }
            const std::string script = (converted.output / name).string();
            std::vector<std::string> lines;
            for (std::size_t from = 0, end = 0; from < bytes.size(); from = end + 2) {
                end = bytes.find("\r\n", from);
                lines.push_back(bytes.substr(from, end - from));
            }
            std::set<std::size_t> dropped;
            std::istringstream check(runCli({"--check", script}).out);
            for (std::string text; std::getline(check, text);) {
                std::smatch found;
                if (!std::regex_match(text, found, item) || !leftByTheConverter(found[2])) {
                    continue;
                }
                ++fixedItems;
                const std::size_t at = std::stoul(found[1]) - 1;
                ASSERT_LT(at + 2, lines.size());
                ASSERT_EQ(lines[at], found[3].str()); // the lines the converter left are short
                if (found[2] == "CHECK_CAR test left as a comment") {
                    lines[at].erase(0, 2);
                    ASSERT_EQ(lines[at + 2], "//ENDIF");
                    lines[at + 2] = "ENDIF";
                } else {
                    dropped.insert(at);
                }
            }
            std::string fixed;
            for (std::size_t i = 0; i < lines.size(); ++i) {
                fixed += dropped.contains(i) ? "" : lines[i] + "\n"; // an editor that saves LF
            }
            writeFile(script, fixed);
            std::istringstream again(runCli({"--check", script}).out);
            for (std::string text; std::getline(again, text);) {
                std::smatch found;
                EXPECT_FALSE(std::regex_match(text, found, item) && leftByTheConverter(found[2]))
                    << text;
            }
        }
    }
    EXPECT_GT(fixedItems, 0);
}

// What is plainly not a whole script never passes: each fixture names its fault. A Ctrl-Z ends
// the text as in DOS files; names behind it are an item, not passed over.
TEST(CliCheck, WhatIsNotAWholeScriptNeverPasses) {
    TempFolder temp;
    std::string randomBytes;
    std::mt19937 random(20);
    for (int i = 0; i < 1 << 16; ++i) {
        randomBytes += static_cast<char>(random() & 0xFF);
    }
    const std::pair<std::string, std::string> fixtures[] = {
        {"cut-before-levelend.mis", "LEVELSTART\r\nDISPLAY_BRIEF ( 1001 )\r\n"},
        {"cut-mid-line.mis", "LEVELSTART\r\nDISPLAY_BRIEF ( 10"},
        {"cut-before-levelstart.mis", "ARROW_DATA arrow\r\n"},
        {"empty.mis", ""},
        {"bell-outside-a-comment.mis", "LEVELSTART\r\nDISPLAY_BRIEF ( 1001 )\a\r\nLEVELEND\r\n"},
        {"names-behind-a-ctrl-z.mis",
         "LEVELSTART\r\nLEVELEND\r\n\x1a\r\nPOINT_ARROW_AT ( ARROW , OBJECT5 )\r\n"},
        {"random-bytes.mis", randomBytes},
        {"etc-passwd.mis",
         "root:x:0:0:root:/root:/bin/bash\nbin:x:2:2:bin:/bin:/usr/sbin/nologin\n"},
    };
    for (const auto& [name, bytes] : fixtures) {
        SCOPED_TRACE(name);
        writeFile(temp / name, bytes);
        const CliResult check = runCli({"--check", (temp / name).string()});
        EXPECT_EQ(check.code, 4);
        EXPECT_EQ(check.out.find("nothing left to do"), std::string::npos);
    }
    const CliResult ctrlZ = runCli({"--check", (temp / "names-behind-a-ctrl-z.mis").string()});
    EXPECT_NE(ctrlZ.out.find("  3: control byte \\x1a (Ctrl-Z), where reading stops"),
              std::string::npos)
        << ctrlZ.out;

    // A DOS end of text with nothing behind it is no fault, and comments may hold any byte.
    writeFile(temp / "whole.mis", "LEVELSTART // \a\x1b\r\n/* \x01 */ LEVELEND\r\n\x1a");
    const CliResult whole = runCli({"--check", (temp / "whole.mis").string()});
    EXPECT_EQ(whole.code, 0);
    EXPECT_EQ(whole.out, (temp / "whole.mis").string() + "\r\n  nothing left to do\r\n");
}

// Control bytes from the input (a mission section holding ESC [2J clears a terminal) are shown as
// escapes on standard error and in --check's listing; the files written keep them as they are.
TEST(CliCheck, ControlBytesOfTheInputAreShownNotActedOn) {
    TempFolder temp;
    writeFile(temp / "gtadata" / "mission.ini",
              "[1]\r\nA, 1, nyc.cmp\r\n\x1b[2J\r\n\r\n5 PED_ON \x1b[2J\r\n");
    const std::string cars = (temp / "cars\x1b[2J.ini").string();
    const CliResult run =
        runCli({"--mission-dir", (temp / "gtadata").string(), "--output-dir", temp.path().string(),
                "--all", "--cars", cars, "--report", (temp / "report.txt").string()});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err.find('\x1b'), std::string::npos);
    EXPECT_NE(run.err.find("warning: the vehicle file " + temp.path().string() +
                           "/cars\\x1b[2J.ini does not exist"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("Error description: Type mismatch: \"\\x1b[2J\" is not a number"),
              std::string::npos)
        << run.err;
    EXPECT_NE(readFile(temp / "report.txt")
                  .find("The conversion failed: Type mismatch: \"\x1b[2J\" is not a number"),
              std::string::npos);
    EXPECT_TRUE(readFile(temp / "nyc_A_1.mis").starts_with("// A, 1, nyc.cmp\x1b[2J\r\n"));

    const fs::path script = temp / "statement-\x1b[2J.mis";
    writeFile(script, "LEVELSTART\r\nDISPLAY_BRIEF\x1b[2J ( 1001 )\r\nLEVELEND\r\n");
    const CliResult check = runCli({"--check", script.string()});
    EXPECT_EQ(check.code, 4);
    EXPECT_EQ(check.out.find('\x1b'), std::string::npos);
    EXPECT_TRUE(check.out.starts_with(temp.path().string() + "/statement-\\x1b[2J.mis\r\n"));
    EXPECT_NE(check.out.find("  2: control byte \\x1b: DISPLAY_BRIEF\\x1b[2J ( 1001 )\r\n"),
              std::string::npos)
        << check.out;
}
