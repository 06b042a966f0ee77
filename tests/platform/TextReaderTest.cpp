#include "platform/TextReader.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace brennic::platform;
using brennic::test::TempFolder;
using brennic::test::writeFile;

namespace {

// The lines of bytes up to the first result that is not a line, which must be `last`.
std::vector<std::string> linesOf(const std::string& bytes, std::size_t maxLength = 1 << 30,
                                 LineReader::Result last = LineReader::Result::End) {
    TempFolder temp;
    writeFile(temp / "in.txt", bytes);
    IoError error;
    auto reader = LineReader::open(temp / "in.txt", maxLength, error);
    EXPECT_TRUE(reader.has_value());
    std::vector<std::string> lines;
    std::string line;
    LineReader::Result result;
    while ((result = reader->readLine(line)) == LineReader::Result::Line) {
        lines.push_back(line);
    }
    EXPECT_EQ(result, last);
    EXPECT_EQ(reader->readLine(line),
              last == LineReader::Result::Failed ? last : LineReader::Result::End);
    return lines;
}

using Lines = std::vector<std::string>;

} // namespace

TEST(LineReader, EveryKindOfLineEnd) {
    struct Case {
        std::string bytes;
        Lines lines;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\r\nb", {"a", "b"}}, // no final line end
        {"a\r\n\r\nb\r\n", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}}, // LF then CR are two line ends
        {"\r\n", {""}},
        {"", {}},
        {"a\r\n\x1a", {"a"}},
        {"a\x1a"
         "b\r\nc\r\n",
         {"a"}}, // Ctrl-Z ends the text
        {"\x1a", {}},
        {std::string("a\0b\r\n", 5), {std::string("a\0b", 3)}},
        {"caf\xe9 \t\r\n", {"caf\xe9 \t"}},
    };
    for (const auto& [bytes, lines] : cases) {
        SCOPED_TRACE(testing::PrintToString(bytes));
        EXPECT_EQ(linesOf(bytes), lines);
    }
}

TEST(LineReader, LinesAcrossTheReadBuffer) {
    // A CR LF pair split by the 64 KiB buffer still ends one line; long lines arrive whole.
    const std::string first(65535, 'x');
    const std::string longLine(200000, 'y');
    EXPECT_EQ(linesOf(first + "\r\nz\r\n"), (Lines{first, "z"}));
    EXPECT_EQ(linesOf(longLine + "\r\n" + longLine), (Lines{longLine, longLine}));
}

TEST(LineReader, LongLinesStopAtTheLimit) {
    EXPECT_EQ(linesOf("abc\r\nabcd\r\n", 4), (Lines{"abc", "abcd"}));
    EXPECT_EQ(linesOf("abc\r\nabcde\r\nf\r\n", 4, LineReader::Result::TooLong), (Lines{"abc"}));
    EXPECT_EQ(linesOf(std::string(70000, 'x'), 65537, LineReader::Result::TooLong), Lines{});
}

// A file that cannot be opened is a failure that says which and why.
TEST(LineReader, AFileThatCannotBeOpenedIsAFailureNamingIt) {
    TempFolder temp;
    IoError error;
    EXPECT_FALSE(LineReader::open(temp / "missing.txt", 100, error).has_value());
    EXPECT_NE(error.description.find("(opening "), std::string::npos) << error.description;
    EXPECT_EQ(error.kind, IoErrorKind::NotFound);
    error = {};
    EXPECT_FALSE(readWholeFile(temp / "missing.ini", 100, error).has_value());
    EXPECT_NE(error.description.find("missing.ini"), std::string::npos) << error.description;
}
