#pragma once

#include <array>
#include <map>
#include <string>
#include <string_view>

namespace brennic::platform {
class LineReader;
class ProfileFile;
} // namespace brennic::platform

namespace brennic::engine {

// GTA2 vehicle names by GTA1 vehicle number, rebuilt at the start of every run.
class VehicleTable {
  public:
    static constexpr int intMaxIndex = 100;

    const std::string& at(int index) const; // a run failure outside 0..100
    void set(int index, std::string name);

  private:
    std::array<std::string, intMaxIndex + 1> m_names{};
};

inline constexpr std::string_view kVehicleSection = "BRENNIC Vehicles";

// The built-in names.
void Load_VehicleTable(VehicleTable& table);
// The names of a vehicle file (section "BRENNIC Vehicles", keys 0 to 100 and "other", at most 9
// characters a name).
void Load_VehicleTable(VehicleTable& table, const platform::ProfileFile& file);

// Brief texts by number. Lives as long as its owner: each run overwrites only the entries its
// text file holds, so texts of earlier runs stay. Its texts may hold 16 MB in all; more is a run
// failure rather than memory.
class TextTable {
  public:
    static constexpr int intMaxIndex = 9000;

    const std::string& at(int index) const; // empty when unwritten; a run failure outside 0..9000
    void set(int index, std::string text);

  private:
    std::map<int, std::string> m_texts;
    std::size_t m_bytes = 0;
};

// Reads the text file's lines "[" number "]" text. Lines of any other form, numbers of 0 or below
// and numbers above 9000 (modders number their own texts from 10001) are passed over; the text
// loses its trailing blanks. A failure names the file's line.
void Load_TextTable(TextTable& table, platform::LineReader& file, std::string_view fileName);

// Texts that an object line leaves for later command lines of the same mission, by GTA1 line
// number: four cells a row. Rows cost only once written; one mission's rows may hold 24 MB in
// all, more is a run failure rather than memory.
class ObjectLineTable {
  public:
    static constexpr int intMaxRow = 60000;
    static constexpr int intColumns = 4;

    // Empty when unwritten; a run failure outside 0..60000.
    const std::string& cell(int row, int column) const;
    void setCell(int row, int column, std::string text);
    void Empty();

  private:
    std::map<int, std::array<std::string, intColumns>> m_rows;
    std::size_t m_bytes = 0;
};

// A table index from a whole value; outside 0..maxIndex is a run failure naming the table.
int Table_index(double value, int maxIndex, std::string_view tableName);

// A row of ObjectLineTable from a whole value, failing the run outside 0..60000.
int Object_line_row(double value);

} // namespace brennic::engine
