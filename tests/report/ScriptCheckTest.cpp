#include "report/ScriptCheck.h"

#include "platform/IoError.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using brennic::report::Block_text;
using brennic::report::Check_script_file;
using brennic::report::ScriptCheck;
using brennic::report::ScriptRead;

namespace {

// Each item about a name or a marker as "line: reason", of the lines read as a script on its own
// (what the language check says of them has tests of its own).
std::vector<std::string> itemsOf(const std::vector<std::string>& lines) {
    ScriptCheck check;
    for (const auto& line : lines) {
        check.addLine(line, brennic::report::Find_marker(line));
    }
    check.finish();
    std::vector<std::string> items;
    for (const auto& item : check.items()) {
        if (!item.undeclared.empty() || brennic::report::Find_marker(item.statement)) {
            items.push_back(std::to_string(item.scriptLine) + ": " + item.reason);
        }
    }
    return items;
}

using Items = std::vector<std::string>;

} // namespace

TEST(ScriptCheck, EveryDeclarationDeclaresTheNameBehindIt) {
    const std::pair<const char*, const char*> cases[] = {
        {"PLAYER_PED player1 = ( 10.0 , 20.0 , 255.0 ) 25 90 // 10",
         "ALTER_WANTED_LEVEL_NO_DROP ( player1 , 2 ) // 5"},
        {"CHAR_DATA OBJECT51", "IF ( HAS_CHARACTER_DIED ( OBJECT51 ) )"},
        {"CAR_DATA object61 = ( 101.0 , 120.5 , 255.0 ) 25 90 COPCAR // 61",
         "POINT_ARROW_AT (ARROW , OBJECT61) // ARROWCAR 2300"},
        {"OBJ_DATA object30 = ( 50.0 , 60.0 , 3.0 ) 180 PHONE // 30",
         "IF ( CHECK_ANSWERED_PHONE ( OBJECT30 ) )"},
        {"DOOR_DATA OBJECT70 = SINGLE ( 100 , 120 , 3 ) ( 100.0 , 120.0 , 3.0 , 0.0 , 0.0 ) top 0 "
         "ANY_PLAYER CLOSE_NEVER 0 FLIP_RIGHT NOT_REVERSED // 70",
         "     PARK ( CAR , OBJECT70) // 2400"},
        {"GENERATOR OBJECT1250 = ( 10.5 , 20.0 , 2.0 ) 0 COLLECT_00 0 1500 10 // POWERUP 1250 "
         "pistol",
         "SWITCH_GENERATOR ( OBJECT1250 , ON )"},
        {"PARKED_CAR_DATA OBJECT60 = ( 101.0 , 120.5 , 255.0 ) 25 180 COPCAR",
         "POINT_ARROW_AT ( ARROW , OBJECT60 ) // 2300"}, // any declaration of the language
        // As a user may write them: indented, other letter case, no blanks around "=".
        {"\t  car_data Object7", "POINT_ARROW_AT ( ARROW , OBJECT7 ) // 1"},
        {"OBJ_DATA OBJECT8=(1.0,2.0,3.0) 0 INVISIBLE_TARGET", "POINT_ARROW_AT ( ARROW , object8 )"},
    };
    for (const auto& [declaration, use] : cases) {
        SCOPED_TRACE(declaration);
        EXPECT_EQ(itemsOf({use}).size(), 1u);
        EXPECT_EQ(itemsOf({declaration, use}), Items{});
        EXPECT_EQ(itemsOf({use, declaration}), Items{}); // declared anywhere in the script
    }
}

TEST(ScriptCheck, LinesThatDeclareNothing) {
    const char* const cases[] = {
        "// CAR_DATA OBJECT7",                                     // a comment
        "SET OBJECT7 = 1",                                         // not a declaration word first
        "OBJECT7 = OBJECT8",                                       // no creation behind the "="
        "OBJECT7 = CREATE ( 1.0 )",                                // CREATE_ needs its underscore
        "OBJECT7 = CREATE_CAR ( 1.0 , 2.0 , 3.0 ) 0 0 COPCAR END", // makes a car for a name
        "CAR_DATAS OBJECT7",                                       // a longer word
        "CAR_DATA",                                                // no name
        "CAR_DATA ( OBJECT7 )",              // no name directly behind the word
        "// wait until CAR_DATA OBJECT7 //", // only in a comment
    };
    for (const char* line : cases) {
        SCOPED_TRACE(line);
        const Items items = itemsOf({line, "POINT_ARROW_AT ( ARROW , OBJECT7 ) // 1"});
        ASSERT_FALSE(items.empty());
        EXPECT_EQ(items.back(), "2: OBJECT7 is not declared");
    }
}

TEST(ScriptCheck, NamesOfTheConvertersFamilies) {
    const std::pair<const char*, const char*> cases[] = {
        {"POINT_ARROW_AT ( ARROW , OBJECT ) // 1", "1: OBJECT is not declared"}, // no argument
        {"X ( ObJeCt12 )", "1: ObJeCt12 is not declared"},
        {"X ( OBJECT00 )", "1: OBJECT00 is not declared"},
        {"X ( OBJECTabc )", "1: OBJECTabc is not declared"},
        {"X ( player1 , 3 )", "1: player1 is not declared"},
        {"ANSWER_PHONE ( PLAYER1 , object5 , 0 )", "1: PLAYER1 is not declared"},
        {"X ( PLAYER_PED , playerX , player , MYOBJECT1 , OBJ_DATA )", ""},
        {"X ( loop , car , ARROW , arrow ) // OBJECT5 player1", ""}, // the comment
    };
    for (const auto& [line, first] : cases) {
        SCOPED_TRACE(line);
        const Items items = itemsOf({line});
        EXPECT_EQ(items.empty() ? "" : items.front(), first);
    }
}

TEST(ScriptCheck, OneItemPerUndeclaredNameOfALine) {
    EXPECT_EQ(itemsOf({"ANSWER_PHONE ( PLAYER1 , OBJECT30 , 0 ) // OBJECT31",
                       "IF ( CHECK_ANSWERED_PHONE ( OBJECT30 ) OR OBJECT30 OR object30 )"}),
              (Items{"1: PLAYER1 is not declared", "1: OBJECT30 is not declared",
                     "2: OBJECT30 is not declared"}));
}

TEST(ScriptCheck, StatementsLeftAsComments) {
    const std::pair<const char*, const char*> cases[] = {
        {"// MOVE FAIL LINE HERE", "fail line to move here"},
        {"//IF ( IS_CHARACTER_IN_CAR ( player1 , OBJECT13 ) ) ",
         "CHECK_CAR test left as a comment"},
        {"// IF ( IS_CAR_WRECKED ( OBJECT13 ) )", "IS_GOAL_DEAD test left as a comment"},
        {"// MISSION_END 20 // 32", "MISSION_END left as a comment"},
        {"// MISSION_END  // 32", "MISSION_END left as a comment"},
        {"   \t// MOVE FAIL LINE HERE", "fail line to move here"}, // indented by the user
    };
    for (const auto& [line, reason] : cases) {
        SCOPED_TRACE(line);
        EXPECT_EQ(itemsOf({"", line}), Items{std::string("2: ") + reason});
    }
    // What the user made of them, and comments the converter writes that need nothing.
    for (const char* line : {"IF ( IS_CAR_WRECKED ( OBJECT13 ) )", "// 30 CHECK_CAR 13",
                             "// MOVE FAIL LINE", "//ENDIF", "// *** is player in car?",
                             "// 2300 ARROW 0 0 0 0 There is no object at line 0, what should I "
                             "point at?"}) {
        SCOPED_TRACE(line);
        EXPECT_EQ(itemsOf({"CAR_DATA OBJECT13", line}), Items{});
    }
}

TEST(Check_script_file, LineEndsCountAlike) {
    brennic::test::TempFolder temp;
    const std::string lines[] = {"ARROW_DATA ARROW", "LEVELSTART",
                                 "POINT_ARROW_AT ( ARROW , OBJECT3 ) // 1",
                                 "// MOVE FAIL LINE HERE", "LEVELEND"};
    std::string expected;
    for (const char* end : {"\r\n", "\n", "\r"}) {
        SCOPED_TRACE(testing::PrintToString(std::string(end)));
        std::string bytes;
        for (const auto& line : lines) {
            bytes += line + end;
        }
        brennic::test::writeFile(temp / "a.mis", bytes);
        brennic::platform::IoError error;
        ScriptCheck check;
        ASSERT_EQ(Check_script_file(temp / "a.mis", check, {}, error), ScriptRead::Read)
            << error.description;
        const std::string text = Block_text({"a.mis", check.items(), check.unlistedItems(), {}});
        EXPECT_EQ(text, "a.mis\r\n"
                        "  3: OBJECT3 is not declared: POINT_ARROW_AT ( ARROW , OBJECT3 ) // 1\r\n"
                        "  4: fail line to move here: // MOVE FAIL LINE HERE\r\n");
    }
}

// A mission script sees the declarations of the level scripts given with it, as the game runs
// them; a name none of them declares is an item of the script that uses it.
TEST(ScriptCheck, AMissionScriptSeesTheLevelScriptsGivenWithIt) {
    const auto check = [](std::vector<std::string> script) {
        ScriptCheck each;
        for (const std::string& line : script) {
            each.addLine(line, std::nullopt);
        }
        each.finish();
        return each;
    };
    const std::vector<std::string> level = {"OBJ_DATA OBJECT5 = ( 1.0 , 2.0 , 3.0 ) 0 PHONE",
                                            "ARROW_DATA ARROW", "LEVELSTART", "LEVELEND"};
    const std::vector<std::string> mission = {"MISSIONSTART", "POINT_ARROW_AT ( ARROW , object5 )",
                                              "POINT_ARROW_AT ( ARROW , OBJECT6 )", "MISSIONEND"};
    std::vector<ScriptCheck> alone;
    alone.push_back(check(mission));
    brennic::report::Settle_script_set(alone);
    std::vector<ScriptCheck> set;
    set.push_back(check(mission));
    set.push_back(check(level));
    brennic::report::Settle_script_set(set);
    const auto names = [](const ScriptCheck& script) {
        Items found;
        for (const auto& item : script.items()) {
            found.push_back(std::to_string(item.scriptLine) + ": " + item.reason);
        }
        return found;
    };
    EXPECT_EQ(names(alone[0]), (Items{"2: ARROW is not declared", "2: object5 is not declared",
                                      "3: OBJECT6 is not declared"}));
    EXPECT_EQ(names(set[0]), (Items{"3: OBJECT6 is not declared"}));
    EXPECT_EQ(names(set[1]), Items{});
}
