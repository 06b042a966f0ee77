#include "engine/PowerupTranslation.h"

#include "tests/engine/Harness.h"

#include <gtest/gtest.h>
#include <tuple>

namespace brennic::test {
namespace {

using engine::RunEnd;
using O = engine::ConversionOptions;

TEST(Convert_powerup_type, ExactTypeTexts) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"1", "COLLECT_00", "pistol"},
        {"13", "COLLECT_29", "extra life"},
        {"15", "COLLECT_29", "extra life"},
        {"14", "COLLECT_30", "health/information boxes"},
        {"5", "POWERUP5not_supported", "unsupported"},
        {"01", "POWERUP01not_supported", "unsupported"},
        {"", "POWERUPnot_supported", "unsupported"},
    };
    for (const auto& [type, code, word] : cases) {
        SCOPED_TRACE(type);
        std::string slot = "before";
        const engine::PowerupType powerup = engine::Convert_powerup_type(type, slot);
        EXPECT_EQ(powerup.code, code);
        EXPECT_EQ(powerup.word, word);
        // Only a supported type replaces the word kept from earlier lines.
        EXPECT_EQ(slot, powerup.code.starts_with("COLLECT") ? word : "before");
    }
}

TEST(Translate_powerup, GeneratorAndObjectForms) {
    const auto respawn = Options({&O::chkPowerup, &O::chkPowerupRespawn});
    EXPECT_EQ(Translate_lines({"1251 (10.5,20,2) powerup 5"}, respawn),
              "GENERATOR OBJECT1251 = ( 10.5 , 20.0 , 2.0 ) 0 POWERUP5not_supported 0 1500  // "
              "POWERUP 1251 unsupported\r\n"
              "SWITCH_GENERATOR ( OBJECT1251 , ON )\r\n");
    // The generator form never reads its line number as a row.
    EXPECT_EQ(Translate_lines({"x (1,1,1) POWERUP 2 0"}, respawn).substr(0, 17),
              "GENERATOR OBJECTx");

    // The word of a supported powerup before it must not name an unsupported one. The second
    // line with the same number replaces the first creation statement.
    const auto objects = Options({&O::chkPowerup, &O::chkFuturecar});
    EXPECT_EQ(
        Translate_lines(
            {"425 (52,56,4) POWERUP 12 0", "425 (52,56,4) POWERUP 8 3", "105 CAR_ON 425"}, objects),
        "OBJ_DATA OBJECT425 // POWERUP get out of jail free\r\n"
        "OBJ_DATA OBJECT425 // POWERUP unsupported\r\n"
        "OBJECT425 = CREATE_OBJ ( 52.0 , 56.0 , 4.0 ) 0 POWERUP8not_supported 3 END // "
        "POWERUP 425 unsupported\r\n");

    for (const char* line : {"60001 (1,1,1) POWERUP 1 0", "x (1,1,1) POWERUP 1 0"}) {
        SCOPED_TRACE(line);
        engine::EngineState state;
        EXPECT_EQ(Run_mission_file(Section("1") + line + "\r\n", objects, state).report.end,
                  RunEnd::Failed);
    }
}

TEST(Translate_powerup, AtMost120GeneratorsPerMission) {
    std::string file = Section("1");
    for (int i = 1; i <= 121; ++i) {
        file += std::to_string(i) + " (1,1,1) POWERUP 1 0\r\n";
    }
    file += "105 CAR_ON 121\r\n" + Section("2") + "7 (1,1,1) POWERUP 1 0\r\n";
    engine::EngineState state;
    const MissionRun run = Run_mission_file(
        file, Options({&O::chkPowerup, &O::chkPowerupRespawn, &O::chkFuturecar}), state);
    ASSERT_EQ(run.report.end, RunEnd::Finished);
    EXPECT_NE(run.scripts.at("xyz_Test_1.mis")
                  .find("SWITCH_GENERATOR ( OBJECT120 , ON )\r\n"
                        "OBJ_DATA OBJECT121 // POWERUP pistol\r\n"
                        "OBJECT121 = CREATE_OBJ ( 1.0 , 1.0 , 1.0 ) 0 COLLECT_00 0 END // POWERUP "
                        "121 pistol\r\n"),
              std::string::npos);
    EXPECT_NE(run.scripts.at("xyz_Test_2.mis").find("SWITCH_GENERATOR ( OBJECT7 , ON )"),
              std::string::npos);
    EXPECT_NE(run.status.find("xyz_Test_1.mis\r\nPowerup count: 121\r\nxyz_Test_2.mis\r\n"
                              "Powerup count: 1\r\n"),
              std::string::npos);
    EXPECT_NE(run.status.find("Total Powerup count: \t122\r\n"), std::string::npos);
}

} // namespace
} // namespace brennic::test
