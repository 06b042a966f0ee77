#include "platform/TextWriter.h"

#include "tests/support/Fault.h"
#include "tests/support/TempFolder.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <tuple>
#include <unistd.h>

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
    // A file replaced whole (a report, the settings) is kept the same way, through a link too.
    std::filesystem::create_symlink("b.mis", temp / "link.ini");
    for (const char* name : {"b.mis", "link.ini"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(TextWriter::replace(temp / name, SpecialFiles::Refuse, error).has_value());
        EXPECT_EQ(error.kind, IoErrorKind::AccessDenied);
    }
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

namespace {

namespace fs = std::filesystem;

std::size_t entriesIn(const TempFolder& temp) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(temp.path()), fs::directory_iterator()));
}

// What TextWriter::replace made of path, written with "new".
std::optional<IoError> replaceWith(const fs::path& path, SpecialFiles specials) {
    IoError error;
    auto writer = TextWriter::replace(path, specials, error);
    if (!writer) {
        return error;
    }
    writer->writeLine("new");
    return writer->close();
}

} // namespace

// A file that counts only once whole: nothing new stands at its name before close(), and a link
// leads to the file that is replaced (the user's dotfiles stay links).
TEST(TextWriter, AReplacementFollowsLinksAndShowsOnlyWhenWhole) {
    TempFolder temp;
    writeFile(temp / "real" / "target.ini", "old");
    fs::create_symlink("real/target.ini", temp / "link.ini");
    fs::create_symlink(temp / "real" / "new.ini", temp / "dangling.ini");
    fs::create_symlink("link.ini", temp / "chain.ini");
    for (const char* name : {"link.ini", "chain.ini", "dangling.ini", "free.ini"}) {
        SCOPED_TRACE(name);
        IoError error;
        auto writer = TextWriter::replace(temp / name, SpecialFiles::Refuse, error);
        ASSERT_TRUE(writer) << error.description;
        writer->writeLine("new");
        EXPECT_FALSE(fs::exists(temp / "free.ini"));
        EXPECT_FALSE(writer->close());
        EXPECT_EQ(readFile(temp / name), "new\r\n");
    }
    EXPECT_TRUE(fs::is_symlink(temp / "link.ini"));
    EXPECT_TRUE(fs::is_symlink(temp / "chain.ini"));
    EXPECT_EQ(readFile(temp / "real" / "new.ini"), "new\r\n");
    EXPECT_EQ(entriesIn(temp), 5u); // real/ and the four names: nothing aside

    IoError error;
    EXPECT_FALSE(TextWriter::replace(temp / "none.ini", SpecialFiles::Refuse, error)->discard());
    EXPECT_FALSE(fs::exists(temp / "none.ini"));
}

// Renaming over a device or a FIFO would take it from everyone else (/dev/null as root); a
// report may go into one (a terminal, a pipe), a script or a settings file never.
TEST(TextWriter, SpecialFilesAreWrittenIntoOrRefusedNeverReplaced) {
    TempFolder temp;
    ASSERT_EQ(::mkfifo((temp / "fifo").c_str(), 0644), 0);
    fs::create_directory(temp / "folder");
    const int reader = ::open((temp / "fifo").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_FALSE(replaceWith(temp / "fifo", SpecialFiles::WriteInto));
    char got[16] = {};
    EXPECT_EQ(::read(reader, got, sizeof got), 5);
    EXPECT_EQ(std::string(got), "new\r\n");
    {
        const brennic::test::Fault denied([](FileOperation op, const std::filesystem::path&) {
            return op == FileOperation::Create ? EACCES : 0;
        });
        const auto error = replaceWith(temp / "fifo", SpecialFiles::WriteInto);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->description,
                  "Permission denied (opening " + (temp / "fifo").string() + ")");
    }
    ::close(reader);

    const std::tuple<const char*, SpecialFiles, const char*> refused[] = {
        {"fifo", SpecialFiles::WriteInto, "Nothing reads from the FIFO (opening "}, // no wait
        {"fifo", SpecialFiles::Refuse, "Not a regular file (replacing "},
        {"folder", SpecialFiles::WriteInto, "Is a directory (replacing "},
        {"folder/", SpecialFiles::WriteInto, "Is a directory (replacing "},
    };
    for (const auto& [name, specials, description] : refused) {
        SCOPED_TRACE(name);
        const auto error = replaceWith(temp / name, specials);
        ASSERT_TRUE(error);
        EXPECT_TRUE(error->description.starts_with(description)) << error->description;
    }
    IoError error;
    EXPECT_FALSE(TextWriter::create(folderOf(temp), "fifo", error));
    EXPECT_EQ(error.description, "Not a regular file (replacing " + (temp / "fifo").string() + ")");
    EXPECT_EQ(error.kind, IoErrorKind::AccessDenied);
    EXPECT_TRUE(fs::is_fifo(temp / "fifo"));
    EXPECT_EQ(entriesIn(temp), 2u);

    // A character device of its own, as /dev/null is one (only root may make one).
    if (::mknod((temp / "null").c_str(), S_IFCHR | 0666, ::makedev(1, 3)) != 0) {
        GTEST_SKIP() << "no device made";
    }
    EXPECT_FALSE(replaceWith(temp / "null", SpecialFiles::WriteInto));
    EXPECT_TRUE(replaceWith(temp / "null", SpecialFiles::Refuse));
    EXPECT_TRUE(fs::is_character_file(temp / "null"));
    EXPECT_EQ(entriesIn(temp), 3u);
}

// Whatever ends a replacement before its rename, the earlier file stays and nothing written aside
// does; what cannot be removed is named.
TEST(TextWriter, NothingStaysAsideOrItIsNamed) {
    const std::tuple<FileOperation, bool> cases[] = {
        {FileOperation::Write, true}, {FileOperation::Sync, false}, {FileOperation::Replace, true}};
    for (const auto& [failing, folderReadOnly] : cases) {
        SCOPED_TRACE(static_cast<int>(failing) * 10 + folderReadOnly);
        TempFolder temp;
        writeFile(temp / "a.mis", "kept");
        const Folder folder = folderOf(temp);
        TextWriter writer = writerFor(folder, "a.mis");
        writer.writeLine("new");
        const brennic::test::Fault fault(
            [failing, folderReadOnly](FileOperation op, const std::filesystem::path&) {
                return op == failing                                   ? ENOSPC
                       : op == FileOperation::Remove && folderReadOnly ? EACCES
                                                                       : 0;
            });
        const auto error = writer.close();
        ASSERT_TRUE(error);
        EXPECT_EQ(readFile(temp / "a.mis"), "kept");
        const std::string left = "Permission denied (removing the unfinished " +
                                 (temp / ".a.mis.brennic-partial-").string();
        EXPECT_EQ(error->description.find(left) != std::string::npos, folderReadOnly)
            << error->description;
        EXPECT_EQ(entriesIn(temp), folderReadOnly ? 2u : 1u);
    }

    TempFolder temp;
    writeFile(temp / "a.mis", "kept");
    const Folder folder = folderOf(temp);
    TextWriter writer = writerFor(folder, "a.mis");
    const brennic::test::Fault fault([](FileOperation op, const std::filesystem::path&) {
        return op == FileOperation::Remove ? EACCES : 0;
    });
    const auto error = writer.discard();
    ASSERT_TRUE(error);
    EXPECT_NE(error->description.find(".a.mis.brennic-partial-"), std::string::npos);
    EXPECT_FALSE(writer.discard()); // once is enough
}

// The next writer in a folder removes what a killed one left aside, but never what a live one,
// of another process or its own, is writing.
TEST(Folder, RemoveAbandonedLeavesWhatAWriterHolds) {
    TempFolder temp;
    writeFile(temp / "a.mis", "kept");
    writeFile(temp / ".a.mis.brennic-partial-99999999-1", "left by a killed run");
    writeFile(temp / ".hidden", "the user's");
    writeFile(temp / "b.mis.brennic-partial-1-1", "not hidden: not ours");
    fs::create_directory(temp / ".c.mis.brennic-partial-1-1");
    const Folder folder = folderOf(temp);
    TextWriter writer = writerFor(folder, "a.mis");
    writer.writeLine("new");
    EXPECT_EQ(entriesIn(temp), 6u);
    folder.removeAbandoned();
    EXPECT_FALSE(fs::exists(temp / ".a.mis.brennic-partial-99999999-1"));
    EXPECT_EQ(entriesIn(temp), 5u);
    EXPECT_FALSE(writer.close());
    EXPECT_EQ(readFile(temp / "a.mis"), "new\r\n");
    EXPECT_EQ(entriesIn(temp), 4u);
}
