#include "engine/CommandChain.h"

#include "engine/CommandTranslation.h"
#include "engine/ObjectiveTranslation.h"

#include <string_view>

namespace brennic::engine {

namespace {

using O = ConversionOptions;

// One command: its keyword with both blanks, the switch that must be on (none for the commands
// that are always translated) and its translation.
struct Command {
    std::string_view keyword;
    Switch enabledBy = nullptr;
    bool exact = false; // compared without upper-casing
    Translation translate = nullptr;
};

// In the order they are tried. The four zeros belong to the BRIEF keyword.
constexpr Command kChain[] = {
    {" DROP_WANTED_LEVEL ", nullptr, true, &Translate_drop_wanted_level},
    {" CAR_ON ", &O::chkFuturecar, false, &Translate_car_on},
    {" PED_ON ", &O::chkFuturePed, false, &Translate_ped_on},
    {" POWERUP_ON ", &O::chkPowerup, false, &Translate_powerup_on},
    {" RED_ARROW ", &O::chkArrow, false, &Translate_red_arrow},
    {" ARROW ", &O::chkArrow, false, &Translate_arrow},
    {" ARROWCAR ", &O::chkArrowcar, false, &Translate_arrowcar},
    {" ARROW_OFF ", &O::chkArrow, false, &Translate_arrow_off},
    {" RED_ARROW_OFF ", &O::chkArrow, false, &Translate_arrow_off},
    {" ANSWER ", &O::chkAnswerPhone, false, &Translate_answer},
    {" BRIEF 0 0 0 0 ", &O::chkBrief, false, &Translate_brief},
    {" MOBILE_BRIEF ", &O::chkBrief, false, &Translate_mobile_brief},
    {" MESSAGE_BRIEF ", &O::chkBrief, false, &Translate_message_brief},
    {" P_BRIEF ", &O::chkBrief, false, &Translate_p_brief},
    {" CHECK_CAR ", &O::chkCheckCar, false, &Translate_check_car},
    {" STEAL ", &O::chkSteal, false, &Translate_steal},
    {" DESTROY ", &O::chkDestroy, false, &Translate_destroy},
    {" LOCATE ", &O::chkLocate, false, &Translate_locate},
    {" GOTO ", &O::chkGoto, false, &Translate_goto},
    {" IS_GOAL_DEAD ", &O::chkIsGoalDead, false, &Translate_is_goal_dead},
    {" INC_HEADS ", &O::chkINCHEADS, false, &Translate_inc_heads},
    {" MISSION_END ", &O::chkMission_End, false, &Translate_mission_end},
    {" END ", &O::chkEnd, false, &Translate_end},
    {" PARK ", &O::chkPark, false, &Translate_park},
};

} // namespace

bool Translate_command(Conversion& conversion) {
    MissionLine& line = conversion.line;
    for (const Command& command : kChain) {
        if (command.enabledBy != nullptr && !(conversion.options.*command.enabledBy)) {
            continue;
        }
        if (command.exact ? Is_exact_keyword_at_cursor(line, command.keyword)
                          : Is_keyword_at_cursor(line, command.keyword)) {
            Pass_keyword(line, command.keyword);
            command.translate(conversion);
            return true;
        }
    }
    return false;
}

Switch Command_switch(std::string_view text) {
    const MissionLine line{.strRead = std::string(text)};
    for (const Command& command : kChain) {
        if (command.exact ? Is_exact_keyword_at_cursor(line, command.keyword)
                          : Is_keyword_at_cursor(line, command.keyword)) {
            return command.enabledBy;
        }
    }
    return nullptr;
}

void Translate_drop_wanted_level(Conversion& conversion) {
    conversion.write("CLEAR_WANTED_LEVEL ( player1 )");
}

void Translate_car_on(Conversion& conversion) {
    const std::string row = Read_next_argument(conversion.line);
    const std::string& statement =
        conversion.state.objectLines.cell(Object_line_row(Whole_number_value(row)), 0);
    if (statement.empty()) {
        conversion.noteMissing(Missing::DeferredStatement, row);
    }
    conversion.write(statement);
}

} // namespace brennic::engine
