#include "report/ScriptLanguage.h"

#include "report/LanguageCheck.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

using brennic::report::Constant_set;
using brennic::report::Constant_sets;
using brennic::report::Forms_of;
using brennic::report::LanguageCheck;
using brennic::report::LanguageRule;
using brennic::report::Statement_forms;
using brennic::report::StatementForm;
using brennic::report::StatementRole;

namespace {

// Declares every name the table's examples may use.
constexpr std::string_view kPrelude[] = {
    "PLAYER_PED p1 = ( 10.5 , 10.5 , 2.0 ) 25 0",
    "CHAR_DATA ped",
    "CAR_DATA car1",
    "CAR_DATA car2",
    "OBJ_DATA obj",
    "OBJ_DATA phone = ( 20.5 , 20.5 , 2.0 ) 0 PHONE",
    "COUNTER n",
    "COUNTER n2 = 3",
    "ARROW_DATA arrow",
    "TIMER_DATA timer",
    "ONSCREEN_COUNTER onscreen",
    "BONUS bonus",
    "GENERATOR gen",
    "DOOR_DATA door = DOUBLE ( 27 , 19 , 2 ) ( 27.0 , 19.0 , 2.0 , 2.0 , 1.0 ) LID 1 ONE_MODEL "
    "CLOSE_WHEN_CLEAR 10 NOT_FLIPPED REVERSED TAXI",
    "CONVEYOR conv",
    "DESTRUCTOR des",
    "CRANE_DATA crane",
    "CRUSHER crusher = ( 70.5 , 70.5 )",
    "LIGHT light",
    "SOUND sound",
    "RADIO_STATION radio = STATION_YAKUZA ( 100.5 , 100.5 )",
    "FORWARD sub:",
    "THREAD_TRIGGER trig = THREAD_WAIT_FOR_ANSWER_PHONE ( p1 , phone , sub: )",
    "THREAD_ID thread",
};

std::vector<std::string> lines(std::string_view text) {
    std::vector<std::string> out;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find('\n', start);
        out.emplace_back(text.substr(start, end - start));
        if (end == std::string_view::npos) {
            return out;
        }
        start = end + 1;
    }
}

// The example in a level script of its own: declarations before LEVELSTART, the rest inside a
// subroutine, conditions inside an IF.
std::vector<LanguageCheck> checkExample(const StatementForm& form) {
    std::vector<std::string> script(std::begin(kPrelude), std::end(kPrelude));
    const bool declaration = form.role == StatementRole::Declaration;
    const std::string example = form.role == StatementRole::Condition
                                    ? "IF ( " + std::string(form.example) + " )\nENDIF"
                                    : std::string(form.example);
    if (declaration) {
        for (const std::string& line : lines(example)) {
            script.push_back(line);
        }
    }
    script.insert(script.end(), {"LEVELSTART", "sub:"});
    if (!declaration) {
        for (const std::string& line : lines(example)) {
            script.push_back(line);
        }
    }
    script.insert(script.end(), {"RETURN", "LEVELEND"});
    std::vector<LanguageCheck> set(1);
    for (const std::string& line : script) {
        set[0].addLine(line);
    }
    set[0].finish();
    return set;
}

} // namespace

TEST(Statement_forms, EveryExampleFitsItsForm) {
    for (const StatementForm& form : Statement_forms()) {
        const std::string_view word = form.word;
        if (word == "LEVELSTART" || word == "LEVELEND" || word == "MISSIONSTART" ||
            word == "MISSIONEND") {
            continue; // the script around every example has them; the script tests cover them
        }
        SCOPED_TRACE(form.example);
        const std::vector<LanguageCheck> set = checkExample(form);
        const auto items = set[0].items();
        if (form.checked) {
            for (const auto& item : items) {
                ADD_FAILURE() << item.scriptLine << ": " << item.reason;
            }
        } else {
            // Known by name only: said once, never counted.
            ASSERT_EQ(items.size(), 1u);
            EXPECT_EQ(items[0].rule, LanguageRule::NotChecked);
            EXPECT_FALSE(items[0].counted);
            EXPECT_FALSE(form.note.empty());
        }
    }
}

TEST(Statement_forms, ShapesUseOnlyKnownItemsAndSets) {
    const std::vector<std::string_view> known = {
        "(",        ")",        ",",      "=",         ":",        "+",          "-",     "*",
        "/",        "[",        "]",      "int",       "float",    "num",        "pos",   "pos3",
        "rect",     "blockpos", "char",   "car",       "obj",      "counter",    "arrow", "timer",
        "onscreen", "bonus",    "gen",    "door",      "conveyor", "destructor", "crane", "crusher",
        "light",    "sound",    "radio",  "trigger",   "thread",   "thing",      "any",   "zone",
        "sub",      "new",      "newsub", "condition", "file"};
    for (const StatementForm& form : Statement_forms()) {
        SCOPED_TRACE(form.word);
        std::string_view shape = form.shape;
        int depth = 0;
        while (!shape.empty()) {
            const std::size_t blank = shape.find(' ');
            std::string_view item = shape.substr(0, blank);
            shape = blank == std::string_view::npos ? std::string_view() : shape.substr(blank + 1);
            depth += item == "[" ? 1 : (item == "]" ? -1 : 0);
            EXPECT_GE(depth, 0);
            while (!item.empty()) {
                const std::size_t bar = item.size() > 1 ? item.find('|') : std::string_view::npos;
                const std::string_view one = item.substr(0, bar);
                item = bar == std::string_view::npos ? std::string_view() : item.substr(bar + 1);
                if (one.front() == '@') {
                    EXPECT_NE(Constant_set(one.substr(1)), nullptr) << one;
                } else if (!(one.front() >= 'A' && one.front() <= 'Z')) {
                    EXPECT_NE(std::find(known.begin(), known.end(), one), known.end()) << one;
                }
            }
        }
        EXPECT_EQ(depth, 0);
        // A creation ends with END, but for CREATE_LIGHT, CREATE_THREAD and START_BONUS_CHECK
        // (and those known by name only).
        if (form.role == StatementRole::Creation && form.checked && form.word != "CREATE_LIGHT" &&
            form.word != "CREATE_THREAD" && form.word != "START_BONUS_CHECK") {
            EXPECT_TRUE(form.shape.ends_with(" END"));
        }
    }
}

TEST(Statement_forms, WordsAreFoundWhateverTheirCase) {
    EXPECT_EQ(Forms_of("point_arrow_at").size(), 2u);
    EXPECT_EQ(Forms_of("THREAD_TRIGGER").size(), 5u);
    EXPECT_TRUE(Forms_of("POINT_ARROW").empty());
    EXPECT_TRUE(Forms_of("").empty());
    for (const auto& set : Constant_sets()) {
        for (const std::string_view word : set.words) {
            // The case note of the check names the capital spelling as the documented one.
            EXPECT_EQ(word.find_first_of("abcdefghijklmnopqrstuvwxyz"), std::string_view::npos)
                << word;
        }
    }
}
