#include "engine/ConversionRun.h"

#include "tests/support/TestHost.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace brennic::engine;
using brennic::test::crlf;
using brennic::test::readFile;
using brennic::test::RunFixture;
using brennic::test::writeFile;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> scriptNames(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == ".mis") {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(ConversionRun, LineEndsOfEveryKindGiveTheSameScripts) {
    const std::string lines[] = {"[1]", "A, 1, nyc.cmp", "", "", "5 DROP_WANTED_LEVEL 0"};
    std::string expected;
    for (const std::string separator : {"\r\n", "\n", "\r"}) {
        SCOPED_TRACE(testing::PrintToString(separator));
        std::string bytes;
        for (const auto& line : lines) {
            bytes += line + separator;
        }
        RunFixture run;
        ASSERT_EQ(run.runBytes(bytes + "\x1a" + "[2]\r\n").end, RunEnd::Finished);
        const std::string script = run.script("nyc_A_1.mis");
        EXPECT_TRUE(script.ends_with("CLEAR_WANTED_LEVEL ( player1 )\r\n \r\n \r\nLEVELEND\r\n"));
        if (expected.empty()) {
            expected = script;
        }
        EXPECT_EQ(script, expected);
        EXPECT_EQ(scriptNames(run.outputFolder).size(), 1u); // nothing after the Ctrl-Z
    }
}

TEST(ConversionRun, MissionFileNameAndCase) {
    {
        RunFixture run; // both exist: mission.ini wins
        writeFile(run.missionFolder / "missuk.ini", crlf({"[1]", "UK, 1, uk.cmp", "", ""}));
        ASSERT_EQ(run.run({"[1]", "US, 1, nyc.cmp", "", ""}).end, RunEnd::Finished);
        EXPECT_EQ(scriptNames(run.outputFolder), std::vector<std::string>{"nyc_US_1.mis"});
    }
    {
        RunFixture run;
        ASSERT_EQ(run.run({"[1]", "UK, 1, uk.cmp", "", ""}, "MISSUK.INI").end, RunEnd::Finished);
        EXPECT_EQ(scriptNames(run.outputFolder), std::vector<std::string>{"uk_UK_1.mis"});
    }
    {
        RunFixture run; // an existing UK folder of any case is used, not doubled
        fs::create_directory(run.outputFolder / "UK");
        writeFile(run.outputFolder / "E.TXT", "[3]text\r\n");
        ASSERT_EQ(run.run({"[1]", "A, 1, nyc.cmp", "", ""}, "MISSION.INI").end, RunEnd::Finished);
        EXPECT_EQ(std::count_if(fs::directory_iterator(run.outputFolder), fs::directory_iterator(),
                                [](const auto& entry) { return entry.is_directory(); }),
                  1);
        EXPECT_EQ(run.state.texts.at(3), "text");
    }
}

TEST(ConversionRun, FolderPromptsAndCancel) {
    RunFixture run;
    const std::string missionText = run.options.GTA1iniFile;
    run.options.GTA1iniFile = run.temp.text(); // holds no mission file
    run.host.status = "before";
    writeFile(run.missionFolder / "mission.ini", crlf({"[1]", "A, 1, nyc.cmp", "", ""}));
    RunReport report = ConversionRun(run.options, run.state, run.host);
    EXPECT_EQ(report.end, RunEnd::Cancelled);
    EXPECT_EQ(report.cancelledAt, FolderField::GTA1iniFile);
    EXPECT_EQ(run.host.prompts,
              std::vector<std::string>{
                  "Where is the GTA1 mission file?  Usually in gtadata or gtadata\\uk"});
    EXPECT_EQ(run.host.status, "before");
    EXPECT_TRUE(run.host.convertEnabled);
    EXPECT_EQ(run.host.convertToggles, 2);
    EXPECT_TRUE(scriptNames(run.outputFolder).empty());
    EXPECT_FALSE(fs::exists(run.outputFolder / "uk"));

    // A wrong answer asks again; a right one is stored and the output folder is checked next.
    run.options.OutputFolder.clear();
    run.host.prompts.clear();
    run.host.answers = {(run.temp / "nowhere").string() + "/", missionText};
    report = ConversionRun(run.options, run.state, run.host);
    EXPECT_EQ(report.end, RunEnd::Cancelled);
    EXPECT_EQ(report.cancelledAt, FolderField::OutputFolder);
    EXPECT_EQ(run.options.GTA1iniFile, missionText);
    EXPECT_EQ(run.host.prompts.size(), 3u);
    EXPECT_EQ(run.host.prompts.back(), "Where should I output the GTA2 .mis files?");
}

// The folder checks read the paths the run then reads: the separator is added where it lacks,
// and an empty text is no folder (not the current one).
TEST(ConversionRun, FolderTextsWithoutSeparatorOrEmpty) {
    RunFixture run;
    run.options.GTA1iniFile.pop_back();
    run.options.OutputFolder.pop_back();
    ASSERT_EQ(run.run({"[1]", "A, 1, nyc.cmp", "", ""}).end, RunEnd::Finished);
    EXPECT_EQ(scriptNames(run.outputFolder), std::vector<std::string>{"nyc_A_1.mis"});

    fs::current_path(run.missionFolder);
    for (const FolderField empty : {FolderField::GTA1iniFile, FolderField::OutputFolder}) {
        ConversionOptions options = run.options;
        (empty == FolderField::GTA1iniFile ? options.GTA1iniFile : options.OutputFolder).clear();
        const RunReport report = ConversionRun(options, run.state, run.host);
        EXPECT_EQ(report.end, RunEnd::Cancelled);
        EXPECT_EQ(report.cancelledAt, empty);
    }
    fs::current_path(run.temp.path().parent_path());
}

TEST(ConversionRun, FailuresReportAndKeepWhatWasWritten) {
    struct Case {
        std::vector<std::string> lines;
        int number;
        std::vector<std::string> scripts; // left behind
        bool cutShort;                    // the last of them was being written
    };
    const std::string longLine = "1 " + std::string(32765, 'x');
    const Case cases[] = {
        {{"", "[1]"}, 52, {}, false}, // a mission line before the first header
        {{}, 52, {}, false},          // no header at all: the end-of-file writes
        {{"[1]", "A, 1, nyc.cmp", "", "", "[2]", "B, 1, nyc.cmp"}, 62, {"nyc_A_1.mis"}, false},
        {{"[1]", "A, 1, nyc.cmp", "", "", "5 CAR_ON 60001"}, 9, {"nyc_A_1.mis"}, true},
        {{"[1]", "A, 1, nyc.cmp", "", "", "5 CAR_ON x"}, 13, {"nyc_A_1.mis"}, true},
        {{"[1]", "A, 1, nyc.cmp", "", "", longLine}, 6, {"nyc_A_1.mis"}, true},
    };
    for (const auto& [lines, number, scripts, cutShort] : cases) {
        SCOPED_TRACE(number);
        RunFixture run;
        run.options.chkFuturecar = true;
        const RunReport report = run.run(lines);
        ASSERT_EQ(report.end, RunEnd::Failed);
        ASSERT_TRUE(report.failure.has_value());
        EXPECT_EQ(report.failure->number(), number);
        EXPECT_FALSE(report.failure->source().empty());
        EXPECT_FALSE(report.failure->description().empty());
        EXPECT_EQ(scriptNames(run.outputFolder), scripts);
        EXPECT_TRUE(run.host.convertEnabled);
        if (!scripts.empty()) {
            EXPECT_EQ(run.script(scripts.back()).ends_with("LEVELEND\r\n"), !cutShort);
        }
    }
}

TEST(ConversionRun, AUkFileBlocksTheFolderAndFailsTheRun) {
    RunFixture run;
    writeFile(run.outputFolder / "uk", "not a folder");
    const RunReport report = run.run({"[1]", "A, 1, nyc.cmp", "", ""});
    ASSERT_EQ(report.end, RunEnd::Failed);
    EXPECT_TRUE(scriptNames(run.outputFolder).empty());
}

TEST(ConversionRun, TwoRunsShareTheTextsButReloadTheVehicles) {
    RunFixture run;
    writeFile(run.outputFolder / "e.txt", "[5]five\r\n");
    writeFile(run.temp / "cars.ini", "[BRENNIC Vehicles]\r\n1=FIRST\r\n");
    run.host.cars = run.temp / "cars.ini";
    ASSERT_EQ(run.run({"[1]", "A, 1, nyc.cmp", "", ""}).end, RunEnd::Finished);
    EXPECT_EQ(run.state.vehicles.at(1), "FIRST");
    fs::remove(run.outputFolder / "e.txt");
    run.host.cars.reset();
    ASSERT_EQ(run.run({"[1]", "A, 1, nyc.cmp", "", ""}).end, RunEnd::Finished);
    EXPECT_EQ(run.state.texts.at(5), "five");
    EXPECT_EQ(run.state.vehicles.at(1), "BUG");
}
