#pragma once

#include <algorithm>
#include <string>
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

constexpr bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && equalIgnoringCase(text.substr(0, prefix.size()), prefix);
}

// The text with its letters upper-cased, as a name compared ignoring case is kept.
inline std::string asciiUpperCopy(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), asciiUpper);
    return out;
}

// The text as a message shows it: control bytes other than TAB, which a terminal or a message box
// would act on (ESC [2J clears a terminal), become visible escapes such as \x1b; every other byte
// stays. Files the program writes keep their bytes: this is for what a user reads.
inline std::string escapeControlBytes(std::string_view text) {
    constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t') || byte == 0x7F) {
            out += {'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace brennic::platform
