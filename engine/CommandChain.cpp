#include "engine/CommandChain.h"

#include "engine/CommandTranslation.h"
#include "engine/ObjectiveTranslation.h"

#include <array>
#include <bit>
#include <cstdint>
#include <utility>

namespace brennic::engine {

namespace {

using O = ConversionOptions;

constexpr std::array kChain{
    Command{" DROP_WANTED_LEVEL ", nullptr, true, &Translate_drop_wanted_level},
    Command{" CAR_ON ", &O::chkFuturecar, false, &Translate_car_on},
    Command{kPedOnKeyword, &O::chkFuturePed, false, &Translate_ped_on},
    Command{kPowerupOnKeyword, &O::chkPowerup, false, &Translate_powerup_on},
    Command{kRedArrowKeyword, &O::chkArrow, false, &Translate_red_arrow},
    Command{kArrowKeyword, &O::chkArrow, false, &Translate_arrow},
    Command{kArrowcarKeyword, &O::chkArrowcar, false, &Translate_arrowcar},
    Command{kArrowOffKeyword, &O::chkArrow, false, &Translate_arrow_off},
    Command{kRedArrowOffKeyword, &O::chkArrow, false, &Translate_arrow_off},
    Command{kAnswerKeyword, &O::chkAnswerPhone, false, &Translate_answer},
    Command{kBriefKeyword, &O::chkBrief, false, &Translate_brief},
    Command{kMobileBriefKeyword, &O::chkBrief, false, &Translate_mobile_brief},
    Command{kMessageBriefKeyword, &O::chkBrief, false, &Translate_message_brief},
    Command{kPBriefKeyword, &O::chkBrief, false, &Translate_p_brief},
    Command{kCheckCarKeyword, &O::chkCheckCar, false, &Translate_check_car},
    Command{kStealKeyword, &O::chkSteal, false, &Translate_steal},
    Command{kDestroyKeyword, &O::chkDestroy, false, &Translate_destroy},
    Command{kLocateKeyword, &O::chkLocate, false, &Translate_locate},
    Command{kGotoKeyword, &O::chkGoto, false, &Translate_goto},
    Command{kIsGoalDeadKeyword, &O::chkIsGoalDead, false, &Translate_is_goal_dead},
    Command{kIncHeadsKeyword, &O::chkINCHEADS, false, &Translate_inc_heads},
    Command{kMissionEndKeyword, &O::chkMission_End, false, &Translate_mission_end},
    Command{kEndKeyword, &O::chkEnd, false, &Translate_end},
    Command{kParkKeyword, &O::chkPark, false, &Translate_park},
};

} // namespace

std::span<const Command> Command_chain() { return kChain; }

bool Translate_command(Conversion& conversion) {
    const MissionLine& line = conversion.line;
    // Every keyword starts with the blank behind the line number.
    if (Byte_at(line, line.intLinePosition) != ' ') {
        return false;
    }
    // Most lines are objects or commands outside the chain: the letter behind the blank rules out
    // nearly every keyword before a whole comparison is tried.
    static constexpr auto kCandidates = Keyword_candidates(kChain, [](const Command& command) {
        return std::pair{command.keyword[1], command.exact};
    });
    for (std::uint32_t candidates = kCandidates[Byte_at(line, line.intLinePosition + 1)];
         candidates != 0; candidates &= candidates - 1) {
        const Command& command = kChain[static_cast<std::size_t>(std::countr_zero(candidates))];
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

std::string Read_first_argument(MissionLine& line, std::string_view keyword) {
    stepCursor(line, static_cast<int>(keyword.size()));
    return Keep_Adding_Chars_to_strGotoLine_until_a_space_is_detected(line);
}

std::string Read_next_argument(MissionLine& line) {
    stepCursor(line, 1);
    return Keep_Adding_Chars_to_strGotoLine_until_a_space_is_detected(line);
}

void Skip_next_argument(MissionLine& line) {
    stepCursor(line, 1);
    Skip_value(line);
}

std::string Read_argument_after(MissionLine& line, int count) {
    for (int i = 0; i < count; ++i) {
        Skip_next_argument(line);
    }
    return Read_next_argument(line);
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
