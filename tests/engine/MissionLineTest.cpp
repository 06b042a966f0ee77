#include "engine/MissionLine.h"

#include "engine/RunFailure.h"

#include <clocale>
#include <cmath>
#include <gtest/gtest.h>
#include <locale>
#include <stdexcept>
#include <string>
#include <tuple>

using namespace brennic::engine;

TEST(Keep_Adding_Chars_to_strGotoLine_until_a_space_is_detected, WalksFieldByField) {
    MissionLine line{.strRead = "123 PED_ON 45"};
    EXPECT_EQ(Keep_Adding_Chars_to_strGotoLine_until_a_space_is_detected(line), "123");
    EXPECT_EQ(line.intLinePosition, 4); // on the blank
    stepCursor(line, 8);                // " PED_ON "
    EXPECT_EQ(line.intLinePosition, 12);
    EXPECT_EQ(Keep_Adding_Chars_to_strGotoLine_until_a_space_is_detected(line), "45");
    EXPECT_EQ(line.intLinePosition, 14); // one past the end
    // Past the end: empty, no movement, no failure.
    stepCursor(line, 5);
    EXPECT_EQ(Keep_Adding_Chars_to_strGotoLine_until_a_space_is_detected(line), "");
    EXPECT_EQ(line.intLinePosition, 19);
}

TEST(Keep_Adding_Chars_to_strGotoLine_until_a_space_is_detected, FirstFieldOfALine) {
    const std::tuple<const char*, const char*, int> cases[] = {
        {"12345", "12345", 6}, // one past the end
        {" 12 X", "", 1},      // on a blank: no movement
        {"1\t2 X", "1\t2", 4}, // a tab is part of a field
        {"", "", 1},
    };
    for (const auto& [text, field, position] : cases) {
        MissionLine line{.strRead = text};
        EXPECT_EQ(Keep_Adding_Chars_to_strGotoLine_until_a_space_is_detected(line), field);
        EXPECT_EQ(line.intLinePosition, position);
    }
}

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

// The value rules are rendered in the golden cases; these shapes leave nothing to render.
TEST(Read_coordinates, TripleShapes) {
    MissionLine line{.strRead = "(12,34) DUMMY"}; // Y runs to the end, Z is empty
    ASSERT_TRUE(Read_coordinates(line, ConversionOptions{}));
    EXPECT_EQ(std::make_tuple(line.dblX, line.dblY, line.dblZ), std::make_tuple(12.0, 34.0, 1.0));

    line = MissionLine{.strRead = "12 DUMMY", .dblX = 42};
    line.intLinePosition = 3;
    EXPECT_FALSE(Read_coordinates(line, ConversionOptions{}));
    EXPECT_DOUBLE_EQ(line.dblX, 42);
}

// Values between the halves; the halves themselves are checked across the range below.
TEST(Format_coordinate, OneDecimalHalfAwayFromZero) {
    const std::tuple<double, const char*> cases[] = {
        {7.203125, "7.2"},      {-0.04, "0.0"},       {1234567, "1,234,567.0"},
        {2.675, "2.7"},         {100.04999, "100.0"}, {12345678.91, "12,345,678.9"},
        {-1234.56, "-1,234.6"},
    };
    for (const auto& [value, text] : cases) {
        SCOPED_TRACE(value);
        EXPECT_EQ(Format_coordinate(value), text);
    }
}

// Every multiple of 0.05 (the halves of one decimal) as arithmetic on the file's numbers gives it,
// checked against rounding done in whole numbers: the double nearest a half must still round away.
TEST(Format_coordinate, HalvesRoundAsOnPaperAcrossTheRange) {
    for (long long twentieths = -40000; twentieths <= 400000; twentieths += 1) {
        const double value = static_cast<double>(twentieths) / 20 + 0.0;
        const long long magnitude = twentieths < 0 ? -twentieths : twentieths;
        const long long tenths = (magnitude + 1) / 2; // half away from zero
        std::string text = tenths != 0 && twentieths < 0 ? "-" : "";
        const std::string whole = std::to_string(tenths / 10);
        for (std::size_t i = 0; i < whole.size(); ++i) {
            if (i > 0 && (whole.size() - i) % 3 == 0) {
                text += ',';
            }
            text += whole[i];
        }
        text += "." + std::to_string(tenths % 10);
        ASSERT_EQ(Format_coordinate(value), text) << twentieths;
        // The same value reached by adding an offset, as Read_coordinates does.
        ASSERT_EQ(Format_coordinate(static_cast<double>(twentieths - 10) / 20 + 0.5), text)
            << twentieths;
    }
}

TEST(Format_plain, FifteenSignificantDigitsInPlainNotation) {
    const std::tuple<double, const char*> cases[] = {
        {64, "64"},
        {7.8125, "7.8125"},
        {0.5, "0.5"},
        {-2.25, "-2.25"},
        {1.0 / 3, "0.333333333333333"},
        {0.1 + 0.2, "0.3"},
        {100, "100"},
        {-0.125, "-0.125"},
        {0, "0"},
        {-0.0, "0"},
        {123456789012345, "123456789012345"},
        {1.5625e18, "1562500000000000000"},
        {5e-05, "0.00005"},
        {0.0001, "0.0001"},
        {-1.5e-7, "-0.00000015"},
        {1234567890123456789.0, "1234567890123460000"},
        {0.1234567890123456, "0.123456789012346"},
    };
    for (const auto& [value, text] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Format_plain(value), text);
    }
}

// Numbers never follow the user's regional settings: the scripts always take "." and ",".
TEST(NumberTexts, AreTheSameUnderACommaDecimalLocale) {
    const char* const names[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE"};
    const char* found = nullptr;
    for (const char* name : names) {
        if (std::setlocale(LC_ALL, name) != nullptr) {
            found = name;
            break;
        }
    }
    if (found == nullptr) {
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    try {
        std::locale::global(std::locale(found));
    } catch (const std::runtime_error&) { // the C library knows it, the C++ library does not
    }
    EXPECT_EQ(Format_coordinate(1234.5), "1,234.5");
    EXPECT_EQ(Format_plain(-2.25), "-2.25");
    EXPECT_EQ(Convert_rotation("3000"), "1,055");
    EXPECT_DOUBLE_EQ(Leading_number_value("-3.5,"), -3.5);
    EXPECT_DOUBLE_EQ(Whole_number_value("2.5"), 2);
    std::locale::global(std::locale::classic());
    std::setlocale(LC_ALL, "C");
}
