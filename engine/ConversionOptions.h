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

// One switch: its key in the settings file and on the command line, and its member.
struct SwitchKey {
    std::string_view key;
    Switch member;
};

// The 35 switches in the order the settings file stores them.
inline constexpr std::array<SwitchKey, 35> kSwitchKeys{{
    {"Phone", &ConversionOptions::chkPhone},
    {"Brief", &ConversionOptions::chkBrief},
    {"FutureCar", &ConversionOptions::chkFuturecar},
    {"FutureObject", &ConversionOptions::chkFuture},
    {"Door", &ConversionOptions::chkDoor},
    {"Powerup", &ConversionOptions::chkPowerup},
    {"Park", &ConversionOptions::chkPark},
    {"Dummy", &ConversionOptions::chkDummy},
    {"Target", &ConversionOptions::chkTarget},
    {"Trigger", &ConversionOptions::chkTrigger},
    {"Parked", &ConversionOptions::chkParked},
    {"Hells", &ConversionOptions::chkHells},
    {"Arrow", &ConversionOptions::chkArrow},
    {"Arrowcar", &ConversionOptions::chkArrowcar},
    {"Ped", &ConversionOptions::chkPed},
    {"Spray", &ConversionOptions::chkSpray},
    {"Bomb", &ConversionOptions::chkBomb},
    {"Steal", &ConversionOptions::chkSteal},
    {"FuturePed", &ConversionOptions::chkFuturePed},
    {"AnswerPhone", &ConversionOptions::chkAnswerPhone},
    {"MPhone", &ConversionOptions::chkMphone},
    {"Destroy", &ConversionOptions::chkDestroy},
    {"Locate", &ConversionOptions::chkLocate},
    {"Goto", &ConversionOptions::chkGoto},
    {"IsGoalDead", &ConversionOptions::chkIsGoalDead},
    {"INCHEADS", &ConversionOptions::chkINCHEADS},
    {"MISSION_END", &ConversionOptions::chkMission_End},
    {"End", &ConversionOptions::chkEnd},
    {"CheckCar", &ConversionOptions::chkCheckCar},
    {"MidPointMulti", &ConversionOptions::chkMidPointMulti},
    {"DoorArrow", &ConversionOptions::chkDoorArrow},
    {"FutureCarArrow", &ConversionOptions::chkFutureCarArrow},
    {"PedHunt", &ConversionOptions::chkPedHunt},
    {"Unknown", &ConversionOptions::chkUnknown},
    {"PowerupRespawn", &ConversionOptions::chkPowerupRespawn},
}};

} // namespace brennic::engine
