#include "engine/CommandChain.h"

#include "tests/support/TestHost.h"

#include <cctype>
#include <gtest/gtest.h>
#include <stdexcept>

namespace brennic::engine {
namespace {

using test::readFile;

struct CommandResult {
    bool matched = false;
    std::string script{}; // every byte written, CR LF included
};

// Takes one mission line as the run does (line number, then the chain at the blank behind it)
// into a fresh script, with the tables of state, and returns what was written.
CommandResult Translate_line(const ConversionOptions& options, EngineState& state,
                             std::string_view text) {
    test::TempFolder folder;
    platform::IoError error;
    const auto output = platform::Folder::open(folder.path(), error);
    Conversion conversion(options, state);
    conversion.script.emplace(std::move(*platform::TextWriter::create(*output, "a.mis", error)));
    conversion.line.strRead = std::string(text);
    conversion.line.strLineNumber =
        Keep_Adding_Chars_to_strGotoLine_until_a_space_is_detected(conversion.line);
    CommandResult result;
    result.matched = Translate_command(conversion);
    if (conversion.script->close()) {
        throw std::runtime_error("cannot write " + (folder / "a.mis").string());
    }
    result.script = readFile(folder / "a.mis");
    return result;
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
    EngineState state;
    const ConversionOptions on = test::allSwitchesOn();
    for (const auto& [text, enabledBy] : kKeywordCases) {
        SCOPED_TRACE(text);
        EXPECT_TRUE(Translate_line(on, state, text).matched);
        EXPECT_TRUE(Translate_line(on, state, lowerCase(text)).matched);

        ConversionOptions only;
        only.*enabledBy = true;
        EXPECT_TRUE(Translate_line(only, state, text).matched);

        // Off, the command is no command at all: nothing is written and the line goes on.
        ConversionOptions off = on;
        off.*enabledBy = false;
        const auto result = Translate_line(off, state, text);
        EXPECT_FALSE(result.matched);
        EXPECT_EQ(result.script, "");
    }
}

} // namespace
} // namespace brennic::engine
