#pragma once

#include "engine/ConversionOptions.h"
#include "engine/ConversionStats.h"
#include "engine/MissionLine.h"
#include "engine/RunNotes.h"
#include "engine/Tables.h"
#include "platform/TextWriter.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace brennic::engine {

// What outlives a run: its owner keeps it from run to run, so texts of earlier runs and the last
// powerup word stay.
struct EngineState {
    VehicleTable vehicles{};
    TextTable texts{};
    ObjectLineTable objectLines{};
    std::string strPowerupName{};
};

// The state of one run as the translations see it: the current line, the switches, the tables,
// the counters and the open mission script.
struct Conversion {
    Conversion(const ConversionOptions& runOptions, EngineState& engineState)
        : options(runOptions), state(engineState) {}

    MissionLine line{};
    const ConversionOptions& options;
    EngineState& state;
    ConversionStats stats{};
    bool blnLineHandled = true;
    bool blnLevelStarted = false;
    bool blnScriptOpen = false;
    std::string HeaderText{};
    std::string MissionNumber{};
    std::string MissionName{};
    std::string MapName{};
    std::optional<platform::TextWriter> script{}; // at most one mission script is open
    RunNotes* notes = nullptr;                    // set when a report was asked for

    // Writes one script line made of the pieces; a run failure without an open script, and at
    // the line whose write fails.
    void write(std::initializer_list<std::string_view> pieces);
    void write(std::string_view text) { write({text}); }

    // Tells a listening report that the next line written lacks what `number` should have given.
    void noteMissing(Missing what, std::string_view number) {
        if (notes != nullptr) {
            notes->missing(what, number);
        }
    }
};

// A translation of one command or object kind, entered with the cursor where Pass_keyword leaves
// it: reads its fields, writes, counts.
using Translation = void (*)(Conversion&);

} // namespace brennic::engine
