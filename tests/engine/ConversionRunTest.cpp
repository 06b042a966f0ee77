#include "engine/ConversionRun.h"

#include "tests/support/TestHost.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace brennic::engine;
using brennic::test::crlf;
using brennic::test::filesIn;
using brennic::test::readFile;
using brennic::test::RunFixture;
using brennic::test::writeFile;
namespace fs = std::filesystem;

// Which mission file is read is a golden case; the output folder's own names have any case.
TEST(ConversionRun, UkFolderAndTextFileOfAnyCase) {
    RunFixture run;
    fs::create_directory(run.outputFolder / "UK");
    writeFile(run.outputFolder / "E.TXT", "[3]text\r\n");
    ASSERT_EQ(run.run({"[1]", "A, 1, nyc.cmp", "", ""}, "MISSION.INI").end, RunEnd::Finished);
    EXPECT_EQ(std::count_if(fs::directory_iterator(run.outputFolder), fs::directory_iterator(),
                            [](const auto& entry) { return entry.is_directory(); }),
              1);
    EXPECT_EQ(run.state.texts.at(3), "text");
}

TEST(ConversionRun, FolderPromptsAndCancel) {
    RunFixture run;
    const std::string missionText = run.options.GTA1iniFile;
    run.options.GTA1iniFile = run.temp.text(); // holds no mission file
    run.host.status = "before";
    writeFile(run.missionFolder / "mission.ini", crlf({"[1]", "A, 1, nyc.cmp", "", ""}));
    RunOutcome outcome = run.convert();
    EXPECT_EQ(outcome.end, RunEnd::Cancelled);
    EXPECT_EQ(outcome.cancelledAt, FolderField::GTA1iniFile);
    EXPECT_EQ(outcome.GTA1iniFile, run.temp.text());
    EXPECT_EQ(run.host.prompts,
              std::vector<std::string>{
                  "Where is the GTA1 mission file?  Usually in gtadata or gtadata\\uk"});
    EXPECT_EQ(run.host.status, "before");
    EXPECT_TRUE(filesIn(run.outputFolder).empty());

    // A wrong answer asks again; a right one is kept and the output folder is checked next.
    run.options.OutputFolder.clear();
    run.host.prompts.clear();
    run.host.answers = {(run.temp / "nowhere").string() + "/", missionText};
    outcome = run.convert();
    EXPECT_EQ(outcome.end, RunEnd::Cancelled);
    EXPECT_EQ(outcome.cancelledAt, FolderField::OutputFolder);
    EXPECT_EQ(outcome.GTA1iniFile, missionText);
    EXPECT_EQ(outcome.OutputFolder, "");
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
    EXPECT_TRUE(filesIn(run.outputFolder).contains("nyc_A_1.mis"));

    fs::current_path(run.missionFolder);
    for (const FolderField empty : {FolderField::GTA1iniFile, FolderField::OutputFolder}) {
        ConversionOptions options = run.options;
        (empty == FolderField::GTA1iniFile ? options.GTA1iniFile : options.OutputFolder).clear();
        const RunOutcome outcome = ConversionRun({options}, run.state, run.host);
        EXPECT_EQ(outcome.end, RunEnd::Cancelled);
        EXPECT_EQ(outcome.cancelledAt, empty);
    }
    fs::current_path(run.temp.path().parent_path());
}

TEST(ConversionRun, AUkFileBlocksTheFolderAndFailsTheRun) {
    RunFixture run;
    writeFile(run.outputFolder / "uk", "not a folder");
    const RunOutcome outcome = run.run({"[1]", "A, 1, nyc.cmp", "", ""});
    ASSERT_EQ(outcome.end, RunEnd::Failed);
    EXPECT_EQ(filesIn(run.outputFolder).size(), 1u); // the file named uk
}

// The one comment of a line nothing translated: an object part speaks for its line, and without
// one the command chain does, so a command does not keep an unknown object part from its comment.
TEST(ConversionRun, UnknownCodeCommentOncePerLine) {
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"5 SURVIVE 0", {"// 5 SURVIVE 0"}},
        {"5 1 (1,2,3) CRANE", {"// 5 1 (1,2,3) CRANE"}},
        {"5 1 (1,2,3) DOOR 1 2", {"// 5 1 (1,2,3) DOOR 1 2"}}, // its switch is off
        {"5 ARROW 3 0 (1,2,3) CRANE",
         {"POINT_ARROW_AT ( ARROW , OBJECT3 ) // 5", "// 5 ARROW 3 0 (1,2,3) CRANE"}},
        {"5 ARROW 3 0 0", {"POINT_ARROW_AT ( ARROW , OBJECT3 ) // 5"}},
        {"5 1 (1,2,3) DUMMY",
         {"OBJ_DATA OBJECT5 = ( 1.0 , 2.0 , 3.0 ) 0 INVISIBLE_TARGET // DUMMY"}},
        {"5 DOOR 1 (1,2,3) DUMMY",
         {"OBJ_DATA OBJECT5 = ( 1.0 , 2.0 , 3.0 ) 0 INVISIBLE_TARGET // DUMMY"}},
        {"   ", {"//    "}},
        {"", {}},
    };
    for (const auto& [line, written] : cases) {
        SCOPED_TRACE(line);
        RunFixture run;
        run.options.chkUnknown = true;
        run.options.chkArrow = true;
        run.options.chkDummy = true;
        ASSERT_EQ(run.run({"[1]", "A, 1, xyz.cmp", "", "", line}).end, RunEnd::Finished);
        std::vector<std::string> lines = {" ", "LEVELSTART", " "};
        lines.insert(lines.end(), written.begin(), written.end());
        lines.insert(lines.end(), {" ", " ", "LEVELEND"});
        EXPECT_TRUE(run.script("xyz_A_1.mis").ends_with("\r\n \r\n" + crlf(lines)));

        run.options.chkUnknown = false;
        ASSERT_EQ(run.run({"[1]", "A, 1, xyz.cmp", "", "", line}).end, RunEnd::Finished);
        EXPECT_TRUE(line.empty() ||
                    run.script("xyz_A_1.mis").find("// " + line) == std::string::npos);
    }
}

// The last header line's object part is read too, from where the header scan stopped (behind the
// map name's dot, counted in the three lines joined); a "(" before that is not seen.
TEST(ConversionRun, UnknownCodeCommentOfTheLastHeaderLine) {
    RunFixture run;
    run.options.chkUnknown = true;
    const std::vector<std::string> lines = {"[1]", "A, 1, xyz.cmp", "", "1234567890 (1,2,3) CRANE",
                                            "[2]", "B, 1, xyz.cmp", "", "1234567(1,2,3) CRANE"};
    ASSERT_EQ(run.run(lines).end, RunEnd::Finished);
    EXPECT_TRUE(run.script("xyz_A_1.mis")
                    .ends_with(crlf({"CAR_DATA car ", " ", "// 1234567890 (1,2,3) CRANE", "",
                                     "LEVELSTART", "", " ", "LEVELEND"})));
    EXPECT_TRUE(
        run.script("xyz_B_2.mis")
            .ends_with(crlf({"CAR_DATA car ", " ", "", "LEVELSTART", "", " ", " ", "LEVELEND"})));
}

// The map name ends at the first dot behind the second comma; a dot before that comma (in the
// second field, say) is not the one.
TEST(ConversionRun, TheMapNameEndsAtTheDotBehindTheSecondComma) {
    RunFixture run;
    ASSERT_EQ(run.run({"[1]", "A, 1., nyc.cmp", "", ""}).end, RunEnd::Finished);
    EXPECT_TRUE(filesIn(run.outputFolder).contains("nyc_A_1.mis"));
}
