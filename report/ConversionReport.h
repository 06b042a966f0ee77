#pragma once

#include "engine/RunNotes.h"
#include "report/ScriptCheck.h"

#include <initializer_list>
#include <optional>
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
    void textsRead(std::string_view fileName) override;
    void scriptOpened(std::string_view fileName) override;
    void missionLineRead(std::string_view lineNumber) override;
    void translated(std::string_view word) override;
    void notTranslated(std::string_view word, engine::Switch box) override;
    void markerLeft(engine::Marker marker) override;
    void missing(engine::Missing what, std::string_view number) override;
    void lineWritten(std::initializer_list<std::string_view> pieces) override;

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
    // What is known of the script being written and its mission.
    struct OpenScript {
        ScriptCheck check{};
        int lines = 0;
        std::vector<std::pair<int, std::string>> origins{}; // first script line of each GTA1 line
        std::vector<Pointing> missing{};
        std::vector<Pointing> pending{};               // for the next line written
        std::optional<engine::Marker> pendingMarker{}; // the next line written is this marker
        std::string number{};                          // of the GTA1 line read last
        std::string word{};                            // what matched in it last
        std::unordered_set<std::string> numbers{};
        std::vector<PassedOver> passedOver{};
        std::unordered_map<std::string, std::size_t> firstPassedOver{}; // by line number
    };

    // Resolves the open script's items into its block; complete: its mission was read to the end.
    void finishScript(bool complete);
    static std::string hint(const OpenScript& script, const std::string& row, bool complete);
    static std::vector<std::string> passedOverSummary(const OpenScript& script);

    std::string m_textFile; // the brief texts' file; empty when the run read none
    std::vector<Block> m_blocks;
    std::optional<OpenScript> m_script; // nullopt before the first script and once finished
    std::string m_text;                 // the line being written, kept for its room
};

} // namespace brennic::report
