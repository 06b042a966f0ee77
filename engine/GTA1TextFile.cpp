#include "engine/GTA1TextFile.h"

#include "engine/MissionLine.h"
#include "engine/RunFailure.h"
#include "platform/FileSystem.h"
#include "platform/TextReader.h"

#include <algorithm>
#include <bitset>

namespace brennic::engine {

namespace {

constexpr unsigned kRetailFirstByte = 0xBF;
constexpr unsigned kDemoFirstByte = 0xA6;
constexpr std::size_t kMaskedBytes = 8;
constexpr unsigned kAccentMark = 0xC3;
constexpr unsigned kAccentShift = 64;
// The longest head of an e.txt line is "[9000]": a longer text would not fit the line the text
// file's reader takes whole.
constexpr std::size_t kMaxTextLength = kMaxLineLength - std::string_view("[9000]").size();

unsigned firstByte(std::string_view bytes) { return static_cast<unsigned char>(bytes.front()); }

// The plain bytes, accents applied. The accent comes before the records are found, as in the
// game: a 0xC3 before the 0 that ends a record makes that 0 a letter.
std::string decoded(std::string_view bytes) {
    const bool demo = firstByte(bytes) == kDemoFirstByte;
    const unsigned shift = demo ? 28 : 255; // 255 is -1 modulo 256
    const unsigned mask = demo ? 0x67 : 0x63;
    std::string plain;
    plain.reserve(bytes.size());
    bool accent = false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        unsigned byte = static_cast<unsigned char>(bytes[i]) + shift;
        if (i < kMaskedBytes) {
            byte -= (mask << i) & 0xFF;
        }
        byte &= 0xFF;
        if (accent) {
            byte = (byte + kAccentShift) & 0xFF;
            accent = false;
        } else if (byte == kAccentMark) {
            accent = true;
            continue;
        }
        plain.push_back(static_cast<char>(byte));
    }
    return plain;
}

// The text number a key gives, 0 for none: digits only, no leading zero, 1 to 9000.
int textNumber(std::string_view key) {
    if (key.empty() || key.size() > 4 || key.front() == '0' ||
        !std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return 0;
    }
    int number = 0;
    for (const char c : key) {
        number = number * 10 + (c - '0');
    }
    return number <= TextTable::intMaxIndex ? number : 0;
}

// A text as an e.txt line would give it: one line (a line end or the Ctrl-Z that ends a text
// file would cut it there), within the length of a line, without trailing blanks.
std::string lineText(std::string_view raw, bool& cut) {
    std::string text(raw.substr(0, kMaxTextLength));
    cut = raw.size() > kMaxTextLength;
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n' || c == '\x1a'; },
        ' ');
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

platform::IoError notGTA1(std::string_view fileName, std::string_view why) {
    return platform::IoError{.kind = platform::IoErrorKind::Other,
                             .description = std::string(fileName) + " is not a GTA1 text file (" +
                                            std::string(why) + ")"};
}

} // namespace

bool Is_GTA1_text(std::string_view bytes) {
    return !bytes.empty() &&
           (firstByte(bytes) == kRetailFirstByte || firstByte(bytes) == kDemoFirstByte);
}

std::optional<bool> Is_GTA1_text_file(const std::filesystem::path& path, platform::IoError& error) {
    // A reader of one-byte lines: its first line, or where it stops as too long, holds the first
    // byte unless that is a line end (and so no GTA1 file).
    auto reader = platform::LineReader::open(path, 1, error);
    if (!reader) {
        return std::nullopt;
    }
    std::string first;
    if (reader->readLine(first) == platform::LineReader::Result::Failed) {
        error = *reader->failure();
        return std::nullopt;
    }
    return Is_GTA1_text(first);
}

std::optional<GTA1Texts> Read_GTA1_texts(std::string_view bytes, std::string_view fileName,
                                         platform::IoError& error) {
    if (bytes.empty()) {
        error = notGTA1(fileName, "it is empty");
        return std::nullopt;
    }
    if (!Is_GTA1_text(bytes)) {
        error = notGTA1(fileName, "its first byte is neither BF nor A6");
        return std::nullopt;
    }
    const std::string plain = decoded(bytes);
    GTA1Texts result;
    std::bitset<TextTable::intMaxIndex + 1> found;
    std::size_t pos = 0;
    for (;;) {
        // Like the game, look for a "[" and pass over whatever stands before it; a "[" before the
        // "]" starts the key anew.
        std::size_t open = plain.find('[', pos);
        if (open == std::string::npos) {
            break;
        }
        std::size_t close = plain.find_first_of("[]", open + 1);
        while (close != std::string::npos && plain[close] == '[') {
            open = close;
            close = plain.find_first_of("[]", open + 1);
        }
        if (close == std::string::npos) {
            break;
        }
        if (close == open + 1) {
            return result; // "[]": the end
        }
        const std::size_t end = plain.find('\0', close + 1);
        if (end == std::string::npos) {
            break;
        }
        const int number = textNumber(std::string_view(plain).substr(open + 1, close - open - 1));
        if (number > 0 && !found[static_cast<std::size_t>(number)]) {
            found[static_cast<std::size_t>(number)] = true;
            bool cut = false;
            result.texts.push_back(GTA1Text{
                .number = number,
                .text = lineText(std::string_view(plain).substr(close + 1, end - close - 1), cut)});
            if (cut) {
                result.warnings.push_back(std::string(fileName) + ": text " +
                                          std::to_string(number) + " is cut to its first " +
                                          std::to_string(kMaxTextLength) + " characters");
            }
        }
        pos = end + 1;
    }
    result.warnings.push_back(std::string(fileName) +
                              " is cut short (it does not end with \"[]\"); only the texts before "
                              "the cut were read");
    return result;
}

std::optional<GTA1Texts> Read_GTA1_text_file(const std::filesystem::path& path,
                                             std::string_view fileName, platform::IoError& error) {
    const auto bytes = platform::readWholeFile(path, kMaxGTA1TextFileSize, error);
    if (!bytes) {
        if (error.kind == platform::IoErrorKind::TooLarge) {
            error = notGTA1(fileName, "it holds more than 4 MB");
        }
        return std::nullopt;
    }
    return Read_GTA1_texts(*bytes, fileName, error);
}

void Load_TextTable(TextTable& table, const GTA1Texts& texts) {
    for (const auto& [number, text] : texts.texts) {
        table.set(number, text);
    }
}

std::vector<std::string> Load_TextTable(TextTable& table, const std::filesystem::path& file,
                                        std::string_view fileName) {
    platform::IoError error;
    const std::optional<bool> gta1 = Is_GTA1_text_file(file, error);
    if (gta1 && *gta1) {
        const auto texts = Read_GTA1_text_file(file, fileName, error);
        if (texts) {
            Load_TextTable(table, *texts);
            return texts->warnings;
        }
    } else if (gta1) {
        if (auto reader = platform::LineReader::open(file, kMaxLineLength, error)) {
            Load_TextTable(table, *reader, fileName);
            return {};
        }
    }
    throw RunFailure("TextTable", error);
}

} // namespace brennic::engine
