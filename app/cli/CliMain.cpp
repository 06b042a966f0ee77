#include "app/cli/CliMain.h"

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
#include <variant>
#include <vector>

namespace brennic::cli {

namespace {

// Answers every folder question with "Cancel", streams the status text as it grows and stops
// when a signal has come.
class CliHost : public engine::RunHost {
  public:
    CliHost(std::ostream& out, std::ostream& err, const volatile std::sig_atomic_t* signal)
        : m_out(out), m_err(err), m_signal(signal) {}

    std::string BrowseFolder(std::string_view /*prompt*/) override { return "Cancel"; }
    void replaceStatus(std::string_view text) override { m_out.write(text.data(), size(text)); }
    void appendStatus(std::string_view text) override { m_out.write(text.data(), size(text)); }
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
    const volatile std::sig_atomic_t* m_signal;
};

// The place of a switch among the settings file's boxes.
std::optional<std::size_t> findSwitch(std::string_view key) {
    for (std::size_t i = 0; i < engine::kSwitchKeys.size(); ++i) {
        if (platform::equalIgnoringCase(engine::kSwitchKeys[i].key, key)) {
            return i;
        }
    }
    return std::nullopt;
}

std::string switchKeyList() {
    std::string list;
    for (const auto& entry : engine::kSwitchKeys) {
        list += list.empty() ? "" : ", ";
        list += entry.key;
    }
    return list;
}

// What path, as it stands or where its links lead, would be to a run into the output folder, by
// its name in any letter case: " would replace a script of this run" for a .mis file,
// " would be read as the brief texts (e.txt) of this run" for e.txt; empty for anything else.
std::string_view useInOutputFolder(const std::filesystem::path& path,
                                   const std::string& outputFolder) {
    const auto use = [&outputFolder](const std::filesystem::path& file) -> std::string_view {
        if (!platform::isSameEntry(file.parent_path(), platform::pathFromText(outputFolder))) {
            return {};
        }
        if (platform::equalIgnoringCase(platform::textFromPath(file.extension()), ".mis")) {
            return " would replace a script of this run";
        }
        if (platform::equalIgnoringCase(platform::textFromPath(file.filename()), "e.txt")) {
            return " would be read as the brief texts (e.txt) of this run";
        }
        return {};
    };
    if (outputFolder.empty()) {
        return {};
    }
    std::error_code ec;
    const std::string_view named = use(path);
    return named.empty() ? use(std::filesystem::weakly_canonical(path, ec)) : named;
}

// The report's file, opened before the run: a report that would replace what the run reads or
// writes, or that cannot be written at all, is refused before anything is converted. A symbolic
// link is followed (the file it leads to is replaced), a terminal or a pipe written into. nullopt
// once standard error says why.
std::optional<platform::TextWriter>
openReport(const std::string& file, const engine::RunRequest& request, std::ostream& err) {
    const auto refused = [&err](const std::string& why) {
        err << "brennic-cli: --report: " << why << '\n';
        return std::nullopt;
    };
    if (file.empty()) {
        return refused("no file name given");
    }
    const std::filesystem::path path = platform::pathFromText(file);
    if (!path.has_filename() || platform::isFolder(path)) {
        return refused(file + " is a folder");
    }
    for (const engine::RunInput& input : engine::runInputs(request)) {
        if (platform::isSameEntry(path, input.path)) {
            return refused(file + " is " + input.role + " of this run");
        }
    }
    if (const std::string_view use = useInOutputFolder(path, request.options.OutputFolder);
        !use.empty()) {
        return refused(file + std::string(use));
    }
    platform::IoError error;
    auto writer = platform::TextWriter::replace(path, platform::SpecialFiles::WriteInto, error);
    if (!writer) {
        return refused(error.kind == platform::IoErrorKind::NotFound
                           ? "the folder of " + file + " does not exist"
                           : error.description);
    }
    return writer;
}

// Puts the whole report in place; a failure leaves any earlier report as it was.
bool writeReport(platform::TextWriter& writer, std::string_view text, std::ostream& err) {
    writer.write(text); // a failed write is what close() reports
    if (const std::optional<platform::IoError> failure = writer.close()) {
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

// What the command line asks for, as parsed.
struct CliChoices {
    std::string missionDir{};
    std::string outputDir{};
    std::vector<std::string> offsetTexts{};
    bool all = false;
    std::vector<std::pair<bool, std::string>> switchChanges{}; // on or off, KEY, in order
    std::string carsFile{};
    std::string settingsFile{};
    std::optional<std::string> reportFile{};
    std::vector<std::string> checkScriptFiles{};
};

// Reads the command line into choices; an exit code when it ends the program here (--help, a
// usage error).
std::optional<int> parseArguments(int argc, const char* const* argv, CliChoices& choices,
                                  std::ostream& out, std::ostream& err) {
    CLI::App app{"Converts a GTA1 mission file (mission.ini or missuk.ini) into one GTA2 mission "
                 "script (.mis) per mission section. The status text goes to standard output.",
                 "brennic-cli"};
    app.add_option("--mission-dir", choices.missionDir,
                   "GTA1 mission folder, holding mission.ini or missuk.ini");
    app.add_option("--output-dir", choices.outputDir,
                   "GTA2 output folder for the .mis scripts (an e.txt there gives brief texts)");
    app.add_option("--offset", choices.offsetTexts,
                   "X Y Z offset added to coordinates, read as the window reads them "
                   "(default 1 0.5 -2)")
        ->expected(3);
    app.add_flag("--all", choices.all, "Turn all 35 translations on");
    const std::string keyHelp =
        "KEY is a check box key of the settings file, ignoring case: " + switchKeyList();
    auto collect = [&choices](bool on) {
        return [&choices, on](const std::vector<std::string>& keys) {
            for (const auto& key : keys) {
                choices.switchChanges.emplace_back(on, key);
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
    app.add_option("--cars", choices.carsFile,
                   "Vehicle name file to use instead of cars.ini beside the program (a missing "
                   "file means the built-in names)");
    app.add_option("--settings", choices.settingsFile,
                   "Start from a settings file of the window (brennic.INI); the other options "
                   "override it");
    std::string reportFile;
    CLI::Option* reportOption =
        app.add_option("--report", reportFile,
                       "After the run, write to FILE what each script still needs by hand before "
                       "GTA2's compiler takes it")
            ->type_name("FILE");
    CLI::Option* check =
        app.add_option("--check", choices.checkScriptFiles,
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
    if (reportOption->count() > 0) {
        choices.reportFile = reportFile; // given, if only as ""
    }
    if (check->count() > 0) {
        for (const CLI::Option* option : app.get_options()) {
            if (option != check && option->count() > 0) {
                err << "brennic-cli: --check converts nothing: " << option->get_name()
                    << " does not go with it\n";
                return 2;
            }
        }
    }
    return std::nullopt;
}

// The run the choices ask for: the settings file's (or the first start's) settings with the
// command line's changes. nullopt after a usage error was said.
std::optional<engine::RunRequest> requestOf(const CliChoices& choices, std::ostream& err) {
    settings::StoredSettings stored = settings::firstStartSettings();
    std::vector<engine::RunInput> otherInputs;
    if (!choices.settingsFile.empty()) {
        const std::filesystem::path path = platform::pathFromText(choices.settingsFile);
        std::error_code ec;
        const std::filesystem::file_status status = std::filesystem::status(path, ec);
        if (!std::filesystem::is_regular_file(status)) {
            err << "brennic-cli: the settings file " << choices.settingsFile
                << (!std::filesystem::exists(status)        ? " does not exist\n"
                    : std::filesystem::is_directory(status) ? " is a folder\n"
                                                            : " is not a regular file\n");
            return std::nullopt;
        }
        otherInputs.push_back({path, "the settings file"});
        settings::SettingsLoad load =
            settings::LoadSettingsFile(platform::pathFromText(choices.settingsFile));
        if (load.readFailure) {
            err << "brennic-cli: " << load.readFailure->description << '\n';
            return std::nullopt;
        }
        if (load.badValues) {
            err << "brennic-cli: " << choices.settingsFile << ": " << load.badValues->description
                << '\n';
        }
        stored = std::move(load.settings);
    }
    if (!choices.offsetTexts.empty()) {
        std::copy(choices.offsetTexts.begin(), choices.offsetTexts.end(), stored.offsets.begin());
    }
    if (choices.all) {
        stored.boxes.fill(settings::BoxState::Ticked);
    }
    for (const auto& [on, key] : choices.switchChanges) {
        const std::optional<std::size_t> box = findSwitch(key);
        if (!box) {
            err << "brennic-cli: unknown KEY \"" << key << "\"; the keys are: " << switchKeyList()
                << '\n';
            return std::nullopt;
        }
        stored.boxes[*box] = on ? settings::BoxState::Ticked : settings::BoxState::Unticked;
    }
    if (!choices.missionDir.empty()) {
        stored.GTA1iniFile = platform::withFinalSeparator(choices.missionDir);
    }
    if (!choices.outputDir.empty()) {
        stored.OutputFolder = platform::withFinalSeparator(choices.outputDir);
    }
    auto options = settings::optionsFromSettings(stored);
    if (const auto* error = std::get_if<settings::LoadError>(&options)) {
        err << "brennic-cli: --offset: " << error->description << '\n';
        return std::nullopt;
    }
    return engine::RunRequest{
        .options = std::move(std::get<engine::ConversionOptions>(options)),
        .vehicleFile = choices.carsFile.empty() ? settings::vehicleFilePath()
                                                : std::optional<std::filesystem::path>(
                                                      platform::pathFromText(choices.carsFile)),
        .otherInputs = std::move(otherInputs),
    };
}

// The exit code of a run that took place, with what standard error says about its end.
int exitCodeOf(const engine::RunOutcome& outcome, std::ostream& err,
               const volatile std::sig_atomic_t* signal) {
    switch (outcome.end) {
    case engine::RunEnd::Finished:
        return 0;
    case engine::RunEnd::Cancelled:
        if (outcome.cancelledAt == engine::FolderField::GTA1iniFile) {
            err << "brennic-cli: the mission folder \"" << outcome.GTA1iniFile
                << "\" holds no mission.ini or missuk.ini (use --mission-dir)\n";
        } else {
            err << "brennic-cli: the output folder \"" << outcome.OutputFolder
                << "\" does not exist (use --output-dir)\n";
        }
        return 3;
    case engine::RunEnd::Failed:
        break;
    }
    printFailure(err, *outcome.failure);
    if (outcome.failure->number() == static_cast<int>(engine::ErrorNumber::UserInterrupt) &&
        signal != nullptr) {
        return 128 + *signal; // as the shell reports a program a signal ended
    }
    return 1;
}

} // namespace

int Run_cli(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
            const volatile std::sig_atomic_t* signal) {
    CliChoices choices;
    if (const std::optional<int> code = parseArguments(argc, argv, choices, out, err)) {
        return *code;
    }
    if (!choices.checkScriptFiles.empty()) {
        return checkScripts(choices.checkScriptFiles, out, err);
    }
    std::optional<engine::RunRequest> request = requestOf(choices, err);
    if (!request) {
        return 2;
    }
    std::optional<platform::TextWriter> reportFile =
        choices.reportFile ? openReport(*choices.reportFile, *request, err) : std::nullopt;
    if (choices.reportFile && !reportFile) {
        return 2;
    }
    std::optional<report::ConversionReport> workLeft;
    if (reportFile) {
        workLeft.emplace();
    }
    request->notes = workLeft ? &*workLeft : nullptr;

    CliHost host(out, err, signal);
    engine::EngineState state;
    const engine::RunOutcome outcome = engine::ConversionRun(*request, state, host);
    out.flush();
    // The scripts and the report are written all the same; only the status text is lost.
    const bool statusLost = !out;
    if (statusLost) {
        err << "brennic-cli: the status text could not be written to standard output\n";
    }
    if (workLeft && outcome.end != engine::RunEnd::Cancelled) {
        const std::string failure = outcome.failure ? outcome.failure->description() : "";
        if (!writeReport(*reportFile, workLeft->text(failure), err) && !outcome.failure) {
            return 1;
        }
    }
    if (statusLost && outcome.end != engine::RunEnd::Failed) {
        return 1;
    }
    return exitCodeOf(outcome, err, signal);
}

} // namespace brennic::cli
