#include "engine/AddTexts.h"

#include "engine/GTA1TextFile.h"
#include "engine/MissionLine.h"
#include "engine/RunFailure.h"
#include "engine/Tables.h"
#include "platform/FileSystem.h"
#include "platform/TextReader.h"
#include "platform/TextWriter.h"

#include <bitset>

namespace brennic::engine {

namespace {

// As much as TextTable holds.
constexpr std::size_t kMaxTextFileSize = 16 << 20;
constexpr char kCtrlZ = '\x1a';

using Numbers = std::bitset<TextTable::intMaxIndex + 1>;

// The numbers a text file gives a text: those under which Load_TextTable stores a line, whatever
// the line's form ("[12.5]ab", "x7]hello") and even when its text is empty. A line added for one
// of them would replace that entry (a later line wins), and the user's lines are to keep their
// meaning. Load_TextTable itself finds them, over a table whose entries hold a line feed, which
// no line can hold.
std::optional<Numbers> numbersGiven(const std::filesystem::path& textFile,
                                    platform::IoError& error) {
    auto reader = platform::LineReader::open(textFile, kMaxLineLength, error);
    if (!reader) {
        return std::nullopt;
    }
    const std::string unset = "\n";
    TextTable table;
    for (int i = 1; i <= TextTable::intMaxIndex; ++i) {
        table.set(i, unset);
    }
    try {
        Load_TextTable(table, *reader, platform::textFromPath(textFile));
    } catch (const RunFailure& failure) {
        error = platform::IoError{.kind = platform::IoErrorKind::Other,
                                  .description = failure.description()};
        return std::nullopt;
    }
    Numbers given;
    for (int i = 1; i <= TextTable::intMaxIndex; ++i) {
        given[static_cast<std::size_t>(i)] = table.at(i) != unset;
    }
    return given;
}

} // namespace

std::optional<AddedTexts> Add_GTA1_texts(const std::filesystem::path& gta1File,
                                         const std::filesystem::path& textFile,
                                         platform::IoError& error) {
    const auto texts = Read_GTA1_text_file(gta1File, platform::textFromPath(gta1File), error);
    if (!texts) {
        return std::nullopt;
    }
    AddedTexts result{.warnings = texts->warnings};

    // A text file that is not there yet gives no text; any other failure to read it ends here.
    auto existing = platform::readWholeFile(textFile, kMaxTextFileSize, error);
    const bool existed = existing.has_value();
    if (!existed && error.kind != platform::IoErrorKind::NotFound) {
        return std::nullopt;
    }
    Numbers given;
    if (existed) {
        const auto numbers = numbersGiven(textFile, error);
        if (!numbers) {
            return std::nullopt;
        }
        given = *numbers;
    }
    std::vector<const GTA1Text*> added;
    for (const GTA1Text& text : texts->texts) {
        if (!given[static_cast<std::size_t>(text.number)]) {
            added.push_back(&text);
        }
    }
    if (added.empty()) {
        return result;
    }

    // Put in place only when whole; a text file linked from elsewhere stays linked.
    auto writer = platform::TextWriter::replace(textFile, platform::SpecialFiles::Refuse, error);
    if (!writer) {
        return std::nullopt;
    }
    const std::string_view bytes = existed ? std::string_view(*existing) : std::string_view();
    const std::string_view lines = bytes.substr(0, bytes.find(kCtrlZ));
    writer->write(lines);
    if (!lines.empty() && lines.back() != '\r' && lines.back() != '\n') {
        writer->writeLine("");
    }
    for (const GTA1Text* text : added) {
        writer->writeLine({"[", std::to_string(text->number), "]", text->text});
    }
    writer->write(bytes.substr(lines.size()));
    if (const auto failure = writer->close()) {
        error = *failure;
        return std::nullopt;
    }
    result.count = static_cast<int>(added.size());
    return result;
}

} // namespace brennic::engine
