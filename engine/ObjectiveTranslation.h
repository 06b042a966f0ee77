#pragma once

#include "engine/Conversion.h"

#include <string_view>

namespace brennic::engine {

// The keywords as the command chain tests them, with both blanks.
inline constexpr std::string_view kCheckCarKeyword = " CHECK_CAR ";
inline constexpr std::string_view kStealKeyword = " STEAL ";
inline constexpr std::string_view kDestroyKeyword = " DESTROY ";
inline constexpr std::string_view kLocateKeyword = " LOCATE ";
inline constexpr std::string_view kGotoKeyword = " GOTO ";
inline constexpr std::string_view kIsGoalDeadKeyword = " IS_GOAL_DEAD ";
inline constexpr std::string_view kIncHeadsKeyword = " INC_HEADS ";
inline constexpr std::string_view kMissionEndKeyword = " MISSION_END ";
inline constexpr std::string_view kEndKeyword = " END ";
inline constexpr std::string_view kParkKeyword = " PARK ";

// The wait loops share the script's counter loop and car variable car, declared in its head.
void Translate_check_car(Conversion& conversion);
void Translate_steal(Conversion& conversion);
void Translate_destroy(Conversion& conversion);
void Translate_locate(Conversion& conversion);
void Translate_goto(Conversion& conversion);
void Translate_is_goal_dead(Conversion& conversion);
void Translate_inc_heads(Conversion& conversion);
// Its argument is read from the fourth character behind the keyword, not the first.
void Translate_mission_end(Conversion& conversion);
void Translate_end(Conversion& conversion);
// Parks at the door position kept under the row its first argument names.
void Translate_park(Conversion& conversion);

} // namespace brennic::engine
