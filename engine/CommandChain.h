#pragma once

#include "engine/Conversion.h"

#include <span>
#include <string>
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

// Argument reading shared by the command translations, entered with the cursor on the blank
// before the keyword: the first argument stands directly behind the keyword, every later one
// behind a single blank. Each leaves the cursor on the blank that ends its field.
std::string Read_first_argument(MissionLine& line, std::string_view keyword);
std::string Read_next_argument(MissionLine& line);
void Skip_next_argument(MissionLine& line);
// Passes over the next count arguments and reads the one behind them.
std::string Read_argument_after(MissionLine& line, int count);

void Translate_drop_wanted_level(Conversion& conversion);
void Translate_car_on(Conversion& conversion);

} // namespace brennic::engine
