#pragma once

#include <string_view>

namespace brennic::engine {

// Numbers as the classic BASIC run time read them, from mission lines, text-file entries and the
// offset boxes alike. A value beyond the double range is a run failure.

// The leading number of a text, as Val reads it: blanks, tabs and line feeds anywhere are ignored,
// &H and &O introduce hexadecimal and octal, "." is always the decimal point, and no number at the
// front reads 0.
double Leading_number_value(std::string_view text);
// A token that must be a number as a whole (blanks around it allowed), rounded to the nearest
// whole number with halves to even. Anything else is a run failure.
double Whole_number_value(std::string_view token);
// The leading-number value rounded to the nearest whole number, halves to even.
double Nearest_whole_value(std::string_view text);

// The failure of a number too large for the program's arithmetic: what says which.
[[noreturn]] void Fail_overflow(std::string_view what);

} // namespace brennic::engine
