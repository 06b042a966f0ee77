#include "engine/CommandTranslation.h"

#include "engine/ConversionRun.h"
#include "engine/RunFailure.h"
#include "tests/engine/Harness.h"

#include <gtest/gtest.h>
#include <tuple>

namespace brennic::engine {
namespace {

using test::All_switches_on;
using test::Lines;
using test::Translate_line;

constexpr std::string_view kDeferredPed =
    "OBJECT51 = CREATE_CHAR ( 11.0 , 20.5 , 255.0 ) 25 180 DUMMY END";
constexpr std::string_view kDeferredPowerup =
    "OBJECT61 = CREATE_OBJ ( 66.0 , 48.0 , 2.0 ) 0 COLLECT_30 1 END // POWERUP 61 "
    "health/information boxes";

// What a DOOR line at 10.5, 20.0, 3.0 leaves under its line number.
void storeDoor(ObjectLineTable& rows, int row) {
    rows.setCell(row, 0, "10.5");
    rows.setCell(row, 1, "20.0");
    rows.setCell(row, 2, "3.0");
    rows.setCell(row, 3, "door");
}

TEST(Translate_ped_on, WritesColumnZeroOfTheNamedRow) {
    EngineState state;
    state.objectLines.setCell(51, 0, std::string(kDeferredPed));
    state.objectLines.setCell(4, 0, "four");
    const std::tuple<const char*, std::string> cases[] = {
        {"102 PED_ON 51 0 0 147 0", std::string(kDeferredPed) + " // PED_ON\r\n"},
        {"102 PED_ON 52", " // PED_ON\r\n"},      // a row nothing stored
        {"102 PED_ON 4.5", "four // PED_ON\r\n"}, // halves go to the even row
        {"102 PED_ON 60000", " // PED_ON\r\n"},
    };
    for (const auto& [text, script] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Translate_line(All_switches_on(), state, text).script, script);
    }
}

TEST(Translate_ped_on, RowMustBeAWholeNumberOfTheTable) {
    EngineState state;
    for (const char* text :
         {"102 PED_ON abc", "102 PED_ON 12x", "102 PED_ON ", "102 PED_ON -1", "102 PED_ON 60001"}) {
        SCOPED_TRACE(text);
        EXPECT_THROW(Translate_line(All_switches_on(), state, text), RunFailure);
    }
}

TEST(Translate_powerup_on, WritesTheDeferredObjectOnlyWithoutRespawn) {
    EngineState state;
    state.objectLines.setCell(61, 0, std::string(kDeferredPowerup));
    ConversionOptions options = All_switches_on();
    // Generators were switched on where they were declared: no trace, not even a comment.
    auto result = Translate_line(options, state, "103 POWERUP_ON 61 0 0 0 0");
    EXPECT_TRUE(result.matched);
    EXPECT_EQ(result.script, "");
    EXPECT_EQ(Translate_line(options, state, "103 POWERUP_ON abc").script, "");

    options.chkPowerupRespawn = false;
    EXPECT_EQ(Translate_line(options, state, "103 POWERUP_ON 61 0 0 0 0").script,
              std::string(kDeferredPowerup) + " // POWERUP_ON\r\n");
    EXPECT_EQ(Translate_line(options, state, "103 POWERUP_ON 62").script, " // POWERUP_ON\r\n");
    EXPECT_THROW(Translate_line(options, state, "103 POWERUP_ON abc"), RunFailure);
    EXPECT_THROW(Translate_line(options, state, "103 POWERUP_ON -5"), RunFailure);
}

TEST(Translate_arrow, LineZeroDoorAndObjectForms) {
    EngineState state;
    storeDoor(state.objectLines, 1250);
    state.objectLines.setCell(31, 0, "OBJECT31 = CREATE_CAR ( 1.0 , 2.0 , 255.0 ) 25 0 BUG END");
    const std::tuple<const char*, const char*> cases[] = {
        {"2300 ARROW 0 0 0 0",
         "// 2300 ARROW 0 0 0 0 There is no object at line 0, what should I point at?"},
        {"2300 ARROW 1250 0 0 0", "POINT_ARROW_AT ( ARROW , 10.5 , 20.0 , 3.0) // arrowDOOR 2300"},
        {"2300 arrow 1250", "POINT_ARROW_AT ( ARROW , 10.5 , 20.0 , 3.0) // arrowDOOR 2300"},
        {"2300 ARROW 1249.6 0", "POINT_ARROW_AT ( ARROW , 10.5 , 20.0 , 3.0) // arrowDOOR 2300"},
        {"2300 ARROW 1251 0 0 0", "POINT_ARROW_AT ( ARROW , OBJECT1251 ) // 2300"},
        // A deferred car is no door.
        {"2300 ARROW 31 0 0 0", "POINT_ARROW_AT ( ARROW , OBJECT31 ) // 2300"},
        // "00" is not line 0 as text, but selects row 0.
        {"2300 ARROW 00 0", "POINT_ARROW_AT ( ARROW , OBJECT00 ) // 2300"},
        {"2300 ARROW  0", "POINT_ARROW_AT ( ARROW , OBJECT ) // 2300"},
        {"2300 ARROW x", "POINT_ARROW_AT ( ARROW , OBJECTx ) // 2300"},
    };
    for (const auto& [text, written] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Translate_line(All_switches_on(), state, text).script, Lines({written}));
    }
    storeDoor(state.objectLines, 0);
    EXPECT_EQ(Translate_line(All_switches_on(), state, "2300 ARROW 00 0").script,
              Lines({"POINT_ARROW_AT ( ARROW , 10.5 , 20.0 , 3.0) // arrowDOOR 2300"}));
}

TEST(Translate_arrow, RowOutsideTheTableFails) {
    EngineState state;
    for (const char* text : {"2300 ARROW -1 0 0 0", "2300 ARROW 60001", "2300 ARROW 60000.6"}) {
        SCOPED_TRACE(text);
        EXPECT_THROW(Translate_line(All_switches_on(), state, text), RunFailure);
    }
}

TEST(Translate_brief, TextsFollowTheStatementDirectly) {
    EngineState state;
    state.texts.set(1500, "Go to the bank");
    state.texts.set(9000, "Last");
    const std::tuple<const char*, const char*> cases[] = {
        {"2300 MOBILE_BRIEF 1 2 3 4 1500",
         "DISPLAY_BRIEF ( 1500 ) // MOBILE_BRIEF 2300Go to the bank"},
        {"2300 BRIEF 0 0 0 0 1500", "DISPLAY_BRIEF ( 1500 ) //Go to the bank"},
        {"2300 mobile_brief 10 200 3000 40000 1500",
         "DISPLAY_BRIEF ( 1500 ) // MOBILE_BRIEF 2300Go to the bank"},
        {"2300 BRIEF 0 0 0 0 1499.5", "DISPLAY_BRIEF ( 1499.5 ) //Go to the bank"},
        {"2300 BRIEF 0 0 0 0 1501", "DISPLAY_BRIEF ( 1501 ) //"}, // no text
        {"2300 BRIEF 0 0 0 0 abc", "DISPLAY_BRIEF ( abc ) //"},
        {"2300 BRIEF 0 0 0 0 9000", "DISPLAY_BRIEF ( 9000 ) //Last"},
        // Modders' own text numbers lie beyond the table: the empty text, the run goes on.
        {"2300 BRIEF 0 0 0 0 9001", "DISPLAY_BRIEF ( 9001 ) //"},
        {"62 MOBILE_BRIEF 0 0 0 0 10001", "DISPLAY_BRIEF ( 10001 ) // MOBILE_BRIEF 62"},
        {"2300 P_BRIEF 0 0 0 0 -1", "DISPLAY_BRIEF ( -1 ) // P_BRIEF 2300"},
        {"2300 MESSAGE_BRIEF 0 0 0", "DISPLAY_MESSAGE (  ) //"},
    };
    for (const auto& [text, written] : cases) {
        SCOPED_TRACE(text);
        const auto result = Translate_line(All_switches_on(), state, text);
        EXPECT_EQ(result.script, Lines({written}));
        EXPECT_EQ(result.stats.BriefCount, 1);
    }
}

} // namespace
} // namespace brennic::engine
