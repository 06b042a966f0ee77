#pragma once

#include "engine/Conversion.h"

namespace brennic::engine {

void Translate_drop_wanted_level(Conversion& conversion);
// Writes column 0 of the row its argument names: the creation a FUTURECAR line deferred.
void Translate_car_on(Conversion& conversion);
// The same for a FUTUREPED line, with a comment behind it.
void Translate_ped_on(Conversion& conversion);
// Writes the creation a POWERUP line deferred, as PED_ON does; under chkPowerupRespawn nothing,
// since the powerup was switched on where it was declared.
void Translate_powerup_on(Conversion& conversion);
void Translate_red_arrow(Conversion& conversion);
// Points at the door position when the named row holds a door of this mission.
void Translate_arrow(Conversion& conversion);
void Translate_arrowcar(Conversion& conversion);
// ARROW_OFF and RED_ARROW_OFF alike.
void Translate_arrow_off(Conversion& conversion);
void Translate_answer(Conversion& conversion);
void Translate_brief(Conversion& conversion);
void Translate_mobile_brief(Conversion& conversion);
void Translate_message_brief(Conversion& conversion);
void Translate_p_brief(Conversion& conversion);

} // namespace brennic::engine
