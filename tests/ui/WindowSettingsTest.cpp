#include "tests/ui/WindowHarness.h"

#include <gtest/gtest.h>
#include <sstream>

using brennic::test::qs;
using brennic::test::readFile;
using brennic::test::WindowHarness;
using brennic::test::writeFile;

namespace {

// Every key in the order the file is written, each with its control.
constexpr const char* kKeysAndControls = R"(
    GTA1iniFile=txtGTA1iniFile OutputFolder=txtOutputFolder Phone=chkPhone Brief=chkBrief
    FutureCar=chkFuturecar FutureObject=chkFuture Door=chkDoor Powerup=chkPowerup Park=chkPark
    Dummy=chkDummy Target=chkTarget Trigger=chkTrigger Parked=chkParked Hells=chkHells
    Arrow=chkArrow Arrowcar=chkArrowcar Ped=chkPed Spray=chkSpray Bomb=chkBomb Steal=chkSteal
    FuturePed=chkFuturePed AnswerPhone=chkAnswerPhone MPhone=chkMphone Destroy=chkDestroy
    Locate=chkLocate Goto=chkGoto IsGoalDead=chkIsGoalDead INCHEADS=chkINCHEADS
    MISSION_END=chkMission_End End=chkEnd CheckCar=chkCheckCar MidPointMulti=chkMidPointMulti
    DoorArrow=chkDoorArrow FutureCarArrow=chkFutureCarArrow PedHunt=chkPedHunt
    Unknown=chkUnknown PowerupRespawn=chkPowerupRespawn Xoffset=txtXoffset Yoffset=txtYoffset
    Zoffset=txtZoffset)";

struct KeyControl {
    std::string key;
    std::string control;
};

std::vector<KeyControl> keysAndControls() {
    std::vector<KeyControl> pairs;
    std::istringstream words(kKeysAndControls);
    for (std::string word; words >> word;) {
        const auto equals = word.find('=');
        pairs.push_back({word.substr(0, equals), word.substr(equals + 1)});
    }
    return pairs;
}

// The key=value lines of a saved file, without their line ends.
std::vector<std::string> keyLines(const std::string& file) {
    std::vector<std::string> lines;
    std::istringstream in(file);
    for (std::string line; std::getline(in, line);) {
        std::erase(line, '\r');
        if (line.find('=') != std::string::npos) {
            lines.push_back(line);
        }
    }
    return lines;
}

// The value of a key as the window shows it: a box's state 0, 1 or 2, or a text box's text.
std::string shown(const WindowHarness& harness, const std::string& control) {
    if (control.starts_with("chk")) {
        const Qt::CheckState state = harness.check(control.c_str()).checkState();
        return state == Qt::Checked ? "1" : state == Qt::PartiallyChecked ? "2" : "0";
    }
    return harness.box(control.c_str()).text().toStdString();
}

const std::string kSection = "[BRENNIC Settings]\r\n";

} // namespace

TEST(SaveSettings, EveryKeyInOrderAndBackAgain) {
    WindowHarness harness;
    harness.open();
    const std::vector<KeyControl> pairs = keysAndControls();
    std::vector<std::string> expected;
    int state = 0;
    for (const auto& [key, control] : pairs) {
        std::string value;
        if (control.starts_with("chk")) {
            value = std::to_string(state++ % 3);
            harness.check(control.c_str())
                .setCheckState(value == "1"   ? Qt::Checked
                               : value == "2" ? Qt::PartiallyChecked
                                              : Qt::Unchecked);
        } else {
            value = key == "Yoffset" ? "" : key.substr(0, 4) + "/";
            harness.box(control.c_str()).setText(qs(value));
        }
        expected.push_back(key + "=" + value);
    }
    harness.close();
    EXPECT_EQ(keyLines(readFile(harness.settings)), expected);

    harness.open();
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        EXPECT_EQ(pairs[i].key + "=" + shown(harness, pairs[i].control), expected[i]);
    }
    EXPECT_TRUE(harness.messages.empty());
}

TEST(LoadSettings, BadBoxValuesLeaveTheirBoxesAndTheRestLoads) {
    WindowHarness harness;
    writeFile(harness.settings, kSection +
                                    "Phone=1\r\nDoor=3\r\nPowerup=1\r\nPark=70000\r\nDummy=abc\r\n"
                                    "Target=1abc\r\nMidPointMulti=2\r\nZoffset=-2\r\n");
    harness.open();
    EXPECT_EQ(harness.check("chkPhone").checkState(), Qt::Checked);
    EXPECT_EQ(harness.check("chkDoor").checkState(), Qt::Unchecked);
    EXPECT_EQ(harness.check("chkPowerup").checkState(), Qt::Checked); // read after Door
    EXPECT_EQ(harness.check("chkPark").checkState(), Qt::Unchecked);
    EXPECT_EQ(harness.check("chkDummy").checkState(), Qt::Unchecked); // no number reads 0
    EXPECT_EQ(harness.check("chkTarget").checkState(), Qt::Checked);  // its leading digits
    EXPECT_EQ(harness.check("chkMidPointMulti").checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(harness.box("txtZoffset").text(), QStringLiteral("-2"));
    ASSERT_EQ(harness.messages.size(), 1u);
    EXPECT_EQ(harness.messages[0].icon, QMessageBox::Critical);
    EXPECT_EQ(harness.messages[0].title, QStringLiteral("D'oh! Error during load"));
    EXPECT_EQ(harness.messages[0].text,
              QStringLiteral("Error source: BRENNIC\rError description: Check box values other "
                             "than 0, 1 or 2 were left unticked: Door=3, Park=70000\r"
                             "Error number: 380"));
}

TEST(LoadSettings, AnOversizedFileIsALoadErrorAndIsNotWrittenOver) {
    WindowHarness harness;
    const std::string stored = kSection + "Phone=1\r\n" + std::string(1 << 20, ';');
    writeFile(harness.settings, stored);
    harness.open();
    EXPECT_EQ(harness.box("txtXoffset").text(), QStringLiteral("1")); // the first-start values
    ASSERT_EQ(harness.messages.size(), 1u);
    EXPECT_EQ(harness.messages[0].title, QStringLiteral("D'oh! Error during load"));
    EXPECT_TRUE(harness.messages[0].text.endsWith(QStringLiteral("Error number: 7")));
    harness.close();
    EXPECT_EQ(readFile(harness.settings), stored);
}
