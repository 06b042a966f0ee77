#include "report/ConversionReport.h"

#include "engine/Tables.h"
#include "platform/Ascii.h"

#include <algorithm>
#include <iterator>
#include <map>

namespace brennic::report {

namespace {

std::string_view boxKey(engine::Switch box) {
    for (const auto& [key, member] : engine::kSwitchKeys) {
        if (box != nullptr && member == box) {
            return key;
        }
    }
    return {};
}

std::string numberText(const std::string& number) {
    return number.empty() ? "(no number)" : number;
}

} // namespace

void ConversionReport::textsRead(std::string_view fileName) { m_textFile = fileName; }

void ConversionReport::scriptOpened(std::string_view fileName) {
    finishScript(true);
    m_blocks.push_back({std::string(fileName), {}, {}});
    m_script.emplace();
}

void ConversionReport::missionLineRead(std::string_view lineNumber) {
    if (!m_script) {
        return; // the run fails at the line's first write
    }
    OpenScript& script = *m_script;
    script.number = lineNumber;
    script.word.clear();
    script.numbers.insert(script.number);
    if (!script.origins.empty() && script.origins.back().first == script.lines + 1) {
        script.origins.back().second = script.number; // the line before wrote nothing
    } else {
        script.origins.emplace_back(script.lines + 1, script.number);
    }
}

void ConversionReport::translated(std::string_view word) {
    if (m_script) {
        m_script->word = word;
    }
}

void ConversionReport::notTranslated(std::string_view word, engine::Switch box) {
    if (!m_script) {
        return;
    }
    OpenScript& script = *m_script;
    script.firstPassedOver.try_emplace(script.number, script.passedOver.size());
    script.passedOver.push_back({script.number, platform::asciiUpperCopy(word), boxKey(box)});
}

void ConversionReport::markerLeft(engine::Marker marker) {
    if (m_script) {
        m_script->pendingMarker = marker;
    }
}

void ConversionReport::missing(engine::Missing what, std::string_view number) {
    if (!m_script) {
        return;
    }
    OpenScript& script = *m_script;
    Pointing pending;
    if (what == engine::Missing::DeferredStatement) {
        pending.item.reason = script.word + " " + std::string(number) + " found nothing to create";
        pending.row = number;
    } else if (what == engine::Missing::BriefTextPastTable) {
        pending.item.reason = "no text " + std::string(number) + ", texts above " +
                              std::to_string(engine::TextTable::intMaxIndex) +
                              " are not read from " +
                              (m_textFile.empty() ? std::string("text files") : m_textFile);
    } else {
        pending.item.reason =
            "no text " + std::string(number) +
            (m_textFile.empty() ? ", no text file was read" : " in " + m_textFile);
    }
    script.pending.push_back(std::move(pending));
}

void ConversionReport::lineWritten(std::initializer_list<std::string_view> pieces) {
    if (!m_script) {
        return;
    }
    OpenScript& script = *m_script;
    m_text.clear();
    for (const std::string_view piece : pieces) {
        m_text.append(piece);
    }
    ++script.lines;
    script.check.addLine(m_text, std::exchange(script.pendingMarker, std::nullopt));
    for (Pointing& pending : script.pending) {
        pending.item.scriptLine = script.lines;
        pending.item.statement = m_text;
        script.missing.push_back(std::move(pending));
    }
    script.pending.clear();
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
    if (!m_script) {
        return;
    }
    OpenScript script = std::move(*m_script);
    m_script.reset();
    std::vector<Pointing> items;
    for (Item& item : script.check.findings()) {
        // OBJECTn is the object of GTA1 line n.
        constexpr std::string_view kObject = "OBJECT";
        const bool object = platform::startsWithIgnoringCase(item.undeclared, kObject);
        std::string row = object ? item.undeclared.substr(kObject.size()) : std::string();
        items.push_back({std::move(item), std::move(row)});
    }
    std::move(script.missing.begin(), script.missing.end(), std::back_inserter(items));
    std::stable_sort(items.begin(), items.end(), [](const Pointing& a, const Pointing& b) {
        return a.item.scriptLine < b.item.scriptLine;
    });
    Block& block = m_blocks.back();
    for (Pointing& pointing : items) {
        Item& item = pointing.item;
        const auto origin = std::upper_bound(
            script.origins.begin(), script.origins.end(), item.scriptLine,
            [](int line, const std::pair<int, std::string>& first) { return line < first.first; });
        if (origin != script.origins.begin()) {
            item.gta1Line = numberText(std::prev(origin)->second);
        }
        if (!pointing.row.empty()) {
            const std::string more = hint(script, pointing.row, complete);
            item.reason += more.empty() ? "" : "; " + more;
        }
        block.items.push_back(std::move(item));
    }
    block.summary = passedOverSummary(script);
}

// Why the GTA1 line an item points at left nothing behind, when the mission tells. Of a mission
// cut short by a failure, what is missing may only not have been read yet.
std::string ConversionReport::hint(const OpenScript& script, const std::string& row,
                                   bool complete) {
    const auto passedOver = script.firstPassedOver.find(row);
    if (passedOver != script.firstPassedOver.end()) {
        const PassedOver& line = script.passedOver[passedOver->second];
        std::string text = "GTA1 line " + row + (line.word.empty() ? "" : " (" + line.word + ")") +
                           " was not translated";
        return line.box.empty() ? text : text + ", turn on " + std::string(line.box);
    }
    return script.numbers.contains(row) || !complete ? std::string()
                                                     : "this mission has no GTA1 line " + row;
}

// One line per kind word, most frequent first: "12 lines of CRANE not translated: 101, 102, ...".
std::vector<std::string> ConversionReport::passedOverSummary(const OpenScript& script) {
    std::map<std::string, std::vector<const PassedOver*>> byWord;
    for (const PassedOver& line : script.passedOver) {
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
