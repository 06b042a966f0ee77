#pragma once

#include "engine/RunNotes.h"
#include "platform/IoError.h"
#include "report/LanguageCheck.h"
#include "report/ReportText.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace brennic::report {

// The checks a script allows, fed one line at a time: GTA2's language (LanguageCheck), the
// statements the converter left for the user as comments, and each line that uses a name of the
// converter's families (OBJECTn, playern) which the script declares nowhere (letter case ignored);
// a name used before its declaration is the language check's item. Time and memory are linear in
// the script whatever it holds: of the items, the first `maxItems` in line order are kept, each
// with a short excerpt of its line, and the others are only counted.
class ScriptCheck {
  public:
    static constexpr std::size_t kMaxItems = 1000;

    explicit ScriptCheck(std::size_t maxItems = kMaxItems);

    // The script's next line, without its line end. marker: the marker the line is, if it is one
    // (a run tells; a script read alone is searched with Find_marker). origin: what the caller
    // calls the line (the GTA1 line that wrote it), handed back as the items' gta1Line.
    void addLine(std::string_view text, std::optional<engine::Marker> marker,
                 std::string_view origin = {});
    // The end of the script. A mission script's names wait for Settle_script_set.
    void finish();

    ScriptRole role() const { return m_language.role(); }
    // The kept items in line order (on one line the language's first), once settled.
    std::vector<Item> items() const;
    // Items that make the script fail, kept or not; and the items, of either kind, not kept.
    std::size_t countedItems() const;
    std::size_t unlistedItems() const;

  private:
    friend void Settle_script_set(std::span<ScriptCheck> scripts);

    // A line that uses a name nothing has declared yet.
    struct Use {
        int line = 0;
        std::size_t order = 0; // among the items of this check, for those of one line
        std::string spelling{};
        std::string excerpt{};
        std::string origin{};
    };
    struct Pending {
        int lastLine = 0;
        std::vector<Use> uses{};
        std::size_t usesNotKept = 0;
    };

    void keep(Item item, std::size_t order);
    void settleNames(std::span<const LanguageCheck* const> levels);

    LanguageCheck m_language;
    std::size_t m_maxItems;
    int m_lines = 0;
    std::size_t m_order = 0;
    std::vector<std::pair<Item, std::size_t>> m_items; // markers and settled names, with order
    std::size_t m_counted = 0;
    std::size_t m_notKept = 0;
    std::unordered_map<std::string, Pending> m_pending; // by the upper-cased name
    std::size_t m_usesKept = 0;
    bool m_settled = false;
    std::string m_key; // the name being looked up, upper-cased, kept for its room
};

// Settles the names of a set of finished scripts: a mission script sees the declarations of every
// level script given with it, as the game runs them. A script checked alone is a set of one.
void Settle_script_set(std::span<ScriptCheck> scripts);

// The marker a script line is, by how it begins (after blanks and tabs a user may have indented
// it with): how a script read on its own tells what the converter left.
std::optional<engine::Marker> Find_marker(std::string_view text);

// Feeds a script file to the check and finishes it (see Read_script_lines).
ScriptRead Check_script_file(const std::filesystem::path& path, ScriptCheck& check,
                             const std::function<bool()>& stop, platform::IoError& error);

} // namespace brennic::report
