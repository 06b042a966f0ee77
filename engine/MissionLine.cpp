#include "engine/MissionLine.h"

#include "engine/NumberReading.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace brennic::engine {

namespace {

std::size_t length(const MissionLine& line) { return line.strRead.size(); }

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
    const std::size_t to = std::min(line.strRead.find(' ', from), length(line));
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

// One coordinate text: from the character behind the cursor up to the stop character (or the end
// of the line), the cursor ending on the stop character or past the end.
std::string_view coordinateText(MissionLine& line, char stop) {
    const auto from = static_cast<std::size_t>(line.intLinePosition); // the character behind
    if (from >= length(line)) {
        stepCursor(line, 1);
        return {};
    }
    std::size_t to = line.strRead.find(stop, from);
    if (to == std::string::npos) {
        to = length(line);
    }
    stepCursor(line, static_cast<int>(to - from) + 1);
    return std::string_view(line.strRead).substr(from, to - from);
}

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
    const std::size_t open = line.strRead.find('(', cursorOffset(line));
    if (open == std::string::npos) {
        // The search walked the cursor to the end of the line, with the cursor's limit.
        if (static_cast<std::size_t>(line.intLinePosition) <= length(line)) {
            setCursor(line, length(line) + 1);
        }
        return false;
    }
    setCursor(line, open + 1);
    const std::string_view x = coordinateText(line, ',');
    const std::string_view y = coordinateText(line, ',');
    const std::string_view z = coordinateText(line, ')');
    line.dblX = coordinateValue(x, options.Xoffset);
    line.dblY = coordinateValue(y, options.Yoffset);
    line.dblZ = coordinateValue(z, options.Zoffset);
    stepCursor(line, 2);
    return true;
}

} // namespace brennic::engine
