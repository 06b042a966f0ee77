#include "engine/MissionLine.h"

#include "engine/NumberReading.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace brennic::engine {

namespace {

std::size_t length(const MissionLine& line) { return line.strRead.size(); }

// Where c first stands in text from offset `from` on, or the text's length. Fields are a few
// characters long: a plain walk finds their end sooner than a call to the library's search.
std::size_t offsetOf(std::string_view text, char c, std::size_t from) {
    return static_cast<std::size_t>(std::find(text.begin() + from, text.end(), c) - text.begin());
}

// 0-based offset of the cursor, clamped to the line's end.
std::size_t cursorOffset(const MissionLine& line) {
    const auto offset = static_cast<std::size_t>(line.intLinePosition - 1);
    return offset < length(line) ? offset : length(line);
}

} // namespace

void Fail_cursor_overflow() { Fail_overflow("the line position passes 32767"); }

void stepCursor(MissionLine& line, int count) {
    if (line.intLinePosition + count > kMaxCursor) {
        Fail_cursor_overflow();
    }
    line.intLinePosition += count;
}

void setCursor(MissionLine& line, std::size_t position) {
    if (position > static_cast<std::size_t>(kMaxCursor)) {
        Fail_cursor_overflow();
    }
    line.intLinePosition = static_cast<int>(position);
}

std::string_view Keep_Adding_Chars_to_strGotoLine_until_a_space_is_detected(MissionLine& line) {
    const std::size_t from = cursorOffset(line);
    const std::size_t to = offsetOf(line.strRead, ' ', from);
    stepCursor(line, static_cast<int>(to - from));
    return std::string_view(line.strRead).substr(from, to - from);
}

void Skip_value(MissionLine& line) {
    Keep_Adding_Chars_to_strGotoLine_until_a_space_is_detected(line);
}

std::string_view Read_next_argument(MissionLine& line) {
    stepCursor(line, 1);
    return Keep_Adding_Chars_to_strGotoLine_until_a_space_is_detected(line);
}

void Skip_next_argument(MissionLine& line) {
    stepCursor(line, 1);
    Skip_value(line);
}

std::string_view Read_argument_after(MissionLine& line, int count) {
    for (int i = 0; i < count; ++i) {
        Skip_next_argument(line);
    }
    return Read_next_argument(line);
}

void Pass_keyword(MissionLine& line, std::string_view keyword) {
    stepCursor(line,
               static_cast<int>(keyword.ends_with(' ') ? keyword.size() - 1 : keyword.size()));
}

namespace {

double coordinateValue(std::string_view text, double offset) {
    const double value = Leading_number_value(text);
    if (!(value >= 1.0)) {
        return 1.0;
    }
    double sum = value + offset;
    if (sum > 460.0) {
        sum /= 64.0;
    }
    if (!std::isfinite(sum)) {
        Fail_overflow("a coordinate is too large");
    }
    return sum;
}

} // namespace

bool Read_coordinates(MissionLine& line, const ConversionOptions& options) {
    const std::string_view text = line.strRead;
    const std::size_t open = offsetOf(text, '(', cursorOffset(line));
    if (open == text.size()) {
        // The search walked the cursor to the end of the line, with the cursor's limit.
        if (static_cast<std::size_t>(line.intLinePosition) <= text.size()) {
            setCursor(line, text.size() + 1);
        }
        return false;
    }
    // Each text runs from behind the character that ended the one before (the "(" first) up to
    // its own end character or the end of the line; past the end, each still moves on by one.
    std::size_t stop = open;
    const auto next = [&text, &stop](char end) {
        const std::size_t from = stop + 1;
        if (from >= text.size()) {
            stop = from;
            return std::string_view{};
        }
        stop = offsetOf(text, end, from);
        return text.substr(from, stop - from);
    };
    const std::string_view x = next(',');
    const std::string_view y = next(',');
    const std::string_view z = next(')');
    setCursor(line, stop + 3); // from the ")" on to the first character of the kind word
    line.dblX = coordinateValue(x, options.Xoffset);
    line.dblY = coordinateValue(y, options.Yoffset);
    line.dblZ = coordinateValue(z, options.Zoffset);
    return true;
}

} // namespace brennic::engine
