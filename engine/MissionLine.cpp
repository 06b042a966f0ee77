#include "engine/MissionLine.h"

#include "engine/RunFailure.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <system_error>

namespace brennic::engine {

namespace {

constexpr std::string_view kScanner = "MissionLine";

char asciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
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

// Decimal digits of |value| * 10^fractionDigits, rounded half away from zero after the value has
// been taken to 15 significant digits (so 1 + 0.15 rounds as 1.15 does on paper).
std::string roundedDigits(double value, int fractionDigits) {
    if (!std::isfinite(value)) {
        failOverflow("a value is too large to write");
    }
    if (value == 0.0) {
        return "0";
    }
    // Coordinates and angles are small and rarely end in a half: away from one, taking the value
    // to 15 digits first cannot change which way it rounds, and plain arithmetic gives the digits.
    double scaled = std::fabs(value);
    for (int i = 0; i < fractionDigits; ++i) {
        scaled *= 10.0;
    }
    if (scaled < 1e8) {
        const double whole = std::floor(scaled);
        const double fraction = scaled - whole;
        if (std::fabs(fraction - 0.5) > 1e-6) {
            return std::to_string(static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1 : 0));
        }
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific, 14);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    std::string digits;
    digits += text[0];
    digits.append(text.substr(2, 14));
    int exponent = 0;
    const std::size_t e = text.find('e');
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(),
                    exponent);
    const int shift = exponent - 14 + fractionDigits;
    if (shift >= 0) {
        digits.append(static_cast<std::size_t>(shift), '0');
        return digits;
    }
    const int keep = 15 + shift;
    if (keep < 0) {
        return "0";
    }
    const bool roundUp = digits[static_cast<std::size_t>(keep)] >= '5';
    digits.resize(static_cast<std::size_t>(keep));
    if (roundUp) {
        std::size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9') {
            digits[--i] = '0';
        }
        if (i == 0) {
            digits.insert(digits.begin(), '1');
        } else {
            ++digits[i - 1];
        }
    }
    const std::size_t firstNonZero = digits.find_first_not_of('0');
    return firstNonZero == std::string::npos ? "0" : digits.substr(firstNonZero);
}

std::string grouped(std::string_view digits) {
    std::string text;
    text.reserve(digits.size() + digits.size() / 3);
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            text += ',';
        }
        text += digits[i];
    }
    return text;
}

} // namespace

std::string_view charAt(const MissionLine& line, int position) {
    if (position < 1 || static_cast<std::size_t>(position) > length(line)) {
        return {};
    }
    return std::string_view(line.strRead).substr(static_cast<std::size_t>(position - 1), 1);
}

void stepCursor(MissionLine& line, int count) {
    if (line.intLinePosition + count > kMaxCursor) {
        failOverflow("the line position passes 32767");
    }
    line.intLinePosition += count;
}

void setCursor(MissionLine& line, std::size_t position) {
    if (position > static_cast<std::size_t>(kMaxCursor)) {
        failOverflow("the line position passes 32767");
    }
    line.intLinePosition = static_cast<int>(position);
}

std::string Keep_Adding_Chars_to_strGotoLine_until_a_space_is_detected(MissionLine& line) {
    // Fields are a few characters long: a plain loop beats a library search here.
    const char* begin = line.strRead.data() + cursorOffset(line);
    const char* end = line.strRead.data() + length(line);
    const char* stop = begin;
    while (stop != end && *stop != ' ') {
        ++stop;
    }
    stepCursor(line, static_cast<int>(stop - begin));
    return std::string(begin, stop);
}

void Skip_value(MissionLine& line) {
    const std::size_t from = cursorOffset(line);
    std::size_t to = line.strRead.find(' ', from);
    if (to == std::string::npos) {
        to = length(line);
    }
    stepCursor(line, static_cast<int>(to - from));
}

bool Is_keyword_at_cursor(const MissionLine& line, std::string_view keyword) {
    const auto from = static_cast<std::size_t>(line.intLinePosition - 1);
    if (from >= length(line) || length(line) - from < keyword.size()) {
        return false;
    }
    const char* text = line.strRead.data() + from;
    std::size_t i = 0;
    // Eight letters at a time: a to z lose their 0x20 bit, every other byte stays as it is.
    for (; keyword.size() - i >= 8; i += 8) {
        constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
        std::uint64_t word;
        std::uint64_t expected;
        std::memcpy(&word, text + i, 8);
        std::memcpy(&expected, keyword.data() + i, 8);
        const std::uint64_t low = word & (kOnes * 0x7f);
        const std::uint64_t fromA = low + kOnes * (0x80 - 'a');
        const std::uint64_t pastZ = low + kOnes * (0x80 - 'z' - 1);
        const std::uint64_t lower = fromA & ~pastZ & ~word & (kOnes * 0x80);
        if ((word ^ (lower >> 2)) != expected) {
            return false;
        }
    }
    for (; i < keyword.size(); ++i) {
        if (asciiUpper(text[i]) != keyword[i]) {
            return false;
        }
    }
    return true;
}

bool Is_exact_keyword_at_cursor(const MissionLine& line, std::string_view keyword) {
    const auto from = static_cast<std::size_t>(line.intLinePosition - 1);
    return from < length(line) &&
           std::string_view(line.strRead).substr(from, keyword.size()) == keyword;
}

double Leading_number_value(std::string_view text) {
    // Fast path for the plain whole numbers that coordinates and fields mostly are: up to 15
    // digits (exact in a double) followed by the end or a character that cannot continue them.
    {
        std::size_t i = 0;
        while (i < text.size() && text[i] == ' ') {
            ++i;
        }
        const bool negative = i < text.size() && text[i] == '-';
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
            ++i;
        }
        const std::size_t first = i;
        std::uint64_t whole = 0;
        while (i < text.size() && isDigit(text[i]) && i - first < 15) {
            whole = whole * 10 + static_cast<std::uint64_t>(text[i] - '0');
            ++i;
        }
        const bool continues =
            i < text.size() && (isDigit(text[i]) || text[i] == '.' || text[i] == 'E' ||
                                text[i] == 'e' || isValBlank(text[i]));
        if (i > first && !continues) {
            const auto value = static_cast<double>(whole);
            return negative ? -value : value;
        }
    }
    // Only the characters up to the end of the number matter, blanks aside; collect those.
    std::string compact;
    for (const char c : text) {
        if (isValBlank(c)) {
            continue;
        }
        const bool partOfNumber = isDigit(c) || c == '.' || c == '+' || c == '-' || c == 'E' ||
                                  c == 'e' || c == '&' || hexDigit(c) >= 0 ||
                                  asciiUpper(c) == 'H' || asciiUpper(c) == 'O';
        if (!partOfNumber) {
            break;
        }
        compact += c;
    }
    if (const auto radix = radixValue(compact)) {
        return *radix;
    }
    const std::size_t used = decimalLength(compact, true);
    return used == 0 ? 0.0 : decimalValue(std::string_view(compact).substr(0, used));
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

std::string Format_coordinate(double value) {
    // The usual case, as roundedDigits' plain path: tenths well away from a half, written at once.
    if (const double scaled = std::fabs(value) * 10.0; scaled < 1e8) {
        const double whole = std::floor(scaled);
        const double fraction = scaled - whole;
        if (std::fabs(fraction - 0.5) > 1e-6) {
            auto tenths = static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
            const bool negative = value < 0.0 && tenths != 0;
            char buffer[16];
            char* out = buffer + sizeof buffer;
            *--out = static_cast<char>('0' + tenths % 10);
            *--out = '.';
            tenths /= 10;
            for (int group = 0;; ++group) {
                if (group == 3) {
                    *--out = ',';
                    group = 0;
                }
                *--out = static_cast<char>('0' + tenths % 10);
                tenths /= 10;
                if (tenths == 0) {
                    break;
                }
            }
            if (negative) {
                *--out = '-';
            }
            return std::string(out, buffer + sizeof buffer);
        }
    }
    const std::string digits = roundedDigits(value, 1);
    std::string text;
    if (value < 0.0 && digits != "0") {
        text += '-';
    }
    const std::string_view all(digits);
    text += digits.size() > 1 ? grouped(all.substr(0, all.size() - 1)) : "0";
    text += '.';
    text += all.back();
    return text;
}

std::string Format_plain(double value) {
    if (!std::isfinite(value)) {
        failOverflow("a value is too large to write");
    }
    if (value == 0.0) {
        return "0";
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific, 14);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    std::string digits;
    digits += text[0];
    digits.append(text.substr(2, 14));
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }
    const std::size_t e = text.find('e');
    int exponent = 0;
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(),
                    exponent);

    std::string out = value < 0.0 ? "-" : "";
    if (exponent < -4 || exponent >= 15) {
        out += digits[0];
        if (digits.size() > 1) {
            out += '.';
            out.append(digits, 1);
        }
        out += exponent < 0 ? "E-" : "E+";
        const int magnitude = exponent < 0 ? -exponent : exponent;
        if (magnitude < 10) {
            out += '0';
        }
        out += std::to_string(magnitude);
    } else if (exponent < 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
    } else {
        const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= integerDigits) {
            out += digits;
            out.append(integerDigits - digits.size(), '0');
        } else {
            out.append(digits, 0, integerDigits);
            out += '.';
            out.append(digits, integerDigits);
        }
    }
    return out;
}

std::string Convert_rotation(std::string_view text) {
    if (text == "0") {
        return "0";
    }
    const double degrees = Leading_number_value(text) / 2.84444444444444;
    const std::string digits = roundedDigits(degrees, 0);
    std::string rotation = degrees < 0.0 && digits != "0" ? "-" : "";
    rotation += grouped(digits);
    return rotation;
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
