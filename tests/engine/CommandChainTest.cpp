#include "engine/CommandChain.h"

#include "tests/support/TestHost.h"

#include <cctype>
#include <gtest/gtest.h>

namespace brennic::engine {
namespace {

// Whether a command took the line: a section of that one line, with unknown lines commented, writes
// something else than that comment alone.
bool translated(const ConversionOptions& options, const std::string& text) {
    test::RunFixture run;
    run.options = options;
    run.options.chkUnknown = true;
    run.options.GTA1iniFile = run.missionFolder.string() + "/";
    run.options.OutputFolder = run.outputFolder.string() + "/";
    EXPECT_EQ(run.run({"[1]", "A, 1, nyc.cmp", "", "", text}).end, RunEnd::Finished);
    return !run.script("nyc_A_1.mis")
                .ends_with("LEVELSTART\r\n \r\n// " + text + "\r\n \r\n \r\nLEVELEND\r\n");
}

struct KeywordCase {
    std::string_view line; // a command line that translates
    Switch enabledBy;
};

// One real-looking line per command of the chain after CAR_ON, in chain order.
constexpr KeywordCase kKeywordCases[] = {
    {"102 PED_ON 51 0 0 147 0", &ConversionOptions::chkFuturePed},
    {"103 POWERUP_ON 61 0 0 0 0", &ConversionOptions::chkPowerup},
    {"100 RED_ARROW 10 -1 -1 0 0", &ConversionOptions::chkArrow},
    {"107 ARROW 40 0 0 0 0", &ConversionOptions::chkArrow},
    {"110 ARROWCAR 31 0 0 0 0", &ConversionOptions::chkArrowcar},
    {"109 ARROW_OFF 0 0 0 0 0", &ConversionOptions::chkArrow},
    {"103 RED_ARROW_OFF 0 0 0 0 0", &ConversionOptions::chkArrow},
    {"104 ANSWER 20 0 420 10 2500", &ConversionOptions::chkAnswerPhone},
    {"105 BRIEF 0 0 0 0 1002", &ConversionOptions::chkBrief},
    {"106 MOBILE_BRIEF 0 0 0 0 1001", &ConversionOptions::chkBrief},
    {"107 MESSAGE_BRIEF 0 0 0 0 2501", &ConversionOptions::chkBrief},
    {"108 P_BRIEF 0 -1 0 0 1400", &ConversionOptions::chkBrief},
    {"112 CHECK_CAR 31 0 492 -1 0", &ConversionOptions::chkCheckCar},
    {"111 STEAL 31 0 -1 0 5000", &ConversionOptions::chkSteal},
    {"102 DESTROY 30 0 -1 0 10000", &ConversionOptions::chkDestroy},
    {"104 LOCATE 31 0 104 0 2000", &ConversionOptions::chkLocate},
    {"106 GOTO 11 0 0 32100 7000", &ConversionOptions::chkGoto},
    {"101 IS_GOAL_DEAD 30 0 101 0 0", &ConversionOptions::chkIsGoalDead},
    {"105 INC_HEADS 4 0 0 -1 0", &ConversionOptions::chkINCHEADS},
    {"115 MISSION_END 0 475 475 0 0", &ConversionOptions::chkMission_End},
    {"116 END 1 0 0 1 50000", &ConversionOptions::chkEnd},
    {"108 PARK 40 0 0 3 20000", &ConversionOptions::chkPark},
};

std::string lowerCase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lower;
}

TEST(Translate_command, EveryKeywordMatchesInAnyLetterCaseUnderItsSwitch) {
    const ConversionOptions on = test::allSwitchesOn();
    for (const auto& [line, enabledBy] : kKeywordCases) {
        const std::string text(line);
        SCOPED_TRACE(text);
        EXPECT_TRUE(translated(on, text));
        EXPECT_TRUE(translated(on, lowerCase(text)));
        ConversionOptions only;
        only.*enabledBy = true;
        EXPECT_TRUE(translated(only, text));
        // Off, the command is no command at all: the line stays unknown.
        ConversionOptions off = on;
        off.*enabledBy = false;
        EXPECT_FALSE(translated(off, text));
    }
}

} // namespace
} // namespace brennic::engine
