#include "engine/AddTexts.h"

#include "engine/GTA1TextFile.h"
#include "engine/MissionLine.h"
#include "engine/Tables.h"
#include "platform/TextReader.h"
#include "platform/TextWriter.h"
#include "tests/support/Fault.h"
#include "tests/support/GTA1TextEncoder.h"
#include "tests/support/TempFolder.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <tuple>

using namespace brennic::engine;
using brennic::platform::FileOperation;
using brennic::platform::IoError;
using brennic::platform::LineReader;
using brennic::test::encodeGTA1;
using brennic::test::Fault;
using brennic::test::filesIn;
using brennic::test::gta1Records;
using brennic::test::GTA1Variant;
using brennic::test::readFile;
using brennic::test::TempFolder;
using brennic::test::writeFile;
using namespace std::string_literals;

namespace {

// Texts 5, 6 and 7 in this order, with a key that is no number between them.
const std::string kFiveSixSeven =
    encodeGTA1(gta1Records({"[5]five", "[help1]Press F1", "[6]six", "[7]seven"}));

struct AddFixture {
    TempFolder temp{};
    std::filesystem::path fxt = temp / "ENGLISH.FXT";
    std::filesystem::path eTxt = temp / "e.txt";
    IoError error{};

    std::optional<AddedTexts> add() { return Add_GTA1_texts(fxt, eTxt, error); }
};

} // namespace

TEST(Add_GTA1_texts, IntoANewTextFile) {
    AddFixture f;
    writeFile(f.fxt, encodeGTA1(gta1Records({"[1001]Answer", "[help]x", "[5]caf\xc3\xa9 ",
                                             "[1001]again", "[12]a\r\nb", "[13]"}),
                                GTA1Variant::Demo));
    const auto added = f.add();
    ASSERT_TRUE(added) << f.error.description;
    EXPECT_EQ(added->count, 4);
    EXPECT_TRUE(added->warnings.empty());
    EXPECT_EQ(readFile(f.eTxt), "[1001]Answer\r\n[5]caf\xe9\r\n[12]a  b\r\n[13]\r\n");
}

// Every byte of the text file stays; only numbers it gives no text get a line, at its end.
TEST(Add_GTA1_texts, IntoAnExistingTextFile) {
    const std::tuple<const char*, std::string, std::string, int> cases[] = {
        {"a number given", "[6]mine\r\n", "[6]mine\r\n[5]five\r\n[7]seven\r\n", 2},
        {"a last line without a line end", "[6]mine", "[6]mine\r\n[5]five\r\n[7]seven\r\n", 2},
        {"CR and LF line ends stay", "a\nb\r", "a\nb\r[5]five\r\n[6]six\r\n[7]seven\r\n", 3},
        {"numbers as the reader takes them", "x5]hello\r\n[6.4]y\r\n[ 7]\r\n",
         "x5]hello\r\n[6.4]y\r\n[ 7]\r\n", 0},
        {"lines that give no number", "[0]a\r\n[9001]b\r\n[help1]c\r\n[-5]d\r\n\r\n",
         "[0]a\r\n[9001]b\r\n[help1]c\r\n[-5]d\r\n\r\n[5]five\r\n[6]six\r\n[7]seven\r\n", 3},
        {"8-bit bytes and NUL stay", "[6]caf\xe9\0 \r\n"s,
         "[6]caf\xe9\0 \r\n[5]five\r\n[7]seven\r\n"s, 2},
        {"empty", "", "[5]five\r\n[6]six\r\n[7]seven\r\n", 3},
        {"lines behind a Ctrl-Z are not read", "[6]mine\x1a[5]hidden\r\n",
         "[6]mine\r\n[5]five\r\n[7]seven\r\n\x1a[5]hidden\r\n", 2},
        {"nothing to add changes nothing", "[5]a\r\n[6]b\r\n[7]c", "[5]a\r\n[6]b\r\n[7]c", 0},
    };
    for (const auto& [what, before, after, count] : cases) {
        SCOPED_TRACE(what);
        AddFixture f;
        writeFile(f.fxt, kFiveSixSeven);
        writeFile(f.eTxt, before);
        const auto added = f.add();
        ASSERT_TRUE(added) << f.error.description;
        EXPECT_EQ(added->count, count);
        EXPECT_EQ(readFile(f.eTxt), after);
    }
}

#ifndef _WIN32 // where users link files
// A text file kept elsewhere and linked into the output folder gets the texts; the link stays.
TEST(Add_GTA1_texts, ALinkedTextFileStaysALink) {
    AddFixture f;
    writeFile(f.fxt, kFiveSixSeven);
    writeFile(f.temp / "shared" / "e.txt", "[6]mine\r\n");
    std::filesystem::create_symlink(std::filesystem::path("shared") / "e.txt", f.eTxt);
    const auto added = f.add();
    ASSERT_TRUE(added) << f.error.description;
    EXPECT_TRUE(std::filesystem::is_symlink(f.eTxt));
    EXPECT_EQ(readFile(f.temp / "shared" / "e.txt"), "[6]mine\r\n[5]five\r\n[7]seven\r\n");
}
#endif

TEST(Add_GTA1_texts, NothingToAddWritesNoFile) {
    AddFixture f;
    writeFile(f.fxt, encodeGTA1(gta1Records({"[help]x"})));
    const auto added = f.add();
    ASSERT_TRUE(added) << f.error.description;
    EXPECT_EQ(added->count, 0);
    EXPECT_FALSE(std::filesystem::exists(f.eTxt));
}

// A file cut short gives the texts before the cut, and its warning.
TEST(Add_GTA1_texts, WarningsOfTheGTA1TextFile) {
    AddFixture f;
    writeFile(f.fxt, encodeGTA1("[5]five\0[6]si"s));
    const auto added = f.add();
    ASSERT_TRUE(added) << f.error.description;
    EXPECT_EQ(added->count, 1);
    ASSERT_EQ(added->warnings.size(), 1u);
    EXPECT_NE(added->warnings[0].find("ENGLISH.FXT is cut short"), std::string::npos);
    EXPECT_EQ(readFile(f.eTxt), "[5]five\r\n");
}

// Whatever fails, the text file is as it was, and nothing is left beside it.
TEST(Add_GTA1_texts, AFailureLeavesTheTextFileAsItWas) {
    const std::string existing = "[6]mine";
    const std::tuple<const char*, std::string, FileOperation, std::string> cases[] = {
        {"disk full", existing, FileOperation::Write, "No space left on device"},
        {"rename refused", existing, FileOperation::Replace, "Permission denied"},
        {"new file, disk full", "", FileOperation::Write, "No space left on device"},
        {"new file, not closed", "", FileOperation::Close, "No space left on device"},
    };
    for (const auto& [what, before, operation, reason] : cases) {
        SCOPED_TRACE(what);
        AddFixture f;
        writeFile(f.fxt, kFiveSixSeven);
        if (!before.empty()) {
            writeFile(f.eTxt, before);
        }
        const auto files = filesIn(f.temp.path());
        {
            const Fault fault([op = operation](FileOperation at, const std::filesystem::path&) {
                return at == op ? (op == FileOperation::Replace ? EACCES : ENOSPC) : 0;
            });
            EXPECT_FALSE(f.add());
        }
        EXPECT_NE(f.error.description.find(reason), std::string::npos) << f.error.description;
        EXPECT_NE(f.error.description.find("e.txt"), std::string::npos) << f.error.description;
        EXPECT_EQ(filesIn(f.temp.path()), files);
    }
}

TEST(Add_GTA1_texts, FilesItCannotUse) {
    const std::tuple<const char*, std::string, std::string, const char*> cases[] = {
        {"no GTA1 text file", "[5]five\r\n", "[6]mine\r\n", "is not a GTA1 text file"},
        {"a text file its reader refuses", kFiveSixSeven, "[1]a\r\n[1e999]x\r\n", "(line 2 of "},
        {"a text file with too long a line", kFiveSixSeven,
         "[1]" + std::string(kMaxLineLength, 'x') + "\r\n", "(line 1 of "},
    };
    for (const auto& [what, fxt, before, reason] : cases) {
        SCOPED_TRACE(what);
        AddFixture f;
        writeFile(f.fxt, fxt);
        writeFile(f.eTxt, before);
        EXPECT_FALSE(f.add());
        EXPECT_NE(f.error.description.find(reason), std::string::npos) << f.error.description;
        EXPECT_EQ(readFile(f.eTxt), before);
    }
}

// The texts of a GTA1 text file fill a table exactly as the e.txt made from it does, whatever
// their bytes and lengths.
TEST(Add_GTA1_texts, TheTextFileGivesTheSameTexts) {
    AddFixture f;
    writeFile(f.fxt, encodeGTA1(gta1Records({
                         "[1001]Answer the South Park phones",
                         "[1]\xc3\xa9t\xc3\xa9 ",
                         "[2]line\r\nends\rand\nmore \r\n",
                         "[3]Ctrl-Z \x1a end",
                         "[4]  lead\ttab\t",
                         "[5]",
                         "[6]]brackets[ [7]x",
                         "[9000]" + std::string(40000, 'y'),
                         "[8]" + std::string(32759, 'z') + " ",
                         "[1]again",
                         "[help2]not a text",
                     })));
    const auto added = f.add();
    ASSERT_TRUE(added) << f.error.description;
    EXPECT_EQ(added->count, 9);

    IoError error;
    TextTable fromGTA1;
    Load_TextTable(fromGTA1, *Read_GTA1_text_file(f.fxt, "ENGLISH.FXT", error));
    TextTable fromText;
    auto reader = LineReader::open(f.eTxt, kMaxLineLength, error);
    ASSERT_TRUE(reader) << error.description;
    Load_TextTable(fromText, *reader, "e.txt");
    for (int i = 0; i <= TextTable::intMaxIndex; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(fromGTA1.at(i), fromText.at(i));
    }
    EXPECT_EQ(fromText.at(1), "\xe9t\xe9");
    EXPECT_EQ(fromText.at(9000).size(), 32760u);
}
