#include "engine/ConversionRun.h"

#include "engine/CommandChain.h"
#include "engine/Conversion.h"
#include "engine/GTA1TextFile.h"
#include "engine/ObjectTranslation.h"
#include "engine/ScriptName.h"
#include "platform/Ascii.h"
#include "platform/FileSystem.h"
#include "platform/ProfileFile.h"
#include "platform/TextReader.h"
#include "platform/TextWriter.h"

#include <new>
#include <utility>
#include <vector>

namespace brennic::engine {

namespace {

constexpr std::string_view kRunSource = "ConversionRun";

struct DoorDeclaration {
    std::string_view mapPrefix; // letter case significant
    std::string_view line;
};

constexpr DoorDeclaration kDoorDeclarations[] = {
    {"miami", "DECLARE_DOOR_INFO ( 370 , 377 , 1 )"},
    {"sanb", "DECLARE_DOOR_INFO ( 366 , 373 , 1 )"},
    {"nyc", "DECLARE_DOOR_INFO ( 361 , 367 , 1 )"},
    {"uk", "DECLARE_DOOR_INFO ( 360 , 367 , 1 )"},
};

// A folder text as the run joins names to it: with the platform's separator at its end. The
// folder checks read the same paths the run then reads.
std::string folderPrefix(const std::string& folderText) {
    return platform::withFinalSeparator(folderText);
}

std::optional<std::filesystem::path> missionFileIn(const std::string& folderText) {
    if (folderText.empty()) {
        return std::nullopt;
    }
    const std::string folder = folderPrefix(folderText);
    auto path = platform::findFileIgnoringCase(folder + "mission.ini");
    return path ? path : platform::findFileIgnoringCase(folder + "missuk.ini");
}

// The files a run with these options reads, those that exist.
std::vector<RunInput> inputsOf(const ConversionOptions& options,
                               const std::optional<std::filesystem::path>& vehicleFile,
                               const std::optional<std::filesystem::path>& textFile,
                               const std::vector<RunInput>& otherInputs) {
    std::vector<RunInput> inputs;
    if (const auto mission = missionFileIn(options.GTA1iniFile)) {
        inputs.push_back({*mission, "the mission file"});
        if (const auto gta1Texts =
                platform::findFileIgnoringCase(mission->parent_path(), "ENGLISH.FXT")) {
            inputs.push_back({*gta1Texts, "the GTA1 text file"});
        }
    }
    if (textFile && platform::isFile(*textFile)) {
        inputs.push_back({*textFile, "the brief text file"});
    }
    if (!options.OutputFolder.empty()) {
        if (const auto texts = platform::findFileIgnoringCase(
                platform::pathFromText(folderPrefix(options.OutputFolder)), "e.txt")) {
            inputs.push_back({*texts, "the brief text file"});
        }
    }
    if (vehicleFile && platform::isFile(*vehicleFile)) {
        inputs.push_back({*vehicleFile, "the vehicle file"});
    }
    for (const RunInput& other : otherInputs) {
        if (platform::isFile(other.path)) {
            inputs.push_back(other);
        }
    }
    return inputs;
}

bool holdsMissionFile(const std::string& folderText) {
    return missionFileIn(folderText).has_value();
}

bool isOutputFolder(const std::string& folderText) {
    return !folderText.empty() && platform::isFolder(platform::pathFromText(folderText));
}

// Asks through the host until the folder text passes the test; false when the user cancels.
template <class Test>
bool askWhileWrong(std::string& folderText, Test test, std::string_view prompt, RunHost& host) {
    while (!test(folderText)) {
        std::string answer = host.BrowseFolder(prompt);
        if (answer == "Cancel") {
            return false;
        }
        folderText = std::move(answer);
    }
    return true;
}

// The current section header and its three header lines.
struct SectionHeader {
    std::string HeaderText{};
    std::string MissionNumber{};
    std::string MissionName{};
    std::string MapName{};
};

class Run {
  public:
    Run(const RunRequest& request, const ConversionOptions& options, EngineState& state,
        RunHost& host)
        : m_options(options), m_vehicleFile(request.vehicleFile), m_textFile(request.textFile),
          m_otherInputs(request.otherInputs), m_host(host),
          m_conversion(options, state, request.notes) {}

    void execute();
    // Ends the open script, if any, as a failed run leaves it; the failure to remove what was
    // written aside for it.
    std::optional<platform::IoError> abandonScript();
    std::size_t fileLine() const { return m_fileLine; }
    const std::string& missionFileName() const { return m_missionFileName; }

  private:
    void openOutputFolder();
    void loadVehicles();
    void loadTexts();
    std::string readTexts();
    void warn(const std::vector<std::string>& warnings);
    bool nextLine();
    void sectionHeader();
    void missionLine();
    void scanHeaderText();
    void openScript(const std::string& baseName);
    void writeScriptHead();
    void startLevel(std::string_view around);
    void closeScript();
    void ensureUkFolder();
    void endOfLine(bool unknown);

    const ConversionOptions& m_options;
    const std::optional<std::filesystem::path>& m_vehicleFile;
    const std::optional<std::filesystem::path>& m_textFile;
    const std::vector<RunInput>& m_otherInputs;
    RunHost& m_host;
    std::optional<platform::Folder> m_outputFolder; // outlives the script written in it
    std::vector<RunInput> m_inputsInOutput;         // inputs a script's name could replace
    Conversion m_conversion;
    std::optional<platform::LineReader> m_missionFile;
    std::string m_missionFileName;
    SectionHeader m_section;
    bool m_levelStarted = false; // blnLevelStarted: the open script has its LEVELSTART block
    std::size_t m_fileLine = 0;
    std::size_t m_headerCursor = 1;
    ScriptNames m_scriptNames;
    bool m_ukFolderReady = false;
};

void Run::execute() {
    loadVehicles();
    loadTexts();

    const auto missionPath = missionFileIn(m_options.GTA1iniFile);
    if (!missionPath) {
        throw RunFailure(std::string(kRunSource),
                         "File not found: " + folderPrefix(m_options.GTA1iniFile) + "mission.ini",
                         ErrorNumber::FileNotFound);
    }
    platform::IoError error;
    m_missionFile = platform::LineReader::open(*missionPath, kMaxLineLength, error);
    if (!m_missionFile) {
        throw RunFailure(std::string(kRunSource), error);
    }
    m_missionFileName = platform::textFromPath(missionPath->filename());
    openOutputFolder();

    m_host.replaceStatus("Generating GTA2 mission scripts...\r\n\r\n");
    while (nextLine()) {
        m_conversion.line.intLinePosition = 1;
        if (m_conversion.line.strRead.starts_with('[')) {
            sectionHeader();
        } else {
            missionLine();
        }
    }

    Conversion& c = m_conversion;
    startLevel("");
    c.write(" ");
    c.write(" ");
    c.write("LEVELEND");
    closeScript();
    if (m_missionFile->dataAfterCtrlZ()) {
        m_host.warning(m_missionFileName + " goes on behind the end-of-file mark (Ctrl-Z) that "
                                           "ends it here; those lines were not converted");
    }
    m_missionFile.reset();

    std::string status = "Powerup count: " + std::to_string(c.stats.MissionPowerupCount) + "\r\n";
    status += "\r\n****** Statistics ******\r\n\r\n";
    for (const auto& [label, member] : kStatisticsLines) {
        status.append(label).append(std::to_string(c.stats.*member)).append("\r\n");
    }
    m_host.appendStatus(status);
}

void Run::openOutputFolder() {
    platform::IoError error;
    m_outputFolder =
        platform::Folder::open(platform::pathFromText(folderPrefix(m_options.OutputFolder)), error);
    if (!m_outputFolder) {
        throw RunFailure(std::string(kRunSource), error);
    }
    m_outputFolder->removeAbandoned();
    for (RunInput& input : inputsOf(m_options, m_vehicleFile, m_textFile, m_otherInputs)) {
        if (platform::isSameEntry(m_outputFolder->path() / input.path.filename(), input.path)) {
            m_inputsInOutput.push_back(std::move(input));
        }
    }
}

std::optional<platform::IoError> Run::abandonScript() {
    if (!m_conversion.script) {
        return std::nullopt;
    }
    auto left = m_conversion.script->discard();
    m_conversion.script.reset();
    return left;
}

void Run::loadVehicles() {
    VehicleTable& table = m_conversion.state.vehicles;
    const auto& file = m_vehicleFile;
    if (!file) {
        Load_VehicleTable(table);
        return;
    }
    const std::string name = platform::textFromPath(*file);
    platform::IoError error;
    const bool isFile = platform::isFile(*file);
    const auto profile = isFile ? platform::ProfileFile::read(*file, error) : std::nullopt;
    if (!profile) {
        // A file too large to read is refused outright: built-in names would hide its loss.
        if (error.kind == platform::IoErrorKind::TooLarge) {
            throw RunFailure("VehicleTable", error);
        }
        m_host.warning((isFile ? error.description
                        : std::filesystem::exists(*file)
                            ? "the vehicle file " + name + " is not a file"
                            : "the vehicle file " + name + " does not exist") +
                       "; the built-in vehicle names are used");
        Load_VehicleTable(table);
        return;
    }
    if (!profile->hasSection(kVehicleSection)) {
        m_host.warning("the vehicle file " + name + " has no [" + std::string(kVehicleSection) +
                       "] section; every vehicle name is empty");
    }
    Load_VehicleTable(table, *profile);
}

void Run::loadTexts() {
    const std::string source = readTexts();
    if (m_conversion.notes != nullptr) {
        m_conversion.notes->textsRead(source);
    }
}

// The brief texts come from the first source there is: the request's file, e.txt in the output
// folder (whatever stands under that name), ENGLISH.FXT beside the mission file. Only the
// request's file has been vouched for; the others may fail with a warning. Returns the name of the
// file read, empty when none was.
std::string Run::readTexts() {
    TextTable& table = m_conversion.state.texts;
    if (m_textFile) {
        const std::string name = platform::textFromPath(m_textFile->filename());
        warn(Load_TextTable(table, *m_textFile, name));
        return name;
    }
    const std::filesystem::path folder =
        platform::pathFromText(folderPrefix(m_options.OutputFolder));
    const auto file = platform::findFileIgnoringCase(folder, "e.txt");
    platform::IoError error;
    auto reader = file ? platform::LineReader::open(*file, kMaxLineLength, error) : std::nullopt;
    if (reader) {
        const std::string name = platform::textFromPath(file->filename());
        Load_TextTable(table, *reader, name);
        return name;
    }
    if (file) {
        m_host.warning(error.description + "; no brief texts were read from it");
        return {};
    }
    if (const auto other = platform::findEntryIgnoringCase(folder, "e.txt")) {
        // A folder, a FIFO (whose reading would wait for a writer), a link that leads nowhere.
        m_host.warning(platform::textFromPath(*other) +
                       " is not a readable file; no brief texts were read from it");
        return {};
    }
    const auto gta1File = platform::findFileIgnoringCase(
        platform::pathFromText(folderPrefix(m_options.GTA1iniFile)), "ENGLISH.FXT");
    if (!gta1File) {
        return {};
    }
    const std::string name = platform::textFromPath(gta1File->filename());
    const auto texts = Read_GTA1_text_file(*gta1File, name, error);
    if (!texts) {
        m_host.warning(error.description + "; no brief texts were read from it");
        return {};
    }
    warn(texts->warnings);
    Load_TextTable(table, *texts);
    return name;
}

void Run::warn(const std::vector<std::string>& warnings) {
    for (const std::string& warning : warnings) {
        m_host.warning(warning);
    }
}

bool Run::nextLine() {
    if (m_host.stopRequested()) {
        throw RunFailure(std::string(kRunSource), "Interrupted", ErrorNumber::UserInterrupt);
    }
    switch (m_missionFile->readLine(m_conversion.line.strRead)) {
    case platform::LineReader::Result::Line:
        ++m_fileLine;
        return true;
    case platform::LineReader::Result::End:
        return false;
    case platform::LineReader::Result::TooLong:
        ++m_fileLine;
        Fail_cursor_overflow();
    case platform::LineReader::Result::Failed:
        break;
    }
    throw RunFailure(std::string(kRunSource), *m_missionFile->failure());
}

void Run::sectionHeader() {
    Conversion& c = m_conversion;
    MissionLine& line = c.line;
    if (c.stats.MissionPowerupCount > 0) {
        m_host.appendStatus("Powerup count: " + std::to_string(c.stats.MissionPowerupCount) +
                            "\r\n");
    }
    c.stats.MissionPowerupCount = 0;
    c.stats.MissionPlayerNumber = 0;

    const std::size_t close = line.strRead.find(']');
    m_section.MissionNumber =
        line.strRead.substr(1, close == std::string::npos ? std::string::npos : close - 1);

    if (c.script) {
        startLevel("");
        c.write(" ");
        c.write("LEVELEND");
        closeScript();
    }

    m_section.HeaderText.clear();
    for (int i = 0; i < 3; ++i) {
        if (!nextLine()) {
            throw RunFailure(std::string(kRunSource),
                             "Input past end of file: the mission file ends inside the three "
                             "header lines of section [" +
                                 m_section.MissionNumber + "]",
                             ErrorNumber::InputPastEndOfFile);
        }
        m_section.HeaderText += line.strRead;
    }
    scanHeaderText();

    const std::string baseName =
        m_scriptNames.claim(m_section.MapName, m_section.MissionName, m_section.MissionNumber);
    c.state.objectLines.Empty();
    m_host.appendStatus(baseName + ".mis\r\n");
    ensureUkFolder();
    openScript(baseName);
    writeScriptHead();

    // The object part of the third header line is read from where the header scan stopped.
    setCursor(line, m_headerCursor);
    const std::optional<Match> object = Translate_object(c);
    endOfLine(object && !object->translated);
}

void Run::scanHeaderText() {
    const std::string& text = m_section.HeaderText;
    const std::size_t firstComma = text.find(',');
    m_section.MissionName = text.substr(0, firstComma);
    m_section.MapName.clear();
    m_headerCursor = text.size() + 1;
    if (firstComma == std::string::npos) {
        return;
    }
    // A comma directly behind the first one is passed over.
    const std::size_t secondComma = text.find(',', firstComma + 2);
    if (secondComma == std::string::npos) {
        return;
    }
    // The character directly behind the second comma is never part of the map name.
    const std::size_t nameStart = secondComma + 2;
    const std::size_t dot = text.find('.', secondComma + 1);
    if (dot == std::string::npos) {
        m_section.MapName = nameStart < text.size() ? text.substr(nameStart) : "";
        return;
    }
    m_section.MapName = dot > nameStart ? text.substr(nameStart, dot - nameStart) : "";
    m_headerCursor = dot + 1;
}

void Run::openScript(const std::string& baseName) {
    Conversion& c = m_conversion;
    // The script's name is the mission file's text, in the system's code page.
    const std::filesystem::path file = platform::pathFromCodePageText(baseName + ".mis");
    const std::string name = platform::textFromPath(file);
    for (const RunInput& input : m_inputsInOutput) {
        if (platform::equalIgnoringCase(platform::textFromPath(input.path.filename()), name)) {
            throw RunFailure(
                std::string(kRunSource),
                "Path/File access error: " + platform::textFromPath(m_outputFolder->path() / file) +
                    " is " + input.role + " of this run; no script replaces it",
                ErrorNumber::PathFileAccessError);
        }
    }
    platform::IoError error;
    auto script = platform::TextWriter::create(*m_outputFolder, file, error);
    if (!script) {
        throw RunFailure(std::string(kRunSource), error);
    }
    c.script.emplace(std::move(*script));
    m_levelStarted = false;
    if (c.notes != nullptr) {
        c.notes->scriptOpened(baseName + ".mis");
    }
}

void Run::writeScriptHead() {
    Conversion& c = m_conversion;
    c.write({"// ", m_section.HeaderText});
    c.write("//");
    c.write(" ");
    c.write("ARROW_DATA ARROW");
    c.write("COUNTER loop = 1");
    c.write("CAR_DATA car ");
    for (const auto& [prefix, declaration] : kDoorDeclarations) {
        if (m_section.MapName.starts_with(prefix)) {
            c.write(declaration);
            break;
        }
    }
    c.write(" ");
}

// Before a script's first mission line the block stands between lines of one blank; a script
// that reaches its end without one gets it between empty lines.
void Run::startLevel(std::string_view around) {
    Conversion& c = m_conversion;
    if (!m_levelStarted) {
        m_levelStarted = true;
        c.write(around);
        c.write("LEVELSTART");
        c.write(around);
    }
}

void Run::closeScript() {
    const auto error = m_conversion.script->close();
    m_conversion.script.reset();
    if (error) {
        throw RunFailure("TextWriter", *error);
    }
}

void Run::ensureUkFolder() {
    if (m_ukFolderReady) {
        return;
    }
    const std::filesystem::path& output = m_outputFolder->path();
    if (!platform::findFolderIgnoringCase(output, "uk")) {
        if (const auto error = platform::makeFolder(output / "uk")) {
            throw RunFailure(std::string(kRunSource), *error);
        }
    }
    m_ukFolderReady = true;
}

void Run::missionLine() {
    Conversion& c = m_conversion;
    MissionLine& line = c.line;
    line.strLineNumber = Keep_Adding_Chars_to_strGotoLine_until_a_space_is_detected(line);
    if (c.notes != nullptr) {
        c.notes->missionLineRead(line.strLineNumber);
    }
    startLevel(" ");
    const Match command = Translate_command(c);
    const std::optional<Match> object = Translate_object(c);
    if (c.notes != nullptr && !command.translated && !(object && object->translated) &&
        line.strRead.find_first_not_of(' ') != std::string::npos) {
        const Match& found = object ? *object : command;
        c.notes->notTranslated(found.word, found.box);
    }
    // An object part speaks for the line; without one, the command chain does.
    endOfLine(object ? !object->translated : !command.translated);
}

// The one place an unknown line becomes a comment.
void Run::endOfLine(bool unknown) {
    Conversion& c = m_conversion;
    if (unknown && c.options.chkUnknown && !c.line.strRead.empty()) {
        c.write({"// ", c.line.strRead});
    }
    c.line.strLineNumber.clear();
}

} // namespace

void Conversion::write(std::initializer_list<std::string_view> pieces) {
    if (!script) {
        throw RunFailure(std::string(kRunSource),
                         "Bad file name or number: no mission script is open (the mission file "
                         "must begin with a section header)",
                         ErrorNumber::BadFileNameOrNumber);
    }
    if (!script->writeLine(pieces)) {
        throw RunFailure("TextWriter", *script->failure());
    }
    if (notes != nullptr) {
        notes->lineWritten(pieces);
    }
}

RunOutcome ConversionRun(const RunRequest& request, EngineState& state, RunHost& host) {
    RunOutcome outcome{.GTA1iniFile = request.options.GTA1iniFile,
                       .OutputFolder = request.options.OutputFolder};
    if (!askWhileWrong(outcome.GTA1iniFile, holdsMissionFile, kMissionFolderPrompt, host)) {
        outcome.end = RunEnd::Cancelled;
        outcome.cancelledAt = FolderField::GTA1iniFile;
        return outcome;
    }
    if (!askWhileWrong(outcome.OutputFolder, isOutputFolder, kOutputFolderPrompt, host)) {
        outcome.end = RunEnd::Cancelled;
        outcome.cancelledAt = FolderField::OutputFolder;
        return outcome;
    }
    ConversionOptions options = request.options;
    options.GTA1iniFile = outcome.GTA1iniFile;
    options.OutputFolder = outcome.OutputFolder;
    Run run(request, options, state, host);
    try {
        run.execute();
    } catch (const RunFailure& failure) {
        outcome.failure = failure.at(run.fileLine(), run.missionFileName());
    } catch (const std::bad_alloc&) {
        outcome.failure =
            RunFailure(std::string(kRunSource), "Out of memory", ErrorNumber::OutOfMemory)
                .at(run.fileLine(), run.missionFileName());
    }
    if (outcome.failure) {
        outcome.end = RunEnd::Failed;
        if (const auto left = run.abandonScript()) {
            outcome.failure = outcome.failure->followedBy("; " + left->description);
        }
    }
    return outcome;
}

std::vector<RunInput> runInputs(const RunRequest& request) {
    return inputsOf(request.options, request.vehicleFile, request.textFile, request.otherInputs);
}

} // namespace brennic::engine
