#pragma once

#include "engine/ConversionOptions.h"
#include "engine/RunFailure.h"
#include "engine/RunNotes.h"
#include "engine/Tables.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brennic::engine {

enum class RunEnd { Finished, Cancelled, Failed };
enum class FolderField { GTA1iniFile, OutputFolder };

inline constexpr std::string_view kMissionFolderPrompt =
    "Where is the GTA1 mission file?  Usually in gtadata or gtadata\\uk";
inline constexpr std::string_view kOutputFolderPrompt =
    "Where should I output the GTA2 .mis files?";

// What outlives a run: its owner keeps it from run to run, so texts of earlier runs stay.
struct EngineState {
    VehicleTable vehicles{};
    TextTable texts{};
    ObjectLineTable objectLines{};
};

// A file that a run reads, with what it is to the user ("the mission file").
struct RunInput {
    std::filesystem::path path{};
    std::string role{};
};

// What one run is asked to do.
struct RunRequest {
    ConversionOptions options{};
    std::optional<std::filesystem::path> vehicleFile{}; // nullopt: the built-in names
    // The brief texts' file, a GTA1 text file (.FXT) or one of the e.txt form, told apart by its
    // first byte. nullopt: e.txt in the output folder, else ENGLISH.FXT beside the mission file.
    std::optional<std::filesystem::path> textFile{};
    RunNotes* notes = nullptr; // listens for the work left in the scripts; nullptr: nobody
    std::vector<RunInput> otherInputs{}; // what the options came from (a settings file)
};

// What a front end lends a run while it lasts.
class RunHost {
  public:
    virtual ~RunHost() = default;
    // A folder path ending in a separator, or exactly "Cancel".
    virtual std::string BrowseFolder(std::string_view prompt) = 0;
    // The status text: replaced once, then only extended.
    virtual void replaceStatus(std::string_view text) = 0;
    virtual void appendStatus(std::string_view text) = 0;
    // Something the user should know that does not stop the run.
    virtual void warning(std::string_view /*text*/) {}
    // Asked before each line is read: true ends the run as a failure, "Interrupted".
    virtual bool stopRequested() { return false; }
};

struct RunOutcome {
    RunEnd end = RunEnd::Finished;
    std::optional<RunFailure> failure{};                // set when end is Failed
    FolderField cancelledAt = FolderField::GTA1iniFile; // meaningful when end is Cancelled
    // The folder texts the run ended with: the request's, or what the user last picked at a
    // prompt (also when the run then ended at the other prompt).
    std::string GTA1iniFile{};
    std::string OutputFolder{};
};

// The files that a run of request reads, as far as they exist now: the mission file, e.txt, the
// vehicle file and the other inputs. No script of the run replaces one of them, and a front end
// writes none of them for the run (a report).
std::vector<RunInput> runInputs(const RunRequest& request);

// One press of Convert: checks the folders (asking through the host while they are wrong), loads
// the tables, converts the mission file into one script per section and reports in the status
// text. Every failure ends the run with its description in the outcome; scripts closed before it
// stay as written, and a script that would have replaced an earlier file leaves that file as it
// was.
RunOutcome ConversionRun(const RunRequest& request, EngineState& state, RunHost& host);

} // namespace brennic::engine
