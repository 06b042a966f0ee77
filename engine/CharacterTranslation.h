#pragma once

#include "engine/Conversion.h"

namespace brennic::engine {

// Characters, future objects and midpoints, entered from Translate_object with the cursor on the
// first letter of the kind word.

// A character placed at once; under chkPedHunt the script then waits until it is killed. Its
// appearance must be a number.
void Translate_ped(Conversion& conversion);
// A character declared now; its CREATE_CHAR statement waits in ObjectLineTable for a PED_ON line.
void Translate_futureped(Conversion& conversion);
// An object declared now and created by a later command.
void Translate_future(Conversion& conversion);
// Points the arrow at a place and waits until player1 reaches it.
void Translate_midpoint_multi(Conversion& conversion);

} // namespace brennic::engine
