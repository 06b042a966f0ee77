#include "report/ConversionReport.h"

#include "engine/Tables.h"
#include "platform/Ascii.h"
#include "report/ScriptCheck.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

namespace brennic::report {

namespace {

// Words and numbers of GTA1 lines are quoted up to this many bytes.
constexpr std::size_t kShownBytes = 40;

std::string_view boxKey(engine::Switch box) {
    for (const auto& [key, member] : engine::kSwitchKeys) {
        if (box != nullptr && member == box) {
            return key;
        }
    }
    return {};
}

// What the report calls a GTA1 line: its number, cut short.
void assignNumberText(std::string& text, std::string_view number) {
    if (number.empty()) {
        text.assign("(no number)");
        return;
    }
    text.assign(number.substr(0, kShownBytes));
    if (number.size() > kShownBytes) {
        text.append("...");
    }
}

// The row of ObjectLineTable a GTA1 line number names, when it names one as the mission writes it.
std::optional<std::size_t> rowOf(std::string_view number) {
    if (number.empty() || (number.size() > 1 && number.front() == '0')) {
        return std::nullopt;
    }
    std::size_t row = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), row);
    if (error != std::errc() || end != number.data() + number.size() ||
        row > static_cast<std::size_t>(engine::ObjectLineTable::intMaxRow)) {
        return std::nullopt;
    }
    return row;
}

// An item whose hint waits for the end of its mission: the GTA1 line it points at, if any.
struct Pointing {
    Item item{};
    std::string row{};
};

// The lines of one word nothing translated, in the order read.
struct Group {
    std::vector<std::string> numbers{};
    std::string_view box{}; // the check box that would have translated them, if any
};

// The first GTA1 line of a number that nothing translated, as a hint names it.
struct PassedOver {
    const std::string* word = nullptr; // upper-cased, cut short; empty without one
    std::string_view box{};
};

} // namespace

struct ConversionReport::OpenScript {
    std::string name{};
    ScriptCheck check{};
    int lines = 0;
    std::string origin{};             // of the lines written now: the GTA1 line read last
    std::optional<std::size_t> row{}; // that line's number, when it is a row of the tables
    std::vector<Pointing> missing{};
    std::size_t missingNotKept = 0;
    std::vector<Pointing> pending{};               // for the next line written
    std::optional<engine::Marker> pendingMarker{}; // the next line written is this marker
    std::string word{};                            // what matched in the GTA1 line read last
    std::vector<bool> rows = std::vector<bool>(engine::ObjectLineTable::intMaxRow + 1);
    std::unordered_map<std::string, Group> passedOver{};           // by word
    std::unordered_map<std::size_t, PassedOver> firstPassedOver{}; // by row
};

namespace {

// One line per kind word, most frequent first: "12 lines of CRANE not translated: 101, 102, ...".
std::vector<std::string>
passedOverSummary(const std::unordered_map<std::string, Group>& passedOver) {
    std::vector<const std::pair<const std::string, Group>*> groups;
    for (const auto& group : passedOver) {
        groups.push_back(&group);
    }
    // Lines without a keyword come last among lines as frequent; words in byte order.
    std::sort(groups.begin(), groups.end(), [](const auto* a, const auto* b) {
        if (a->second.numbers.size() != b->second.numbers.size()) {
            return a->second.numbers.size() > b->second.numbers.size();
        }
        if (a->first.empty() != b->first.empty()) {
            return b->first.empty();
        }
        return a->first < b->first;
    });
    std::vector<std::string> summary;
    for (const auto* group : groups) {
        const auto& [word, lines] = *group;
        const std::size_t count = lines.numbers.size();
        std::string text = std::to_string(count) + (count == 1 ? " line" : " lines") +
                           (word.empty() ? " without a keyword" : " of " + word) +
                           " not translated";
        if (!lines.box.empty()) {
            text += ", turn on " + std::string(lines.box);
        }
        text += ":";
        for (std::size_t i = 0; i < count; ++i) {
            text += (i == 0 ? " " : ", ") + lines.numbers[i];
        }
        summary.push_back(std::move(text));
    }
    return summary;
}

} // namespace

ConversionReport::ConversionReport()
    : m_sink([this](std::string_view text) { m_kept.append(text); }) {}

ConversionReport::ConversionReport(ReportSink sink) : m_sink(std::move(sink)) {}

ConversionReport::~ConversionReport() = default;

void ConversionReport::textsRead(std::string_view fileName) { m_textFile = fileName; }

void ConversionReport::scriptOpened(std::string_view fileName) {
    finishScript(true);
    m_script = std::make_unique<OpenScript>();
    m_script->name = fileName;
}

void ConversionReport::missionLineRead(std::string_view lineNumber) {
    if (!m_script) {
        return; // the run fails at the line's first write
    }
    OpenScript& script = *m_script;
    assignNumberText(script.origin, lineNumber);
    script.word.clear();
    script.row = rowOf(lineNumber);
    if (script.row) {
        script.rows[*script.row] = true;
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
    m_word.assign(word.substr(0, kShownBytes));
    std::transform(m_word.begin(), m_word.end(), m_word.begin(), platform::asciiUpper);
    if (word.size() > kShownBytes) {
        m_word.append("...");
    }
    const auto group = script.passedOver.try_emplace(m_word).first;
    group->second.numbers.push_back(script.origin);
    if (group->second.box.empty()) {
        group->second.box = boxKey(box);
    }
    if (script.row) {
        script.firstPassedOver.try_emplace(*script.row, PassedOver{&group->first, boxKey(box)});
    }
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
    script.check.addLine(m_text, std::exchange(script.pendingMarker, std::nullopt), script.origin);
    for (Pointing& pending : script.pending) {
        if (script.missing.size() == ScriptCheck::kMaxItems) {
            ++script.missingNotKept;
            continue;
        }
        pending.item.scriptLine = script.lines;
        pending.item.statement = Line_excerpt(m_text);
        if (!script.origin.empty()) {
            pending.item.gta1Line = script.origin;
        }
        script.missing.push_back(std::move(pending));
    }
    script.pending.clear();
}

void ConversionReport::finish(std::string_view failure) {
    if (m_finished) {
        return;
    }
    m_finished = true;
    finishScript(failure.empty());
    if (!failure.empty()) {
        write("The conversion failed: " + std::string(failure) + "\r\n");
    }
}

std::string ConversionReport::text(std::string_view failure) {
    finish(failure);
    return std::exchange(m_kept, {});
}

void ConversionReport::write(const std::string& text) {
    m_sink(m_wrote ? "\r\n" + text : text);
    m_wrote = true;
}

void ConversionReport::finishScript(bool complete) {
    if (!m_script) {
        return;
    }
    OpenScript& script = *m_script;
    script.check.finish();
    Settle_script_set({&script.check, 1}); // a converted script is a level script on its own
    Block block{};
    std::vector<Pointing> found;
    for (Item& item : script.check.items()) {
        // OBJECTn is the object of GTA1 line n.
        constexpr std::string_view kObject = "OBJECT";
        const bool object = platform::startsWithIgnoringCase(item.undeclared, kObject);
        std::string row = object ? item.undeclared.substr(kObject.size()) : std::string();
        found.push_back({std::move(item), std::move(row)});
    }
    // Both in line order; on one line what the check found comes first.
    std::vector<Pointing> items;
    items.reserve(found.size() + script.missing.size());
    std::merge(
        std::make_move_iterator(found.begin()), std::make_move_iterator(found.end()),
        std::make_move_iterator(script.missing.begin()),
        std::make_move_iterator(script.missing.end()), std::back_inserter(items),
        [](const Pointing& a, const Pointing& b) { return a.item.scriptLine < b.item.scriptLine; });
    block.unlisted = script.check.unlistedItems() + script.missingNotKept;
    if (items.size() > ScriptCheck::kMaxItems) {
        block.unlisted += items.size() - ScriptCheck::kMaxItems;
        items.resize(ScriptCheck::kMaxItems);
    }
    for (Pointing& pointing : items) {
        if (const auto row = rowOf(pointing.row)) {
            const std::string more = hint(script, *row, complete);
            pointing.item.reason += more.empty() ? "" : "; " + more;
        }
        block.items.push_back(std::move(pointing.item));
    }
    block.summary = passedOverSummary(script.passedOver);
    block.script = std::move(script.name);
    const auto counted = static_cast<std::size_t>(std::count_if(
        block.items.begin(), block.items.end(), [](const Item& item) { return item.counted; }));
    const std::size_t left = counted + block.unlisted + block.summary.size();
    ++m_tally.scripts;
    m_tally.scriptsWithItems += left == 0 ? 0 : 1;
    m_tally.items += left;
    m_script.reset();
    write(Block_text(block));
}

// Why the GTA1 line an item points at left nothing behind, when the mission tells. Of a mission
// cut short by a failure, what is missing may only not have been read yet.
std::string ConversionReport::hint(const OpenScript& script, std::size_t row, bool complete) {
    const std::string number = std::to_string(row);
    const auto passedOver = script.firstPassedOver.find(row);
    if (passedOver != script.firstPassedOver.end()) {
        const PassedOver& line = passedOver->second;
        std::string text = "GTA1 line " + number +
                           (line.word->empty() ? "" : " (" + *line.word + ")") +
                           " was not translated";
        return line.box.empty() ? text : text + ", turn on " + std::string(line.box);
    }
    return script.rows[row] || !complete ? std::string()
                                         : "this mission has no GTA1 line " + number;
}

} // namespace brennic::report
