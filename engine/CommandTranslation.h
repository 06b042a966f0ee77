#pragma once

#include "engine/Conversion.h"

#include <string_view>

namespace brennic::engine {

// The keywords as the command chain tests them, with both blanks; a translation passes over its
// keyword by the keyword's length. The four zeros belong to the BRIEF keyword.
inline constexpr std::string_view kPedOnKeyword = " PED_ON ";
inline constexpr std::string_view kPowerupOnKeyword = " POWERUP_ON ";
inline constexpr std::string_view kRedArrowKeyword = " RED_ARROW ";
inline constexpr std::string_view kArrowKeyword = " ARROW ";
inline constexpr std::string_view kArrowcarKeyword = " ARROWCAR ";
inline constexpr std::string_view kArrowOffKeyword = " ARROW_OFF ";
inline constexpr std::string_view kRedArrowOffKeyword = " RED_ARROW_OFF ";
inline constexpr std::string_view kAnswerKeyword = " ANSWER ";
inline constexpr std::string_view kBriefKeyword = " BRIEF 0 0 0 0 ";
inline constexpr std::string_view kMobileBriefKeyword = " MOBILE_BRIEF ";
inline constexpr std::string_view kMessageBriefKeyword = " MESSAGE_BRIEF ";
inline constexpr std::string_view kPBriefKeyword = " P_BRIEF ";

// Writes column 0 of the row its argument names: the creation a FUTUREPED line deferred.
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
