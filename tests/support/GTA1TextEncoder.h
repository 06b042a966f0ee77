#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace brennic::test {

enum class GTA1Variant { Retail, Demo };

// The bytes of a GTA1 text file that decode to plain, so that tests need no game file. Accents
// are left to the caller (a 0xC3 byte, then the letter less 64).
inline std::string encodeGTA1(std::string_view plain, GTA1Variant variant = GTA1Variant::Retail) {
    const bool demo = variant == GTA1Variant::Demo;
    const unsigned mask = demo ? 0x67 : 0x63;
    const unsigned shift = demo ? 256 - 28 : 1;
    std::string bytes;
    for (std::size_t i = 0; i < plain.size(); ++i) {
        unsigned byte = static_cast<unsigned char>(plain[i]) + shift;
        if (i < 8) {
            byte += (mask << i) & 0xFF;
        }
        bytes.push_back(static_cast<char>(byte & 0xFF));
    }
    return bytes;
}

// The plain content of a well-formed file: each record "[key]text" ended by a 0 byte, then "[]".
inline std::string gta1Records(std::initializer_list<std::string_view> records) {
    std::string plain;
    for (const std::string_view record : records) {
        plain += record;
        plain += '\0';
    }
    return plain + "[]" + '\0';
}

} // namespace brennic::test
