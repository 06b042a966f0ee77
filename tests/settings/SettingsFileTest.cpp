#include "engine/SettingsFile.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

using namespace brennic::engine;
using brennic::test::TempFolder;
using brennic::test::writeFile;

TEST(LoadSettingsFile, BoxValuesAsTheProfileFunctionsReadIntegers) {
    struct Case {
        const char* value;
        BoxState state;
        int errorNumber; // 0: a valid state
    };
    const Case cases[] = {
        {"1", BoxState::Ticked, 0},
        {" 2 ", BoxState::Greyed, 0}, // the profile layer trims blanks
        {"+1", BoxState::Ticked, 0},
        {"1abc", BoxState::Ticked, 0}, // the leading digits count
        {"abc", BoxState::Unticked, 0},
        {"", BoxState::Unticked, 0},
        {"3", BoxState::Unticked, 380},
        {"-1", BoxState::Unticked, 380},
        {"32767", BoxState::Unticked, 380},
        {"32768", BoxState::Unticked, 6}, // beyond a 16-bit integer
        {"-32769", BoxState::Unticked, 6},
        {"99999999999999999999999", BoxState::Unticked, 6},
    };
    TempFolder temp;
    for (const auto& [value, state, errorNumber] : cases) {
        SCOPED_TRACE(value);
        writeFile(temp / "s.ini",
                  std::string("[BRENNIC Settings]\r\nDoor=") + value + "\r\nPhone=1\r\n");
        const SettingsLoad load = LoadSettingsFile(temp / "s.ini");
        EXPECT_EQ(load.settings.boxes[4], state);            // Door
        EXPECT_EQ(load.settings.boxes[0], BoxState::Ticked); // Phone, read whatever Door holds
        EXPECT_EQ(load.badValues.has_value(), errorNumber != 0);
        if (load.badValues) {
            EXPECT_EQ(load.badValues->number, errorNumber);
        }
    }
}

TEST(LoadSettingsFile, AVeryLongBadValueIsShownByItsStart) {
    TempFolder temp;
    writeFile(temp / "s.ini", "[BRENNIC Settings]\r\nBrief=" + std::string(100000, '7') + "\r\n");
    const SettingsLoad load = LoadSettingsFile(temp / "s.ini");
    ASSERT_TRUE(load.badValues);
    EXPECT_LT(load.badValues->description.size(), 200u);
    EXPECT_TRUE(load.badValues->description.ends_with("Brief=" + std::string(40, '7') + "..."));
}

TEST(settingsFilePath, FoundWhateverItsLetterCase) {
    TempFolder temp;
    EXPECT_EQ(settingsFilePath(temp.path()), temp / "brennic.INI");
    writeFile(temp / "BRENNIC.ini", "");
    EXPECT_EQ(settingsFilePath(temp.path()), temp / "BRENNIC.ini");
}
