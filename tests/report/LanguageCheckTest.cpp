#include "report/LanguageCheck.h"

#include "platform/IoError.h"
#include "tests/support/TempFolder.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <string_view>
#include <vector>

using brennic::report::LanguageCheck;
using brennic::report::LanguageItem;
using brennic::report::LanguageRule;
using brennic::report::Read_script_lines;
using brennic::report::ScriptRead;
using brennic::report::ScriptRole;
using brennic::test::TempFolder;
using brennic::test::writeFile;

namespace {

std::string_view ruleName(LanguageRule rule) {
    constexpr std::string_view kNames[] = {"ControlByte",     "Comment",       "UnknownStatement",
                                           "UnknownConstant", "Arguments",     "Number",
                                           "Condition",       "Block",         "Placement",
                                           "Undeclared",      "DeclaredLater", "DeclaredTwice",
                                           "WrongKind",       "ScriptEnd",     "NotChecked"};
    return kNames[static_cast<int>(rule)];
}

using Items = std::vector<std::string>;

// Each item as "line Rule", the counted ones apart from those said "not checked".
struct Result {
    Items counted{};
    Items notChecked{};
};

Result resultOf(const LanguageCheck& check) {
    Result result;
    for (const LanguageItem& item : check.items()) {
        (item.counted ? result.counted : result.notChecked)
            .push_back(std::to_string(item.scriptLine) + " " + std::string(ruleName(item.rule)));
    }
    return result;
}

void feed(LanguageCheck& check, std::string_view text) {
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        check.addLine(text.substr(start, end - start));
        start = end + 1;
    }
    check.finish();
}

// Scripts given together, each "\n"-separated.
std::vector<Result> checkSet(const std::vector<std::string_view>& scripts) {
    std::vector<LanguageCheck> set(scripts.size());
    for (std::size_t i = 0; i < scripts.size(); ++i) {
        feed(set[i], scripts[i]);
    }
    // As the game runs them: each mission script sees the declarations of every level script.
    std::vector<const LanguageCheck*> levels;
    for (const LanguageCheck& each : set) {
        if (each.role() == ScriptRole::Level) {
            levels.push_back(&each);
        }
    }
    for (LanguageCheck& each : set) {
        if (each.role() == ScriptRole::Mission) {
            each.settle(levels);
        }
    }
    std::vector<Result> results;
    for (const LanguageCheck& check : set) {
        results.push_back(resultOf(check));
    }
    return results;
}

Result check(std::string_view script) { return checkSet({script})[0]; }

// A script file fed to the check; false when it cannot be read whole.
bool checkFile(const std::filesystem::path& path, LanguageCheck& check,
               brennic::platform::IoError& error) {
    const auto line = [&check](std::string_view text) { check.addLine(text); };
    if (Read_script_lines(path, line, {}, error) != ScriptRead::Read) {
        return false;
    }
    check.finish();
    return true;
}

} // namespace

TEST(LanguageCheck, EachRuleBrokenAndKept) {
    const std::pair<std::string_view, Items> cases[] = {
        // Control bytes count outside comments only; TAB is a blank.
        {"LEVELSTART\nDO_NOWT\x1b\nLEVELEND", {"2 ControlByte"}},
        {"LEVELSTART\n// \x1b in a comment\n\tDO_NOWT /* \x07 */\nLEVELEND", {}},
        // Comments: /* */ spans lines, // inside it and /* after // open nothing.
        {"LEVELSTART\nLEVELEND\n/* notes", {"3 Comment"}},
        {"/* a comment\nover lines // with slashes */ LEVELSTART\n// /* opens nothing\nLEVELEND",
         {}},
        // Statements.
        {"LEVELSTART\nDISPLAY_BREIF ( 1001 )\nLEVELEND", {"2 UnknownStatement"}},
        {"COUNTER n\nLEVELSTART\nn = 1\nLEVELEND", {"3 UnknownStatement"}},
        {"LEVELSTART\n( 1 )\nLEVELEND", {"2 UnknownStatement"}},
        {"COUNTER n\nLEVELSTART\nSET n = 1\nSET n = ( n * 2 )\n++n\nLEVELEND", {}},
        // Constants.
        {"LEVELSTART\nFINISH_LEVEL ( NO_BONUSES )\nLEVELEND", {"2 UnknownConstant"}},
        {"CAR_DATA c = ( 1.5 , 1.5 , 2.0 ) 0 0 FERRARI\nLEVELSTART\nLEVELEND",
         {"1 UnknownConstant"}},
        {"CAR_DATA c = ( 1.5 , 1.5 , 2.0 ) 0 0 ALFA MINI_CAR\nLEVELSTART\nLEVELEND", {}},
        // Arguments; creations end with END, CREATE_LIGHT does not.
        {"LEVELSTART\nDISPLAY_BRIEF ( )\nLEVELEND", {"2 Arguments"}},
        {"CAR_DATA c\nLEVELSTART\nc = CREATE_CAR ( 1.5 , 1.5 , 2.0 ) 0 0 TAXI\nLEVELEND",
         {"3 Arguments"}},
        {"CAR_DATA c\nLEVELSTART\nc = CREATE_CAR ( 1.5 , 1.5 , 2.0 ) 0 0 TAXI END\nLEVELEND", {}},
        {"LIGHT l\nLEVELSTART\nl = CREATE_LIGHT ( 1.5 , 1.5 ) 2.0 9 ( 1 , 2 , 3 ) END\nLEVELEND",
         {"3 UnknownStatement"}},
        {"LIGHT l\nLEVELSTART\nl = CREATE_LIGHT ( 1.5 , 1.5 ) 2.0 9 ( 1 , 2 , 3 )\nLEVELEND", {}},
        // Numbers: a decimal point where a decimal belongs, none where a whole number does.
        {"PLAYER_PED p = ( 10 , 20.5 , 2.0 ) 25 0\nLEVELSTART\nLEVELEND", {"1 Number"}},
        {"LEVELSTART\nDISPLAY_BRIEF ( 1001.0 )\nLEVELEND", {"2 Number"}},
        {"PLAYER_PED p = ( 10.0 , 20.5 ) -1 0\nLEVELSTART\nLEVELEND", {}},
        // Conditions.
        {"CHAR_DATA c\nLEVELSTART\nIF ( KILL_CHAR ( c ) )\nENDIF\nLEVELEND", {"3 Condition"}},
        {"CHAR_DATA c\nLEVELSTART\nHAS_CHARACTER_DIED ( c )\nLEVELEND", {"3 Condition"}},
        {"COUNTER n\nLEVELSTART\nIF n = 1\nENDIF\nLEVELEND", {"3 Condition"}},
        {"COUNTER n\nLEVELSTART\nIF ( ( n = 1 ) AND )\nENDIF\nLEVELEND", {"3 Condition"}},
        {"COUNTER n\nLEVELSTART\nIF ( n = 1.0 )\nENDIF\nLEVELEND", {"3 Number"}},
        {"COUNTER n\nLEVELSTART\nIF ( ( n = 1 )\nSET n = 2\nENDIF\nLEVELEND", {"3 Condition"}},
        {"COUNTER n\nCOUNTER n2\nLEVELSTART\nIF ( ( ( n = 1 )\n  AND ( NOT ( n2 > 3 ) ) )\n"
         "  OR ( n <= n2 ) )\nELSE\nENDIF\nWHILE_EXEC ( n >= -1 )\nENDWHILE\nLEVELEND",
         {}},
        // Blocks.
        {"COUNTER n\nLEVELSTART\nIF ( n = 1 )\nENDWHILE\nENDIF\nLEVELEND", {"4 Block"}},
        {"COUNTER n\nLEVELSTART\nIF ( n = 1 )\nWHILE ( n = 1 )\nENDIF\nLEVELEND", {"4 Block"}},
        {"COUNTER n\nLEVELSTART\nIF ( n = 1 )\nLEVELEND", {"3 Block"}},
        {"COUNTER n\nLEVELSTART\nDO\nENDWHILE\nLEVELEND", {"3 Block", "4 Block"}},
        // EXEC and ENDEXEC are statements, as GTA2's own scripts use them: an ENDEXEC closes the
        // exec part of a WHILE_EXEC, or leaves an EXEC early inside an IF.
        {"COUNTER n\nLEVELSTART\nWHILE_EXEC ( n = 1 )\nDO_NOWT\nENDEXEC\nENDWHILE\nLEVELEND", {}},
        {"COUNTER n\nLEVELSTART\nEXEC\nIF ( n = 1 )\nENDEXEC\nRETURN\nENDIF\nENDEXEC\nLEVELEND",
         {}},
        {"LEVELSTART\nEXEC\nLEVELEND", {}},
        {"LEVELSTART\nLEVELSTART\nMISSIONEND", {"2 Block", "3 Block"}},
        {"LEVELEND", {"1 Block", "1 ScriptEnd"}},
        {"COUNTER n\nLEVELSTART\nIF ( n = 1 )\n WHILE ( n = 1 )\n  DO\n   EXEC\n   ENDEXEC\n"
         "  WHILE_TRUE ( n = 1 )\n ENDWHILE\nELSE\nENDIF ENDIF\nLEVELEND",
         {"11 Block"}},
        // Placement: THREAD_TRIGGERs before the program part; objects are declared and set
        // anywhere, as real level scripts do.
        {"PLAYER_PED p = ( 1.5 , 1.5 , 2.0 ) 0 0\nCAR_DATA c\nFORWARD s:\nLEVELSTART\n"
         "THREAD_TRIGGER t = THREAD_WAIT_FOR_CHAR_IN_CAR ( p , c , s: )\ns:\nRETURN\nLEVELEND",
         {"5 Placement"}},
        {"PLAYER_PED p = ( 1.5 , 1.5 , 2.0 ) 0 0\nCAR_DATA c\nFORWARD s:\n"
         "THREAD_TRIGGER t = THREAD_WAIT_FOR_CHAR_IN_CAR ( p , c , s: )\nLEVELSTART\n"
         "OBJ_DATA o = ( 2.5 , 2.5 ) 0 CONE\ns:\nRETURN\nLEVELEND",
         {}},
        // GTA2's own level scripts put triggers and subroutines after LEVELEND; what opens there
        // still has to close.
        {"PLAYER_PED p = ( 1.5 , 1.5 , 2.0 ) 0 0\nFORWARD s:\nLEVELSTART\nLEVELEND\n"
         "THREAD_TRIGGER t = THREAD_WAIT_FOR_CHAR_IN_AREA ( p , 2.0 , 2.0 , 2.0 , 1.0 , 1.0 , s: "
         ")\n"
         "s:\nDO_NOWT\nRETURN",
         {}},
        {"COUNTER n\nLEVELSTART\nLEVELEND\nIF ( n = 1 )", {"4 Block"}},
        // Names.
        {"ARROW_DATA a\nLEVELSTART\nPOINT_ARROW_AT ( a , OBJECT11 )\nLEVELEND", {"3 Undeclared"}},
        {"ARROW_DATA a\nLEVELSTART\nPOINT_ARROW_AT ( a , o )\nOBJ_DATA o\nLEVELEND",
         {"3 DeclaredLater"}},
        {"LEVELSTART\nGOSUB s:\ns:\nRETURN\nLEVELEND", {"2 DeclaredLater"}},
        {"FORWARD s:\nLEVELSTART\nGOSUB s:\ns:\nRETURN\nLEVELEND", {}},
        {"COUNTER n\nCOUNTER n = 2\nLEVELSTART\nLEVELEND", {"2 DeclaredTwice"}},
        {"LEVELSTART\ns:\nRETURN\ns:\nRETURN\nLEVELEND", {"4 DeclaredTwice"}},
        {"CAR_DATA c\nLEVELSTART\nIF ( HAS_CHARACTER_DIED ( c ) )\nENDIF\nLEVELEND",
         {"3 WrongKind"}},
        {"OBJ_DATA o\nLEVELSTART\no = CREATE_CAR ( 1.5 , 1.5 ) 0 0 BUS END\nLEVELEND",
         {"3 WrongKind"}},
        {"CAR_DATA c\nARROW_DATA a\nLEVELSTART\nPOINT_ARROW_AT ( a , c )\nLEVELEND", {}},
        // Where names of several kinds fit, each of them does: a car's weapon, a car for a frenzy.
        {"CAR_DATA c\nLEVELSTART\nGIVE_WEAPON ( c , CAR_MINE )\nLEVELEND", {}},
        {"ARROW_DATA a\nLEVELSTART\nGIVE_WEAPON ( a , PISTOL )\nLEVELEND", {"3 WrongKind"}},
        {"PLAYER_PED p = ( 1.5 , 1.5 , 2.0 ) 0 0\nCAR_DATA tank\nFORWARD s:\n"
         "THREAD_TRIGGER t = THREAD_WAIT_FOR_CHAR_IN_CAR ( p , tank , s: )\nLEVELSTART\ns:\n"
         "START_BASIC_KF_TEMPLATE ( t , 7101 , tank , p , TANK_GUN )\nRETURN\nLEVELEND",
         {}},
        // Mission files as LAUNCH_MISSION and the phone templates name them.
        {"LEVELSTART\nLAUNCH_MISSION ( lev_end.mis )\nLEVELEND", {}},
        {"LEVELSTART\nLAUNCH_MISSION ( )\nLEVELEND", {"2 Arguments"}},
        {"COUNTER f\nLEVELSTART\nDO_EASY_PHONE_TEMPLATE ( 1098 , m.mis , f , f , f , f , yakuza , "
         "0 )"
         "\nLEVELEND",
         {"3 Arguments"}},
        // A bonus check ends without END.
        {"BONUS b\nLEVELSTART\nb = START_BONUS_CHECK ( city , 1800 , 10 , 0 , CAR , NOT_EXCLUSIVE "
         ", "
         "BY_ROCKET_LAUNCHER , NONE , NONE )\nLEVELEND",
         {}},
        {"BONUS b\nLEVELSTART\nb = START_BONUS_CHECK ( city , 1800 , 10 , 0 , CAR , NOT_EXCLUSIVE "
         ", "
         "BY_LASER , NONE , NONE )\nLEVELEND",
         {"3 UnknownConstant"}},
        // The end of the script.
        {"LEVELSTART\nDO_NOWT", {"2 ScriptEnd"}},
        {"", {"1 ScriptEnd"}},
        {"COUNTER n", {"1 ScriptEnd"}},
        {"MISSIONSTART\nDO_NOWT", {"2 ScriptEnd"}},
        {"MISSIONSTART\nMISSIONEND", {}},
    };
    for (const auto& [script, counted] : cases) {
        SCOPED_TRACE(script);
        EXPECT_EQ(check(script).counted, counted);
    }
}

TEST(LanguageCheck, WhatTheSourcesLeaveOpenIsSaidButNotCounted) {
    const std::pair<std::string_view, Items> cases[] = {
        // A command known by name only.
        {"LEVELSTART\nSWITCH_ROAD ( ON , 1 , 2 , 3 )\nLEVELEND", {"2 NotChecked"}},
        // Letter case: a name spelt otherwise than declared, a word or constant in lower case,
        // each spelling said once; two declarations that differ in case only.
        {"COUNTER loop = 1\nLEVELSTART\nSET LOOP = 0\nSET LOOP = 1\nset loop = 2\nLEVELEND",
         {"3 NotChecked", "5 NotChecked"}},
        {"LEVELSTART\nFINISH_LEVEL ( no_bonus )\nLEVELEND", {"2 NotChecked"}},
        {"OBJ_DATA object30\nOBJ_DATA OBJECT30\nLEVELSTART\nLEVELEND", {"2 NotChecked"}},
        // A RETURN outside a subroutine, a subroutine without RETURN.
        {"LEVELSTART\nRETURN\nLEVELEND", {"2 NotChecked"}},
        {"LEVELSTART\ns:\nDO_NOWT\nLEVELEND", {"4 NotChecked"}},
        {"#IFDEF PSX\nLEVELSTART\nLEVELEND", {"1 NotChecked"}},
        // The compiled form keeps a jump per ELSE: whether one IF may have two is open.
        {"COUNTER n\nLEVELSTART\nIF ( n = 1 )\nELSE\nELSE\nENDIF\nLEVELEND", {"5 NotChecked"}},
    };
    for (const auto& [script, notChecked] : cases) {
        SCOPED_TRACE(script);
        const Result result = check(script);
        EXPECT_EQ(result.counted, Items{});
        EXPECT_EQ(result.notChecked, notChecked);
    }
}

TEST(LanguageCheck, ReasonsSayWhatIsWrong) {
    LanguageCheck check;
    feed(check, "CAR_DATA c\nGENERATOR g = ( 1.5 , 1.5 , 2.0 ) 0 POWERUP5not_supported 0 1500 1\n"
                "LEVELSTART\nSWITCH_GENERATOR ( g , ON )\nIF ( HAS_CHARACTER_DIED ( c ) )\nENDIF\n"
                "WARP_FROM_CAR_TO_POINT ( c , 1 , 2.0 , 3.0 , 0 )\nLEVELEND");
    const std::vector<LanguageItem> items = check.items();
    ASSERT_EQ(items.size(), 3u); // the generator counts as declared in spite of its fault
    EXPECT_EQ(items[0].reason, "POWERUP5not_supported is no object type");
    EXPECT_EQ(items[1].reason, "c is a car (line 1); a character belongs here");
    EXPECT_EQ(items[2].reason, "1 needs a decimal point here (1.0)");
    EXPECT_EQ(items[2].excerpt, "WARP_FROM_CAR_TO_POINT ( c , 1 , 2.0 , 3.0 , 0 )");

    LanguageCheck kinds;
    feed(kinds, "ARROW_DATA a\nLEVELSTART\nGIVE_WEAPON ( a , PISTOL )\nLEVELEND");
    ASSERT_EQ(kinds.items().size(), 1u);
    EXPECT_EQ(kinds.items()[0].reason, "a is an arrow (line 1); a character or car belongs here");

    LanguageCheck open;
    feed(open, "COUNTER n\nLEVELSTART\nIF ( ( n = 1 )\nLEVELEND\nWHILE ( ( n = 1 )");
    std::vector<std::string> reasons;
    for (const LanguageItem& item : open.items()) {
        reasons.push_back(std::to_string(item.scriptLine) + ": " + item.reason);
    }
    EXPECT_EQ(reasons,
              (Items{"3: the condition of IF does not close", "3: IF is not closed before LEVELEND",
                     "5: the condition of WHILE does not close",
                     "5: WHILE is not closed before the end of the script"}));
}

TEST(LanguageCheck, MissionScriptsSeeTheLevelScriptsGivenWithThem) {
    constexpr std::string_view level = "PLAYER_PED p1 = ( 1.5 , 1.5 , 2.0 ) 25 0\n"
                                       "COUNTER flag\n"
                                       "LEVELSTART\n"
                                       "LEVELEND";
    constexpr std::string_view mission = "CAR_DATA getaway\n"
                                         "MISSIONSTART\n"
                                         "SET flag = 1\n"
                                         "getaway = CREATE_CAR ( 2.5 , 2.5 ) 0 0 TAXI END\n"
                                         "IF ( IS_CHARACTER_IN_CAR ( p1 , getaway ) )\n"
                                         "ENDIF\n"
                                         "ADD_SCORE ( p1 , other )\n"
                                         "IF ( HAS_CHARACTER_DIED ( flag ) )\n"
                                         "ENDIF\n"
                                         "MISSIONEND";
    const Items missionItems = {"7 Undeclared", "8 WrongKind"};
    // In either order: a mission script given first still sees the level script.
    EXPECT_EQ(checkSet({level, mission})[1].counted, missionItems);
    EXPECT_EQ(checkSet({mission, level})[0].counted, missionItems);
    // Alone, it sees nothing (a name declared nowhere is listed at its first use); a level script
    // never sees another level script's names.
    EXPECT_EQ(checkSet({mission})[0].counted,
              (Items{"3 Undeclared", "5 Undeclared", "7 Undeclared"}));
    EXPECT_EQ(checkSet({level, "LEVELSTART\nSET flag = 1\nLEVELEND"})[1].counted,
              Items{"2 Undeclared"});
    // FORWARD belongs to level scripts.
    EXPECT_EQ(checkSet({"FORWARD s:\nMISSIONSTART\ns:\nRETURN\nMISSIONEND"})[0].counted,
              Items{"1 Placement"});
    EXPECT_EQ(checkSet({"FORWARD s:\nLEVELSTART\ns:\nRETURN\nLEVELEND"})[0].counted, Items{});
}

TEST(LanguageCheck, RoleFollowsTheStartWord) {
    const std::pair<std::string_view, ScriptRole> cases[] = {
        {"COUNTER n", ScriptRole::Unknown},
        {"LEVELSTART\nLEVELEND", ScriptRole::Level},
        {"MISSIONSTART\nMISSIONEND", ScriptRole::Mission},
        {"LEVELSTART\nMISSIONSTART", ScriptRole::Level},
    };
    for (const auto& [script, role] : cases) {
        SCOPED_TRACE(script);
        LanguageCheck check;
        feed(check, script);
        EXPECT_EQ(check.role(), role);
    }
}

TEST(LanguageCheck, ItemsStayShortAndFewWhateverTheScript) {
    // A line of a megabyte keeps an excerpt of its beginning; a huge name is cut in the reason.
    LanguageCheck check(3);
    const std::string longName(1 << 20, 'x');
    check.addLine("LEVELSTART");
    check.addLine("POINT_ARROW_AT ( arrow , " + longName + " )");
    check.addLine("NO_SUCH_COMMAND " + longName);
    for (int i = 0; i < 9; ++i) {
        check.addLine("NO_SUCH_COMMAND " + std::string(200, 'y'));
    }
    check.addLine("LEVELEND");
    check.finish();
    const std::vector<LanguageItem> items = check.items();
    ASSERT_EQ(items.size(), 3u);
    for (const LanguageItem& item : items) {
        EXPECT_LE(item.excerpt.size(), LanguageCheck::kExcerptBytes + 3);
        EXPECT_LE(item.reason.size(), 100u);
    }
    EXPECT_EQ(items[0].excerpt.substr(0, 25), "POINT_ARROW_AT ( arrow , ");
    EXPECT_TRUE(items[0].excerpt.ends_with("xxx..."));
    // arrow and the long name are not declared, and ten unknown statements: all counted.
    EXPECT_EQ(check.countedItems(), 12u);
    EXPECT_EQ(check.unlistedItems(), 9u);
}

TEST(Read_script_lines, ReadsAnyLineEndsAndNamesTextBehindACtrlZ) {
    const TempFolder folder;
    const std::pair<std::string_view, Items> cases[] = {
        {"LEVELSTART\r\nDO_NOWT\rLEVELEND\n", {}},
        {"LEVELSTART\r\nLEVELEND\r\n\x1a", {}},                               // a DOS end of text
        {"LEVELSTART\r\nLEVELEND\r\n\x1a\r\nDO_NOWT\r\n", {"3 ControlByte"}}, // text behind it
        {"LEVELSTART\r\nDO_NOWT", {"2 ScriptEnd"}},                           // cut short
    };
    for (const auto& [text, counted] : cases) {
        SCOPED_TRACE(text);
        const std::filesystem::path path = folder.path() / "script.mis";
        writeFile(path, text);
        LanguageCheck check;
        brennic::platform::IoError error;
        ASSERT_TRUE(checkFile(path, check, error));
        EXPECT_EQ(resultOf(check).counted, counted);
    }
    LanguageCheck check;
    brennic::platform::IoError error;
    EXPECT_FALSE(checkFile(folder.path() / "missing.mis", check, error));
}

// The converter's scripts, each a level script checked on its own. Every item was judged by
// hand against the language: what GTA2's compiler certainly rejects is counted; letter case,
// which no source settles, is only said ("not checked", their number here).
TEST(LanguageCheck, ConvertedGoldenScripts) {
    struct Expected {
        Items counted{};
        std::size_t notChecked = 0;
    };
    const std::map<std::string, Expected> expected = {
        // No PLAYER line in the mission: player1 is declared nowhere; arrows at lines that
        // declared nothing.
        {"commands-arrows-briefs/sanb_Briefs_7.mis",
         {{"12 Undeclared", "16 Undeclared", "18 Undeclared", "19 Undeclared", "20 Undeclared"}}},
        // PARK on a character, PARK and IS_CAR_IN_BLOCK on empty or deferred rows, briefs with
        // a decimal, a word or nothing as their text number; "top" is said (letter case).
        {"commands-rows-and-texts/xyz_Rows_1.mis",
         {{"17 Undeclared", "19 Undeclared", "24 Arguments", "25 WrongKind", "27 Undeclared",
           "35 Arguments", "36 Arguments", "38 Arguments", "46 Arguments", "47 Undeclared",
           "53 Number", "54 Arguments", "58 Arguments"},
          3}},
        {"commands-switches-off/uk_Switches Off_9.mis", {{"16 Undeclared"}}},
        // Wait blocks on lines that declared nothing; ADD_SCORE without its score.
        {"commands-wait-blocks/nyc_Wait Blocks_4.mis",
         {{"14 Undeclared", "14 Undeclared", "27 Undeclared", "37 Undeclared", "57 Undeclared",
           "67 Arguments", "68 Undeclared", "84 Undeclared", "86 Arguments", "94 Arguments",
           "95 Undeclared", "97 Arguments", "105 Undeclared"},
          2}},
        // An unsupported powerup has no object type; "SET LOOP", "PLAYER1", "CAR", "arrow" and
        // "top" are said.
        {"examples-all-switches/nyc_Bank Job_1.mis", {{"106 UnknownConstant"}, 8}},
        {"examples-all-switches/sanb_The Lift_2.mis", {{}, 5}},
        // A rotation field of "1,055".
        {"objects-coordinates/xyz_C_1.mis", {{"26 Arguments"}}},
        // UNSUPPORTED_FACE is no block face; left, right, bottom, top are said.
        {"objects-edges/xyz_Edges_1.mis",
         {{"30 UnknownConstant", "31 UnknownConstant", "32 UnknownConstant", "36 UnknownConstant"},
          4}},
        {"objects-missions/sanb_First_1.mis", {{}, 1}},
        {"objects-powerup-generators/xyz_P_1.mis", {{"11 UnknownConstant"}}},
        // Two GTA1 lines numbered 425 declare OBJECT425 twice.
        {"objects-powerup-objects/xyz_R_1.mis",
         {{"12 DeclaredTwice", "13 UnknownConstant", "22 UnknownConstant"}}},
        {"objects-switched-off/xyz_Off_1.mis", {{"28 Undeclared"}}},
        // Cut short by a failed run.
        {"objects-vehicle-out-of-range/uk_Bad_2.mis", {{"12 ScriptEnd"}}},
        {"objects-wait-blocks/nyc_Waits_1.mis", {{"15 Undeclared"}, 3}},
        {"report-failed-run/uk_Second_2.mis", {{"12 ScriptEnd", "12 Undeclared"}}},
        {"report-items/nyc_Items_1.mis",
         {{"14 Undeclared", "15 Undeclared", "16 Undeclared", "17 Undeclared"}, 2}},
        {"report-kinds/nyc_B_2.mis", {{"12 Undeclared", "13 Undeclared"}}},
        {"report-missions-apart/nyc_B_2.mis", {{"12 Undeclared"}}},
        {"spine-sections/nycity_Second_2.mis", {{"13 Undeclared"}}},
    };
    const std::filesystem::path cases = BRENNIC_CASES_DIR;
    std::size_t scripts = 0;
    std::size_t matched = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(cases)) {
        if (entry.path().extension() != ".mis" ||
            entry.path().parent_path().filename() != "output") {
            continue;
        }
        ++scripts;
        const std::string key =
            entry.path().parent_path().parent_path().parent_path().filename().string() + "/" +
            entry.path().filename().string();
        SCOPED_TRACE(key);
        LanguageCheck check;
        brennic::platform::IoError error;
        ASSERT_TRUE(checkFile(entry.path(), check, error));
        const auto found = expected.find(key);
        const Expected wanted = found == expected.end() ? Expected{} : found->second;
        matched += found == expected.end() ? 0u : 1u;
        const Result result = resultOf(check);
        EXPECT_EQ(result.counted, wanted.counted);
        EXPECT_EQ(result.notChecked.size(), wanted.notChecked);
    }
    EXPECT_GT(scripts, 50u);
    EXPECT_EQ(matched, expected.size());
}

double secondsToCheck(const std::vector<std::string>& lines, LanguageCheck& check) {
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& line : lines) {
        check.addLine(line);
    }
    check.finish();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST(LanguageCheck, TenThousandLinesInWellUnderASecond) {
    std::vector<std::string> lines = {"ARROW_DATA arrow", "COUNTER loop = 1",
                                      "PLAYER_PED p1 = ( 1.5 , 1.5 , 2.0 ) 25 0"};
    for (int i = 0; i < 2000; ++i) {
        lines.push_back("OBJ_DATA OBJECT" + std::to_string(i) + " = ( 1.0 , 2.0 , 3.0 ) 0 PHONE");
    }
    lines.emplace_back("LEVELSTART");
    for (int i = 0; i < 2000; ++i) {
        const std::string name = "OBJECT" + std::to_string(i);
        lines.push_back("WHILE_EXEC ( loop = 1 )");
        lines.push_back("  IF ( ( CHECK_ANSWERED_PHONE ( " + name + " ) )");
        lines.push_back(
            "  AND ( LOCATE_CHARACTER_ANY_MEANS ( p1 , 2.0 , 2.0 , 2.0 , 1.0 , 1.0 ) ) )");
        lines.push_back("    SET loop = 0 // " + name);
        lines.push_back("  ENDIF");
        lines.push_back("ENDWHILE");
    }
    lines.emplace_back("LEVELEND");
    ASSERT_GE(lines.size(), 10000u);
    LanguageCheck check;
    EXPECT_LT(secondsToCheck(lines, check), 1.0);
    EXPECT_EQ(check.countedItems() + check.notCheckedItems(), 0u);
}

// One line that names OBJECT0 ... OBJECTn: n declarations, then uses of names nobody declared.
// Sixteen times the names take about sixteen times as long (a quadratic duplicate test would
// take 256 times), and the items kept stay few.
TEST(LanguageCheck, OneLineNamingThousandsOfObjectsStaysLinear) {
    const auto lineOf = [](int names) {
        std::string line;
        for (int i = 0; i < names; ++i) {
            line += "OBJ_DATA OBJECT" + std::to_string(i) + " ";
        }
        for (int i = 0; i < names; ++i) {
            line += "DELETE_ITEM ( object" + std::to_string(i) + " ) DELETE_ITEM ( NAME" +
                    std::to_string(i) + " ) ";
        }
        return std::vector<std::string>{"LEVELSTART", line, "LEVELEND"};
    };
    LanguageCheck small(100);
    const double smallSeconds = secondsToCheck(lineOf(1500), small);
    LanguageCheck large(100);
    const double largeSeconds = secondsToCheck(lineOf(24000), large);
    EXPECT_LT(largeSeconds, 64 * std::max(smallSeconds, 0.005));
    // Each undeclared NAMEi counted; the spelling "objecti" against "OBJECTi" said once each.
    EXPECT_EQ(large.countedItems(), 24000u);
    EXPECT_EQ(large.notCheckedItems(), 24000u);
    EXPECT_EQ(large.items().size(), 100u);
}

// n blocks left open, then n closing words that match none of them: each is told at once, not
// after a search through all that is open. Thirty-two times the lines take about thirty-two times
// as long (with a search, a thousand times).
TEST(LanguageCheck, ClosingWordsWithoutTheirBlockStayLinear) {
    const auto linesOf = [](int blocks) {
        std::vector<std::string> lines = {"COUNTER loop = 1", "LEVELSTART"};
        lines.insert(lines.end(), static_cast<std::size_t>(blocks), "WHILE ( loop = 1 )");
        lines.insert(lines.end(), static_cast<std::size_t>(blocks), "ENDIF");
        lines.emplace_back("LEVELEND");
        return lines;
    };
    LanguageCheck small(100);
    const double smallSeconds = secondsToCheck(linesOf(1500), small);
    LanguageCheck large(100);
    const double largeSeconds = secondsToCheck(linesOf(48000), large);
    EXPECT_LT(largeSeconds, 64 * std::max(smallSeconds, 0.005));
    EXPECT_EQ(large.countedItems(), 96000u); // each ENDIF, and each WHILE left open
}

// Items about an earlier line (found at a later line or at the end) carry that line's origin,
// as a report names the GTA1 line that wrote it.
TEST(LanguageCheck, ItemsCarryTheOriginOfTheirLine) {
    LanguageCheck check;
    const std::pair<std::string_view, std::string_view> lines[] = {
        {"COUNTER n", "1"},       {"LEVELSTART", "2"}, {"SET m = 1", "3"},
        {"IF ( n = 1 )", "4"},    {"COUNTER m", "5"},  {"WHILE ( ( n = 1 )", "6"},
        {"/* never closed", "7"}, {"LEVELEND", "8"},
    };
    for (const auto& [line, origin] : lines) {
        check.addLine(line, origin);
    }
    check.finish();
    std::vector<std::string> found;
    for (const LanguageItem& item : check.items()) {
        found.push_back(std::to_string(item.scriptLine) + " " + item.origin + " " +
                        std::string(ruleName(item.rule)));
    }
    EXPECT_EQ(found, (Items{"3 3 DeclaredLater", "4 4 Block", "6 6 Condition", "6 6 Block",
                            "7 7 Comment", "8 8 ScriptEnd"}));
}
