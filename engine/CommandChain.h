#pragma once

#include "engine/Conversion.h"

namespace brennic::engine {

// Tries the command chain at the cursor (the blank behind the line number): the first command
// whose switch is on and whose keyword, with both its blanks, stands there is translated. Without
// a match the cursor stays.
Match Translate_command(Conversion& conversion);

} // namespace brennic::engine
