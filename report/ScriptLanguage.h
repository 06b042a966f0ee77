#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace brennic::report {

// GTA2's mission script language as a table: every statement word with the shape of what follows
// it, and the named constants the shapes refer to. The facts come from public descriptions of the
// language: DMA's "GTA2 Scripting Information" as mirrored on projectcerbera.com and wikigta.org
// (IF, WHILE, COUNTERs, THREAD_TRIGGERs, Main script), the compiled operation list of GTAViewer's
// gta2commands.d (which operations exist), and the script forms a .scr decompiler prints back
// (gta2-tm-scr-decompiler), read for facts only. Nothing here is copied from them. The forms were
// tried on the Downtown and Residential level scripts and missions as rebuilt from GTA2's compiled
// scripts (the Project_Open_Downtown and Project_Open_Residential repositories), which the real
// compiler takes: what those scripts do is taken as the language, whatever the manual leaves out.
//
// Letter case: no source says whether GTA2's compiler tells words or names apart by letter case.
// The manual, the wiki pages and the decompiled scripts write every statement word and constant in
// capitals and every name with one spelling throughout. The check therefore matches words,
// constants and names ignoring case, and says "not checked" where a script spells one differently.

// What a declared name stands for.
enum class NameKind : std::uint8_t {
    Character, // PLAYER_PED, CHAR_DATA
    Car,       // CAR_DATA, PARKED_CAR_DATA
    Object,    // OBJ_DATA
    Counter,   // COUNTER, SAVED_COUNTER
    Arrow,
    Timer,
    OnscreenCounter,
    Bonus,
    Generator,
    Door,
    Conveyor,
    Destructor,
    Crane,
    Crusher,
    Light,
    Sound,
    RadioStation,
    ThreadTrigger,
    Thread,
    Subroutine, // "name:" ... RETURN, announced by FORWARD
    None,
};

// The word the check uses for a kind in its messages: "character", "car", "object", ...
std::string_view Name_kind_word(NameKind kind);

enum class StatementRole : std::uint8_t {
    Block,       // LEVELSTART, IF, ELSE, ENDWHILE, RETURN, ...: the check follows their nesting
    Declaration, // WORD name [= ...]: declares the name
    Creation,    // name = WORD ...: makes a new thing for a declared name
    Command,     // WORD ...
    Condition,   // only inside the condition of IF, WHILE, WHILE_EXEC and WHILE_TRUE
};

// One form of a statement; a word may have several (POINT_ARROW_AT at a thing or at a point), and
// a statement is right when one of them fits.
//
// The shape is what follows the word, items separated by blanks:
//   ( ) , = : + - * /   the character itself
//   WORD                that word (letter case ignored)
//   int  float  num     a whole number, a number with a decimal point, either (a leading - allowed)
//   pos                 float , float [ , float ]                    a point, 2D or 3D
//   pos3                float , float , float
//   rect                float , float [ , float ] , float , float    a point, then width and height
//   blockpos            num , num [ , num ]                          a block of the map
//   char car obj counter arrow timer onscreen bonus gen door conveyor destructor crane crusher
//   light sound radio trigger thread
//                       a declared name of that kind
//   thing               a character, a car or an object
//   any                 a declared name of any kind
//   zone                a name from the map (zone, gang, station): not checked
//   file                a script's file name (wil_ye1.mis): not checked
//   sub                 a subroutine: name followed by ":"
//   new  newsub         the name (or subroutine) being declared
//   @SET                a constant of the named set
//   a|b                 either item; names of several kinds may be used where any of them fits
//   [ ... ]             optional
// A form with `checked` false is known by its word only: its arguments are not checked.
struct StatementForm {
    std::string_view word{};
    StatementRole role = StatementRole::Command;
    std::string_view shape{};
    NameKind declares = NameKind::None; // Declaration, Creation: the kind of the name
    std::string_view example{};         // a documented use; the tests check that it fits
    bool checked = true;
    std::string_view note{}; // where the sources disagree or are silent
};

// A set of named constants.
struct ConstantSet {
    std::string_view name{};     // as shapes name it after "@"
    std::string_view describe{}; // for messages: "car model", "ON or OFF", ...
    std::span<const std::string_view> words{};
};

std::span<const StatementForm> Statement_forms();
std::span<const ConstantSet> Constant_sets();

// The forms of a word, letter case ignored; empty when the language has no such word.
std::span<const StatementForm* const> Forms_of(std::string_view word);
// The set a shape names (without its "@"); null when there is none.
const ConstantSet* Constant_set(std::string_view name);
// Whether the word is one of the set's constants, letter case ignored.
bool In_constant_set(const ConstantSet& set, std::string_view word);

} // namespace brennic::report
