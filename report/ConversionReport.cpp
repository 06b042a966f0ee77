#include "report/ConversionReport.h"

#include "engine/CommandChain.h"
#include "engine/ObjectTranslation.h"
#include "engine/Tables.h"
#include "platform/Ascii.h"

#include <algorithm>
#include <iterator>
#include <map>

namespace brennic::report {

namespace {

std::string_view firstField(std::string_view text) { return text.substr(0, text.find(' ')); }

// The offset of the blank behind a line's number, or of its end.
std::size_t behindNumber(std::string_view strRead) {
    return std::min(strRead.find(' '), strRead.size());
}

// The keyword behind a line's number, where the run tests its commands.
std::string_view keywordOf(std::string_view strRead) {
    const std::string_view rest = strRead.substr(behindNumber(strRead));
    return firstField(rest.substr(std::min<std::size_t>(1, rest.size())));
}

std::string_view boxKey(engine::Switch box) {
    if (box == nullptr) {
        return {};
    }
    for (const auto& [key, member] : engine::kSwitchKeys) {
        if (member == box) {
            return key;
        }
    }
    return {};
}

struct LineKind {
    std::string word{};
    std::string_view box{};
};

// A line the run passed over, as the run read it: an object part, when the line has one, is named
// by the kind word behind its coordinates; any other line by the keyword behind its number.
LineKind kindOf(std::string_view strRead) {
    const std::size_t start = behindNumber(strRead);
    const std::size_t open = strRead.find('(', start);
    if (open == std::string_view::npos) {
        return {platform::asciiUpperCopy(keywordOf(strRead)),
                boxKey(engine::Command_switch(strRead.substr(start)))};
    }
    // X and Y end at commas, Z at ")"; the kind word stands one blank behind it.
    std::size_t end = strRead.find(',', open + 1);
    end = end == std::string_view::npos ? end : strRead.find(',', end + 1);
    end = end == std::string_view::npos ? end : strRead.find(')', end + 1);
    const std::string_view rest = end == std::string_view::npos
                                      ? std::string_view()
                                      : strRead.substr(std::min(end + 2, strRead.size()));
    return {platform::asciiUpperCopy(firstField(rest)), boxKey(engine::Object_kind_switch(rest))};
}

std::string numberText(const std::string& number) {
    return number.empty() ? "(no number)" : number;
}

} // namespace

void ConversionReport::scriptOpened(std::string_view fileName) {
    finishScript(true);
    m_blocks.push_back({std::string(fileName), {}, {}});
    m_scriptOpen = true;
    m_check = ScriptCheck();
    m_lines = 0;
    m_origins.clear();
    m_missing.clear();
    m_pending.clear();
    m_number.clear();
    m_strRead.clear();
    m_numbers.clear();
    m_passedOver.clear();
    m_firstPassedOver.clear();
}

void ConversionReport::missionLineRead(const engine::MissionLine& line) {
    m_number = line.strLineNumber;
    m_strRead = line.strRead;
    m_numbers.insert(m_number);
    if (!m_origins.empty() && m_origins.back().first == m_lines + 1) {
        m_origins.back().second = m_number; // the line before wrote nothing
    } else {
        m_origins.emplace_back(m_lines + 1, m_number);
    }
}

void ConversionReport::lineWritten(std::initializer_list<std::string_view> pieces) {
    m_text.clear();
    for (const std::string_view piece : pieces) {
        m_text.append(piece);
    }
    ++m_lines;
    m_check.addLine(m_text);
    for (Pointing& pending : m_pending) {
        pending.item.scriptLine = m_lines;
        pending.item.statement = m_text;
        m_missing.push_back(std::move(pending));
    }
    m_pending.clear();
}

void ConversionReport::missing(engine::Missing what, std::string_view number) {
    Pointing pending;
    if (what == engine::Missing::DeferredStatement) {
        pending.item.reason = platform::asciiUpperCopy(keywordOf(m_strRead)) + " " +
                              std::string(number) + " found nothing to create";
        pending.row = number;
    } else if (what == engine::Missing::BriefTextPastTable) {
        pending.item.reason = "no text " + std::string(number) + ", texts above " +
                              std::to_string(engine::TextTable::intMaxIndex) +
                              " are not read from e.txt";
    } else {
        pending.item.reason = "no text " + std::string(number) + " in e.txt";
    }
    m_pending.push_back(std::move(pending));
}

void ConversionReport::notTranslated() {
    if (m_strRead.find_first_not_of(' ') == std::string::npos) {
        return; // a blank line carries nothing to translate
    }
    LineKind kind = kindOf(m_strRead);
    m_firstPassedOver.try_emplace(m_number, m_passedOver.size());
    m_passedOver.push_back({m_number, std::move(kind.word), kind.box});
}

std::string ConversionReport::text(std::string_view failure) {
    finishScript(failure.empty());
    std::string text;
    for (const Block& block : m_blocks) {
        text += (text.empty() ? "" : "\r\n") + Block_text(block);
    }
    if (!failure.empty()) {
        text += (text.empty() ? "" : "\r\n") + std::string("The conversion failed: ") +
                std::string(failure) + "\r\n";
    }
    return text;
}

void ConversionReport::finishScript(bool complete) {
    if (!m_scriptOpen) {
        return;
    }
    m_scriptOpen = false;
    std::vector<Pointing> items;
    for (Item& item : m_check.findings()) {
        // OBJECTn is the object of GTA1 line n.
        constexpr std::string_view kObject = "OBJECT";
        const bool object = platform::startsWithIgnoringCase(item.undeclared, kObject);
        std::string row = object ? item.undeclared.substr(kObject.size()) : std::string();
        items.push_back({std::move(item), std::move(row)});
    }
    std::move(m_missing.begin(), m_missing.end(), std::back_inserter(items));
    std::stable_sort(items.begin(), items.end(), [](const Pointing& a, const Pointing& b) {
        return a.item.scriptLine < b.item.scriptLine;
    });
    Block& block = m_blocks.back();
    for (Pointing& pointing : items) {
        Item& item = pointing.item;
        const auto origin = std::upper_bound(
            m_origins.begin(), m_origins.end(), item.scriptLine,
            [](int line, const std::pair<int, std::string>& first) { return line < first.first; });
        if (origin != m_origins.begin()) {
            item.gta1Line = numberText(std::prev(origin)->second);
        }
        if (!pointing.row.empty()) {
            const std::string more = hint(pointing.row, complete);
            item.reason += more.empty() ? "" : "; " + more;
        }
        block.items.push_back(std::move(item));
    }
    block.summary = passedOverSummary();
}

// Why the GTA1 line an item points at left nothing behind, when the mission tells. Of a mission
// cut short by a failure, what is missing may only not have been read yet.
std::string ConversionReport::hint(const std::string& row, bool complete) const {
    const auto passedOver = m_firstPassedOver.find(row);
    if (passedOver != m_firstPassedOver.end()) {
        const PassedOver& line = m_passedOver[passedOver->second];
        std::string text = "GTA1 line " + row + (line.word.empty() ? "" : " (" + line.word + ")") +
                           " was not translated";
        return line.box.empty() ? text : text + ", turn on " + std::string(line.box);
    }
    return m_numbers.contains(row) || !complete ? std::string()
                                                : "this mission has no GTA1 line " + row;
}

// One line per kind word, most frequent first: "12 lines of CRANE not translated: 101, 102, ...".
std::vector<std::string> ConversionReport::passedOverSummary() const {
    std::map<std::string, std::vector<const PassedOver*>> byWord;
    for (const PassedOver& line : m_passedOver) {
        byWord[line.word].push_back(&line);
    }
    std::vector<std::pair<std::string, std::vector<const PassedOver*>>> groups(byWord.begin(),
                                                                               byWord.end());
    // Lines without a keyword come last among lines as frequent.
    std::stable_sort(groups.begin(), groups.end(), [](const auto& a, const auto& b) {
        return a.second.size() != b.second.size() ? a.second.size() > b.second.size()
                                                  : !a.first.empty() && b.first.empty();
    });
    std::vector<std::string> summary;
    for (const auto& [word, lines] : groups) {
        std::string text = std::to_string(lines.size()) + (lines.size() == 1 ? " line" : " lines") +
                           (word.empty() ? " without a keyword" : " of " + word) +
                           " not translated";
        const auto boxed = std::find_if(lines.begin(), lines.end(),
                                        [](const PassedOver* line) { return !line->box.empty(); });
        if (boxed != lines.end()) {
            text += ", turn on " + std::string((*boxed)->box);
        }
        text += ":";
        for (const PassedOver* line : lines) {
            text += (line == lines.front() ? " " : ", ") + numberText(line->number);
        }
        summary.push_back(std::move(text));
    }
    return summary;
}

} // namespace brennic::report
