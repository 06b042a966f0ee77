#include "engine/CommandChain.h"

#include "engine/CommandTranslation.h"
#include "engine/ObjectiveTranslation.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace brennic::engine {

namespace {

using O = ConversionOptions;

// One command: its keyword with both blanks, the switch that must be on (none for the commands
// that are always translated) and its translation. Every keyword is a blank, a word, a blank and
// maybe more (BRIEF's four zeros); the word alone tells a command from the others.
struct Command {
    constexpr Command(std::string_view keywordText, Switch on, bool exactCase, Translation how)
        : keyword(keywordText), word(keywordText.substr(1, keywordText.find(' ', 1) - 1)),
          enabledBy(on), exact(exactCase), translate(how) {}

    // Whether the keyword, with both its blanks, begins at offset `from` of text.
    bool standsAt(std::string_view text, std::size_t from) const {
        return exact ? from <= text.size() && text.substr(from).starts_with(keyword)
                     : Is_keyword_at(text, from, keyword);
    }

    std::string_view keyword;
    std::string_view word;
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

// The commands whose word has the given length: a line's word is compared with those only.
const std::vector<const Command*>& commandsOfLength(std::size_t length) {
    static const std::vector<std::vector<const Command*>> byLength = [] {
        std::vector<std::vector<const Command*>> commands;
        for (const Command& command : kChain) {
            commands.resize(std::max(commands.size(), command.word.size() + 1));
            commands[command.word.size()].push_back(&command);
        }
        return commands;
    }();
    static const std::vector<const Command*> kNone;
    return length < byLength.size() ? byLength[length] : kNone;
}

} // namespace

Match Translate_command(Conversion& conversion) {
    MissionLine& line = conversion.line;
    // Only the command whose word stands behind the blank at the cursor can match.
    const std::string_view text = line.strRead;
    const auto blank = static_cast<std::size_t>(line.intLinePosition - 1);
    if (blank >= text.size() || text[blank] != ' ') {
        return {};
    }
    const std::string_view word = text.substr(blank + 1, text.find(' ', blank + 1) - blank - 1);
    for (const Command* candidate : commandsOfLength(word.size())) {
        const Command& command = *candidate;
        if (!Is_keyword_at(word, 0, command.word)) {
            continue;
        }
        if (!command.standsAt(text, blank)) {
            return {false, word};
        }
        if (command.enabledBy != nullptr && !(conversion.options.*command.enabledBy)) {
            return {false, word, command.enabledBy};
        }
        if (conversion.notes != nullptr) {
            conversion.notes->translated(command.word);
        }
        Pass_keyword(line, command.keyword);
        command.translate(conversion);
        return {true, word};
    }
    return {false, word};
}

} // namespace brennic::engine
