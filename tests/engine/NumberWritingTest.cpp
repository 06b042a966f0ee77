#include "engine/NumberWriting.h"

#include "engine/NumberReading.h"

#include <clocale>
#include <gtest/gtest.h>
#include <locale>
#include <stdexcept>
#include <string>
#include <tuple>

using namespace brennic::engine;

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
        // Exactly 1 + 2^-40 and 10^15 - 0.5: more than 15 digits, so rounded to 15.
        {1 + 0x1p-40, "1.00000000000091"},
        {999999999999999.5, "1000000000000000"},
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

TEST(Offset_text, PlainUnlessVerySmallOrVeryLarge) {
    const std::tuple<double, const char*> cases[] = {
        {0, "0"},
        {1.5, "1.5"},
        {-0.125, "-0.125"},
        {12, "12"},
        {0.0001, "0.0001"},
        {0.00001, "1E-05"},
        {-1.5e-7, "-1.5E-07"},
        {1e15, "1E+15"},
        {1e300, "1E+300"},
        {123456789012345, "123456789012345"},
        {0x1p-40, "9.09494701772928E-13"},    // exactly 9.094947017729282379...E-13
        {0x1p-1074, "4.94065645841247E-324"}, // the smallest double
    };
    for (const auto& [value, text] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Offset_text(value), text);
    }
}
