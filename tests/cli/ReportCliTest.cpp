#include "tests/cli/CliRun.h"
#include "tests/support/Fault.h"
#include "tests/support/TempFolder.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
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
        const CliResult refused =
            runCli({"--mission-dir", (temp / "gtadata").string(), "--output-dir", out.string(),
                    "--cars", (temp / "cars.ini").string(), "--settings",
                    (temp / "brennic.INI").string(), "--report", report});
        EXPECT_EQ(refused.code, 2);
        EXPECT_TRUE(refused.err.starts_with("brennic-cli: --report: ")) << refused.err;
        EXPECT_NE(refused.err.find(why), std::string::npos) << refused.err;
        // Only what is not there "does not exist"; a folder that cannot be opened says why.
        EXPECT_EQ(refused.err.find("does not exist") != std::string::npos, why == "the folder of ");
        EXPECT_EQ(filesIn(temp.path()), before);
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
    writeFile(temp / "clean.mis", "OBJ_DATA OBJECT1 = ( 1.0 , 2.0 , 3.0 )\r\n"
                                  "POINT_ARROW_AT ( ARROW , OBJECT1 ) // 2\r\n");
    writeFile(temp / "left.mis", "\r\n// MOVE FAIL LINE HERE\r\n");
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

// What a user does with the check: each item is fixed at the line it names (an arrow at an object
// never declared is deleted, as the Arrow box tells; a CHECK_CAR test is made real; the other
// comments are done with), and the scripts then pass. A wrong line number leaves its item.
TEST(CliCheck, RealScriptsPassOnceTheirItemsAreFixedByHand) {
    const fs::path corpus = BRENNIC_CORPUS_DIR;
    if (!fs::is_directory(corpus)) {
        GTEST_SKIP() << "no mission files in " << corpus;
    }
    const std::regex item(R"(  (\d+): (.*?): (.*)\r)");
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
                if (!std::regex_match(text, found, item)) {
                    continue;
                }
                ++fixedItems;
                const std::size_t at = std::stoul(found[1]) - 1;
                ASSERT_LT(at + 2, lines.size());
                ASSERT_EQ(lines[at], found[3].str());
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
            const CliResult again = runCli({"--check", script});
            EXPECT_EQ(again.out, script + "\r\n  nothing left to do\r\n");
            EXPECT_EQ(again.code, 0);
        }
    }
    EXPECT_GT(fixedItems, 0);
}
