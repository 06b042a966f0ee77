#include "app/cli/CliMain.h"

#include "engine/Conversion.h"
#include "engine/ConversionRun.h"
#include "platform/Ascii.h"
#include "platform/FileSystem.h"
#include "platform/TextWriter.h"
#include "report/ConversionReport.h"
#include "settings/SettingsFile.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <csignal>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace brennic::cli {

namespace {

using engine::ConversionOptions;

// Answers every folder question with "Cancel", streams the status text as it grows and stops
// when a signal has come.
class CliHost : public engine::RunHost {
  public:
    CliHost(std::ostream& out, std::ostream& err, std::optional<std::filesystem::path> vehicles,
            const volatile std::sig_atomic_t* signal, engine::RunNotes* notes)
        : m_out(out), m_err(err), m_vehicles(std::move(vehicles)), m_signal(signal),
          m_notes(notes) {}

    std::string BrowseFolder(std::string_view /*prompt*/) override { return "Cancel"; }
    void replaceStatus(std::string_view text) override { m_out.write(text.data(), size(text)); }
    void appendStatus(std::string_view text) override { m_out.write(text.data(), size(text)); }
    std::optional<std::filesystem::path> vehicleFile() const override { return m_vehicles; }
    void warning(std::string_view text) override {
        m_err << "brennic-cli: warning: " << text << '\n';
    }
    bool stopRequested() override { return m_signal != nullptr && *m_signal != 0; }
    engine::RunNotes* notes() override { return m_notes; }

  private:
    static std::streamsize size(std::string_view text) {
        return static_cast<std::streamsize>(text.size());
    }
    std::ostream& m_out;
    std::ostream& m_err;
    std::optional<std::filesystem::path> m_vehicles;
    const volatile std::sig_atomic_t* m_signal;
    engine::RunNotes* m_notes;
};

engine::Switch findSwitch(std::string_view key) {
    for (const auto& entry : engine::kSwitchKeys) {
        if (platform::equalIgnoringCase(entry.key, key)) {
            return entry.member;
        }
    }
    return nullptr;
}

std::string switchKeyList() {
    std::string list;
    for (const auto& entry : engine::kSwitchKeys) {
        list += list.empty() ? "" : ", ";
        list += entry.key;
    }
    return list;
}

// The report's folder, when it exists.
std::optional<platform::Folder> reportFolder(const std::filesystem::path& file) {
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    platform::IoError error;
    return platform::isFolder(folder) ? platform::Folder::open(folder, error) : std::nullopt;
}

// Replaces the report file as a whole; a failure leaves any earlier report as it was.
bool writeReport(const platform::Folder& folder, const std::filesystem::path& file,
                 std::string_view text, std::ostream& err) {
    platform::IoError error;
    auto writer = platform::TextWriter::create(folder, file.filename(), error);
    std::optional<platform::IoError> failure = error;
    if (writer) {
        writer->write(text); // a failed write is what close() reports
        failure = writer->close();
    }
    if (failure) {
        err << "brennic-cli: the report could not be written: " << failure->description << '\n';
        return false;
    }
    return true;
}

// Checks each script and prints its block; 4 when something is left, 1 when a script could not
// be read.
int checkScripts(const std::vector<std::string>& scripts, std::ostream& out, std::ostream& err) {
    bool left = false;
    bool unreadable = false;
    bool first = true;
    for (const std::string& script : scripts) {
        platform::IoError error;
        const auto block = report::Check_script_file(platform::pathFromText(script), script, error);
        if (!block) {
            err << "brennic-cli: " << error.description << '\n';
            unreadable = true;
            continue;
        }
        out << (first ? "" : "\r\n") << report::Block_text(*block);
        first = false;
        left = left || !block->items.empty();
    }
    out.flush();
    return unreadable || !out ? 1 : left ? 4 : 0;
}

void printFailure(std::ostream& err, const engine::RunFailure& failure) {
    err << "Error source: " << failure.source() << '\n'
        << "Error description: " << failure.description() << '\n'
        << "Error number: " << failure.number() << '\n';
}

} // namespace

int Run_cli(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
            const volatile std::sig_atomic_t* signal) {
    CLI::App app{"Converts a GTA1 mission file (mission.ini or missuk.ini) into one GTA2 mission "
                 "script (.mis) per mission section. The status text goes to standard output.",
                 "brennic-cli"};
    std::string missionDir;
    std::string outputDir;
    std::vector<std::string> offsetTexts;
    bool all = false;
    std::vector<std::pair<bool, std::string>> switchChanges;
    std::string carsFile;
    std::string settingsFile;
    std::string reportFile;
    std::vector<std::string> checkScriptFiles;

    app.add_option("--mission-dir", missionDir,
                   "GTA1 mission folder, holding mission.ini or missuk.ini");
    app.add_option("--output-dir", outputDir,
                   "GTA2 output folder for the .mis scripts (an e.txt there gives brief texts)");
    app.add_option("--offset", offsetTexts,
                   "X Y Z offset added to coordinates, read as the window reads them "
                   "(default 1 0.5 -2)")
        ->expected(3);
    app.add_flag("--all", all, "Turn all 35 translations on");
    const std::string keyHelp =
        "KEY is a check box key of the settings file, ignoring case: " + switchKeyList();
    auto collect = [&switchChanges](bool on) {
        return [&switchChanges, on](const std::vector<std::string>& keys) {
            for (const auto& key : keys) {
                switchChanges.emplace_back(on, key);
            }
        };
    };
    app.add_option_function<std::vector<std::string>>("--on", collect(true),
                                                      "Turn translations on (after --all, in "
                                                      "order). " +
                                                          keyHelp)
        ->delimiter(',')
        ->type_name("KEY[,KEY...]")
        ->trigger_on_parse();
    app.add_option_function<std::vector<std::string>>("--off", collect(false),
                                                      "Turn translations off (after --all, in "
                                                      "order)")
        ->delimiter(',')
        ->type_name("KEY[,KEY...]")
        ->trigger_on_parse();
    app.add_option("--cars", carsFile,
                   "Vehicle name file to use instead of cars.ini beside the program (a missing "
                   "file means the built-in names)");
    app.add_option("--settings", settingsFile,
                   "Start from a settings file of the window (brennic.INI); the other options "
                   "override it");
    app.add_option("--report", reportFile,
                   "After the run, write to FILE what each script still needs by hand before "
                   "GTA2's compiler takes it")
        ->type_name("FILE");
    CLI::Option* check =
        app.add_option("--check", checkScriptFiles,
                       "Instead of converting, check scripts (after your edits) for names used "
                       "but never declared and statements left as comments; exit 4 when some "
                       "are left")
            ->check(CLI::ExistingFile)
            ->type_name("SCRIPT");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e, out, err);
        return code == 0 ? 0 : 2;
    }

    if (check->count() > 0) {
        for (const CLI::Option* option : app.get_options()) {
            if (option != check && option->count() > 0) {
                err << "brennic-cli: --check converts nothing: " << option->get_name()
                    << " does not go with it\n";
                return 2;
            }
        }
        return checkScripts(checkScriptFiles, out, err);
    }
    std::optional<report::ConversionReport> workLeft;
    std::optional<platform::Folder> reportIn;
    if (!reportFile.empty()) {
        reportIn = reportFolder(platform::pathFromText(reportFile));
        if (!reportIn) {
            err << "brennic-cli: --report: the folder of " << reportFile << " does not exist\n";
            return 2;
        }
        workLeft.emplace();
    }

    settings::StoredSettings stored = settings::firstStartSettings();
    if (!settingsFile.empty()) {
        if (!platform::isFile(platform::pathFromText(settingsFile))) {
            err << "brennic-cli: the settings file " << settingsFile << " does not exist\n";
            return 2;
        }
        settings::SettingsLoad load =
            settings::LoadSettingsFile(platform::pathFromText(settingsFile));
        if (load.readFailure) {
            err << "brennic-cli: " << load.readFailure->description << '\n';
            return 2;
        }
        if (load.badValues) {
            err << "brennic-cli: " << settingsFile << ": " << load.badValues->description << '\n';
        }
        stored = std::move(load.settings);
    }
    ConversionOptions options = settings::optionsFromSettings(stored);
    if (!offsetTexts.empty()) {
        std::copy(offsetTexts.begin(), offsetTexts.end(), stored.offsets.begin());
    }
    try {
        settings::Read_offsets(stored.offsets, options);
    } catch (const engine::RunFailure& failure) {
        err << "brennic-cli: --offset: " << failure.description() << '\n';
        return 2;
    }
    if (all) {
        for (const auto& entry : engine::kSwitchKeys) {
            options.*entry.member = true;
        }
    }
    for (const auto& [on, key] : switchChanges) {
        const engine::Switch member = findSwitch(key);
        if (member == nullptr) {
            err << "brennic-cli: unknown KEY \"" << key << "\"; the keys are: " << switchKeyList()
                << '\n';
            return 2;
        }
        options.*member = on;
    }
    if (!missionDir.empty()) {
        options.GTA1iniFile = platform::withFinalSeparator(missionDir);
    }
    if (!outputDir.empty()) {
        options.OutputFolder = platform::withFinalSeparator(outputDir);
    }

    std::optional<std::filesystem::path> vehicles =
        carsFile.empty() ? settings::vehicleFilePath()
                         : std::optional<std::filesystem::path>(platform::pathFromText(carsFile));
    CliHost host(out, err, std::move(vehicles), signal, workLeft ? &*workLeft : nullptr);
    engine::EngineState state;
    const engine::RunReport report = engine::ConversionRun(options, state, host);
    out.flush();
    // The scripts and the report are written all the same; only the status text is lost.
    const bool statusLost = !out;
    if (statusLost) {
        err << "brennic-cli: the status text could not be written to standard output\n";
    }
    if (workLeft && report.end != engine::RunEnd::Cancelled) {
        const std::string failure = report.failure ? report.failure->description() : "";
        if (!writeReport(*reportIn, platform::pathFromText(reportFile), workLeft->text(failure),
                         err) &&
            !report.failure) {
            return 1;
        }
    }
    if (statusLost && report.end != engine::RunEnd::Failed) {
        return 1;
    }
    switch (report.end) {
    case engine::RunEnd::Finished:
        return 0;
    case engine::RunEnd::Cancelled:
        if (report.cancelledAt == engine::FolderField::GTA1iniFile) {
            err << "brennic-cli: the mission folder \"" << options.GTA1iniFile
                << "\" holds no mission.ini or missuk.ini (use --mission-dir)\n";
        } else {
            err << "brennic-cli: the output folder \"" << options.OutputFolder
                << "\" does not exist (use --output-dir)\n";
        }
        return 3;
    case engine::RunEnd::Failed:
        break;
    }
    printFailure(err, *report.failure);
    if (report.failure->number() == static_cast<int>(engine::ErrorNumber::UserInterrupt) &&
        signal != nullptr) {
        return 128 + *signal; // as the shell reports a program a signal ended
    }
    return 1;
}

} // namespace brennic::cli
