#include "engine/CharacterTranslation.h"

#include "tests/engine/Harness.h"

#include <gtest/gtest.h>
#include <tuple>

namespace brennic::test {
namespace {

using engine::RunEnd;
using O = engine::ConversionOptions;

// A coordinate below 1 becomes 1 without the offset; the locate test takes the offset off anyway.
TEST(Translate_midpoint_multi, ACoordinateBelowOneLosesItsOffsetOnlyInTheArrow) {
    EXPECT_EQ(
        Translate_lines({"53 (0,20,4) MIDPOINT_MULTI 1"},
                        Options({&O::chkMidPointMulti}, 1.0, 0.5, -2.0)),
        Lines({"POINT_ARROW_AT ( arrow , 1.0 , 20.5 , 2.0)", "WHILE ( loop = 1 )",
               "     IF ( LOCATE_CHARACTER_ANY_MEANS ( player1 , 0.0 , 20.0 , 2.0 , 2.0 , 2.0 ) )",
               "         SET loop = 0", "         REMOVE_ARROW ( arrow )", "     ENDIF", "ENDWHILE",
               ""}));
}

TEST(Translate_ped, AppearanceWrapsAtFiftyTwoKeepingItsSign) {
    const std::tuple<const char*, const char*> cases[] = {
        {"52", "0"},   {"104", "0"}, {"53", "1"},   {"51", "51"},
        {"-1", "-1"},  {"-52", "0"}, {"52.5", "0"}, // rounded half to even first: 52
        {"53.5", "2"},                              // 54
        {"&H3C", "8"},
    };
    for (const auto& [appearance, remainder] : cases) {
        SCOPED_TRACE(appearance);
        EXPECT_EQ(Translate_lines({std::string("1 (1,1,1) PED 0 0 ") + appearance},
                                  Options({&O::chkPed})),
                  std::string("CHAR_DATA OBJECT1 = ( 1.0 , 1.0 , 1.0 ) ") + remainder +
                      " 0 DUMMY\r\n");
    }
}

TEST(Translate_ped, RunFailures) {
    const std::tuple<const char*, int> cases[] = {
        {"1 (1,1,1) PED 0 0", 13},          // no appearance
        {"1 (1,1,1) PED 0 0 x1", 13},       // not a number
        {"60001 (1,1,1) FUTUREPED 0 0", 9}, // no such row
        {"-1 (1,1,1) FUTUREPED 0 0", 9},    {"7a (1,1,1) FUTUREPED 0 0", 13},
    };
    for (const auto& [line, number] : cases) {
        SCOPED_TRACE(line);
        engine::EngineState state;
        const MissionRun run = Run_mission_file(Section("1") + line + "\r\n",
                                                Options({&O::chkPed, &O::chkFuturePed}), state);
        ASSERT_EQ(run.report.end, RunEnd::Failed);
        EXPECT_EQ(run.report.failure->number(), number);
    }
}

} // namespace
} // namespace brennic::test
