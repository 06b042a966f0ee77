#include "engine/CommandChain.h"

#include <array>

namespace brennic::engine {

namespace {

constexpr std::array kChain{
    Command{" DROP_WANTED_LEVEL ", nullptr, true, &Translate_drop_wanted_level},
    Command{" CAR_ON ", &ConversionOptions::chkFuturecar, false, &Translate_car_on},
};

} // namespace

std::span<const Command> Command_chain() { return kChain; }

bool Translate_command(Conversion& conversion) {
    const MissionLine& line = conversion.line;
    // Every keyword starts with the blank behind the line number.
    if (charAt(line, line.intLinePosition) != " ") {
        return false;
    }
    for (const Command& command : kChain) {
        if (command.enabledBy != nullptr && !(conversion.options.*command.enabledBy)) {
            continue;
        }
        const bool matches = command.exact ? Is_exact_keyword_at_cursor(line, command.keyword)
                                           : Is_keyword_at_cursor(line, command.keyword);
        if (matches) {
            command.translate(conversion);
            return true;
        }
    }
    return false;
}

void Translate_drop_wanted_level(Conversion& conversion) {
    conversion.write("CLEAR_WANTED_LEVEL ( player1 )");
}

void Translate_car_on(Conversion& conversion) {
    MissionLine& line = conversion.line;
    stepCursor(line, 8);
    const std::string row = Keep_Adding_Chars_to_strGotoLine_until_a_space_is_detected(line);
    conversion.write(
        conversion.state.objectLines.cell(Object_line_row(Whole_number_value(row)), 0));
}

} // namespace brennic::engine
