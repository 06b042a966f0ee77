#include "engine/VehicleTranslation.h"

#include "engine/NumberReading.h"
#include "engine/NumberWriting.h"
#include "engine/ObjectTranslation.h"

namespace brennic::engine {

namespace {

// The vehicle number and rotation fields behind the kind word.
struct CarFields {
    std::string rotation{};
    std::string_view vehicle{};
};

CarFields readCarFields(Conversion& conversion) {
    MissionLine& line = conversion.line;
    const std::string_view number = Read_next_argument(line);
    std::string rotation = Convert_rotation(Read_next_argument(line));
    return {std::move(rotation), Vehicle_name(conversion, number)};
}

// PARKED and HELLS differ only in their counter and comment.
void writeParkedCar(Conversion& conversion, int& counter, std::string_view comment) {
    const MissionLine& line = conversion.line;
    const CarFields car = readCarFields(conversion);
    Raise(counter);
    conversion.write({"CAR_DATA object", line.strLineNumber, " = ( ", Format_coordinate(line.dblX),
                      " , ", Format_coordinate(line.dblY), " , ", "255.0", " ) 25 ", car.rotation,
                      " ", car.vehicle, comment, line.strLineNumber});
}

// The opening both hunts share: the arrow at the point, and a player arriving there in a car is
// moved out of it onto the point.
void writeHuntStart(Conversion& conversion, std::string_view comment, std::string_view x,
                    std::string_view y, std::string_view z) {
    conversion.write("");
    conversion.write(comment);
    conversion.write({"POINT_ARROW_AT ( arrow, ", x, " , ", y, " , ", z, " ) "});
    conversion.write("SET loop = 1");
    conversion.write("WHILE_EXEC ( loop = 1 )");
    conversion.write("      STORE_CAR_CHARACTER_IS_IN ( player1, car )");
    conversion.write("      IF ( IS_CHARACTER_IN_CAR  ( player1 , car ) )");
    conversion.write(
        {"          WARP_FROM_CAR_TO_POINT ( player1  , ", x, " , ", y, " , ", z, " , 0 )"});
}

void writeCarHunt(Conversion& conversion) {
    const MissionLine& line = conversion.line;
    const std::string x = Format_coordinate(line.dblX);
    const std::string y = Format_coordinate(line.dblY);
    const std::string z = Format_coordinate(line.dblZ);
    writeHuntStart(conversion, "// wait until car is found", x, y, z);
    conversion.write("         SET loop = 0");
    conversion.write("         REMOVE_ARROW ( arrow )");
    conversion.write("      ENDIF");
    conversion.write("ENDWHILE");
    conversion.write("");
}

void writeDoorHunt(Conversion& conversion, std::string_view x, std::string_view y) {
    const std::string z = Format_coordinate(conversion.line.dblZ);
    writeHuntStart(conversion, "// wait until door is found", x, y, z);
    conversion.write("      ENDIF");
    conversion.write("     ");
    conversion.write({"     IF ( LOCATE_CHARACTER_ANY_MEANS ( player1 , ", x, " , ", y, " , ", z,
                      " , 2.0 , 2.0 ) )"});
    conversion.write("         SET loop = 0");
    conversion.write("         REMOVE_ARROW ( arrow )");
    conversion.write("     ENDIF");
    conversion.write("ENDWHILE");
    conversion.write("");
}

} // namespace

std::string Convert_face(std::string_view text) {
    if (text == "0") {
        return "left";
    }
    if (text == "1") {
        return "right";
    }
    if (text == "2") {
        return "top";
    }
    if (text == "3") {
        return "bottom";
    }
    return "UNSUPPORTED_FACE";
}

const std::string& Vehicle_name(const Conversion& conversion, std::string_view field) {
    return conversion.state.vehicles.at(
        Table_index(Nearest_whole_value(field), VehicleTable::intMaxIndex, "VehicleTable"));
}

void Translate_futurecar(Conversion& conversion) {
    const MissionLine& line = conversion.line;
    const CarFields car = readCarFields(conversion);
    Raise(conversion.stats.FuturecarCount);
    conversion.write({"CAR_DATA OBJECT", line.strLineNumber, " // ", line.strLineNumber});
    conversion.state.objectLines.setCell(
        Line_number_row(line), 0,
        Joined({"OBJECT", line.strLineNumber, " = CREATE_CAR ( ", Format_coordinate(line.dblX),
                " , ", Format_coordinate(line.dblY), " , ", "255.0", " ) 25 ", car.rotation, " ",
                car.vehicle, " END // ", line.strLineNumber}));
    if (conversion.options.chkFutureCarArrow) {
        writeCarHunt(conversion);
    }
}

void Translate_parked(Conversion& conversion) {
    writeParkedCar(conversion, conversion.stats.ParkedCount, " // ");
}

void Translate_hells(Conversion& conversion) {
    writeParkedCar(conversion, conversion.stats.HellsCount, " // hells bike ");
}

void Translate_door(Conversion& conversion) {
    MissionLine& line = conversion.line;
    // Only the word in capitals is followed by its face. In any other letter case the face was
    // read from the word itself, which is never a face.
    const bool capitals = std::string_view(line.strRead)
                              .substr(0, static_cast<std::size_t>(line.intLinePosition - 1))
                              .ends_with("DOOR");
    const std::string face = capitals ? Convert_face(Read_next_argument(line)) : "UNSUPPORTED_FACE";
    Raise(conversion.stats.DoorCount);
    // Doors stand where the mission file puts them: the offsets are taken off again.
    const double dx = line.dblX - conversion.options.Xoffset;
    const double dy = line.dblY - conversion.options.Yoffset;
    const double dz = line.dblZ + 1.0;
    const int row = Line_number_row(line);
    const std::string x = Format_coordinate(dx);
    const std::string y = Format_coordinate(dy);
    const std::string z = Format_coordinate(dz);
    ObjectLineTable& table = conversion.state.objectLines;
    table.setCell(row, 0, x);
    table.setCell(row, 1, y);
    table.setCell(row, 2, z);
    table.setCell(row, 3, "door");
    conversion.write({"DOOR_DATA OBJECT", line.strLineNumber, " = SINGLE ( ", Format_plain(dx),
                      " , ", Format_plain(dy), " , ", Format_plain(dz), " ) ( ", x, " , ", y, " , ",
                      z, " , 0.0 , 0.0 ) ", face,
                      " 0 ANY_PLAYER CLOSE_NEVER 0 FLIP_RIGHT NOT_REVERSED", " // ",
                      line.strLineNumber});
    if (conversion.options.chkDoorArrow) {
        writeDoorHunt(conversion, x, y);
    }
}

} // namespace brennic::engine
