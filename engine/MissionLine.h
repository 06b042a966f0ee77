#pragma once

#include "engine/ConversionOptions.h"
#include "platform/Ascii.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace brennic::engine {

// The line scanner: a mission line's fields, keywords and coordinate triple, read with one 1-based
// cursor.

// The scanner state: one per run; every translation reads and moves the same cursor.
struct MissionLine {
    std::string strRead{};
    int intLinePosition = 1; // 1-based; stepCursor() refuses to pass 32 767
    std::string strLineNumber{};
    double dblX = 0.0;
    double dblY = 0.0;
    double dblZ = 0.0;
};

// The cursor is a 16-bit count: it can stand one past the end of a line of at most 32 766
// characters, so no longer line is ever read whole.
inline constexpr int kMaxCursor = 32767;
inline constexpr std::size_t kMaxLineLength = kMaxCursor - 1;

// Moves the cursor by count; a cursor beyond 32 767 is a run failure.
void stepCursor(MissionLine& line, int count);
// Puts the cursor on a 1-based position, with the same limit.
void setCursor(MissionLine& line, std::size_t position);
// The failure of a line too long for the cursor.
[[noreturn]] void Fail_cursor_overflow();

// Collects the field at the cursor up to the next blank or the end of the line, leaving the cursor
// on that blank (or one past the end). Tested before stepping: a cursor already on a blank yields
// an empty field. The field is a view into strRead, for use while the line is handled.
std::string_view Keep_Adding_Chars_to_strGotoLine_until_a_space_is_detected(MissionLine& line);
// The same walk without collecting.
void Skip_value(MissionLine& line);

// Fields behind the cursor, which stands on the blank that ended the field or keyword before:
// each steps over that single blank, then walks its field.
std::string_view Read_next_argument(MissionLine& line);
void Skip_next_argument(MissionLine& line);
// Passes over the next count fields and reads the one behind them.
std::string_view Read_argument_after(MissionLine& line, int count);

// Keyword test: the characters of text from offset `from` on, upper-cased, equal the keyword.
// Every line meets dozens of these, so the test lives here where callers can inline it.
inline bool Is_keyword_at(std::string_view text, std::size_t from, std::string_view keyword) {
    if (from > text.size() || text.size() - from < keyword.size()) {
        return false;
    }
    for (std::size_t i = 0; i < keyword.size(); ++i) {
        if (platform::asciiUpper(text[from + i]) != keyword[i]) {
            return false;
        }
    }
    return true;
}
// The same at the cursor.
inline bool Is_keyword_at_cursor(const MissionLine& line, std::string_view keyword) {
    return Is_keyword_at(line.strRead, static_cast<std::size_t>(line.intLinePosition - 1), keyword);
}
// After a keyword test held: puts the cursor on the keyword's own last blank or, for a keyword
// without one, on the character behind it, where Read_next_argument takes the first field.
void Pass_keyword(MissionLine& line, std::string_view keyword);

// Finds the coordinate triple from the cursor on and sets dblX, dblY and dblZ; false (and the
// coordinates untouched) when the rest of the line holds no "(". The cursor ends on the first
// character of the kind word.
bool Read_coordinates(MissionLine& line, const ConversionOptions& options);

} // namespace brennic::engine
