#pragma once

#include "engine/Conversion.h"
#include "engine/ConversionRun.h"

#include <initializer_list>
#include <map>
#include <string>
#include <string_view>

namespace brennic::test {

// What a whole run over one mission file left behind.
struct MissionRun {
    engine::RunReport report{};
    std::string status{};
    std::map<std::string, std::string> scripts{}; // file name -> bytes
};

// Runs the converter over mission-file bytes in a fresh temp folder, with the built-in vehicle
// names. The folders of options are filled in.
MissionRun Run_mission_file(std::string_view missionFile, engine::ConversionOptions options,
                            engine::EngineState& state);

// The lines a one-section mission writes for the given mission lines: the script between its
// LEVELSTART block and its closing lines, CR LF kept. The run must finish.
std::string Translate_lines(std::initializer_list<std::string_view> lines,
                            const engine::ConversionOptions& options);

// A section header and three header lines that add nothing to the script (map "xyz").
std::string Section(std::string_view number);

// Options with the given switches on and the given offsets.
engine::ConversionOptions Options(std::initializer_list<engine::Switch> on, double x = 0.0,
                                  double y = 0.0, double z = 0.0);
// Every switch on, as a modder converting a whole file would tick them.
engine::ConversionOptions All_switches_on();

// What one mission line left after the command chain.
struct CommandResult {
    bool matched = false;
    std::string script{}; // every byte written, CR LF included
    engine::ConversionStats stats{};
};

// Takes one mission line as the run does (line number, then the chain at the blank behind it)
// into a fresh script, with the tables of state, and returns what was written.
CommandResult Translate_line(const engine::ConversionOptions& options, engine::EngineState& state,
                             std::string_view text);

// Script lines joined with CR LF, each ending in one.
std::string Lines(std::initializer_list<std::string_view> lines);

} // namespace brennic::test
