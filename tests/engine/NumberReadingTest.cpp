#include "engine/NumberReading.h"

#include "engine/RunFailure.h"

#include <gtest/gtest.h>
#include <string>
#include <tuple>

using namespace brennic::engine;

TEST(Leading_number_value, ReadsAsFarAsTheNumberGoes) {
    const std::tuple<const char*, double> cases[] = {
        {" 12abc", 12},   {"1 2", 12},
        {"-3.5,", -3.5},  {"abc", 0},
        {"", 0},          {"&H10", 16},
        {"&h1f", 31},     {"&O17", 15},
        {"1E5x", 1e5},    {"2e-1", 0.2},
        {"1Ex", 1},       {"2E+", 2},
        {"E5", 0},        {"-", 0},
        {".", 0},         {"- 3", -3},
        {"\t7\n", 7},     {"1.5.5", 1.5},
        {"+4", 4},        {".5", 0.5},
        {"1e-400", 0},    {"&HFFFFFFFFFF", 1099511627775.0},
        {"0.000e999", 0}, {"12,5", 12},
    };
    for (const auto& [text, value] : cases) {
        SCOPED_TRACE(text);
        EXPECT_DOUBLE_EQ(Leading_number_value(text), value);
    }
    // Too small for a double for all its positive exponent: 0, not a failure.
    EXPECT_EQ(Leading_number_value("0." + std::string(400, '0') + "1e5"), 0);
}

TEST(Leading_number_value, BeyondTheDoubleRangeIsARunFailure) {
    for (const char* text : {"1e400", "0.001e+400", "-1e309",
                             "1"
                             "000000000000000000000000000000000000000000000"
                             "e300"}) {
        SCOPED_TRACE(text);
        try {
            Leading_number_value(text);
            ADD_FAILURE() << "no failure";
        } catch (const RunFailure& failure) {
            EXPECT_EQ(failure.number(), 6);
        }
    }
}

TEST(Whole_number_value, TheTokenMustBeANumberAsAWhole) {
    const std::tuple<const char*, double> numbers[] = {
        {"12", 12},   {" 12 ", 12}, {"2.5", 2}, {"3.5", 4}, {"-1.5", -2},  {"1e2", 100},
        {"&H10", 16}, {"5.", 5},    {".5", 0},  {"+7", 7},  {"1.5E1", 15}, {"0", 0},
    };
    for (const auto& [token, value] : numbers) {
        SCOPED_TRACE(token);
        EXPECT_DOUBLE_EQ(Whole_number_value(token), value);
    }
    for (const char* token :
         {"", " ", "12a", "1 2", ".", "-", "1e", "&H", "&X", "abc", "E5", "1,5"}) {
        SCOPED_TRACE(token);
        EXPECT_THROW(Whole_number_value(token), RunFailure);
    }
}
