#include "tests/cli/CliRun.h"
#include "tests/support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
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
