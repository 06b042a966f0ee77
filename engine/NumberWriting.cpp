#include "engine/NumberWriting.h"

#include "engine/NumberReading.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>

namespace brennic::engine {

namespace {

// A value taken to 15 significant digits: digits × 10^exponent, with digits below 10^15 (trailing
// zeros are left to the writers that drop them).
struct SignificantDigits {
    std::uint64_t digits = 0;
    int exponent = 0;
};

SignificantDigits Significant_digits(double value) {
    if (!std::isfinite(value)) {
        Fail_overflow("a value is too large to write");
    }
    const double magnitude = std::fabs(value);
    SignificantDigits number;
    // The value is a whole number over 2^k, whose exact decimal digits are that number times 5^k,
    // over 10^k. Whole numbers, halves, 64ths and their sums, what the scripts mostly hold, come
    // to 15 digits or fewer that way: then those are exactly its 15 significant digits. (Doubling
    // is exact.)
    double scaled = magnitude;
    std::uint64_t fives = 1;
    int k = 0;
    // Each doubling adds a decimal; a product below 10^15 in doubles is one in whole numbers too.
    // (5^k stays below it as well, so a tiny value stops in time.)
    const auto fits = [&scaled, &fives] {
        return scaled * static_cast<double>(fives) < 1e15 && fives < 1'000'000'000'000'000;
    };
    while (scaled != std::trunc(scaled) && fits()) {
        scaled *= 2;
        fives *= 5;
        ++k;
    }
    if (scaled == std::trunc(scaled) && fits()) {
        number = {static_cast<std::uint64_t>(scaled) * fives, -k};
    } else {
        // d.dddddddddddddde±x, rounded from the exact binary value.
        char text[32];
        char* const end =
            std::to_chars(text, std::end(text), magnitude, std::chars_format::scientific, 14).ptr;
        const char* const e = std::find(text, end, 'e');
        for (const char* c = text; c != e; ++c) {
            if (*c != '.') {
                number.digits = number.digits * 10 + static_cast<std::uint64_t>(*c - '0');
            }
        }
        std::from_chars(e + (e[1] == '+' ? 2 : 1), end, number.exponent);
        number.exponent -= 14;
    }
    return number;
}

// The same value without the trailing zeros of its digits; zero as 0 × 10^0.
void Drop_trailing_zeros(SignificantDigits& number) {
    if (number.digits == 0) {
        number.exponent = 0;
    }
    while (number.digits % 10 == 0 && number.digits != 0) {
        number.digits /= 10;
        ++number.exponent;
    }
}

// A double has at most 309 whole digits (with 102 commas between them) or 338 decimals.
constexpr std::size_t kLongestText = 512;

// The one writer of decimal numbers. The value is taken to 15 significant digits and then, with
// decimals of 0 or more, rounded half away from zero to that many decimals (so that 1 + 0.15 rounds
// as 1.15 does on paper); with decimals below 0 every significant digit is kept. Plain notation,
// "." as the decimal point, and with grouped a "," between thousands.
std::string Decimal_text(double value, int decimals, bool grouped) {
    SignificantDigits number = Significant_digits(value);
    if (decimals < 0) {
        Drop_trailing_zeros(number);
        decimals = std::max(-number.exponent, 0);
    }
    auto& [digits, exponent] = number;
    if (exponent < -decimals) {
        const int dropped = -decimals - exponent; // digits behind the last decimal kept
        // 10^dropped, held at 10^16: the digits, below 10^15, round to 0 against that already.
        std::uint64_t unit = 1;
        for (int i = 0; i < dropped && i < 16; ++i) {
            unit *= 10;
        }
        digits = (digits + unit / 2) / unit;
        exponent = -decimals;
    }
    const bool negative = value < 0.0 && digits != 0;
    // Written from the last decimal on towards the front; zeros stand below the first digit.
    char text[kLongestText];
    char* out = std::end(text);
    for (int power = -decimals; power <= 0 || digits != 0; ++power) {
        if (power == 0 && decimals > 0) {
            *--out = '.';
        } else if (grouped && power > 0 && power % 3 == 0) {
            *--out = ',';
        }
        if (power < exponent) {
            *--out = '0';
        } else {
            *--out = static_cast<char>('0' + digits % 10);
            digits /= 10;
        }
    }
    if (negative) {
        *--out = '-';
    }
    return std::string(out, std::end(text));
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

std::string Offset_text(double value) {
    SignificantDigits number = Significant_digits(value);
    Drop_trailing_zeros(number);
    char digits[24];
    char* const end = std::to_chars(digits, std::end(digits), number.digits).ptr;
    const auto count = static_cast<int>(end - digits);
    const int first = number.exponent + count - 1; // the power of ten of the first digit
    if (first >= -4 && first < 15) {
        return Format_plain(value);
    }
    std::string text = value < 0.0 ? "-" : "";
    text += digits[0];
    if (count > 1) {
        text += '.';
        text.append(digits + 1, end);
    }
    text += first < 0 ? "E-" : "E+";
    text += (first < 10 && first > -10) ? "0" : "";
    text += std::to_string(first < 0 ? -first : first);
    return text;
}

} // namespace brennic::engine
