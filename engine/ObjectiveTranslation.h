#pragma once

#include "engine/Conversion.h"

namespace brennic::engine {

// The wait loops share the script's counter loop and car variable car, declared in its head.
void Translate_check_car(Conversion& conversion);
void Translate_steal(Conversion& conversion);
void Translate_destroy(Conversion& conversion);
void Translate_locate(Conversion& conversion);
void Translate_goto(Conversion& conversion);
void Translate_is_goal_dead(Conversion& conversion);
void Translate_inc_heads(Conversion& conversion);
// Its argument is read from the fourth character behind the keyword, not the first.
void Translate_mission_end(Conversion& conversion);
void Translate_end(Conversion& conversion);
// Parks at the door position kept under the row its first argument names.
void Translate_park(Conversion& conversion);

} // namespace brennic::engine
