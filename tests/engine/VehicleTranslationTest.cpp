#include "engine/VehicleTranslation.h"

#include "tests/engine/Harness.h"

#include <gtest/gtest.h>
#include <tuple>

namespace brennic::test {
namespace {

using engine::RunEnd;
using O = engine::ConversionOptions;

TEST(Vehicle_name, NearestEntryHalvesToEven) {
    const std::tuple<const char*, const char*> cases[] = {
        {"4.5", "COPCAR"}, {"5.5", "HOTDOG"}, {"04", "COPCAR"},   {"", "EDSEL"},
        {"x", "EDSEL"},    {"-0.5", "EDSEL"}, {"100.5", "EDSEL"}, {"1x", "BUG"},
    };
    for (const auto& [number, name] : cases) {
        SCOPED_TRACE(number);
        EXPECT_EQ(Translate_lines({std::string("1 (1,1,1) PARKED ") + number + " 0"},
                                  Options({&O::chkParked})),
                  std::string("CAR_DATA object1 = ( 1.0 , 1.0 , 255.0 ) 25 0 ") + name +
                      " // 1\r\n");
    }
}

TEST(Translate_door, FacesAndRenderings) {
    const std::tuple<const char*, double, const char*> cases[] = {
        {"(100,120,4) DOOR 0", 0,
         "SINGLE ( 100 , 120 , 5 ) ( 100.0 , 120.0 , 5.0 , 0.0 , 0.0 ) left"},
        {"(100,120,4) DOOR 1", 0,
         "SINGLE ( 100 , 120 , 5 ) ( 100.0 , 120.0 , 5.0 , 0.0 , 0.0 ) right"},
        {"(100,120,4) DOOR 3", 0,
         "SINGLE ( 100 , 120 , 5 ) ( 100.0 , 120.0 , 5.0 , 0.0 , 0.0 ) bottom"},
        {"(100,120,4) DOOR 4", 0,
         "SINGLE ( 100 , 120 , 5 ) ( 100.0 , 120.0 , 5.0 , 0.0 , 0.0 ) UNSUPPORTED_FACE"},
        {"(100,120,4) DOOR", 0,
         "SINGLE ( 100 , 120 , 5 ) ( 100.0 , 120.0 , 5.0 , 0.0 , 0.0 ) UNSUPPORTED_FACE"},
        {"(100,120,4) door 1", 0,
         "SINGLE ( 100 , 120 , 5 ) ( 100.0 , 120.0 , 5.0 , 0.0 , 0.0 ) UNSUPPORTED_FACE"},
        {"(100.5,120,4) DOOR 1", 0,
         "SINGLE ( 100.5 , 120 , 5 ) ( 100.5 , 120.0 , 5.0 , 0.0 , 0.0 ) right"},
        {"(0,120,4) DOOR 1", 1, "SINGLE ( 0 , 120 , 5 ) ( 0.0 , 120.0 , 5.0 , 0.0 , 0.0 ) right"},
        {"(4096,120,4) DOOR 1", 0,
         "SINGLE ( 64 , 120 , 5 ) ( 64.0 , 120.0 , 5.0 , 0.0 , 0.0 ) right"},
    };
    for (const auto& [object, xOffset, door] : cases) {
        SCOPED_TRACE(object);
        EXPECT_EQ(Translate_lines({std::string("71 ") + object}, Options({&O::chkDoor}, xOffset)),
                  std::string("DOOR_DATA OBJECT71 = ") + door +
                      " 0 ANY_PLAYER CLOSE_NEVER 0 FLIP_RIGHT NOT_REVERSED // 71\r\n");
    }
}

TEST(Translate_door, SwitchedOffStoresNothing) {
    engine::EngineState state;
    const MissionRun run =
        Run_mission_file(Section("1") + "70 (100,120,4) DOOR 2\r\n", Options({}), state);
    ASSERT_EQ(run.report.end, RunEnd::Finished);
    EXPECT_EQ(state.objectLines.cell(70, 3), "");
}

TEST(Translate_futurecar, RunFailures) {
    const std::tuple<const char*, int, const char*> cases[] = {
        {"1 (1,1,1) PARKED 101 0", 9, ""},
        {"1 (1,1,1) HELLS -1 0", 9, ""},
        {"1 (1,1,1) FUTURECAR 100.6 0", 9, ""},
        {"60001 (1,1,1) FUTURECAR 4 0", 9, "CAR_DATA OBJECT60001 // 60001\r\n"},
        {"x (1,1,1) FUTURECAR 4 0", 13, "CAR_DATA OBJECTx // x\r\n"},
        {"60001 (1,1,1) DOOR 1", 9, ""},
        {"1.5x (1,1,1) DOOR 1", 13, ""},
    };
    for (const auto& [line, number, written] : cases) {
        SCOPED_TRACE(line);
        engine::EngineState state;
        const MissionRun run = Run_mission_file(
            Section("1") + line + "\r\n",
            Options({&O::chkParked, &O::chkHells, &O::chkFuturecar, &O::chkDoor}), state);
        ASSERT_EQ(run.report.end, RunEnd::Failed);
        EXPECT_EQ(run.report.failure->number(), number);
        EXPECT_TRUE(run.scripts.begin()->second.ends_with(std::string(" \r\nLEVELSTART\r\n \r\n") +
                                                          written));
    }
}

} // namespace
} // namespace brennic::test
