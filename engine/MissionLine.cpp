#include "engine/MissionLine.h"

#include "engine/RunFailure.h"
#include "platform/Ascii.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <optional>
#include <system_error>

namespace brennic::engine {

namespace {

constexpr std::string_view kScanner = "MissionLine";

using platform::asciiUpper;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

[[noreturn]] void failOverflow(std::string_view what) {
    throw RunFailure(std::string(kScanner), "Overflow: " + std::string(what),
                     ErrorNumber::Overflow);
}

std::size_t length(const MissionLine& line) { return line.strRead.size(); }

// 0-based offset of the cursor, clamped to the line's end.
std::size_t cursorOffset(const MissionLine& line) {
    const auto offset = static_cast<std::size_t>(line.intLinePosition - 1);
    return offset < length(line) ? offset : length(line);
}

int hexDigit(char c) {
    if (isDigit(c)) {
        return c - '0';
    }
    const char upper = asciiUpper(c);
    return (upper >= 'A' && upper <= 'F') ? upper - 'A' + 10 : -1;
}

// A decimal number text (sign, digits, ".", digits, exponent), already checked for its form.
// Out-of-range results are told apart: too large is a failure, too small is zero.
double decimalValue(std::string_view text) {
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        text.remove_prefix(1);
    }
    double value = 0.0;
    const auto [end, ec] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    (void)end;
    if (ec == std::errc::result_out_of_range) {
        // Too large or too small: the decimal magnitude (digits before the point, or minus the
        // zeros behind it) plus the exponent tells which.
        std::size_t i = 0;
        long long magnitude = 0;
        while (i < text.size() && text[i] == '0') {
            ++i;
        }
        for (; i < text.size() && isDigit(text[i]); ++i) {
            ++magnitude;
        }
        if (magnitude == 0 && i < text.size() && text[i] == '.') {
            for (++i; i < text.size() && text[i] == '0'; ++i) {
                --magnitude;
            }
        }
        while (i < text.size() && text[i] != 'E' && text[i] != 'e') {
            ++i;
        }
        long long exponent = 0;
        if (i < text.size()) {
            ++i;
            const bool exponentNegative = i < text.size() && text[i] == '-';
            if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
                ++i;
            }
            for (; i < text.size() && isDigit(text[i]); ++i) {
                if (exponent < 1'000'000'000LL) {
                    exponent = exponent * 10 + (text[i] - '0');
                }
            }
            exponent = exponentNegative ? -exponent : exponent;
        }
        if (magnitude + exponent > 0) {
            failOverflow("the number " + std::string(text) + " is too large");
        }
        value = 0.0;
    }
    return negative ? -value : value;
}

// Length of a decimal number at the front of text (sign, digits, ".", digits, exponent); 0 when
// there is none. The exponent counts only when a digit follows its optional sign.
std::size_t decimalLength(std::string_view text, bool allowSign) {
    std::size_t i = 0;
    if (allowSign && i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    std::size_t digits = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        for (; i < text.size() && isDigit(text[i]); ++i) {
            ++digits;
        }
    }
    if (digits == 0) {
        return 0;
    }
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j])) {
                ++j;
            }
            i = j;
        }
    }
    return i;
}

// &H or &O digits at the front of text (after the "&" and the letter); nullopt for no prefix.
std::optional<double> radixValue(std::string_view text, std::size_t* used = nullptr) {
    if (text.size() < 2 || text[0] != '&') {
        return std::nullopt;
    }
    const char kind = asciiUpper(text[1]);
    const int base = kind == 'H' ? 16 : kind == 'O' ? 8 : 0;
    if (base == 0) {
        return std::nullopt;
    }
    double value = 0.0;
    std::size_t i = 2;
    for (; i < text.size(); ++i) {
        const int digit = hexDigit(text[i]);
        if (digit < 0 || digit >= base) {
            break;
        }
        value = value * base + digit;
    }
    if (!std::isfinite(value)) {
        failOverflow("the number " + std::string(text.substr(0, i)) + " is too large");
    }
    if (used != nullptr) {
        *used = i;
    }
    return value;
}

bool isValBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

} // namespace

void Fail_cursor_overflow() { failOverflow("the line position passes 32767"); }

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

double Leading_number_value(std::string_view text) {
    // Plain whole numbers of up to 15 digits, what coordinates and fields mostly are, add up
    // exactly; the rest takes the full reading.
    if (!text.empty() && text.size() <= 15 && std::all_of(text.begin(), text.end(), isDigit)) {
        double whole = 0.0;
        for (const char digit : text) {
            whole = whole * 10 + (digit - '0');
        }
        return whole;
    }
    // Blanks, tabs and line feeds count for nothing anywhere in the text.
    std::string compact;
    if (std::any_of(text.begin(), text.end(), isValBlank)) {
        std::copy_if(text.begin(), text.end(), std::back_inserter(compact),
                     [](char c) { return !isValBlank(c); });
        text = compact;
    }
    if (const auto radix = radixValue(text)) {
        return *radix;
    }
    const std::size_t used = decimalLength(text, true);
    return used == 0 ? 0.0 : decimalValue(text.substr(0, used));
}

double Whole_number_value(std::string_view token) {
    std::string_view text = token;
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    std::size_t used = 0;
    double value = 0.0;
    if (const auto radix = radixValue(text, &used); radix && used > 2) {
        value = *radix;
    } else {
        used = decimalLength(text, true);
        if (used != 0) {
            value = decimalValue(text.substr(0, used));
        }
    }
    if (used == 0 || used != text.size()) {
        throw RunFailure(std::string(kScanner),
                         "Type mismatch: \"" + std::string(token) + "\" is not a number",
                         ErrorNumber::TypeMismatch);
    }
    return std::nearbyint(value);
}

double Nearest_whole_value(std::string_view text) {
    return std::nearbyint(Leading_number_value(text));
}

int Table_index(double value, int maxIndex, std::string_view tableName) {
    if (!(value >= 0.0 && value <= static_cast<double>(maxIndex))) {
        throw RunFailure(std::string(tableName),
                         "Subscript out of range: " + Format_plain(value) + " is not an entry of " +
                             std::string(tableName) + " (0 to " + std::to_string(maxIndex) + ")",
                         ErrorNumber::SubscriptOutOfRange);
    }
    return static_cast<int>(value);
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
        failOverflow("a coordinate is too large");
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

SignificantDigits Significant_digits(double value) {
    if (!std::isfinite(value)) {
        failOverflow("a value is too large to write");
    }
    if (value == 0.0) {
        return {"0", 0};
    }
    // Most values the scripts hold are whole numbers, halves or 64ths. When the value times 10^6
    // comes out whole and below 10^15, those are its 15 significant digits exactly: the product
    // is off the true one by less than half a step of the 15-digit grid.
    const double magnitude = std::fabs(value);
    char buffer[32] = {};
    char* first = buffer;
    char* end = nullptr;
    int exponent = 0;
    if (const double millionths = magnitude * 1e6;
        millionths < 1e15 && millionths == std::trunc(millionths)) {
        end = std::to_chars(buffer, buffer + sizeof buffer, static_cast<long long>(millionths)).ptr;
        exponent = static_cast<int>(end - buffer) - 7;
    } else {
        // d.dddddddddddddde±x: the first digit moves up over the point.
        char* const last = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                         std::chars_format::scientific, 14)
                               .ptr;
        end = std::find(buffer, last, 'e');
        std::from_chars(end + (end[1] == '+' ? 2 : 1), last, exponent);
        buffer[1] = buffer[0];
        first = buffer + 1;
    }
    while (end[-1] == '0') { // the first digit is never 0
        --end;
    }
    return {std::string(first, end), exponent};
}

namespace {

// The one writer of decimal numbers. The value is taken to 15 significant digits and then, with
// decimals of 0 or more, rounded half away from zero to that many decimals (so that 1 + 0.15 rounds
// as 1.15 does on paper); with decimals below 0 every significant digit is kept. Plain notation,
// "." as the decimal point, and with grouped a "," between thousands.
std::string Decimal_text(double value, int decimals, bool grouped) {
    SignificantDigits number = Significant_digits(value);
    std::string& digits = number.digits;
    int& exponent = number.exponent;
    if (decimals >= 0) {
        const int keep = exponent + 1 + decimals; // digits in front of the rounding place
        if (keep < static_cast<int>(digits.size())) {
            const bool roundUp = keep >= 0 && digits[static_cast<std::size_t>(keep)] >= '5';
            digits.resize(static_cast<std::size_t>(std::max(keep, 0)));
            std::size_t i = digits.size();
            for (; roundUp && i > 0 && digits[i - 1] == '9'; --i) {
                digits[i - 1] = '0';
            }
            if (roundUp && i > 0) {
                ++digits[i - 1];
            } else if (roundUp) { // all nines, or nothing in front of the rounding place
                digits.insert(digits.begin(), '1');
                ++exponent;
            } else if (digits.empty()) {
                digits = "0";
                exponent = 0;
            }
        }
    }
    const int lowest =
        decimals >= 0 ? -decimals : std::min(0, exponent + 1 - static_cast<int>(digits.size()));
    const auto digitAt = [&digits, exponent](int power) {
        const int index = exponent - power;
        return index >= 0 && index < static_cast<int>(digits.size())
                   ? digits[static_cast<std::size_t>(index)]
                   : '0';
    };
    const bool negative = value < 0.0 && digits.find_first_not_of('0') != std::string::npos;
    const int highest = std::max(exponent, 0);
    const int commas = grouped ? highest / 3 : 0;
    std::string text(
        static_cast<std::size_t>(negative + highest + 1 + commas + (lowest < 0 ? 1 - lowest : 0)),
        '-');
    auto out = text.begin() + negative;
    for (int power = highest; power >= lowest; --power) {
        if (power == -1) {
            *out++ = '.';
        }
        *out++ = digitAt(power);
        if (grouped && power > 0 && power % 3 == 0) {
            *out++ = ',';
        }
    }
    return text;
}

} // namespace

std::string Format_coordinate(double value) { return Decimal_text(value, 1, true); }

std::string Format_plain(double value) { return Decimal_text(value, -1, false); }

std::string Convert_rotation(std::string_view text) {
    if (text == "0") {
        return "0";
    }
    return Decimal_text(Leading_number_value(text) / 2.84444444444444, 0, true);
}

std::string Convert_face(std::string_view text) {
    if (text == "0") {
        return "left";
    }
    if (text == "1") {
        return "right";
    }
    if (text == "2") {
        return "top";
    }
    if (text == "3") {
        return "bottom";
    }
    return "UNSUPPORTED_FACE";
}

} // namespace brennic::engine
