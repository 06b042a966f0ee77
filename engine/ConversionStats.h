#pragma once

#include <array>
#include <string_view>

namespace brennic::engine {

// Run totals (16-bit in the statistics block; Raise() refuses to pass 32 767) and the two counts
// that restart at every section header.
struct ConversionStats {
    int PlayerCount = 0;
    int DoorCount = 0;
    int PowerupCount = 0;
    int BriefCount = 0;
    int PhoneCount = 0;
    int FuturecarCount = 0;
    int ParkedCount = 0;
    int HellsCount = 0;
    int DummyCount = 0;
    int FuturepedCount = 0;
    int PedCount = 0;
    int StealCount = 0;
    int SprayCount = 0;
    int BombCount = 0;
    int AnswerPhoneCount = 0;
    int ParkCount = 0;
    int DestroyCount = 0;
    int MissionPowerupCount = 0;
    int MissionPlayerNumber = 0;
};

// The counters are 16-bit, as the statistics block shows them.
inline constexpr int kMaxCount = 32767;

// Adds 1 to a counter; past 32 767 it is a run failure.
void Raise(int& counter);

struct StatisticsLine {
    std::string_view label; // with its tabs
    int ConversionStats::*member;
};

// The statistics block, in the order the status text shows it.
inline constexpr std::array<StatisticsLine, 17> kStatisticsLines{{
    {"Total Player count: \t\t", &ConversionStats::PlayerCount},
    {"Total Door count: \t\t", &ConversionStats::DoorCount},
    {"Total Powerup count: \t", &ConversionStats::PowerupCount},
    {"Total Brief count: \t\t", &ConversionStats::BriefCount},
    {"Total Phone count: \t\t", &ConversionStats::PhoneCount},
    {"Total Futurecar count: \t", &ConversionStats::FuturecarCount},
    {"Total Parked count: \t", &ConversionStats::ParkedCount},
    {"Total Hells count: \t\t", &ConversionStats::HellsCount},
    {"Total Dummy count: \t", &ConversionStats::DummyCount},
    {"Total Futureped count: \t", &ConversionStats::FuturepedCount},
    {"Total Ped count: \t\t", &ConversionStats::PedCount},
    {"Total Steal count: \t\t", &ConversionStats::StealCount},
    {"Total Spray count: \t\t", &ConversionStats::SprayCount},
    {"Total Bomb count: \t\t", &ConversionStats::BombCount},
    {"Total AnswerPhone count: \t", &ConversionStats::AnswerPhoneCount},
    {"Total Park count: \t\t", &ConversionStats::ParkCount},
    {"Total Destroy count: \t", &ConversionStats::DestroyCount},
}};

} // namespace brennic::engine
