#include "engine/Tables.h"

#include "engine/MissionLine.h"
#include "engine/NumberReading.h"
#include "engine/NumberWriting.h"
#include "engine/RunFailure.h"
#include "platform/ProfileFile.h"
#include "platform/TextReader.h"

#include <utility>

namespace brennic::engine {

namespace {

constexpr std::size_t kVehicleNameLength = 9;
constexpr std::size_t kMaxTextBytes = 16 << 20;
constexpr std::size_t kMaxObjectLineBytes = 24 << 20;

struct DefaultVehicle {
    int number;
    std::string_view name;
};

constexpr DefaultVehicle kDefaultVehicles[] = {
    {1, "BUG"},       {4, "COPCAR"}, {5, "MEDICAR"}, {6, "HOTDOG"},    {22, "TAXI"},
    {35, "LIMO"},     {37, "TANK"},  {41, "DART"},   {42, "FIRETRUK"}, {43, "BUS"},
    {44, "BOXTRUCK"}, {45, "TVVAN"}, {46, "VAN"},
};

const std::string kEmpty;

// Keeps a table's texts within its share of memory: bytes grows by what is added and shrinks by
// what is replaced.
void account(std::size_t& bytes, std::size_t removed, std::size_t added, std::size_t limit,
             std::string_view table) {
    bytes -= removed;
    if (added > limit - bytes) {
        throw RunFailure(std::string(table),
                         "Out of memory: the texts of " + std::string(table) + " pass " +
                             std::to_string(limit >> 20) + " MB",
                         ErrorNumber::OutOfMemory);
    }
    bytes += added;
}

} // namespace

int Table_index(double value, int maxIndex, std::string_view tableName) {
    if (!(value >= 0.0 && value <= static_cast<double>(maxIndex))) {
        throw RunFailure(std::string(tableName),
                         "Subscript out of range: " + Format_plain(value) + " is not an entry of " +
                             std::string(tableName) + " (0 to " + std::to_string(maxIndex) + ")",
                         ErrorNumber::SubscriptOutOfRange);
    }
    return static_cast<int>(value);
}

const std::string& VehicleTable::at(int index) const {
    return m_names[static_cast<std::size_t>(Table_index(index, intMaxIndex, "VehicleTable"))];
}

void VehicleTable::set(int index, std::string name) {
    m_names[static_cast<std::size_t>(Table_index(index, intMaxIndex, "VehicleTable"))] =
        std::move(name);
}

void Load_VehicleTable(VehicleTable& table) {
    for (int i = 0; i <= VehicleTable::intMaxIndex; ++i) {
        table.set(i, "EDSEL");
    }
    for (const auto& [number, name] : kDefaultVehicles) {
        table.set(number, std::string(name));
    }
}

void Load_VehicleTable(VehicleTable& table, const platform::ProfileFile& file) {
    const auto name = [&file](std::string_view key) {
        return file.value(kVehicleSection, key).value_or("").substr(0, kVehicleNameLength);
    };
    const std::string other = name("other");
    for (int i = 0; i <= VehicleTable::intMaxIndex; ++i) {
        const std::string own = name(std::to_string(i));
        table.set(i, own.empty() ? other : own);
    }
}

const std::string& TextTable::at(int index) const {
    const auto entry = m_texts.find(Table_index(index, intMaxIndex, "TextTable"));
    return entry == m_texts.end() ? kEmpty : entry->second;
}

void TextTable::set(int index, std::string text) {
    std::string& entry = m_texts[Table_index(index, intMaxIndex, "TextTable")];
    account(m_bytes, entry.size(), text.size(), kMaxTextBytes, "TextTable");
    entry = std::move(text);
}

void Load_TextTable(TextTable& table, platform::LineReader& file, std::string_view fileName) {
    std::string line;
    std::size_t lineNumber = 0;
    try {
        for (;;) {
            const auto read = file.readLine(line);
            ++lineNumber;
            if (read == platform::LineReader::Result::End) {
                return;
            }
            if (read == platform::LineReader::Result::Failed) {
                throw RunFailure("TextTable", *file.failure());
            }
            if (read == platform::LineReader::Result::TooLong) {
                Fail_cursor_overflow();
            }
            // The first character is not examined; the number runs from the second up to "]".
            const std::size_t close = line.find(']', 1);
            if (close == std::string::npos) {
                continue;
            }
            const std::string_view number = std::string_view(line).substr(1, close - 1);
            if (!(Leading_number_value(number) > 0.0)) {
                continue;
            }
            const double index = Nearest_whole_value(number);
            if (index > TextTable::intMaxIndex) {
                continue;
            }
            std::string text = line.substr(close + 1);
            text.erase(text.find_last_not_of(' ') + 1);
            table.set(static_cast<int>(index), std::move(text));
        }
    } catch (const RunFailure& failure) {
        throw RunFailure("TextTable", failure.description(),
                         static_cast<ErrorNumber>(failure.number()))
            .at(lineNumber, fileName);
    }
}

const std::string& ObjectLineTable::cell(int row, int column) const {
    const auto found = m_rows.find(Table_index(row, intMaxRow, "ObjectLineTable"));
    return found == m_rows.end() ? kEmpty : found->second[static_cast<std::size_t>(column)];
}

void ObjectLineTable::setCell(int row, int column, std::string text) {
    std::string& cell =
        m_rows[Table_index(row, intMaxRow, "ObjectLineTable")][static_cast<std::size_t>(column)];
    account(m_bytes, cell.size(), text.size(), kMaxObjectLineBytes, "ObjectLineTable");
    cell = std::move(text);
}

void ObjectLineTable::Empty() {
    m_rows.clear();
    m_bytes = 0;
}

int Object_line_row(double value) {
    return Table_index(value, ObjectLineTable::intMaxRow, "ObjectLineTable");
}

} // namespace brennic::engine
