#include "report/ConversionReport.h"

#include <gtest/gtest.h>

// Runs that wrote scripts are golden cases; a run can also fail before its first script.
TEST(ConversionReport, FailureWithoutAnyScript) {
    brennic::report::ConversionReport report;
    EXPECT_EQ(report.text("Bad file name or number"),
              "The conversion failed: Bad file name or number\r\n");
    EXPECT_EQ(report.text(), "");
}
