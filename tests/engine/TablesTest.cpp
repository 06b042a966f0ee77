#include "engine/Tables.h"

#include "engine/MissionLine.h"
#include "engine/RunFailure.h"
#include "platform/ProfileFile.h"
#include "platform/TextReader.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <tuple>

using namespace brennic::engine;
using brennic::platform::IoError;
using brennic::platform::LineReader;
using brennic::platform::ProfileFile;
using brennic::test::TempFolder;
using brennic::test::writeFile;

namespace {

VehicleTable vehiclesOf(const std::filesystem::path& file) {
    IoError error;
    VehicleTable table;
    Load_VehicleTable(table, *ProfileFile::read(file, error));
    return table;
}

void loadTexts(TextTable& table, const std::filesystem::path& file) {
    IoError error;
    auto reader = LineReader::open(file, kMaxLineLength, error);
    Load_TextTable(table, *reader, "e.txt");
}

} // namespace
// The profile rules are the profile reader's; the table adds names cut to nine characters, "Other"
// for the numbers the file leaves out or empty, and no number outside 0 to 100.
TEST(Load_VehicleTable, NamesFromTheFile) {
    TempFolder temp;
    writeFile(temp / "cars.ini",
              "[brennic vehicles]\r\n1=BUG\r\n7=\r\nOther=TAXI\r\n8=ABCDEFGHIJKL\r\n");
    const VehicleTable table = vehiclesOf(temp / "cars.ini");
    const std::tuple<int, const char*> cases[] = {
        {1, "BUG"}, {7, "TAXI"}, {8, "ABCDEFGHI"}, {0, "TAXI"}, {100, "TAXI"},
    };
    for (const auto& [number, name] : cases) {
        SCOPED_TRACE(number);
        EXPECT_EQ(table.at(number), name);
    }
    EXPECT_THROW(table.at(101), RunFailure);
    EXPECT_THROW(table.at(-1), RunFailure);
    writeFile(temp / "cars.ini", "[BRENNIC Vehicles]\n1=BUG\n");
    EXPECT_EQ(vehiclesOf(temp / "cars.ini").at(7), "");
}

TEST(Load_TextTable, EntryForms) {
    TempFolder temp;
    writeFile(temp / "e.txt", "[1203]Get to the phone \r\n"
                              "[12]x\r\n"
                              "[14]\r\n"
                              "[0]abc\r\n"
                              "[-5]abc\r\n"
                              "[abc]def\r\n"
                              "\r\n"
                              "[12.5]ab\n"
                              "[13.5]ab\r"
                              "x7]hello  \r\n"
                              "no bracket\r\n"
                              "[9000]last\r\n"
                              "[9001]abc\r\n"
                              "[10001]modder text\r\n"
                              "[20]tab\t \r\n"
                              "[30]after\x1a[31]ignored\r\n");
    TextTable table;
    table.set(0, "kept");
    loadTexts(table, temp / "e.txt");
    const std::tuple<int, const char*> cases[] = {
        {1203, "Get to the phone"},
        {12, "ab"},
        {0, "kept"},
        {13, ""},
        {14, "ab"}, // [14] stored the empty text, then [13.5] rounded to 14 replaced it
        {7, "hello"},
        {9000, "last"},
        {20, "tab\t"},
        {30, "after"},
        {31, ""},
    };
    for (const auto& [number, text] : cases) {
        SCOPED_TRACE(number);
        EXPECT_EQ(table.at(number), text);
    }
    EXPECT_THROW(table.at(9001), RunFailure);
}

TEST(Load_TextTable, FailuresNameTheFileAndItsLine) {
    const std::tuple<std::string, const char*, int> cases[] = {
        {"[1]a\r\n[1e999]x\r\n", "(line 2 of e.txt)", 6},
        {"[1]a\r\n\r\n[2]" + std::string(32764, 'x') + "\r\n", "(line 3 of e.txt)", 6},
    };
    TempFolder temp;
    for (const auto& [bytes, where, number] : cases) {
        SCOPED_TRACE(where);
        writeFile(temp / "e.txt", bytes);
        TextTable table;
        try {
            loadTexts(table, temp / "e.txt");
            ADD_FAILURE() << "no failure";
        } catch (const RunFailure& failure) {
            EXPECT_EQ(failure.source(), "TextTable");
            EXPECT_TRUE(failure.description().ends_with(where)) << failure.description();
            EXPECT_EQ(failure.number(), number);
        }
    }
}

// Tables hold their texts within a fixed share of memory, whatever the files ask of them.
TEST(Tables, TextsBeyondTheirShareOfMemoryFailTheRun) {
    TextTable texts;
    const std::string text(32768, 'x'); // 512 of them are 16 MB exactly
    int index = 1;
    try {
        for (; index <= TextTable::intMaxIndex; ++index) {
            texts.set(index, text);
        }
        ADD_FAILURE() << "no failure";
    } catch (const RunFailure& failure) {
        EXPECT_EQ(failure.number(), 7);
        EXPECT_EQ(failure.description(), "Out of memory: the texts of TextTable pass 16 MB");
        EXPECT_EQ(index, 513);
    }
    texts.set(1, ""); // replacing frees its share
    texts.set(index, text);

    ObjectLineTable rows;
    EXPECT_THROW(
        for (int row = 0; row <= ObjectLineTable::intMaxRow; ++row) { rows.setCell(row, 0, text); },
        RunFailure);
    rows.Empty();
    rows.setCell(0, 0, text);
}
