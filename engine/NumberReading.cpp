#include "engine/NumberReading.h"

#include "engine/RunFailure.h"
#include "platform/Ascii.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <optional>
#include <string>
#include <system_error>

namespace brennic::engine {

namespace {

// Users meet these failures on a mission line, so they name its reader.
constexpr std::string_view kSource = "MissionLine";

using platform::asciiUpper;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

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
            Fail_overflow("the number " + std::string(text) + " is too large");
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
        Fail_overflow("the number " + std::string(text.substr(0, i)) + " is too large");
    }
    if (used != nullptr) {
        *used = i;
    }
    return value;
}

bool isValBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

} // namespace

void Fail_overflow(std::string_view what) {
    throw RunFailure(std::string(kSource), "Overflow: " + std::string(what), ErrorNumber::Overflow);
}

double Leading_number_value(std::string_view text) {
    // A plain whole number of up to 15 digits, what coordinates and fields mostly are, adds up
    // exactly as it is read; anything else takes the full reading.
    double whole = 0.0;
    std::size_t digits = 0;
    for (; digits < text.size() && isDigit(text[digits]); ++digits) {
        whole = whole * 10 + (text[digits] - '0');
    }
    if (digits == text.size() && digits != 0 && digits <= 15) {
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
        throw RunFailure(std::string(kSource),
                         "Type mismatch: \"" + std::string(token) + "\" is not a number",
                         ErrorNumber::TypeMismatch);
    }
    return std::nearbyint(value);
}

double Nearest_whole_value(std::string_view text) {
    return std::nearbyint(Leading_number_value(text));
}

} // namespace brennic::engine
