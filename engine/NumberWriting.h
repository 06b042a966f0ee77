#pragma once

#include <string>
#include <string_view>

namespace brennic::engine {

// Numbers as the scripts and the offset boxes show them: taken to 15 significant digits, as the
// classic BASIC run time did, then rounded for display. "." is always the decimal point and ","
// the thousands separator, whatever the user's regional settings. A value beyond the double range
// is a run failure.

// One decimal, half away from zero, "," between thousands: 1234.5 gives 1,234.5.
std::string Format_coordinate(double value);
// Up to 15 significant digits in plain decimal notation, no grouping or trailing zeros: 7.8125,
// 0.3, -2.25, 0.00005, 1562500000000000000.
std::string Format_plain(double value);
// A GTA1 rotation (1024 units a turn) as whole GTA2 degrees; "0" stays "0".
std::string Convert_rotation(std::string_view text);
// An offset as the window writes it back into its box: up to 15 significant digits, no trailing
// zeros, and exponent form for very small or very large numbers (1E-05, 1.5E+15).
std::string Offset_text(double value);

} // namespace brennic::engine
