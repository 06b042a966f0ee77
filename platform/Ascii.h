#pragma once

#include <algorithm>
#include <string_view>

namespace brennic::platform {

// Letter case as the program compares it: only A to Z and a to z fold; every other byte, the
// 8-bit letters of the code page included, stays as it is.
constexpr char asciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

constexpr bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return asciiUpper(x) == asciiUpper(y);
           });
}

} // namespace brennic::platform
