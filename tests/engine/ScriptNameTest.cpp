#include "engine/ScriptName.h"

#include <chrono>
#include <gtest/gtest.h>
#include <tuple>
#include <unordered_set>

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

TEST(ScriptNames, NamesThatDifferOnlyWhereTheSuffixCutsShareTheirNumbers) {
    ScriptNames names;
    EXPECT_EQ(names.claim("nyc", "A very long mission titleX", "1"), "nyc_A very long mission _1");
    EXPECT_EQ(names.claim("nyc", "A very long mission titleY", "1"), "nyc_A very long missio_1_2");
    EXPECT_EQ(names.claim("nyc", "A very long mission titleZ", "1"), "nyc_A very long missio_1_3");
    // A name that already ends like a suffix is passed over.
    EXPECT_EQ(names.claim("nyc", "A very long missio", "1_4"), "nyc_A very long missio_1_4");
    EXPECT_EQ(names.claim("nyc", "A very long mission titleW", "1"), "nyc_A very long missio_1_5");
    // Past _9 the base gives up one more character.
    for (int i = 6; i <= 9; ++i) {
        names.claim("nyc", "A very long mission title", "1");
    }
    EXPECT_EQ(names.claim("nyc", "A very long mission titleV", "1"), "nyc_A very long missi_1_10");
}

TEST(ScriptNames, ManyRepeatsThatCollideOnlyAfterTheCutTakeLinearTime) {
    // 4 000 names of the full 26 characters, each claimed twice: the repeats' suffixes cut the
    // numbers that tell the names apart, so their cut bases collide. Counting per name made this
    // quadratic (seconds); every name must still come out once and within the limit.
    ScriptNames names;
    std::unordered_set<std::string> claimed;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 4000; ++i) {
        const std::string number = std::to_string(10000 + i).substr(1);
        for (int repeat = 0; repeat < 2; ++repeat) {
            const std::string name = names.claim("nyc", "Mission title ab" + number, "1");
            EXPECT_LE(name.size(), 26u);
            EXPECT_TRUE(claimed.insert(name).second) << name;
        }
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}
