#pragma once

#include "engine/Conversion.h"

#include <span>
#include <string_view>

namespace brennic::engine {

// One command of the chain: its keyword with both blanks, the switch that must be on (none for
// the commands that are always translated) and its translation.
struct Command {
    std::string_view keyword;
    Switch enabledBy = nullptr;
    bool exact = false; // compared without upper-casing
    Translation translate = nullptr;
};

// The commands in the order they are tried.
std::span<const Command> Command_chain();

// Tries the chain at the cursor (the blank behind the line number); translates the first command
// that matches and returns true, or returns false when none does.
bool Translate_command(Conversion& conversion);

void Translate_drop_wanted_level(Conversion& conversion);
void Translate_car_on(Conversion& conversion);

} // namespace brennic::engine
