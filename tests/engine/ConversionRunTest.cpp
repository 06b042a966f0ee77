#include "engine/ConversionRun.h"

#include "tests/support/GTA1TextEncoder.h"
#include "tests/support/TestHost.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace brennic::engine;
using brennic::test::crlf;
using brennic::test::encodeGTA1;
using brennic::test::filesIn;
using brennic::test::gta1Records;
using brennic::test::readFile;
using brennic::test::RunFixture;
using brennic::test::writeFile;
namespace fs = std::filesystem;
using namespace std::string_literals;

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

// The table outlives a run, as the window keeps it: the texts a run reads go over the earlier
// ones, whichever file they come from.
TEST(ConversionRun, TextsOfEachRunGoOverTheEarlierOnes) {
    RunFixture run;
    run.options.chkBrief = true;
    const std::vector<std::string> mission = {"[1]",
                                              "A, 1, nyc.cmp",
                                              "",
                                              "",
                                              "1 BRIEF 0 0 0 0 5",
                                              "2 BRIEF 0 0 0 0 6",
                                              "3 BRIEF 0 0 0 0 7"};
    const auto briefs = [&run]() {
        const std::string script = run.script("nyc_A_1.mis");
        const std::size_t first = script.find("DISPLAY_BRIEF");
        return script.substr(first, script.find(" \r\n", first) - first);
    };
    writeFile(run.outputFolder / "e.txt", "[5]five\r\n[6]six\r\n");
    ASSERT_EQ(run.run(mission).end, RunEnd::Finished);

    fs::remove(run.outputFolder / "e.txt");
    writeFile(run.missionFolder / "English.fxt", encodeGTA1("[6]six of GTA1\0[7]seven\0[8]cut"s));
    ASSERT_EQ(run.run(mission).end, RunEnd::Finished);
    EXPECT_EQ(briefs(), crlf({"DISPLAY_BRIEF ( 5 ) //five", "DISPLAY_BRIEF ( 6 ) //six of GTA1",
                              "DISPLAY_BRIEF ( 7 ) //seven"}));
    EXPECT_EQ(run.host.warnings,
              std::vector<std::string>{"English.fxt is cut short (it does not end with \"[]\"); "
                                       "only the texts before the cut were read"});

    run.texts = run.temp / "mine.txt";
    writeFile(*run.texts, "[7]mine\r\n");
    ASSERT_EQ(run.run(mission).end, RunEnd::Finished);
    EXPECT_EQ(briefs(), crlf({"DISPLAY_BRIEF ( 5 ) //five", "DISPLAY_BRIEF ( 6 ) //six of GTA1",
                              "DISPLAY_BRIEF ( 7 ) //mine"}));
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
