#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brennic::engine {

// GTA2 vehicle names by GTA1 vehicle number, rebuilt at the start of every run.
class VehicleTable {
  public:
    static constexpr int intMaxIndex = 100;

    VehicleTable();
    const std::string& at(int index) const; // a run failure outside 0..100
    void set(int index, std::string name);

  private:
    std::array<std::string, intMaxIndex + 1> m_names{};
};

// Loads the table from the vehicle file (section "BRENNIC Vehicles", keys 0 to 100 and "other",
// at most 9 characters a name), or from the built-in names when there is no such file.
void Load_VehicleTable(VehicleTable& table, const std::optional<std::filesystem::path>& file);

// Brief texts by number. Lives as long as its owner: each run overwrites only the entries its
// text file holds, so texts of earlier runs stay.
class TextTable {
  public:
    static constexpr int intMaxIndex = 9000;

    TextTable();
    const std::string& at(int index) const; // a run failure outside 0..9000
    void set(int index, std::string text);

  private:
    std::vector<std::string> m_texts;
};

// Reads e.txt when it exists: lines "[" number "]" text. Lines of any other form, numbers of 0 or
// below and numbers above 9000 (modders number their own texts from 10001) are passed over; the
// text loses its trailing blanks. A read failure is a run failure.
void Load_TextTable(TextTable& table, const std::filesystem::path& file);

// Texts that an object line leaves for later command lines of the same mission, by GTA1 line
// number: four cells a row. Emptying costs only the rows written since the last emptying.
class ObjectLineTable {
  public:
    static constexpr int intMaxRow = 60000;
    static constexpr int intColumns = 4;

    ObjectLineTable();
    const std::string& cell(int row, int column) const; // a run failure outside 0..60000
    void setCell(int row, int column, std::string text);
    void Empty();

  private:
    std::vector<std::array<std::string, intColumns>> m_rows;
    std::vector<bool> m_written;
    std::vector<int> m_writtenRows;
};

// A row of ObjectLineTable from a whole value, failing the run outside 0..60000.
int Object_line_row(double value);

} // namespace brennic::engine
