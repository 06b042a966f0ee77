#include "report/ScriptCheck.h"

#include "platform/Ascii.h"

#include <algorithm>
#include <iterator>
#include <tuple>

namespace brennic::report {

namespace {

using platform::startsWithIgnoringCase;

// Names quoted in a reason are cut to this many bytes, as the language check cuts them.
constexpr std::size_t kShownBytes = 40;

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

bool isDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool inFamily(std::string_view word) {
    return std::any_of(
        std::begin(kNameFamilies), std::end(kNameFamilies), [word](const NameFamily& family) {
            return startsWithIgnoringCase(word, family.prefix) &&
                   (!family.digitsOnly || isDigits(word.substr(family.prefix.size())));
        });
}

std::string shownName(std::string_view name) {
    return name.size() <= kShownBytes ? std::string(name)
                                      : std::string(name.substr(0, kShownBytes)) + "...";
}

std::optional<std::string> gta1Line(std::string origin) {
    return origin.empty() ? std::nullopt : std::optional<std::string>(std::move(origin));
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

ScriptCheck::ScriptCheck(std::size_t maxItems)
    : m_language(maxItems, inFamily), m_maxItems(maxItems) {}

void ScriptCheck::addLine(std::string_view text, std::optional<engine::Marker> marker,
                          std::string_view origin) {
    ++m_lines;
    m_language.addLine(text, origin);
    if (marker) {
        keep({m_lines,
              gta1Line(std::string(origin)),
              std::string(reasonOf(*marker)),
              Line_excerpt(text),
              {},
              true},
             m_order++);
        return;
    }
    for (const LanguageCheck::Token& token : m_language.tokens()) {
        const std::string_view word = token.text;
        if (token.type != LanguageCheck::Token::Type::Name || !inFamily(word)) {
            continue;
        }
        m_key.assign(word);
        std::transform(m_key.begin(), m_key.end(), m_key.begin(), platform::asciiUpper);
        if (m_language.isDeclared(m_key)) {
            // Declared after its uses: the language check lists the first of them.
            if (const auto found = m_pending.find(m_key); found != m_pending.end()) {
                m_usesKept -= found->second.uses.size();
                m_pending.erase(found);
            }
            continue;
        }
        Pending& pending = m_pending[m_key];
        if (pending.lastLine == m_lines) {
            continue; // one item per line and name
        }
        pending.lastLine = m_lines;
        if (m_usesKept < m_maxItems) {
            pending.uses.push_back(
                {m_lines, m_order++, shownName(word), Line_excerpt(text), std::string(origin)});
            ++m_usesKept;
        } else {
            ++pending.usesNotKept;
        }
    }
}

void ScriptCheck::keep(Item item, std::size_t order) {
    ++m_counted;
    if (m_items.size() < m_maxItems) {
        m_items.emplace_back(std::move(item), order);
    } else {
        ++m_notKept;
    }
}

void ScriptCheck::finish() {
    m_language.finish();
    if (role() != ScriptRole::Mission) {
        settleNames({});
    }
}

void ScriptCheck::settleNames(std::span<const LanguageCheck* const> levels) {
    if (m_settled) {
        return;
    }
    m_settled = true;
    for (auto& [key, pending] : m_pending) {
        const std::string& name = key; // a lambda may not capture a structured binding in C++20
        if (m_language.isDeclared(name) ||
            std::any_of(levels.begin(), levels.end(),
                        [&name](const LanguageCheck* level) { return level->isDeclared(name); })) {
            continue;
        }
        for (Use& use : pending.uses) {
            m_items.emplace_back(Item{use.line, gta1Line(std::move(use.origin)),
                                      use.spelling + " is not declared", std::move(use.excerpt),
                                      use.spelling, true},
                                 use.order);
        }
        m_counted += pending.uses.size() + pending.usesNotKept;
        m_notKept += pending.usesNotKept;
    }
    m_pending.clear();
    m_usesKept = 0;
}

std::vector<Item> ScriptCheck::items() const {
    std::vector<Item> language;
    for (LanguageItem& item : m_language.items()) {
        language.push_back({item.scriptLine,
                            gta1Line(std::move(item.origin)),
                            std::move(item.reason),
                            std::move(item.excerpt),
                            {},
                            item.counted});
    }
    std::vector<std::pair<Item, std::size_t>> own = m_items;
    std::sort(own.begin(), own.end(), [](const auto& a, const auto& b) {
        return std::tie(a.first.scriptLine, a.second) < std::tie(b.first.scriptLine, b.second);
    });
    std::vector<Item> sortedOwn;
    sortedOwn.reserve(own.size());
    for (auto& [item, order] : own) {
        sortedOwn.push_back(std::move(item));
    }
    // On one line the language's items come first.
    std::vector<Item> items;
    items.reserve(language.size() + sortedOwn.size());
    std::merge(std::make_move_iterator(language.begin()), std::make_move_iterator(language.end()),
               std::make_move_iterator(sortedOwn.begin()), std::make_move_iterator(sortedOwn.end()),
               std::back_inserter(items),
               [](const Item& a, const Item& b) { return a.scriptLine < b.scriptLine; });
    if (items.size() > m_maxItems) {
        items.resize(m_maxItems);
    }
    return items;
}

std::size_t ScriptCheck::countedItems() const { return m_language.countedItems() + m_counted; }

std::size_t ScriptCheck::unlistedItems() const {
    const std::size_t languageKept =
        m_language.countedItems() + m_language.notCheckedItems() - m_language.unlistedItems();
    const std::size_t kept = languageKept + m_items.size();
    return m_language.unlistedItems() + m_notKept + (kept - std::min(kept, m_maxItems));
}

void Settle_script_set(std::span<ScriptCheck> scripts) {
    std::vector<const LanguageCheck*> levels;
    for (const ScriptCheck& script : scripts) {
        if (script.role() == ScriptRole::Level) {
            levels.push_back(&script.m_language);
        }
    }
    for (ScriptCheck& script : scripts) {
        if (script.role() == ScriptRole::Mission) {
            script.m_language.settle(levels);
            script.settleNames(levels);
        }
    }
}

ScriptRead Check_script_file(const std::filesystem::path& path, ScriptCheck& check,
                             const std::function<bool()>& stop, platform::IoError& error) {
    const auto line = [&check](std::string_view text) { check.addLine(text, Find_marker(text)); };
    const ScriptRead read = Read_script_lines(path, line, stop, error);
    if (read == ScriptRead::Read) {
        check.finish();
    }
    return read;
}

} // namespace brennic::report
