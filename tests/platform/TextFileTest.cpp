#include "platform/TextFile.h"

#include "tests/support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace brennic::platform;
using brennic::test::readFile;
using brennic::test::TempFolder;
using brennic::test::writeFile;

namespace {

std::vector<std::string> linesOf(const std::string& bytes) {
    TempFolder temp;
    writeFile(temp / "in.txt", bytes);
    IoError error;
    auto reader = LineReader::open(temp / "in.txt", error);
    EXPECT_TRUE(reader.has_value());
    std::vector<std::string> lines;
    for (std::string line; reader->readLine(line);) {
        lines.push_back(line);
    }
    EXPECT_FALSE(reader->failure().has_value());
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

TEST(LineReader, MissingFileIsAnError) {
    TempFolder temp;
    IoError error;
    EXPECT_FALSE(LineReader::open(temp / "missing.ini", error).has_value());
    EXPECT_EQ(error.number, 76);
}

TEST(LineReader, ReadingAFolderFails) {
    TempFolder temp;
    IoError error;
    auto reader = LineReader::open(temp.path(), error);
    if (!reader) {
        SUCCEED(); // refused at open on some platforms
        return;
    }
    std::string line;
    EXPECT_FALSE(reader->readLine(line));
    EXPECT_TRUE(reader->failure().has_value());
}

TEST(TextWriter, WritesPiecesAndCrLf) {
    TempFolder temp;
    IoError error;
    {
        auto writer = TextWriter::create(temp / "a.mis", error);
        ASSERT_TRUE(writer.has_value());
        EXPECT_TRUE(writer->writeLine({"OBJ_DATA OBJECT", "12", " = ( "}));
        EXPECT_TRUE(writer->writeLine(""));
        EXPECT_TRUE(writer->writeLine(std::string_view("\xe9\0", 2)));
        EXPECT_FALSE(writer->close().has_value());
    }
    EXPECT_EQ(readFile(temp / "a.mis"),
              std::string("OBJ_DATA OBJECT12 = ( \r\n\r\n\xe9\0\r\n", 30));
}

TEST(TextWriter, PiecesAndLinesLargerThanTheBufferKeepTheirOrder) {
    TempFolder temp;
    IoError error;
    std::string expected;
    {
        auto writer = TextWriter::create(temp / "a.mis", error);
        ASSERT_TRUE(writer.has_value());
        for (const std::size_t size : {std::size_t{65535}, std::size_t{3}, std::size_t{200000},
                                       std::size_t{65534}, std::size_t{65536}}) {
            const std::string piece(size, static_cast<char>('a' + size % 26));
            EXPECT_TRUE(writer->writeLine({"<", piece, ">"}));
            expected += "<" + piece + ">\r\n";
        }
        EXPECT_FALSE(writer->close().has_value());
    }
    EXPECT_EQ(readFile(temp / "a.mis"), expected);
}

TEST(TextWriter, DestructorKeepsWhatWasWritten) {
    TempFolder temp;
    IoError error;
    std::string expected;
    {
        auto writer = TextWriter::create(temp / "a.mis", error);
        for (int i = 0; i < 10000; ++i) {
            writer->writeLine("line");
            expected += "line\r\n";
        }
    }
    EXPECT_EQ(readFile(temp / "a.mis"), expected);
}

TEST(TextWriter, ReplacesFilesAndLinksNeverWritingThroughALink) {
    TempFolder temp;
    writeFile(temp / "old.mis", "old contents that are longer");
    writeFile(temp / "target.txt", "precious");
    std::filesystem::create_symlink(temp / "target.txt", temp / "link.mis");
    IoError error;
    for (const char* name : {"old.mis", "link.mis"}) {
        auto writer = TextWriter::create(temp / name, error);
        ASSERT_TRUE(writer.has_value()) << name;
        writer->writeLine("new");
        EXPECT_FALSE(writer->close().has_value());
        EXPECT_EQ(readFile(temp / name), "new\r\n");
    }
    EXPECT_FALSE(std::filesystem::is_symlink(temp / "link.mis"));
    EXPECT_EQ(readFile(temp / "target.txt"), "precious");
}

TEST(TextWriter, AFolderOfTheSameNameIsAnError) {
    TempFolder temp;
    std::filesystem::create_directory(temp / "a.mis");
    IoError error;
    EXPECT_FALSE(TextWriter::create(temp / "a.mis", error).has_value());
    EXPECT_EQ(error.number, 75);
    EXPECT_TRUE(std::filesystem::is_directory(temp / "a.mis"));
    EXPECT_FALSE(TextWriter::create(temp / "missing" / "a.mis", error).has_value());
    EXPECT_EQ(error.number, 76);
}
