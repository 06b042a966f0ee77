#include "engine/Tables.h"

#include "engine/RunFailure.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <tuple>

using namespace brennic::engine;
using brennic::test::TempFolder;
using brennic::test::writeFile;

TEST(Load_VehicleTable, BuiltInNamesWithoutAFile) {
    TempFolder temp;
    for (const auto& file : {std::optional<std::filesystem::path>{},
                             std::optional<std::filesystem::path>{temp / "missing.ini"},
                             std::optional<std::filesystem::path>{temp.path()}}) { // a folder
        VehicleTable table;
        Load_VehicleTable(table, file);
        EXPECT_EQ(table.at(0), "EDSEL");
        EXPECT_EQ(table.at(1), "BUG");
        EXPECT_EQ(table.at(2), "EDSEL");
        EXPECT_EQ(table.at(42), "FIRETRUK");
        EXPECT_EQ(table.at(46), "VAN");
        EXPECT_EQ(table.at(100), "EDSEL");
    }
}

TEST(Load_VehicleTable, ReadsTheFileAsWindowsReadsProfiles) {
    TempFolder temp;
    using namespace std::string_view_literals;
    writeFile(temp / "cars.ini", "; vehicles\r\n"
                                 "[brennic vehicles]\r\n"
                                 "1=BUG\r\n"
                                 "7=\r\n"
                                 "  Other =  TAXI \r\n"
                                 "8=ABCDEFGHIJKL\r\n"
                                 "9=\"SPORTS\"\r\n"
                                 "10='VAN'\r\n"
                                 "11=FIRST\r\n"
                                 "11=SECOND\r\n"
                                 "12=X\0Y\r\n"
                                 "[Other Section]\r\n"
                                 "13=WRONG\r\n"sv);
    VehicleTable table;
    Load_VehicleTable(table, temp / "cars.ini");
    const std::tuple<int, const char*> cases[] = {
        {1, "BUG"},    {7, "TAXI"}, {8, "ABCDEFGHI"}, {9, "SPORTS"}, {10, "VAN"},
        {11, "FIRST"}, {12, "X"},   {13, "TAXI"},     {0, "TAXI"},
    };
    for (const auto& [number, name] : cases) {
        SCOPED_TRACE(number);
        EXPECT_EQ(table.at(number), name);
    }
}

TEST(Load_VehicleTable, NoOtherKeyLeavesMissingNamesEmpty) {
    TempFolder temp;
    writeFile(temp / "cars.ini", "[BRENNIC Vehicles]\n1=BUG\n");
    VehicleTable table;
    Load_VehicleTable(table, temp / "cars.ini");
    EXPECT_EQ(table.at(1), "BUG");
    EXPECT_EQ(table.at(7), "");
    EXPECT_THROW(table.at(101), RunFailure);
    EXPECT_THROW(table.at(-1), RunFailure);
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
    Load_TextTable(table, temp / "e.txt");
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

TEST(Load_TextTable, LaterRunsOverwriteOnlyTheirEntries) {
    TempFolder temp;
    TextTable table;
    writeFile(temp / "e.txt", "[5]first\r\n[6]six\r\n");
    Load_TextTable(table, temp / "e.txt");
    writeFile(temp / "e.txt", "[6]SIX\r\n");
    Load_TextTable(table, temp / "e.txt");
    EXPECT_EQ(table.at(5), "first");
    EXPECT_EQ(table.at(6), "SIX");
}

TEST(Load_TextTable, NumbersBeyondTheDoubleRangeFail) {
    TempFolder temp;
    writeFile(temp / "e.txt", "[1e999]x\r\n");
    TextTable table;
    EXPECT_THROW(Load_TextTable(table, temp / "e.txt"), RunFailure);
}

TEST(ObjectLineTable, EmptyClearsEveryWrittenCell) {
    ObjectLineTable table;
    table.setCell(0, 0, "a");
    table.setCell(60000, 3, "door");
    table.setCell(70, 1, "120.0");
    table.setCell(70, 2, "3.0");
    EXPECT_EQ(table.cell(70, 1), "120.0");
    table.Empty();
    for (const int row : {0, 70, 60000}) {
        for (int column = 0; column < ObjectLineTable::intColumns; ++column) {
            EXPECT_EQ(table.cell(row, column), "");
        }
    }
    table.setCell(70, 0, "again"); // a row emptied once can be written and emptied again
    table.Empty();
    EXPECT_EQ(table.cell(70, 0), "");
    EXPECT_THROW(table.cell(60001, 0), RunFailure);
    EXPECT_THROW(table.setCell(-1, 0, "x"), RunFailure);
}
