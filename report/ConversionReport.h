#pragma once

#include "engine/RunNotes.h"
#include "report/ReportText.h"

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

namespace brennic::report {

// Where a report's text goes, a piece at a time: a file written as the run goes, or a string.
using ReportSink = std::function<void(std::string_view text)>;

// Listens to a run and lists, per script written, the work left before GTA2's compiler takes it:
// what ScriptCheck finds in the lines written (the language, names never declared, statements left
// as comments), CAR_ON, PED_ON and POWERUP_ON lines that found nothing to create, briefs without a
// text, and the GTA1 lines nothing translated. A GTA1 line is named by its own number, as GTA1
// lines name each other.
//
// Each script's block goes to the sink as soon as the next script opens, so memory holds one
// script's names and the numbers of the lines its block lists, never the lines themselves.
class ConversionReport final : public engine::RunNotes {
  public:
    // Keeps the text for text().
    ConversionReport();
    explicit ConversionReport(ReportSink sink);
    ConversionReport(const ConversionReport&) = delete;
    ConversionReport& operator=(const ConversionReport&) = delete;
    ~ConversionReport() override;

    void textsRead(std::string_view fileName) override;
    void scriptOpened(std::string_view fileName) override;
    void missionLineRead(std::string_view lineNumber) override;
    void translated(std::string_view word) override;
    void notTranslated(std::string_view word, engine::Switch box) override;
    void markerLeft(engine::Marker marker) override;
    void missing(engine::Missing what, std::string_view number) override;
    void lineWritten(std::initializer_list<std::string_view> pieces) override;

    // Ends the report once the run has ended: the block of the script still open, listed as far
    // as it was written, then "The conversion failed: " and the description when `failure` is not
    // empty. Blocks stand between blank lines; every line ends in CR LF.
    void finish(std::string_view failure = {});
    // Of a report that keeps its text: finish(failure), then the whole text.
    std::string text(std::string_view failure = {});

    // What the blocks handed on so far hold: an item is a listed line that counts (not one the
    // check cannot judge), one not listed ("and 3 more items" are 3), or a line summing up GTA1
    // lines nothing translated.
    struct Tally {
        std::size_t scripts = 0;
        std::size_t scriptsWithItems = 0;
        std::size_t items = 0;
    };
    const Tally& tally() const { return m_tally; }

  private:
    struct OpenScript; // what is known of the script being written and its mission

    // Resolves the open script's items into its block and hands it on; complete: its mission was
    // read to the end.
    void finishScript(bool complete);
    void write(const std::string& text);
    static std::string hint(const OpenScript& script, std::size_t row, bool complete);

    std::string m_textFile; // the brief texts' file; empty when the run read none
    ReportSink m_sink;
    std::string m_kept; // the text, for a report without a sink of its own
    bool m_wrote = false;
    Tally m_tally;
    bool m_finished = false;
    std::unique_ptr<OpenScript> m_script; // none before the first script and once finished
    std::string m_text;                   // the line being written, kept for its room
    std::string m_word;                   // the word of a line nothing translated, likewise
};

} // namespace brennic::report
