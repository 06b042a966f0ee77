#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace brennic::report {

// One thing a script still needs from its user.
struct Item {
    int scriptLine = 0;                    // 1-based
    std::optional<std::string> gta1Line{}; // the number of the GTA1 line that produced it
    std::string reason{};                  // what is wrong, briefly
    std::string statement{};               // the beginning of the script line as it stands
    std::string undeclared{};              // for a name used but never declared: the name
    bool counted = true; // false: "not checked", which the sources leave open; no fault
};

// What is left in one script: its items in line order, how many more there are than it lists,
// then whole lines that sum up the rest.
struct Block {
    std::string script{}; // the script's file name, or the path it was checked under
    std::vector<Item> items{};
    std::size_t unlisted = 0;
    std::vector<std::string> summary{};
};

// The block as the report and the check print it, each line ended by CR LF:
//   nyc_Bank Job_1.mis
//     14: GTA1 line 2300: OBJECT1250 is not declared: POINT_ARROW_AT ( ARROW , OBJECT1250 ) // 2300
//     and 12 more items
// (an empty statement leaves the line ending in ":"), and "  nothing left to do" under a script
// without items.
std::string Block_text(const Block& block);

} // namespace brennic::report
