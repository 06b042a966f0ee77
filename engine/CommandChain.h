#pragma once

#include "engine/Conversion.h"

namespace brennic::engine {

// Tries the command chain at the cursor (the blank behind the line number): the first command
// whose switch is on and whose keyword, with both its blanks, stands there is translated. False
// when none matches.
bool Translate_command(Conversion& conversion);

// The switch of the first command whose keyword, with both its blanks, begins `text` (the line
// from the blank behind its number), on or off; nullptr when none matches or the command needs
// none. Tells a report which box would have translated a line.
Switch Command_switch(std::string_view text);

} // namespace brennic::engine
