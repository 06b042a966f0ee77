#include "platform/ProfileFile.h"

#include "platform/Ascii.h"
#include "platform/FileSystem.h"
#include "platform/TextReader.h"
#include "platform/TextWriter.h"

namespace brennic::platform {

namespace {

bool isProfileBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1a';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isProfileBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isProfileBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// What the profile functions see of a line: the bytes before its first NUL. The rest is kept
// for the file's sake, never read.
std::string_view visible(std::string_view line) { return line.substr(0, line.find('\0')); }

// The name of a section line, or nullopt for any other line.
std::optional<std::string_view> sectionName(std::string_view line) {
    line = trimmed(visible(line));
    const std::size_t close = line.rfind(']');
    if (!line.starts_with('[') || close == std::string_view::npos) {
        return std::nullopt;
    }
    return line.substr(1, close - 1);
}

struct KeyLine {
    std::string_view name;
    std::optional<std::string_view> value;
};

KeyLine keyLine(std::string_view line) {
    line = trimmed(visible(line));
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return {line, std::nullopt};
    }
    return {trimmed(line.substr(0, equals)), trimmed(line.substr(equals + 1))};
}

} // namespace

std::optional<ProfileFile> ProfileFile::read(const std::filesystem::path& path, IoError& error) {
    ProfileFile profile;
    if (!isFile(path)) {
        return profile;
    }
    const std::optional<std::string> data = readWholeFile(path, kMaxSize, error);
    if (!data) {
        return std::nullopt;
    }
    std::string_view rest = *data;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        profile.m_lines.emplace_back(line);
    }
    return profile;
}

std::optional<ProfileFile::Span> ProfileFile::findSection(std::string_view section) const {
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const auto name = sectionName(m_lines[i]);
        if (name && equalIgnoringCase(*name, section)) {
            Span span{.header = i, .end = i + 1};
            while (span.end < m_lines.size() && !sectionName(m_lines[span.end])) {
                ++span.end;
            }
            return span;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> ProfileFile::findKey(const Span& span, std::string_view key) const {
    for (std::size_t i = span.header + 1; i < span.end; ++i) {
        if (equalIgnoringCase(keyLine(m_lines[i]).name, key)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::string> ProfileFile::value(std::string_view section,
                                              std::string_view key) const {
    const auto span = findSection(section);
    const auto line = span ? findKey(*span, key) : std::nullopt;
    const auto found = line ? keyLine(m_lines[*line]).value : std::nullopt;
    if (!found) {
        return std::nullopt;
    }
    std::string_view text = *found;
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
        text.back() == text.front()) {
        text = text.substr(1, text.size() - 2);
    }
    return std::string(text);
}

void ProfileFile::setValue(std::string_view section, std::string_view key, std::string_view value) {
    std::string line = std::string(key) + "=" + std::string(value);
    const auto span = findSection(section);
    if (!span) {
        m_lines.push_back("[" + std::string(section) + "]");
        m_lines.push_back(std::move(line));
        return;
    }
    if (const auto existing = findKey(*span, key)) {
        m_lines[*existing] =
            std::string(keyLine(m_lines[*existing]).name) + "=" + std::string(value);
        return;
    }
    std::size_t last = span->end;
    while (last > span->header + 1 && trimmed(visible(m_lines[last - 1])).empty()) {
        --last;
    }
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(last), std::move(line));
}

bool ProfileFile::save(const std::filesystem::path& path) const {
    IoError error;
    auto file = TextWriter::replace(path, SpecialFiles::Refuse, error);
    if (!file) {
        return false;
    }
    for (const std::string& line : m_lines) {
        file->writeLine(line);
    }
    return !file->close();
}

} // namespace brennic::platform
