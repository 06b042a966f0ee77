#include "app/cli/CliMain.h"

#include "engine/Conversion.h"
#include "engine/ConversionRun.h"
#include "platform/Ascii.h"
#include "platform/FileSystem.h"
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
            const volatile std::sig_atomic_t* signal)
        : m_out(out), m_err(err), m_vehicles(std::move(vehicles)), m_signal(signal) {}

    std::string BrowseFolder(std::string_view /*prompt*/) override { return "Cancel"; }
    void replaceStatus(std::string_view text) override { m_out.write(text.data(), size(text)); }
    void appendStatus(std::string_view text) override { m_out.write(text.data(), size(text)); }
    std::optional<std::filesystem::path> vehicleFile() const override { return m_vehicles; }
    void warning(std::string_view text) override {
        m_err << "brennic-cli: warning: " << text << '\n';
    }
    bool stopRequested() override { return m_signal != nullptr && *m_signal != 0; }

  private:
    static std::streamsize size(std::string_view text) {
        return static_cast<std::streamsize>(text.size());
    }
    std::ostream& m_out;
    std::ostream& m_err;
    std::optional<std::filesystem::path> m_vehicles;
    const volatile std::sig_atomic_t* m_signal;
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

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e, out, err);
        return code == 0 ? 0 : 2;
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
    CliHost host(out, err, std::move(vehicles), signal);
    engine::EngineState state;
    const engine::RunReport report = engine::ConversionRun(options, state, host);
    out.flush();
    if (!out) {
        // The scripts are written all the same; only the status text is lost.
        err << "brennic-cli: the status text could not be written to standard output\n";
        if (report.end != engine::RunEnd::Failed) {
            return 1;
        }
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
    if (report.failure->number() == static_cast<int>(platform::ErrorNumber::UserInterrupt) &&
        signal != nullptr) {
        return 128 + *signal; // as the shell reports a program a signal ended
    }
    return 1;
}

} // namespace brennic::cli
