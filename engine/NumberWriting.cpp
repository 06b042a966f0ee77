#include "engine/NumberWriting.h"

#include "engine/NumberReading.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace brennic::engine {

namespace {

// A value taken to 15 significant digits: the digits without trailing zeros ("0" for zero) and
// the power of ten of the first one.
struct SignificantDigits {
    std::string digits{};
    int exponent = 0;
};

SignificantDigits Significant_digits(double value) {
    if (!std::isfinite(value)) {
        Fail_overflow("a value is too large to write");
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

std::string Offset_text(double value) {
    const SignificantDigits number = Significant_digits(value);
    if (number.exponent >= -4 && number.exponent < 15) {
        return Format_plain(value);
    }
    std::string text = value < 0.0 ? "-" : "";
    text += number.digits.front();
    if (number.digits.size() > 1) {
        text += '.';
        text.append(number.digits, 1);
    }
    const int magnitude = number.exponent < 0 ? -number.exponent : number.exponent;
    text += number.exponent < 0 ? "E-" : "E+";
    text += magnitude < 10 ? "0" : "";
    text += std::to_string(magnitude);
    return text;
}

} // namespace brennic::engine
