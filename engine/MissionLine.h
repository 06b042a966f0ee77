#pragma once

#include "engine/ConversionOptions.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>

namespace brennic::engine {

// The scanner state: one per run; every translation reads and moves the same cursor.
struct MissionLine {
    std::string strRead{};
    int intLinePosition = 1; // 1-based; stepCursor() refuses to pass 32 767
    std::string strLineNumber{};
    double dblX = 0.0;
    double dblY = 0.0;
    double dblZ = 0.0;
};

inline constexpr int kMaxCursor = 32767;

// The character at a 1-based position; empty past the end (or before the start).
std::string_view charAt(const MissionLine& line, int position);
// Moves the cursor by count; a cursor beyond 32 767 is a run failure.
void stepCursor(MissionLine& line, int count);
// Puts the cursor on a 1-based position, with the same limit.
void setCursor(MissionLine& line, std::size_t position);

// Collects the field at the cursor up to the next blank or the end of the line, leaving the cursor
// on that blank (or one past the end). Tested before stepping: a cursor already on a blank yields
// an empty field.
std::string Keep_Adding_Chars_to_strGotoLine_until_a_space_is_detected(MissionLine& line);
// The same walk without collecting.
void Skip_value(MissionLine& line);

// Keyword test at the cursor: the characters there, upper-cased, equal the keyword.
bool Is_keyword_at_cursor(const MissionLine& line, std::string_view keyword);
// The same without upper-casing.
bool Is_exact_keyword_at_cursor(const MissionLine& line, std::string_view keyword);

// For a table of up to 32 keywords tried in order: for every byte, the set of entries (bit i for
// entry i) whose keyword can start with it, so a line is compared in full only with the keywords
// whose first letter it shows. at(entry) gives the keyword letter and whether case counts.
template <typename Table, typename Letter>
constexpr std::array<std::uint32_t, 256> Keyword_candidates(const Table& table, Letter at) {
    static_assert(std::tuple_size_v<Table> <= 32);
    std::array<std::uint32_t, 256> candidates{};
    for (std::size_t entry = 0; entry < table.size(); ++entry) {
        const auto [letter, exact] = at(table[entry]);
        for (int byte = 0; byte < 256; ++byte) {
            const char c = static_cast<char>(byte);
            const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
            if ((exact ? c : upper) == letter) {
                candidates[static_cast<std::size_t>(byte)] |= std::uint32_t{1} << entry;
            }
        }
    }
    return candidates;
}

// The byte at a 1-based position, or 0 past either end (no keyword starts with NUL).
inline unsigned char Byte_at(const MissionLine& line, int position) {
    return position >= 1 && static_cast<std::size_t>(position) <= line.strRead.size()
               ? static_cast<unsigned char>(line.strRead[static_cast<std::size_t>(position - 1)])
               : 0;
}

// The leading number of a text, as the classic BASIC Val reads it: blanks, tabs and line feeds
// anywhere are ignored, &H and &O introduce hexadecimal and octal, "." is always the decimal
// point, and no number at the front reads 0. A value beyond the double range is a run failure.
double Leading_number_value(std::string_view text);
// A token that must be a number as a whole (blanks around it allowed), rounded to the nearest
// whole number with halves to even. Anything else is a run failure.
double Whole_number_value(std::string_view token);
// The leading-number value rounded to the nearest whole number, halves to even.
double Nearest_whole_value(std::string_view text);
// A table index from a whole value; outside 0..maxIndex is a run failure naming the table.
int Table_index(double value, int maxIndex, std::string_view tableName);

// Finds the coordinate triple from the cursor on and sets dblX, dblY and dblZ; false (and the
// coordinates untouched) when the rest of the line holds no "(". The cursor ends on the first
// character of the kind word.
bool Read_coordinates(MissionLine& line, const ConversionOptions& options);

// One decimal, half away from zero, "," between thousands: 1234.5 gives 1,234.5.
std::string Format_coordinate(double value);
// Up to 15 significant digits, no grouping or trailing zeros: 7.8125, 0.3, -2.25.
std::string Format_plain(double value);
// A GTA1 rotation (1024 units a turn) as whole GTA2 degrees; "0" stays "0".
std::string Convert_rotation(std::string_view text);
// A door face number as its GTA2 word.
std::string Convert_face(std::string_view text);

} // namespace brennic::engine
