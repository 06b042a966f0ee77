#pragma once

#include "engine/Conversion.h"

#include <string>
#include <string_view>

namespace brennic::engine {

// A GTA1 powerup type in GTA2 terms: the collectable code and the word of the line's comment.
struct PowerupType {
    std::string code{};      // "COLLECT_00"…, or "POWERUP" type "not_supported"
    std::string_view word{}; // "unsupported" for a type GTA2 has no collectable for
};

// Looks the type text up exactly ("01" is not "1").
PowerupType Convert_powerup_type(std::string_view type);

// A powerup: under chkPowerupRespawn the first 120 of a mission become generators switched on at
// once; the others are declared now and their CREATE_OBJ statement waits in ObjectLineTable.
// Entered from Translate_object with the cursor on the first letter of the kind word.
void Translate_powerup(Conversion& conversion);

} // namespace brennic::engine
