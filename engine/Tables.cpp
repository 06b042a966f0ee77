#include "engine/Tables.h"

#include "engine/MissionLine.h"
#include "engine/RunFailure.h"
#include "platform/FileSystem.h"
#include "platform/ProfileFile.h"
#include "platform/TextFile.h"

#include <utility>

namespace brennic::engine {

namespace {

constexpr std::string_view kVehicleSection = "BRENNIC Vehicles";
constexpr std::size_t kVehicleNameLength = 9;

struct DefaultVehicle {
    int number;
    std::string_view name;
};

constexpr DefaultVehicle kDefaultVehicles[] = {
    {1, "BUG"},       {4, "COPCAR"}, {5, "MEDICAR"}, {6, "HOTDOG"},    {22, "TAXI"},
    {35, "LIMO"},     {37, "TANK"},  {41, "DART"},   {42, "FIRETRUK"}, {43, "BUS"},
    {44, "BOXTRUCK"}, {45, "TVVAN"}, {46, "VAN"},
};

} // namespace

VehicleTable::VehicleTable() = default;

const std::string& VehicleTable::at(int index) const {
    return m_names[static_cast<std::size_t>(Table_index(index, intMaxIndex, "VehicleTable"))];
}

void VehicleTable::set(int index, std::string name) {
    m_names[static_cast<std::size_t>(Table_index(index, intMaxIndex, "VehicleTable"))] =
        std::move(name);
}

void Load_VehicleTable(VehicleTable& table, const std::optional<std::filesystem::path>& file) {
    if (!file || !platform::isFile(*file)) {
        for (int i = 0; i <= VehicleTable::intMaxIndex; ++i) {
            table.set(i, "EDSEL");
        }
        for (const auto& [number, name] : kDefaultVehicles) {
            table.set(number, std::string(name));
        }
        return;
    }
    platform::IoError error;
    const auto profile = platform::ProfileFile::load(*file, &error);
    if (error.number != 0) {
        throw RunFailure("VehicleTable", error.description, error.number);
    }
    const std::string other =
        profile.value(kVehicleSection, "other").value_or("").substr(0, kVehicleNameLength);
    for (int i = 0; i <= VehicleTable::intMaxIndex; ++i) {
        std::string name = profile.value(kVehicleSection, std::to_string(i))
                               .value_or("")
                               .substr(0, kVehicleNameLength);
        table.set(i, name.empty() ? other : std::move(name));
    }
}

TextTable::TextTable() : m_texts(intMaxIndex + 1) {}

const std::string& TextTable::at(int index) const {
    return m_texts[static_cast<std::size_t>(Table_index(index, intMaxIndex, "TextTable"))];
}

void TextTable::set(int index, std::string text) {
    m_texts[static_cast<std::size_t>(Table_index(index, intMaxIndex, "TextTable"))] =
        std::move(text);
}

void Load_TextTable(TextTable& table, const std::filesystem::path& file) {
    platform::IoError error;
    auto reader = platform::LineReader::open(file, error);
    if (!reader) {
        throw RunFailure("TextTable", error.description, error.number);
    }
    MissionLine line;
    while (reader->readLine(line.strRead)) {
        // The first character is not examined; the number runs from the second up to "]".
        const std::size_t close = line.strRead.find(']', 1);
        setCursor(line, (close == std::string::npos ? line.strRead.size() : close) + 1);
        if (close == std::string::npos) {
            continue;
        }
        stepCursor(line, 1);
        const std::string_view number = std::string_view(line.strRead).substr(1, close - 1);
        const double value = Leading_number_value(number);
        if (!(value > 0.0)) {
            continue;
        }
        const double index = Nearest_whole_value(number);
        if (index > TextTable::intMaxIndex) {
            continue;
        }
        std::string text = line.strRead.substr(close + 1);
        while (!text.empty() && text.back() == ' ') {
            text.pop_back();
        }
        table.set(static_cast<int>(index), std::move(text));
    }
    if (reader->failure()) {
        throw RunFailure("TextTable", reader->failure()->description, reader->failure()->number);
    }
}

ObjectLineTable::ObjectLineTable() : m_rows(intMaxRow + 1), m_written(intMaxRow + 1, false) {}

const std::string& ObjectLineTable::cell(int row, int column) const {
    return m_rows[static_cast<std::size_t>(Table_index(row, intMaxRow, "ObjectLineTable"))]
                 [static_cast<std::size_t>(column)];
}

void ObjectLineTable::setCell(int row, int column, std::string text) {
    const auto index = static_cast<std::size_t>(Table_index(row, intMaxRow, "ObjectLineTable"));
    if (!m_written[index]) {
        m_written[index] = true;
        m_writtenRows.push_back(row);
    }
    m_rows[index][static_cast<std::size_t>(column)] = std::move(text);
}

void ObjectLineTable::Empty() {
    for (const int row : m_writtenRows) {
        for (auto& cell : m_rows[static_cast<std::size_t>(row)]) {
            cell.clear();
        }
        m_written[static_cast<std::size_t>(row)] = false;
    }
    m_writtenRows.clear();
}

int Object_line_row(double value) {
    return Table_index(value, ObjectLineTable::intMaxRow, "ObjectLineTable");
}

} // namespace brennic::engine
