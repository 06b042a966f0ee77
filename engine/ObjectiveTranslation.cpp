#include "engine/ObjectiveTranslation.h"

#include "engine/NumberReading.h"

namespace brennic::engine {

void Translate_check_car(Conversion& conversion) {
    const std::string_view car = Read_next_argument(conversion.line);
    conversion.write("");
    conversion.write("// *** is player in car?");
    conversion.write({"// ", conversion.line.strRead});
    conversion.writeMarker(Marker::CheckCarTest, "( player1 , OBJECT", car, " ) ) ");
    conversion.writeMarker(Marker::MoveFailLine);
    conversion.write("//ENDIF");
}

void Translate_steal(Conversion& conversion) {
    Raise(conversion.stats.StealCount);
    const std::string_view car = Read_next_argument(conversion.line);
    conversion.write(" ");
    conversion.write({"// ", conversion.line.strLineNumber, " STEAL CAR"});
    conversion.write("SET loop = 1");
    conversion.write("WHILE_EXEC ( loop = 1 )");
    conversion.write({"IF ( IS_CHARACTER_IN_CAR  ( player1 , OBJECT", car, " ) )"});
    conversion.write("     SET LOOP = 0");
    conversion.write("     STORE_CAR_CHARACTER_IS_IN ( player1, CAR )");
    conversion.write("ENDIF");
    conversion.write("ENDWHILE");
    conversion.write("");
}

void Translate_destroy(Conversion& conversion) {
    Raise(conversion.stats.DestroyCount);
    const std::string_view character = Read_next_argument(conversion.line);
    conversion.write("");
    conversion.write("// DESTROY OBJECT (only works if object is a ped)");
    conversion.write("SET loop = 1");
    conversion.write("WHILE_EXEC ( loop = 1 )");
    conversion.write({"IF ( HAS_CHARACTER_DIED ( OBJECT", character, " ) )"});
    conversion.write("     SET LOOP = 0");
    conversion.write("ENDIF");
    conversion.write("ENDWHILE");
    conversion.write("");
}

void Translate_locate(Conversion& conversion) {
    MissionLine& line = conversion.line;
    const std::string_view character = Read_next_argument(line);
    const std::string_view score = Read_argument_after(line, 2);
    conversion.write("");
    conversion.write("// LOCATE");
    conversion.write("SET loop = 1");
    conversion.write("WHILE_EXEC ( loop = 1 )");
    conversion.write({"      IF ( LOCATE_ANOTHER_CHARACTER_ON_FOOT ( player1 , object", character,
                      " , 1.0 , 1.0 ) )"});
    conversion.write("            SET LOOP = 0");
    conversion.write({"            ADD_SCORE  ( player1 , ", score, " )"});
    conversion.write("      ENDIF");
    conversion.write("ENDWHILE");
    conversion.write("");
}

void Translate_goto(Conversion& conversion) {
    MissionLine& line = conversion.line;
    const std::string_view item = Read_next_argument(line);
    const std::string_view score = Read_argument_after(line, 3);
    conversion.write("");
    conversion.write({"// *** wait for player to goto location *** ", line.strLineNumber});
    conversion.write({"//*** ", line.strRead});
    conversion.write("SET loop = 1");
    conversion.write("WHILE_EXEC ( loop = 1 )");
    conversion.write({"      IF ( IS_ITEM_ONSCREEN ( OBJECT", item, " ) )"});
    conversion.write("            SET LOOP = 0");
    conversion.write({"            ADD_SCORE  ( player1 , ", score, " )"});
    conversion.write("      ENDIF");
    conversion.write("ENDWHILE");
    conversion.write("");
}

void Translate_is_goal_dead(Conversion& conversion) {
    const std::string_view car = Read_next_argument(conversion.line);
    conversion.write({"// ", conversion.line.strRead});
    conversion.writeMarker(Marker::IsGoalDeadTest, "( OBJECT", car, " ) )");
}

void Translate_inc_heads(Conversion& conversion) {
    const std::string_view level = Read_next_argument(conversion.line);
    conversion.write({"ALTER_WANTED_LEVEL_NO_DROP ( player1 , ", level, " ) // ",
                      conversion.line.strLineNumber});
}

void Translate_mission_end(Conversion& conversion) {
    MissionLine& line = conversion.line;
    // Deliberately read from the fourth character behind the keyword: behind a first argument of
    // two digits that is the second argument ("12 34" gives 34).
    stepCursor(line, 4);
    const std::string_view value = Keep_Adding_Chars_to_strGotoLine_until_a_space_is_detected(line);
    conversion.writeMarker(Marker::MissionEnd, value, " // ", line.strLineNumber);
}

void Translate_end(Conversion& conversion) {
    conversion.write({"FINISH_LEVEL ( NO_BONUS ) // ", conversion.line.strLineNumber});
}

void Translate_park(Conversion& conversion) {
    Raise(conversion.stats.ParkCount);
    MissionLine& line = conversion.line;
    const std::string_view door = Read_next_argument(line);
    const std::string_view score = Read_argument_after(line, 3);
    // Column 3 is not tested: a row without a door gives whatever its first columns hold.
    const ObjectLineTable& rows = conversion.state.objectLines;
    const int row = Object_line_row(Nearest_whole_value(door));
    conversion.write("");
    conversion.write("// PARK CAR");
    conversion.write("SET loop = 1");
    conversion.write("WHILE_EXEC ( loop = 1 )");
    conversion.write({"IF ( IS_CAR_IN_BLOCK  ( CAR , ", rows.cell(row, 0), " , ", rows.cell(row, 1),
                      " , ", rows.cell(row, 2), " , 2.0 , 2.0 ) ) //DOOR"});
    conversion.write({"     PARK ( CAR , OBJECT", door, ") // ", line.strLineNumber});
    conversion.write("     SET LOOP = 0");
    conversion.write({"     ADD_SCORE  (  player1  , ", score, " )"});
    conversion.write("ENDIF");
    conversion.write("ENDWHILE");
    conversion.write("");
}

} // namespace brennic::engine
