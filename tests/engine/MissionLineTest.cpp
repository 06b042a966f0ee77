#include "engine/MissionLine.h"

#include <gtest/gtest.h>
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
