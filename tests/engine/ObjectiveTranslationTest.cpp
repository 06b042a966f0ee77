#include "engine/ObjectiveTranslation.h"

#include "engine/RunFailure.h"
#include "tests/engine/Harness.h"

#include <gtest/gtest.h>
#include <tuple>

namespace brennic::engine {
namespace {

using test::All_switches_on;
using test::Lines;
using test::Translate_line;

TEST(Translate_park, RowsWithoutADoorAndShortLines) {
    EngineState state;
    state.objectLines.setCell(30, 0, "OBJECT30 = CREATE_CAR ( 1.0 , 2.0 , 255.0 ) 25 0 BUG END");
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        {"2400 PARK 1250 0 0 0 5000", "IF ( IS_CAR_IN_BLOCK  ( CAR ,  ,  ,  , 2.0 , 2.0 ) ) //DOOR",
         "     PARK ( CAR , OBJECT1250) // 2400", "     ADD_SCORE  (  player1  , 5000 )"},
        // Column 3 is not tested: a deferred statement stands in the first piece.
        {"2400 PARK 30 0 0 0 5000",
         "IF ( IS_CAR_IN_BLOCK  ( CAR , OBJECT30 = CREATE_CAR ( 1.0 , 2.0 , 255.0 ) 25 0 BUG END "
         ",  ,  , 2.0 , 2.0 ) ) //DOOR",
         "     PARK ( CAR , OBJECT30) // 2400", "     ADD_SCORE  (  player1  , 5000 )"},
        {"2400 park 30.4",
         "IF ( IS_CAR_IN_BLOCK  ( CAR , OBJECT30 = CREATE_CAR ( 1.0 , 2.0 , "
         "255.0 ) 25 0 BUG END ,  ,  , 2.0 , 2.0 ) ) //DOOR",
         "     PARK ( CAR , OBJECT30.4) // 2400", "     ADD_SCORE  (  player1  ,  )"},
        {"2400 PARK  0 0 0 5000", "IF ( IS_CAR_IN_BLOCK  ( CAR ,  ,  ,  , 2.0 , 2.0 ) ) //DOOR",
         "     PARK ( CAR , OBJECT) // 2400", "     ADD_SCORE  (  player1  , 5000 )"},
    };
    for (const auto& [text, block, park, score] : cases) {
        SCOPED_TRACE(text);
        const auto result = Translate_line(All_switches_on(), state, text);
        EXPECT_EQ(result.script,
                  Lines({"", "// PARK CAR", "SET loop = 1", "WHILE_EXEC ( loop = 1 )", block, park,
                         "     SET LOOP = 0", score, "ENDIF", "ENDWHILE", ""}));
        EXPECT_EQ(result.stats.ParkCount, 1);
    }
}

TEST(Translate_park, RowOutsideTheTableFails) {
    EngineState state;
    for (const char* text : {"2400 PARK -1 0 0 0 5000", "2400 PARK 60001"}) {
        SCOPED_TRACE(text);
        EXPECT_THROW(Translate_line(All_switches_on(), state, text), RunFailure);
    }
}

} // namespace
} // namespace brennic::engine
