#include "engine/PowerupTranslation.h"

#include <gtest/gtest.h>
#include <tuple>

namespace brennic::test {
namespace {

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

} // namespace
} // namespace brennic::test
