#pragma once

#include "engine/Conversion.h"

#include <string>
#include <string_view>

namespace brennic::engine {

// Vehicles and doors, entered from Translate_object with the cursor on the first letter of the
// kind word. A vehicle number is rounded to the nearest entry of VehicleTable (halves to even);
// a number outside 0 to 100 fails the run.

// A car declared now; its CREATE_CAR statement waits in ObjectLineTable for a CAR_ON line. Under
// chkFutureCarArrow the script then points the arrow at the place and waits until player1 is in a
// car.
void Translate_futurecar(Conversion& conversion);
// Cars placed at once.
void Translate_parked(Conversion& conversion);
void Translate_hells(Conversion& conversion);
// A door; its position stays in ObjectLineTable for later ARROW and PARK lines. Under
// chkDoorArrow the script then waits until player1 reaches it.
void Translate_door(Conversion& conversion);

// A door face number as its GTA2 word: "0" to "3" give left, right, top and bottom, compared
// exactly; any other text gives UNSUPPORTED_FACE.
std::string Convert_face(std::string_view text);

// The VehicleTable name for a vehicle number field.
const std::string& Vehicle_name(const Conversion& conversion, std::string_view field);

} // namespace brennic::engine
