#pragma once

#include "engine/Conversion.h"
#include "engine/ConversionOptions.h"
#include "engine/RunFailure.h"
#include "engine/RunNotes.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace brennic::engine {

enum class RunEnd { Finished, Cancelled, Failed };
enum class FolderField { GTA1iniFile, OutputFolder };

inline constexpr std::string_view kMissionFolderPrompt =
    "Where is the GTA1 mission file?  Usually in gtadata or gtadata\\uk";
inline constexpr std::string_view kOutputFolderPrompt =
    "Where should I output the GTA2 .mis files?";

// What a front end lends a run: the folder question, the status text (replaced once, then only
// extended), the folder texts and the Convert button.
class RunHost {
  public:
    virtual ~RunHost() = default;
    // A folder path ending in a separator, or exactly "Cancel".
    virtual std::string BrowseFolder(std::string_view prompt) = 0;
    virtual void replaceStatus(std::string_view text) = 0;
    virtual void appendStatus(std::string_view text) = 0;
    virtual void folderChosen(FolderField /*field*/, const std::string& /*folder*/) {}
    virtual void setConvertEnabled(bool /*enabled*/) {}
    // The vehicle file to read, or nullopt for the built-in names.
    virtual std::optional<std::filesystem::path> vehicleFile() const = 0;
    // Something the user should know that does not stop the run.
    virtual void warning(std::string_view /*text*/) {}
    // Asked before each line is read: true ends the run as a failure, "Interrupted".
    virtual bool stopRequested() { return false; }
    // Who listens for a report of the work left in the scripts; nullptr: nobody.
    virtual RunNotes* notes() { return nullptr; }
};

struct RunReport {
    RunEnd end = RunEnd::Finished;
    std::optional<RunFailure> failure{};                // set when end is Failed
    FolderField cancelledAt = FolderField::GTA1iniFile; // meaningful when end is Cancelled
};

// One press of Convert: checks the folders (asking through the host while they are wrong), loads
// the tables, converts the mission file into one script per section and reports in the status
// text. Every failure ends the run with a report; scripts closed before it stay as written, and a
// script that would have replaced an earlier file leaves that file as it was.
RunReport ConversionRun(ConversionOptions& options, EngineState& state, RunHost& host);

} // namespace brennic::engine
