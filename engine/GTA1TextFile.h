#pragma once

#include "engine/Tables.h"
#include "platform/IoError.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brennic::engine {

// GTA1's own text files (ENGLISH.FXT, FRENCH.FXT, ... in its data folder) hold the texts its
// mission briefs show, under the same numbers an e.txt gives. The format, as published by the
// Unofficial GTA Reference Handbook (page "*.FXT"), GTAViewer (src/strings.d) and carnage3d
// (src/GameTextsManager.cpp, whose later versions read the 1997 demo's files as well):
// - every byte is shifted by a constant (retail: -1, demo: +28), and the first eight bytes also by
//   0x63 (retail) or 0x67 (demo) shifted left by their position, all modulo 256; so the first
//   byte, always an encoded "[", tells the variants apart;
// - a decoded 0xC3 is dropped and 64 added to the byte after it, which gives the accented letters
//   in Latin-1 (as the Windows code page 1252 holds them);
// - records "[key]text" follow each other, each ended by a 0 byte, and "[]" ends the file.

// Larger files are no GTA1 text file: the game's own are well below 100 KB.
inline constexpr std::size_t kMaxGTA1TextFileSize = 4 << 20;

struct GTA1Text {
    int number = 0;     // 1 to 9000
    std::string text{}; // as the text of an e.txt line gives it
};

// The brief texts of a GTA1 text file in the file's order, each number once: the first record of
// a number, which is the one the game finds. Keys that are no number written plainly from 1 to
// 9000 (help1, mission3, 01, ...) are no brief texts. Warnings name the file.
struct GTA1Texts {
    std::vector<GTA1Text> texts{};
    std::vector<std::string> warnings{};
};

// Whether the bytes start as a GTA1 text file does: with 0xBF (retail) or 0xA6 (the demo), each an
// encoded "[". An e.txt starts with a plain character, so the first byte tells the two apart.
bool Is_GTA1_text(std::string_view bytes);
// The same for a file, by its first byte; nullopt with error when it cannot be read.
std::optional<bool> Is_GTA1_text_file(const std::filesystem::path& path, platform::IoError& error);

// Reads the bytes of a GTA1 text file; fileName names it in the failure and the warnings. A
// failure (nullopt, error set): it is empty or its first byte is neither 0xBF nor 0xA6. A file cut
// short keeps the complete records before the cut, with a warning.
std::optional<GTA1Texts> Read_GTA1_texts(std::string_view bytes, std::string_view fileName,
                                         platform::IoError& error);
// The same for a file; a file of more than 4 MB is a failure too, and so is one that cannot be
// read.
std::optional<GTA1Texts> Read_GTA1_text_file(const std::filesystem::path& path,
                                             std::string_view fileName, platform::IoError& error);

// Sets the texts over the table's entries, as the lines of an e.txt are set.
void Load_TextTable(TextTable& table, const GTA1Texts& texts);

// Sets the texts of a text file of either form over the table's entries: a GTA1 text file when its
// first byte says so, otherwise one of the e.txt form. A file that cannot be read or used is a run
// failure naming it as fileName does; the warnings of a GTA1 text file are returned.
std::vector<std::string> Load_TextTable(TextTable& table, const std::filesystem::path& file,
                                        std::string_view fileName);

} // namespace brennic::engine
