#include "report/ScriptCheck.h"

#include "platform/Ascii.h"
#include "platform/TextReader.h"

#include <algorithm>

namespace brennic::report {

namespace {

using platform::asciiUpperCopy;
using platform::equalIgnoringCase;
using platform::startsWithIgnoringCase;

// Lines longer than this are no script lines a user would keep.
constexpr std::size_t kMaxScriptLineLength = std::size_t{1} << 20;

// What declares a name: a statement that begins with one of these forms, "%" standing for the
// name and a word ending in "*" for every word that begins so. A new form is one more line.
constexpr std::string_view kDeclarationForms[] = {
    "PLAYER_PED %", // PLAYER
    "CHAR_DATA %",  // PED, FUTUREPED
    "CAR_DATA %",   // FUTURECAR, PARKED, HELLS, the script head's car
    "OBJ_DATA %",   // markers, phones, shops, FUTURE, powerups
    "DOOR_DATA %",  // DOOR
    "GENERATOR %",  // respawning powerups
    "ARROW_DATA %", // the script head's arrow
    "COUNTER %",    // the script head's loop counter
    "% = CREATE_*", // a deferred creation, as CAR_ON, PED_ON and POWERUP_ON write it
};

// The names the converter makes up: "OBJECT" or "object" and a GTA1 line number (or whatever
// argument a command gave, nothing included), and the players it numbers.
struct NameFamily {
    std::string_view prefix;
    bool digitsOnly = false; // the rest must be one or more digits
};

constexpr NameFamily kNameFamilies[] = {
    {"OBJECT", false},
    {"PLAYER", true},
};

std::string_view reasonOf(engine::Marker marker) {
    switch (marker) {
    case engine::Marker::MoveFailLine:
        return "fail line to move here";
    case engine::Marker::CheckCarTest:
        return "CHECK_CAR test left as a comment";
    case engine::Marker::IsGoalDeadTest:
        return "IS_GOAL_DEAD test left as a comment";
    case engine::Marker::MissionEnd:
        break;
    }
    return "MISSION_END left as a comment";
}

bool isBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

bool isNameChar(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool isDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The statement's tokens up to its comment: names and numbers whole, every other character that
// is not blank alone.
void tokens(std::string_view text, std::vector<std::string_view>& out) {
    text = text.substr(0, text.find("//"));
    out.clear();
    std::size_t i = 0;
    while (i < text.size()) {
        if (isBlank(text[i])) {
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        if (isNameChar(text[i])) {
            while (end < text.size() && isNameChar(text[end])) {
                ++end;
            }
        }
        out.push_back(text.substr(i, end - i));
        i = end;
    }
}

// The name the form declares at the start of the tokens; empty when the form does not match.
std::string_view declaredBy(std::string_view form, const std::vector<std::string_view>& words) {
    std::string_view name;
    std::size_t next = 0;
    while (!form.empty()) {
        const std::size_t blank = form.find(' ');
        const std::string_view part = form.substr(0, blank);
        form = blank == std::string_view::npos ? std::string_view() : form.substr(blank + 1);
        if (next == words.size()) {
            return {};
        }
        const std::string_view word = words[next++];
        if (part == "%") {
            if (!isNameChar(word.front())) {
                return {};
            }
            name = word;
        } else if (part.ends_with('*')) {
            if (!startsWithIgnoringCase(word, part.substr(0, part.size() - 1))) {
                return {};
            }
        } else if (!equalIgnoringCase(part, word)) {
            return {};
        }
    }
    return name;
}

bool inFamily(std::string_view word) {
    return std::any_of(
        std::begin(kNameFamilies), std::end(kNameFamilies), [word](const NameFamily& family) {
            return startsWithIgnoringCase(word, family.prefix) &&
                   (!family.digitsOnly || isDigits(word.substr(family.prefix.size())));
        });
}

} // namespace

std::optional<engine::Marker> Find_marker(std::string_view text) {
    const std::size_t start = std::min(text.find_first_not_of(" \t"), text.size());
    for (const engine::Marker marker : engine::kMarkers) {
        if (text.substr(start).starts_with(engine::Marker_text(marker))) {
            return marker;
        }
    }
    return std::nullopt;
}

void ScriptCheck::addLine(std::string_view text, std::optional<engine::Marker> marker) {
    ++m_lines;
    if (marker) {
        m_candidates.push_back({m_lines, std::string(text), reasonOf(*marker), {}});
        return;
    }
    std::vector<std::string_view>& words = m_words;
    tokens(text, words);
    if (words.empty()) {
        return;
    }
    for (const std::string_view form : kDeclarationForms) {
        const std::string_view name = declaredBy(form, words);
        if (!name.empty()) {
            m_declared.insert(asciiUpperCopy(name));
            break;
        }
    }
    Candidate candidate{m_lines, {}, {}, {}};
    for (const std::string_view word : words) {
        if (isNameChar(word.front()) && inFamily(word) &&
            std::none_of(
                candidate.names.begin(), candidate.names.end(),
                [word](const std::string& name) { return equalIgnoringCase(name, word); })) {
            candidate.names.emplace_back(word);
        }
    }
    if (!candidate.names.empty()) {
        candidate.statement = text;
        m_candidates.push_back(std::move(candidate));
    }
}

std::vector<Item> ScriptCheck::findings() const {
    std::vector<Item> out;
    for (const Candidate& candidate : m_candidates) {
        if (!candidate.reason.empty()) {
            out.push_back(
                {candidate.scriptLine, {}, std::string(candidate.reason), candidate.statement});
            continue;
        }
        for (const std::string& name : candidate.names) {
            if (!m_declared.contains(asciiUpperCopy(name))) {
                out.push_back({candidate.scriptLine,
                               {},
                               name + " is not declared",
                               candidate.statement,
                               name});
            }
        }
    }
    return out;
}

std::optional<Block> Check_script_file(const std::filesystem::path& path, std::string name,
                                       platform::IoError& error) {
    auto reader = platform::LineReader::open(path, kMaxScriptLineLength, error);
    if (!reader) {
        return std::nullopt;
    }
    ScriptCheck check;
    std::string line;
    for (;;) {
        switch (reader->readLine(line)) {
        case platform::LineReader::Result::Line:
            check.addLine(line, Find_marker(line));
            continue;
        case platform::LineReader::Result::End:
            return Block{std::move(name), check.findings(), {}};
        case platform::LineReader::Result::TooLong:
            error = {.kind = platform::IoErrorKind::Other,
                     .description = name + " has a line longer than " +
                                    std::to_string(kMaxScriptLineLength) + " characters"};
            return std::nullopt;
        case platform::LineReader::Result::Failed:
            error = *reader->failure();
            return std::nullopt;
        }
    }
}

} // namespace brennic::report
