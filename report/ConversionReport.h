#pragma once

#include "engine/RunNotes.h"
#include "report/ScriptCheck.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace brennic::report {

// Listens to a run and lists, per script written, the work left before GTA2's compiler takes it:
// names used but never declared and statements left as comments (what ScriptCheck finds), CAR_ON,
// PED_ON and POWERUP_ON lines that found nothing to create, briefs without a text, and the GTA1
// lines nothing translated. A GTA1 line is named by its own number, as GTA1 lines name each other.
class ConversionReport final : public engine::RunNotes {
  public:
    void scriptOpened(std::string_view fileName) override;
    void missionLineRead(const engine::MissionLine& line) override;
    void lineWritten(std::initializer_list<std::string_view> pieces) override;
    void missing(engine::Missing what, std::string_view number) override;
    void notTranslated() override;

    // One block per script in the order written, blank lines between them, CR LF line ends; then
    // "The conversion failed: " and the description when `failure` is not empty. The script open
    // at a failure is listed as far as it was written.
    std::string text(std::string_view failure = {});

  private:
    // An item whose hint waits for the end of its mission: the GTA1 line it points at.
    struct Pointing {
        Item item{};
        std::string row{};
    };
    // A mission line nothing translated.
    struct PassedOver {
        std::string number{};
        std::string word{};     // upper-cased; empty without one
        std::string_view box{}; // the check box that would have translated it, if any
    };

    // Resolves the open script's items into its block; complete: its mission was read to the end.
    void finishScript(bool complete);
    std::string hint(const std::string& row, bool complete) const;
    std::vector<std::string> passedOverSummary() const;

    std::vector<Block> m_blocks;
    bool m_scriptOpen = false;
    // The open script.
    ScriptCheck m_check;
    int m_lines = 0;
    std::vector<std::pair<int, std::string>> m_origins; // first script line of each mission line
    std::vector<Pointing> m_missing;
    std::vector<Pointing> m_pending; // for the next line written
    std::string m_text;              // the line being written, kept for its room
    // Its mission.
    std::string m_number;
    std::string m_strRead;
    std::unordered_set<std::string> m_numbers;
    std::vector<PassedOver> m_passedOver;
    std::unordered_map<std::string, std::size_t> m_firstPassedOver; // by line number
};

} // namespace brennic::report
