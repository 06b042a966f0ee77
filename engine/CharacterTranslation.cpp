#include "engine/CharacterTranslation.h"

#include "engine/NumberReading.h"
#include "engine/NumberWriting.h"
#include "engine/ObjectTranslation.h"

#include <cmath>

namespace brennic::engine {

namespace {

// Appearance numbers wrap at 52, keeping the sign of the GTA1 number.
constexpr double kAppearances = 52.0;

void writePedHunt(Conversion& conversion) {
    const std::string_view n = conversion.line.strLineNumber;
    conversion.write("");
    conversion.write("// wait until ped is killed");
    conversion.write({"POINT_ARROW_AT ( arrow, ", "OBJECT", n, " )"});
    conversion.write("SET loop = 1");
    conversion.write("WHILE_EXEC ( loop = 1 )");
    conversion.write({"      IF ( HAS_CHARACTER_DIED ( OBJECT", n, " ) )"});
    conversion.write("          ");
    conversion.write("         SET loop = 0");
    conversion.write("         REMOVE_ARROW ( arrow )");
    conversion.write("      ENDIF");
    conversion.write("ENDWHILE");
    conversion.write("");
}

} // namespace

void Translate_ped(Conversion& conversion) {
    MissionLine& line = conversion.line;
    Raise(conversion.stats.PedCount);
    Skip_next_argument(line);
    const std::string rotation = Convert_rotation(Read_next_argument(line));
    const std::string_view appearance = Read_next_argument(line);
    const std::string remainder = std::to_string(
        static_cast<long long>(std::fmod(Whole_number_value(appearance), kAppearances)));
    conversion.write({"CHAR_DATA OBJECT", line.strLineNumber, " = ( ", Format_coordinate(line.dblX),
                      " , ", Format_coordinate(line.dblY), " , ", Format_coordinate(line.dblZ),
                      " ) ", remainder, " ", rotation, " DUMMY"});
    if (conversion.options.chkPedHunt) {
        writePedHunt(conversion);
    }
}

void Translate_futureped(Conversion& conversion) {
    MissionLine& line = conversion.line;
    Skip_next_argument(line);
    const std::string rotation = Convert_rotation(Read_next_argument(line));
    conversion.state.objectLines.setCell(
        Line_number_row(line), 0,
        Joined({"OBJECT", line.strLineNumber, " = CREATE_CHAR ( ", Format_coordinate(line.dblX),
                " , ", Format_coordinate(line.dblY), " , ", "255.0 ) 25 ", rotation,
                " DUMMY END"}));
    Raise(conversion.stats.FuturepedCount);
    conversion.write({"CHAR_DATA OBJECT", line.strLineNumber});
}

void Translate_future(Conversion& conversion) {
    conversion.write({"OBJ_DATA OBJECT", conversion.line.strLineNumber});
}

void Translate_midpoint_multi(Conversion& conversion) {
    const MissionLine& line = conversion.line;
    const std::string z = Format_coordinate(line.dblZ);
    // The locate test takes the point as the mission file has it, without the offsets.
    conversion.write({"POINT_ARROW_AT ( arrow , ", Format_coordinate(line.dblX), " , ",
                      Format_coordinate(line.dblY), " , ", z, ")"});
    conversion.write("WHILE ( loop = 1 )");
    conversion.write({"     IF ( LOCATE_CHARACTER_ANY_MEANS ( player1 , ",
                      Format_coordinate(line.dblX - conversion.options.Xoffset), " , ",
                      Format_coordinate(line.dblY - conversion.options.Yoffset), " , ", z,
                      " , 2.0 , 2.0 ) )"});
    conversion.write("         SET loop = 0");
    conversion.write("         REMOVE_ARROW ( arrow )");
    conversion.write("     ENDIF");
    conversion.write("ENDWHILE");
    conversion.write("");
}

} // namespace brennic::engine
