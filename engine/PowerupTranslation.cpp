#include "engine/PowerupTranslation.h"

#include "engine/NumberWriting.h"
#include "engine/ObjectTranslation.h"

#include <array>

namespace brennic::engine {

namespace {

// A mission script holds at most 120 generators; later powerups take the object form.
constexpr int kMaxGenerators = 120;

struct SupportedPowerup {
    std::string_view type;
    std::string_view code;
    std::string_view word;
};

constexpr std::array kSupportedPowerups{
    SupportedPowerup{"1", "COLLECT_00", "pistol"},
    SupportedPowerup{"2", "COLLECT_01", "machine_gun"},
    SupportedPowerup{"3", "COLLECT_02", "rocket_launcher"},
    SupportedPowerup{"4", "COLLECT_08", "flame_thrower"},
    SupportedPowerup{"6", "COLLECT_36", "double fire-rate"},
    SupportedPowerup{"9", "COLLECT_33", "cop bribe"},
    SupportedPowerup{"10", "COLLECT_31", "armour"},
    SupportedPowerup{"11", "COLLECT_28", "multiplier"},
    SupportedPowerup{"12", "COLLECT_32", "get out of jail free"},
    SupportedPowerup{"13", "COLLECT_29", "extra life"},
    SupportedPowerup{"15", "COLLECT_29", "extra life"},
    SupportedPowerup{"14", "COLLECT_30", "health/information boxes"},
};

} // namespace

PowerupType Convert_powerup_type(std::string_view type) {
    for (const SupportedPowerup& powerup : kSupportedPowerups) {
        if (powerup.type == type) {
            return {std::string(powerup.code), powerup.word};
        }
    }
    // The word of an earlier powerup would name the wrong item; say what is true instead.
    return {Joined({"POWERUP", type, "not_supported"}), "unsupported"};
}

void Translate_powerup(Conversion& conversion) {
    MissionLine& line = conversion.line;
    const std::string_view type = Read_next_argument(line);
    const std::string_view value = Read_next_argument(line);
    const PowerupType powerup = Convert_powerup_type(type);
    Raise(conversion.stats.PowerupCount);
    Raise(conversion.stats.MissionPowerupCount);

    const std::string_view n = line.strLineNumber;
    const std::string x = Format_coordinate(line.dblX);
    const std::string y = Format_coordinate(line.dblY);
    const std::string z = Format_coordinate(line.dblZ);
    if (conversion.options.chkPowerupRespawn &&
        conversion.stats.MissionPowerupCount <= kMaxGenerators) {
        conversion.write({"GENERATOR OBJECT", n, " = ( ", x, " , ", y, " , ", z, " ) 0 ",
                          powerup.code, " 0 1500 ", value, " // POWERUP ", n, " ", powerup.word});
        conversion.write({"SWITCH_GENERATOR ( OBJECT", n, " , ON )"});
        return;
    }
    conversion.state.objectLines.setCell(
        Line_number_row(line), 0,
        Joined({"OBJECT", n, " = CREATE_OBJ ( ", x, " , ", y, " , ", z, " ) 0 ", powerup.code, " ",
                value, " END // POWERUP ", n, " ", powerup.word}));
    conversion.write({"OBJ_DATA OBJECT", n, " // POWERUP ", powerup.word});
}

} // namespace brennic::engine
