#include "platform/TextWriter.h"

#include "tests/support/Fault.h"
#include "tests/support/TempFolder.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

using namespace brennic::platform;
using brennic::test::readFile;
using brennic::test::TempFolder;
using brennic::test::writeFile;

namespace {

// A writer for name in a fresh folder; folder must outlive it.
TextWriter writerFor(const Folder& folder, const char* name) {
    IoError error;
    auto writer = TextWriter::create(folder, name, error);
    EXPECT_TRUE(writer.has_value()) << error.description;
    return std::move(*writer);
}

Folder folderOf(const TempFolder& temp) {
    IoError error;
    return std::move(*Folder::open(temp.path(), error));
}

} // namespace

TEST(TextWriter, PiecesAndLinesOfAnySizeKeepTheirOrder) {
    TempFolder temp;
    const Folder folder = folderOf(temp);
    std::string expected("OBJ_DATA OBJECT12 = ( \r\n\r\n\xe9\0\r\n", 30);
    {
        TextWriter writer = writerFor(folder, "a.mis");
        EXPECT_TRUE(writer.writeLine({"OBJ_DATA OBJECT", "12", " = ( "}));
        EXPECT_TRUE(writer.writeLine(""));
        EXPECT_TRUE(writer.writeLine(std::string_view("\xe9\0", 2)));
        for (const std::size_t size : {std::size_t{65535}, std::size_t{3}, std::size_t{200000},
                                       std::size_t{65534}, std::size_t{65536}}) {
            const std::string piece(size, static_cast<char>('a' + size % 26));
            EXPECT_TRUE(writer.writeLine({"<", piece, ">"}));
            expected += "<" + piece + ">\r\n";
        }
        EXPECT_FALSE(writer.close().has_value());
        EXPECT_FALSE(writer.close().has_value()); // a second close has nothing to do
    }
    EXPECT_EQ(readFile(temp / "a.mis"), expected);
}

TEST(TextWriter, AFailedWriterWritesNothingMore) {
    TempFolder temp;
    const Folder folder = folderOf(temp);
    TextWriter writer = writerFor(folder, "a.mis");
    {
        const brennic::test::Fault full([](FileOperation op, const std::filesystem::path&) {
            return op == FileOperation::Write ? ENOSPC : 0;
        });
        EXPECT_FALSE(writer.writeLine(std::string(1 << 17, 'x'))); // past the buffer: written out
    }
    EXPECT_FALSE(writer.writeLine("short"));
    EXPECT_FALSE(writer.write("bytes"));
    EXPECT_TRUE(writer.close().has_value());
}

// A free name keeps what was written when the writer goes unclosed; a taken one is replaced
// only by close(), and left as it was otherwise.
TEST(TextWriter, FreeNamesKeepPartsTakenNamesChangeOnlyWhenClosed) {
    TempFolder temp;
    const Folder folder = folderOf(temp);
    writeFile(temp / "old.mis", "old");
    {
        TextWriter fresh = writerFor(folder, "new.mis");
        TextWriter replacing = writerFor(folder, "old.mis");
        for (int i = 0; i < 20000; ++i) {
            fresh.writeLine("line");
            replacing.writeLine("line");
        }
        EXPECT_EQ(readFile(temp / "old.mis"), "old");
    }
    EXPECT_EQ(readFile(temp / "new.mis").size(), 20000u * 6);
    EXPECT_EQ(readFile(temp / "old.mis"), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.path()),
                            std::filesystem::directory_iterator()),
              2);

    TextWriter replacing = writerFor(folder, "old.mis");
    replacing.writeLine("new");
    EXPECT_EQ(readFile(temp / "old.mis"), "old");
    EXPECT_FALSE(replacing.close().has_value());
    EXPECT_EQ(readFile(temp / "old.mis"), "new\r\n");
}

TEST(TextWriter, ReplacesLinksNeverWritingThroughThem) {
    TempFolder temp;
    const Folder folder = folderOf(temp);
    writeFile(temp / "target.txt", "precious");
    std::filesystem::create_symlink(temp / "target.txt", temp / "link.mis");
    std::filesystem::create_symlink(temp / "nowhere", temp / "dangling.mis");
    for (const char* name : {"link.mis", "dangling.mis"}) {
        TextWriter writer = writerFor(folder, name);
        writer.writeLine("new");
        EXPECT_FALSE(writer.close().has_value());
        EXPECT_FALSE(std::filesystem::is_symlink(temp / name));
        EXPECT_EQ(readFile(temp / name), "new\r\n");
    }
    EXPECT_EQ(readFile(temp / "target.txt"), "precious");
    EXPECT_FALSE(std::filesystem::exists(temp / "nowhere"));
}

TEST(TextWriter, FoldersAndReadOnlyFilesAreNotReplaced) {
    TempFolder temp;
    const Folder folder = folderOf(temp);
    std::filesystem::create_directory(temp / "a.mis");
    writeFile(temp / "b.mis", "kept");
    std::filesystem::permissions(temp / "b.mis", std::filesystem::perms::owner_read);
    IoError error;
    for (const char* name : {"a.mis", "b.mis"}) {
        EXPECT_FALSE(TextWriter::create(folder, name, error).has_value());
        EXPECT_EQ(error.kind, IoErrorKind::AccessDenied);
        EXPECT_NE(error.description.find(name), std::string::npos);
    }
    // The words the program's reports have always used for a read-only file.
    EXPECT_TRUE(error.description.starts_with("Path/File access error: the file is read-only "
                                              "(replacing "))
        << error.description;
    EXPECT_TRUE(std::filesystem::is_directory(temp / "a.mis"));
    EXPECT_EQ(readFile(temp / "b.mis"), "kept");
}

// A replacement that cannot be made beside the file it would replace is a failure that says
// which and why.
TEST(TextWriter, AReplacementThatCannotBeWrittenAsideNamesTheFile) {
    TempFolder temp;
    // The name aside is longer than the name: near the length limit only the name fits.
    const std::string name(250, 'n');
    writeFile(temp / name, "kept");
    const Folder folder = folderOf(temp);
    IoError error;
    EXPECT_FALSE(TextWriter::create(folder, name, error).has_value());
    EXPECT_NE(error.description.find("(creating a file beside "), std::string::npos)
        << error.description;
    EXPECT_EQ(readFile(temp / name), "kept");
}
