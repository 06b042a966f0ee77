#include "report/ConversionReport.h"

#include "engine/ConversionRun.h"
#include "tests/support/TestHost.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using brennic::test::crlf;
using brennic::test::TempFolder;

namespace {

// A test front end that listens for the report.
class ReportHost : public brennic::test::TestHost {
  public:
    brennic::report::ConversionReport report{};
    brennic::engine::RunNotes* notes() override { return &report; }
};

// One run of a mission file with the switches given, offsets 0.
struct ReportRun {
    TempFolder temp{};
    brennic::engine::ConversionOptions options{};
    brennic::engine::EngineState state{};
    ReportHost host{};

    std::string run(const std::vector<std::string>& lines, std::string_view failure = {}) {
        std::filesystem::create_directories(temp / "gtadata");
        std::filesystem::create_directories(temp / "out");
        brennic::test::writeFile(temp / "gtadata" / "mission.ini", crlf(lines));
        options.GTA1iniFile = (temp / "gtadata").string() + "/";
        options.OutputFolder = (temp / "out").string() + "/";
        brennic::engine::ConversionRun(options, state, host);
        return host.report.text(failure);
    }
};

} // namespace

TEST(ConversionReport, LinesNothingTranslatedByKindWordMostFrequentFirst) {
    ReportRun run;
    const std::string text = run.run({
        "[1]", "A, 1, nyc.cmp", "", "",
        "1 1 (1,2,3) crane 1",         // object kind words in any letter case are one kind
        "2 1 (1,2,3) CRANE",           //
        "3 KICKSTART 1",               //
        "   ",                         // blank lines carry nothing
        "",                            //
        "4 foo",                       //
        "5 FOO",                       //
        "6 1 (1,2",                    // coordinates that never close leave no kind word
        "7",                           // nor does a line number alone
        "8 CAR_ON 5",                  // a command whose box is off
        "9 1 (1,2,3) DOOR 1",          // an object kind whose box is off
        "10 1 (1,2,3) SPECIFIC_DOOR",  // never translated
        "11 1 (1,2,3) TARGET_SCORE 5", // translated without a box
        "12 BRIEF 1 0 0 0 5",          // the four zeros belong to the keyword
    });
    EXPECT_EQ(text, crlf({
                        "nyc_A_1.mis",
                        "  2 lines of CRANE not translated: 1, 2",
                        "  2 lines of FOO not translated: 4, 5",
                        "  2 lines without a keyword not translated: 6, 7",
                        "  1 line of BRIEF not translated: 12",
                        "  1 line of CAR_ON not translated, turn on FutureCar: 8",
                        "  1 line of DOOR not translated, turn on Door: 9",
                        "  1 line of KICKSTART not translated: 3",
                        "  1 line of SPECIFIC_DOOR not translated: 10",
                    }));
}

TEST(ConversionReport, HintNamesTheFirstLineOfTheNumberNothingTranslated) {
    ReportRun run;
    run.options.chkArrow = true;
    const std::string text = run.run({
        "[1]", "A, 1, nyc.cmp", "", "", "5 1 (1,2,3) CRANE", "5 1 (1,2,3) DUMMY", "6 ARROW 5 0 0 0",
        "7 ARROW 6 0 0 0", // a line of this mission, translated, that declares nothing
    });
    EXPECT_EQ(text, crlf({
                        "nyc_A_1.mis",
                        "  12: GTA1 line 6: OBJECT5 is not declared; GTA1 line 5 (CRANE) was not "
                        "translated: POINT_ARROW_AT ( ARROW , OBJECT5 ) // 6",
                        "  13: GTA1 line 7: OBJECT6 is not declared: POINT_ARROW_AT ( ARROW , "
                        "OBJECT6 ) // 7",
                        "  1 line of CRANE not translated: 5",
                        "  1 line of DUMMY not translated, turn on Dummy: 5",
                    }));
}

TEST(ConversionReport, EachMissionStandsAlone) {
    ReportRun run;
    run.options.chkArrow = true;
    run.options.chkDummy = true;
    const std::string text = run.run({
        "[1]",
        "A, 1, nyc.cmp",
        "",
        "",
        "5 1 (1,2,3) DUMMY",
        "[2]",
        "B, 2, nyc.cmp",
        "",
        "",
        "6 ARROW 5 0 0 0", // the dummy of the mission before is not declared here
        "7 1 (1,2,3) CRANE",
    });
    EXPECT_EQ(text, crlf({
                        "nyc_A_1.mis",
                        "  nothing left to do",
                        "",
                        "nyc_B_2.mis",
                        "  12: GTA1 line 6: OBJECT5 is not declared; this mission has no GTA1 line "
                        "5: POINT_ARROW_AT ( ARROW , OBJECT5 ) // 6",
                        "  1 line of CRANE not translated: 7",
                    }));
}

TEST(ConversionReport, FailureWithoutAnyScript) {
    brennic::report::ConversionReport report;
    EXPECT_EQ(report.text("Bad file name or number"),
              "The conversion failed: Bad file name or number\r\n");
    EXPECT_EQ(report.text(), "");
}
