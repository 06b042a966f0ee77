#include "app/cli/CliMain.h"

#include "engine/AddTexts.h"
#include "engine/ConversionRun.h"
#include "engine/GTA1TextFile.h"
#include "platform/Ascii.h"
#include "platform/FileSystem.h"
#include "platform/TextWriter.h"
#include "report/ConversionReport.h"
#include "report/ScriptCheck.h"
#include "settings/SettingsFile.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <csignal>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace brennic::cli {

namespace {

using platform::escapeControlBytes;

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
        m_err << "brennic-cli: warning: " << escapeControlBytes(text) << '\n';
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

// What path, as it stands or where its links lead, would be to a run with these folders, by its
// name in any letter case: " would replace a script of this run" for a .mis file in the output
// folder, " would be read as the brief texts (e.txt) of this run" for e.txt there,
// " could be read as the mission file by a later run" for mission.ini or missuk.ini in the
// mission folder (mission.ini is read before missuk.ini, and of names that differ in letter case
// the first in byte order); empty for anything else.
std::string_view useInRunFolders(const std::filesystem::path& path,
                                 const engine::ConversionOptions& options) {
    const auto in = [](const std::filesystem::path& file, const std::string& folder) {
        return !folder.empty() &&
               platform::isSameEntry(file.parent_path(), platform::pathFromText(folder));
    };
    const auto use = [&](const std::filesystem::path& file) -> std::string_view {
        const std::string name = platform::textFromPath(file.filename());
        if (in(file, options.OutputFolder)) {
            if (platform::equalIgnoringCase(platform::textFromPath(file.extension()), ".mis")) {
                return " would replace a script of this run";
            }
            if (platform::equalIgnoringCase(name, "e.txt")) {
                return " would be read as the brief texts (e.txt) of this run";
            }
        }
        if ((platform::equalIgnoringCase(name, "mission.ini") ||
             platform::equalIgnoringCase(name, "missuk.ini")) &&
            in(file, options.GTA1iniFile)) {
            return " could be read as the mission file by a later run";
        }
        return {};
    };
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
    if (const std::string_view use = useInRunFolders(path, request.options); !use.empty()) {
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

// Why --check does not read the file: only a regular file is read. A FIFO without a writer would
// block the check before a line is read, and a device may never end.
std::optional<std::string> notAScript(const std::filesystem::path& path) {
    std::error_code error;
    switch (std::filesystem::status(path, error).type()) {
    case std::filesystem::file_type::regular:
        return std::nullopt;
    case std::filesystem::file_type::fifo:
        return "a FIFO";
    case std::filesystem::file_type::block:
    case std::filesystem::file_type::character:
        return "a device";
    case std::filesystem::file_type::socket:
        return "a socket";
    case std::filesystem::file_type::directory:
        return "a folder";
    default:
        return "not a file";
    }
}

// Checks the scripts as one set (a mission script sees the declarations of the level scripts
// given with it) and prints each one's block, control bytes made visible. 0 when nothing is left,
// 4 when something is, 1 when a script could not be read, 2 for a file that is no script file,
// 128 + the signal when one stopped the check.
int checkScripts(const std::vector<std::string>& scripts, std::ostream& out, std::ostream& err,
                 const volatile std::sig_atomic_t* signal) {
    for (const std::string& script : scripts) {
        if (const auto why = notAScript(platform::pathFromText(script))) {
            err << "brennic-cli: --check reads files only: " << escapeControlBytes(script) << " is "
                << *why << '\n';
            return 2;
        }
    }
    const auto stopped = [signal] { return signal != nullptr && *signal != 0; };
    std::vector<std::string> names;
    std::vector<report::ScriptCheck> checks;
    checks.reserve(scripts.size());
    bool unreadable = false;
    for (const std::string& script : scripts) {
        platform::IoError error;
        report::ScriptCheck& check = checks.emplace_back();
        const report::ScriptRead read =
            report::Check_script_file(platform::pathFromText(script), check, stopped, error);
        if (read == report::ScriptRead::Stopped) {
            break;
        }
        if (read == report::ScriptRead::Failed) {
            err << "brennic-cli: " << escapeControlBytes(error.description) << '\n';
            unreadable = true;
            checks.pop_back();
        } else {
            names.push_back(script);
        }
    }
    if (stopped()) {
        err << "brennic-cli: --check interrupted\n";
        return 128 + *signal; // as the shell reports a program a signal ended
    }
    report::Settle_script_set(checks);
    bool left = false;
    for (std::size_t i = 0; i < checks.size(); ++i) {
        report::Block block{
            escapeControlBytes(names[i]), checks[i].items(), checks[i].unlistedItems(), {}};
        for (report::Item& item : block.items) {
            item.reason = escapeControlBytes(item.reason);
            item.statement = escapeControlBytes(item.statement);
        }
        out << (i == 0 ? "" : "\r\n") << report::Block_text(block);
        left = left || checks[i].countedItems() > 0;
    }
    out.flush();
    if (stopped()) {
        return 128 + *signal;
    }
    return unreadable || !out ? 1 : left ? 4 : 0;
}

// What a file given on the command line is not, when it is no file; empty when it is one.
std::string notAFile(const std::filesystem::path& path, const std::string& name) {
    if (platform::isFile(path)) {
        return {};
    }
    std::error_code ec;
    return name + (std::filesystem::exists(path, ec) ? " is not a file" : " does not exist");
}

// Adds the texts of a GTA1 text file to a text file of the e.txt form and says how many; 1 when
// that failed, 2 for files that cannot be meant.
int addTexts(const std::string& gta1File, const std::string& textFile, std::ostream& out,
             std::ostream& err) {
    const std::filesystem::path gta1Path = platform::pathFromText(gta1File);
    const std::filesystem::path textPath = platform::pathFromText(textFile);
    std::string wrong = notAFile(gta1Path, gta1File);
    std::error_code ec;
    if (wrong.empty() && std::filesystem::exists(textPath, ec) && !platform::isFile(textPath)) {
        wrong = textFile + " is not a file";
    } else if (wrong.empty() &&
               !platform::isFolder(textPath.has_parent_path() ? textPath.parent_path() : ".")) {
        wrong = "the folder of " + textFile + " does not exist";
    } else if (wrong.empty() && platform::isSameEntry(gta1Path, textPath)) {
        wrong = textFile + " is the GTA1 text file itself";
    }
    if (!wrong.empty()) {
        err << "brennic-cli: --add-texts: " << wrong << '\n';
        return 2;
    }
    platform::IoError error;
    const auto added = engine::Add_GTA1_texts(gta1Path, textPath, error);
    if (!added) {
        err << "brennic-cli: " << error.description << '\n';
        return 1;
    }
    for (const std::string& warning : added->warnings) {
        err << "brennic-cli: warning: " << warning << '\n';
    }
    out << added->count << (added->count == 1 ? " text" : " texts") << " added to " << textFile
        << "\r\n";
    out.flush();
    return out ? 0 : 1;
}

// Whether the --texts file gives brief texts; says why when it does not. Its warnings are the
// run's to give.
bool textsUsable(const std::string& textFile, std::ostream& err) {
    const std::filesystem::path path = platform::pathFromText(textFile);
    std::string wrong = notAFile(path, textFile);
    if (wrong.empty()) {
        engine::TextTable texts;
        try {
            engine::Load_TextTable(texts, path, textFile);
            bool anyText = false;
            for (int i = 1; i <= engine::TextTable::intMaxIndex && !anyText; ++i) {
                anyText = !texts.at(i).empty();
            }
            if (!anyText) {
                wrong = textFile + " gives no brief text";
            }
        } catch (const engine::RunFailure& failure) {
            wrong = failure.description();
        }
    }
    if (!wrong.empty()) {
        err << "brennic-cli: --texts: " << wrong << '\n';
        return false;
    }
    return true;
}

void printFailure(std::ostream& err, const engine::RunFailure& failure) {
    err << "Error source: " << escapeControlBytes(failure.source()) << '\n'
        << "Error description: " << escapeControlBytes(failure.description()) << '\n'
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
    std::string textFile{};
    std::vector<std::string> addTextsFiles{}; // the GTA1 text file, then the text file
};

#ifdef _WIN32
// Windows' shells hand wildcards over as typed: the program expands those of the scripts to
// check, as a shell does elsewhere. A pattern that matches nothing stays as it is, and is then a
// file that does not exist.
std::vector<std::string> withScriptsExpanded(int argc, const char* const* argv) {
    std::vector<std::string> arguments;
    bool scripts = false;
    for (int i = 0; i < argc; ++i) {
        std::string argument = argv[i];
        std::string_view name = argument;
        if (argument.starts_with("--check=")) {
            name.remove_prefix(8);
        } else if (argument.starts_with("-")) {
            scripts = argument == "--check";
            arguments.push_back(std::move(argument));
            continue;
        } else if (!scripts) {
            arguments.push_back(std::move(argument));
            continue;
        }
        const std::vector<std::string> files = name.find_first_of("*?") != std::string_view::npos
                                                   ? platform::filesMatching(name)
                                                   : std::vector<std::string>{};
        if (files.empty()) {
            arguments.push_back(std::move(argument));
        } else {
            const std::string option = argument.substr(0, argument.size() - name.size());
            for (const std::string& file : files) {
                arguments.push_back(option + file);
            }
        }
    }
    return arguments;
}
#endif

// Reads the command line into choices; an exit code when it ends the program here (--help, a
// usage error).
std::optional<int> parseArguments(int argc, const char* const* argv, CliChoices& choices,
                                  std::ostream& out, std::ostream& err) {
    CLI::App app{"Converts a GTA1 mission file (mission.ini or missuk.ini) into one GTA2 mission "
                 "script (.mis) per mission section. The status text goes to standard output.",
                 "brennic-cli"};
    app.set_version_flag("--version", "brennic-cli " BRENNIC_VERSION,
                         "Print the program's name and version and exit");
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
    app.add_option("--texts", choices.textFile,
                   "Brief texts from FILE, a GTA1 text file (.FXT) or one of the e.txt form, "
                   "instead of e.txt in the output folder or ENGLISH.FXT beside the mission file")
        ->type_name("FILE");
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
                       "Instead of converting, check scripts (after your edits) against GTA2's "
                       "script language, for names never declared and for statements left as "
                       "comments; scripts given together form a set; exit 4 when some are left")
            ->check(CLI::ExistingFile)
            ->type_name("SCRIPT");
    CLI::Option* addTextsOption =
        app.add_option("--add-texts", choices.addTextsFiles,
                       "Instead of converting, add the brief texts of a GTA1 text file (.FXT, the "
                       "first FILE) to a text file of the e.txt form (the second, made when "
                       "missing); the lines it holds stay")
            ->expected(2)
            ->type_name("FILE");

#ifdef _WIN32
    const std::vector<std::string> arguments = withScriptsExpanded(argc, argv);
    std::vector<const char*> expanded;
    for (const std::string& argument : arguments) {
        expanded.push_back(argument.c_str());
    }
    argc = static_cast<int>(expanded.size());
    argv = expanded.data();
#endif
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        std::ostringstream said;
        const int code = app.exit(e, out, said);
        std::istringstream lines(said.str());
        for (std::string line; std::getline(lines, line);) {
            err << escapeControlBytes(line) << '\n';
        }
        return code == 0 ? 0 : 2;
    }
    if (reportOption->count() > 0) {
        choices.reportFile = reportFile; // given, if only as ""
    }
    for (const CLI::Option* alone : {check, addTextsOption}) {
        for (const CLI::Option* option : app.get_options()) {
            if (alone->count() > 0 && option != alone && option->count() > 0) {
                err << "brennic-cli: " << alone->get_name()
                    << " converts nothing: " << option->get_name() << " does not go with it\n";
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
            err << "brennic-cli: the settings file " << escapeControlBytes(choices.settingsFile)
                << (!std::filesystem::exists(status)        ? " does not exist\n"
                    : std::filesystem::is_directory(status) ? " is a folder\n"
                                                            : " is not a regular file\n");
            return std::nullopt;
        }
        otherInputs.push_back({path, "the settings file"});
        settings::SettingsLoad load =
            settings::LoadSettingsFile(platform::pathFromText(choices.settingsFile));
        if (load.readFailure) {
            err << "brennic-cli: " << escapeControlBytes(load.readFailure->description) << '\n';
            return std::nullopt;
        }
        if (load.badValues) {
            err << "brennic-cli: " << escapeControlBytes(choices.settingsFile) << ": "
                << escapeControlBytes(load.badValues->description) << '\n';
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
            err << "brennic-cli: unknown KEY \"" << escapeControlBytes(key)
                << "\"; the keys are: " << switchKeyList() << '\n';
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
        // Without --offset, the offsets are the settings file's.
        err << "brennic-cli: "
            << (choices.offsetTexts.empty() ? escapeControlBytes(choices.settingsFile) : "--offset")
            << ": " << escapeControlBytes(error->description) << '\n';
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
            err << "brennic-cli: the mission folder \"" << escapeControlBytes(outcome.GTA1iniFile)
                << "\" holds no mission.ini or missuk.ini (use --mission-dir)\n";
        } else {
            std::string folder = outcome.OutputFolder;
            while (!folder.empty() && platform::isPathSeparator(folder.back())) {
                folder.pop_back();
            }
            std::error_code ec;
            const bool exists =
                !folder.empty() && std::filesystem::exists(platform::pathFromText(folder), ec);
            err << "brennic-cli: the output folder \"" << escapeControlBytes(outcome.OutputFolder)
                << (exists ? "\" is not a folder" : "\" does not exist") << " (use --output-dir)\n";
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
        return checkScripts(choices.checkScriptFiles, out, err, signal);
    }
    if (!choices.addTextsFiles.empty()) {
        return addTexts(choices.addTextsFiles[0], choices.addTextsFiles[1], out, err);
    }
    std::optional<engine::RunRequest> request = requestOf(choices, err);
    if (!request) {
        return 2;
    }
    if (!choices.textFile.empty()) {
        if (!textsUsable(choices.textFile, err)) {
            return 2;
        }
        request->textFile = platform::pathFromText(choices.textFile);
    }
    std::optional<platform::TextWriter> reportFile =
        choices.reportFile ? openReport(*choices.reportFile, *request, err) : std::nullopt;
    if (choices.reportFile && !reportFile) {
        return 2;
    }
    // A report into the stream the status text goes to follows the status text whole; any other
    // is written as the run goes.
    const bool intoStandardOutput =
        reportFile && platform::isStandardStream(platform::pathFromText(*choices.reportFile));
    std::optional<report::ConversionReport> workLeft;
    if (intoStandardOutput) {
        workLeft.emplace();
    } else if (reportFile) {
        workLeft.emplace([&reportFile](std::string_view text) { reportFile->write(text); });
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
        if (intoStandardOutput) {
            reportFile->write(workLeft->text(failure)); // a failed write is what close() reports
        } else {
            workLeft->finish(failure);
        }
        if (const auto failed = reportFile->close()) {
            err << "brennic-cli: the report could not be written: "
                << escapeControlBytes(failed->description) << '\n';
            if (!outcome.failure) {
                return 1;
            }
        }
    }
    if (statusLost && outcome.end != engine::RunEnd::Failed) {
        return 1;
    }
    return exitCodeOf(outcome, err, signal);
}

} // namespace brennic::cli
