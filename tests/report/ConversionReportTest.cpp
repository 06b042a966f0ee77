#include "report/ConversionReport.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using brennic::report::ConversionReport;

// Runs that wrote scripts are golden cases; a run can also fail before its first script.
TEST(ConversionReport, FailureWithoutAnyScript) {
    ConversionReport report;
    EXPECT_EQ(report.text("Bad file name or number"),
              "The conversion failed: Bad file name or number\r\n");
    EXPECT_EQ(report.text(), "");
}

// Each script's block goes to the sink once the next script opens, so that a report of any length
// is written as the run goes; the end of the run adds the last block and the failure.
TEST(ConversionReport, EachBlockGoesToTheSinkOnceItsScriptIsFinished) {
    std::vector<std::string> pieces;
    ConversionReport report([&pieces](std::string_view text) { pieces.emplace_back(text); });
    report.scriptOpened("a.mis");
    report.lineWritten({"LEVELSTART"});
    report.missionLineRead("20");
    report.lineWritten({"POINT_ARROW_AT ( ARROW , OBJECT", "11", " ) // 20"});
    report.lineWritten({"LEVELEND"});
    EXPECT_TRUE(pieces.empty());
    report.scriptOpened("b.mis");
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0], "a.mis\r\n"
                         "  2: GTA1 line 20: ARROW is not declared: "
                         "POINT_ARROW_AT ( ARROW , OBJECT11 ) // 20\r\n"
                         "  2: GTA1 line 20: OBJECT11 is not declared; this mission has no GTA1 "
                         "line 11: POINT_ARROW_AT ( ARROW , OBJECT11 ) // 20\r\n");
    report.lineWritten({"ARROW_DATA ARROW"}); // declares nothing for a.mis
    report.finish("Disk full");
    report.finish("never twice");
    EXPECT_EQ(pieces,
              (std::vector<std::string>{pieces[0],
                                        "\r\nb.mis\r\n  1: the script ends without LEVELEND or "
                                        "MISSIONEND:\r\n",
                                        "\r\nThe conversion failed: Disk full\r\n"}));
}
