#pragma once

// Private to the engine: the translations' view of a run. Front ends name a run through
// ConversionRun.h.

#include "engine/ConversionOptions.h"
#include "engine/ConversionRun.h"
#include "engine/ConversionStats.h"
#include "engine/MissionLine.h"
#include "engine/RunNotes.h"
#include "engine/Tables.h"
#include "platform/TextWriter.h"

#include <initializer_list>
#include <optional>
#include <string_view>

namespace brennic::engine {

// The state of one run as the translations see it: the current line, the switches, the tables,
// the counters and the open mission script.
struct Conversion {
    Conversion(const ConversionOptions& runOptions, EngineState& engineState, RunNotes* runNotes)
        : options(runOptions), state(engineState), notes(runNotes) {}

    MissionLine line{};
    const ConversionOptions& options;
    EngineState& state;
    ConversionStats stats{};
    std::optional<platform::TextWriter> script{}; // at most one mission script is open
    RunNotes* const notes;                        // set when a report was asked for

    // Writes one script line made of the pieces; a run failure without an open script, and at
    // the line whose write fails.
    void write(std::initializer_list<std::string_view> pieces);
    void write(std::string_view text) { write({text}); }
    // Writes a marker line: the marker's text, then the rest.
    void writeMarker(Marker marker, std::string_view rest1 = {}, std::string_view rest2 = {},
                     std::string_view rest3 = {}) {
        if (notes != nullptr) {
            notes->markerLeft(marker);
        }
        write({Marker_text(marker), rest1, rest2, rest3});
    }

    // Tells a listening report that the next line written lacks what `number` should have given.
    void noteMissing(Missing what, std::string_view number) {
        if (notes != nullptr) {
            notes->missing(what, number);
        }
    }
};

// What a dispatcher made of the line at the cursor. When it translated nothing, for a listening
// report (Translate_object looks only while one listens): the word standing there (as written;
// empty when there is none) and the switch, off, that would have translated it.
struct Match {
    bool translated = false;
    std::string_view word{};
    Switch box = nullptr;
};

// A translation of one command or object kind, entered with the cursor where Pass_keyword leaves
// it: reads its fields, writes, counts.
using Translation = void (*)(Conversion&);

} // namespace brennic::engine
