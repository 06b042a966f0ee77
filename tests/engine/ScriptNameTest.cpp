#include "engine/ScriptName.h"

#include <gtest/gtest.h>
#include <tuple>

using namespace brennic::engine;

TEST(Script_base_name, CutsToTwentySixCharacters) {
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        {"nyc", "Name", "1", "nyc_Name_1"},
        {"sanb", "A very long mission title", "12", "sanb_A very long missio_12"},
        // The mission name cannot absorb the cut: then the map name, then the number lose ends.
        {"abcdefghijklmnopqrstuvwxyz", "Job", "7", "abcdefghijklmnopqrstuvw__7"},
        {"map", "", "123456789012345678901234567890", "__123456789012345678901234"},
        {"", "", "", "__"},
    };
    for (const auto& [map, name, number, base] : cases) {
        SCOPED_TRACE(base);
        const std::string got = Script_base_name(map, name, number);
        EXPECT_EQ(got, base);
        EXPECT_LE(got.size(), 26u);
    }
}

TEST(Script_base_name, ForbiddenCharactersBecomeUnderscores) {
    EXPECT_EQ(Script_base_name("nyc", "../../etc", "1"), "nyc_.._.._etc_1");
    EXPECT_EQ(Script_base_name("a\\b", "c:d*e?f", "\"<>|"), "a_b_c_d_e_f_____");
    EXPECT_EQ(Script_base_name("x", std::string("a\0b\x1f", 4), "1"), "x_a_b__1");
    // Bytes of the 8-bit code page above 0x7F are ordinary characters.
    EXPECT_EQ(Script_base_name("nyc", "Caf\xe9", "1"), "nyc_Caf\xe9_1");
}

TEST(ScriptNames, RepeatedNamesGetNumberedIgnoringCase) {
    ScriptNames names;
    EXPECT_EQ(names.claim("nyc", "Job", "1"), "nyc_Job_1");
    EXPECT_EQ(names.claim("NYC", "job", "1"), "NYC_job_1_2");
    EXPECT_EQ(names.claim("nyc", "Job", "1"), "nyc_Job_1_3");
    EXPECT_EQ(names.claim("nyc", "Job", "1_2"), "nyc_Job_1_2_2"); // its own name was taken
    // The suffix keeps the name at 26 characters by cutting the mission name further.
    EXPECT_EQ(names.claim("sanb", "A very long mission title", "12"), "sanb_A very long missio_12");
    EXPECT_EQ(names.claim("sanb", "A very long mission title", "12"), "sanb_A very long miss_12_2");
}
