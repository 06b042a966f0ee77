#pragma once

#include <array>
#include <string>
#include <string_view>

namespace brennic::engine {

// What one run converts: filled by a front end, read by the run. The run changes only the two
// folder texts, when the user picks a folder at one of its prompts.
struct ConversionOptions {
    double Xoffset = 0.0;
    double Yoffset = 0.0;
    double Zoffset = 0.0;
    std::string GTA1iniFile{}; // the GTA1 mission folder, ending with a separator
    std::string OutputFolder{};

    // Objects
    bool chkDoor = false;
    bool chkPowerup = false;
    bool chkBrief = false;
    bool chkPhone = false;
    bool chkFuturecar = false;
    bool chkParked = false;
    bool chkDummy = false;
    bool chkFuturePed = false;
    bool chkPed = false;
    bool chkTarget = false;
    bool chkFuture = false;
    bool chkTrigger = false;
    bool chkSpray = false;
    bool chkBomb = false;
    bool chkHells = false;
    bool chkMidPointMulti = false;
    // Mission objectives
    bool chkSteal = false;
    bool chkAnswerPhone = false;
    bool chkPark = false;
    bool chkDestroy = false;
    bool chkMphone = false;
    bool chkLocate = false;
    bool chkGoto = false;
    bool chkIsGoalDead = false;
    bool chkCheckCar = false;
    // Actions
    bool chkINCHEADS = false;
    bool chkMission_End = false;
    bool chkEnd = false;
    bool chkArrowcar = false;
    bool chkArrow = false;
    // Debug
    bool chkUnknown = false;
    bool chkDoorArrow = false;
    bool chkFutureCarArrow = false;
    bool chkPedHunt = false;
    bool chkPowerupRespawn = false;
};

using Switch = bool ConversionOptions::*;

// One check box: its settings-file key, its control name and its switch.
struct SwitchKey {
    std::string_view key;
    std::string_view control;
    Switch member;
};

// The 35 check boxes in the order the settings file stores them.
inline constexpr std::array<SwitchKey, 35> kSwitchKeys{{
    {"Phone", "chkPhone", &ConversionOptions::chkPhone},
    {"Brief", "chkBrief", &ConversionOptions::chkBrief},
    {"FutureCar", "chkFuturecar", &ConversionOptions::chkFuturecar},
    {"FutureObject", "chkFuture", &ConversionOptions::chkFuture},
    {"Door", "chkDoor", &ConversionOptions::chkDoor},
    {"Powerup", "chkPowerup", &ConversionOptions::chkPowerup},
    {"Park", "chkPark", &ConversionOptions::chkPark},
    {"Dummy", "chkDummy", &ConversionOptions::chkDummy},
    {"Target", "chkTarget", &ConversionOptions::chkTarget},
    {"Trigger", "chkTrigger", &ConversionOptions::chkTrigger},
    {"Parked", "chkParked", &ConversionOptions::chkParked},
    {"Hells", "chkHells", &ConversionOptions::chkHells},
    {"Arrow", "chkArrow", &ConversionOptions::chkArrow},
    {"Arrowcar", "chkArrowcar", &ConversionOptions::chkArrowcar},
    {"Ped", "chkPed", &ConversionOptions::chkPed},
    {"Spray", "chkSpray", &ConversionOptions::chkSpray},
    {"Bomb", "chkBomb", &ConversionOptions::chkBomb},
    {"Steal", "chkSteal", &ConversionOptions::chkSteal},
    {"FuturePed", "chkFuturePed", &ConversionOptions::chkFuturePed},
    {"AnswerPhone", "chkAnswerPhone", &ConversionOptions::chkAnswerPhone},
    {"MPhone", "chkMphone", &ConversionOptions::chkMphone},
    {"Destroy", "chkDestroy", &ConversionOptions::chkDestroy},
    {"Locate", "chkLocate", &ConversionOptions::chkLocate},
    {"Goto", "chkGoto", &ConversionOptions::chkGoto},
    {"IsGoalDead", "chkIsGoalDead", &ConversionOptions::chkIsGoalDead},
    {"INCHEADS", "chkINCHEADS", &ConversionOptions::chkINCHEADS},
    {"MISSION_END", "chkMission_End", &ConversionOptions::chkMission_End},
    {"End", "chkEnd", &ConversionOptions::chkEnd},
    {"CheckCar", "chkCheckCar", &ConversionOptions::chkCheckCar},
    {"MidPointMulti", "chkMidPointMulti", &ConversionOptions::chkMidPointMulti},
    {"DoorArrow", "chkDoorArrow", &ConversionOptions::chkDoorArrow},
    {"FutureCarArrow", "chkFutureCarArrow", &ConversionOptions::chkFutureCarArrow},
    {"PedHunt", "chkPedHunt", &ConversionOptions::chkPedHunt},
    {"Unknown", "chkUnknown", &ConversionOptions::chkUnknown},
    {"PowerupRespawn", "chkPowerupRespawn", &ConversionOptions::chkPowerupRespawn},
}};

} // namespace brennic::engine
