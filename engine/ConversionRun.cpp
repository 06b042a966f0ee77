#include "engine/ConversionRun.h"

#include "engine/CommandChain.h"
#include "engine/ObjectTranslation.h"
#include "engine/ScriptName.h"
#include "platform/FileSystem.h"
#include "platform/TextFile.h"

#include <deque>
#include <new>
#include <utility>

namespace brennic::engine {

namespace {

constexpr std::string_view kRunSource = "ConversionRun";
constexpr std::string_view kCrLf = "\r\n";

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

RunFailure ioFailure(std::string_view source, const platform::IoError& error) {
    return RunFailure(std::string(source), error.description, error.number);
}

RunFailure writerFailure(const platform::BackgroundWriter::Failure& failure) {
    return ioFailure(failure.whileCreating ? kRunSource : "TextWriter", failure.error);
}

// The folder text with the platform's separator at its end, where the program joins a name to it.
std::string folderPrefix(const std::string& folderText) {
    return platform::withFinalSeparator(folderText);
}

bool holdsMissionFile(const std::string& folderText) {
    return platform::findFileIgnoringCase(folderText + "mission.ini") ||
           platform::findFileIgnoringCase(folderText + "missuk.ini");
}

bool isOutputFolder(const std::string& folderText) {
    return !folderText.empty() && platform::isFolder(platform::pathFromText(folderText));
}

// Asks through the host until the folder text passes the test; false when the user cancels.
template <class Test>
bool askWhileWrong(std::string& folderText, Test test, std::string_view prompt, FolderField field,
                   RunHost& host) {
    while (!test(folderText)) {
        std::string answer = host.BrowseFolder(prompt);
        if (answer == "Cancel") {
            return false;
        }
        folderText = std::move(answer);
        host.folderChosen(field, folderText);
    }
    return true;
}

class Run {
  public:
    Run(ConversionOptions& options, EngineState& state, RunHost& host)
        : m_options(options), m_host(host), m_conversion(options, state) {
        m_conversion.script = &m_writer;
    }

    void execute();
    // After a failure: lets the writer finish what was handed over before it, and returns the
    // failure to report with its line. A writer failure met before this one came first in the
    // file and is reported instead.
    std::pair<RunFailure, std::size_t> settle(RunFailure failure);
    const std::string& missionFileName() const { return m_missionFileName; }

  private:
    // A status line appears once the scripts handed to the writer before it are on disk, so
    // that after a failure the status text stops where the failing script is named.
    struct PendingStatus {
        std::uint64_t after = 0;
        std::string text{};
    };

    void appendStatus(std::string text);
    void releaseStatus();
    void checkWriter() const;
    bool nextLine();
    void sectionHeader();
    void missionLine();
    void scanHeaderText();
    void writeScriptHead();
    void closeScript();
    void ensureUkFolder();
    void endOfLine();

    ConversionOptions& m_options;
    RunHost& m_host;
    Conversion m_conversion;
    platform::BackgroundWriter m_writer;
    std::deque<PendingStatus> m_pendingStatus;
    std::optional<platform::LineReader> m_missionFile;
    std::string m_missionFileName;
    std::size_t m_fileLine = 0;
    std::size_t m_headerCursor = 1;
    ScriptNames m_scriptNames;
    bool m_ukFolderReady = false;
};

void Run::execute() {
    EngineState& state = m_conversion.state;
    Load_VehicleTable(state.vehicles, m_host.vehicleFile());
    const std::string outputFolder = folderPrefix(m_options.OutputFolder);
    if (const auto texts = platform::findFileIgnoringCase(outputFolder + "e.txt")) {
        Load_TextTable(state.texts, *texts);
    }

    const std::string missionFolder = folderPrefix(m_options.GTA1iniFile);
    auto missionPath = platform::findFileIgnoringCase(missionFolder + "mission.ini");
    if (!missionPath) {
        missionPath = platform::findFileIgnoringCase(missionFolder + "missuk.ini");
    }
    if (!missionPath) {
        throw RunFailure(std::string(kRunSource),
                         "File not found: " + missionFolder + "mission.ini", 53);
    }
    platform::IoError error;
    m_missionFile = platform::LineReader::open(*missionPath, error);
    if (!m_missionFile) {
        throw ioFailure(kRunSource, error);
    }
    m_missionFileName = platform::textFromPath(missionPath->filename());

    m_host.replaceStatus("Generating GTA2 mission scripts...\r\n\r\n");
    while (nextLine()) {
        m_conversion.line.intLinePosition = 1;
        if (m_conversion.line.strRead.starts_with('[')) {
            sectionHeader();
        } else {
            missionLine();
        }
    }
    if (const auto& failure = m_missionFile->failure()) {
        throw ioFailure(kRunSource, *failure);
    }

    Conversion& c = m_conversion;
    if (!c.blnLevelStarted) {
        c.blnLevelStarted = true;
        c.write("");
        c.write("LEVELSTART");
        c.write("");
    }
    c.write(" ");
    c.write(" ");
    c.write("LEVELEND");
    closeScript();
    m_missionFile.reset();
    if (const auto failure = m_writer.finish()) {
        throw writerFailure(*failure);
    }
    releaseStatus();

    std::string status = "Powerup count: " + std::to_string(c.stats.MissionPowerupCount);
    status += kCrLf;
    status += "\r\n****** Statistics ******\r\n\r\n";
    for (const auto& [label, member] : kStatisticsLines) {
        status.append(label).append(std::to_string(c.stats.*member)).append(kCrLf);
    }
    m_host.appendStatus(status);
}

bool Run::nextLine() {
    if (!m_missionFile->readLine(m_conversion.line.strRead)) {
        return false;
    }
    ++m_fileLine;
    m_writer.setPosition(m_fileLine);
    return true;
}

std::pair<RunFailure, std::size_t> Run::settle(RunFailure failure) {
    const std::uint64_t handedOver = m_writer.handedOver();
    const auto earlier = m_writer.finish();
    releaseStatus();
    if (earlier && earlier->step <= handedOver) {
        return {writerFailure(*earlier), earlier->position};
    }
    return {std::move(failure), m_fileLine};
}

void Run::appendStatus(std::string text) {
    if (m_pendingStatus.empty() && m_writer.finished() == m_writer.handedOver()) {
        m_host.appendStatus(text);
    } else {
        m_pendingStatus.push_back({m_writer.handedOver(), std::move(text)});
    }
}

void Run::releaseStatus() {
    const std::uint64_t finished = m_writer.finished();
    while (!m_pendingStatus.empty() && m_pendingStatus.front().after <= finished) {
        m_host.appendStatus(m_pendingStatus.front().text);
        m_pendingStatus.pop_front();
    }
}

void Run::checkWriter() const {
    if (const auto* failure = m_writer.failure()) {
        throw writerFailure(*failure);
    }
}

void Run::sectionHeader() {
    Conversion& c = m_conversion;
    MissionLine& line = c.line;
    releaseStatus();
    if (c.stats.MissionPowerupCount > 0) {
        appendStatus("Powerup count: " + std::to_string(c.stats.MissionPowerupCount) + "\r\n");
    }
    c.stats.MissionPowerupCount = 0;
    c.stats.MissionPlayerNumber = 0;

    const std::size_t close = line.strRead.find(']');
    c.MissionNumber =
        line.strRead.substr(1, close == std::string::npos ? std::string::npos : close - 1);

    if (c.blnScriptOpen) {
        if (!c.blnLevelStarted) {
            c.write("");
            c.write("LEVELSTART");
            c.write("");
        }
        c.write(" ");
        c.write("LEVELEND");
        closeScript();
    }

    c.HeaderText.clear();
    for (int i = 0; i < 3; ++i) {
        if (!nextLine()) {
            if (const auto& failure = m_missionFile->failure()) {
                throw ioFailure(kRunSource, *failure);
            }
            throw RunFailure(std::string(kRunSource),
                             "Input past end of file: the mission file ends inside the three "
                             "header lines of section [" +
                                 c.MissionNumber + "]",
                             ErrorNumber::InputPastEndOfFile);
        }
        c.HeaderText += line.strRead;
    }
    scanHeaderText();

    const std::string baseName = m_scriptNames.claim(c.MapName, c.MissionName, c.MissionNumber);
    c.state.objectLines.Empty();
    appendStatus(baseName + ".mis\r\n");
    ensureUkFolder();

    const std::string scriptPath = folderPrefix(m_options.OutputFolder) + baseName + ".mis";
    m_writer.create(platform::pathFromText(scriptPath));
    checkWriter();
    c.blnScriptOpen = true;
    c.blnLevelStarted = false;
    writeScriptHead();

    // The object part of the third header line is read from where the header scan stopped.
    setCursor(line, m_headerCursor);
    Translate_object(c);
    endOfLine();
}

void Run::scanHeaderText() {
    Conversion& c = m_conversion;
    const std::string& text = c.HeaderText;
    const std::size_t firstComma = text.find(',');
    c.MissionName = text.substr(0, firstComma);
    c.MapName.clear();
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
        c.MapName = nameStart < text.size() ? text.substr(nameStart) : "";
        return;
    }
    c.MapName = dot > nameStart ? text.substr(nameStart, dot - nameStart) : "";
    m_headerCursor = dot + 1;
}

void Run::writeScriptHead() {
    Conversion& c = m_conversion;
    c.write({"// ", c.HeaderText});
    c.write("//");
    c.write(" ");
    c.write("ARROW_DATA ARROW");
    c.write("COUNTER loop = 1");
    c.write("CAR_DATA car ");
    for (const auto& [prefix, declaration] : kDoorDeclarations) {
        if (c.MapName.starts_with(prefix)) {
            c.write(declaration);
            break;
        }
    }
    c.write(" ");
}

void Run::closeScript() {
    m_writer.close();
    checkWriter();
}

void Run::ensureUkFolder() {
    if (m_ukFolderReady) {
        return;
    }
    const std::filesystem::path output = platform::pathFromText(m_options.OutputFolder);
    if (!platform::findFolderIgnoringCase(output, "uk")) {
        if (const auto error = platform::makeFolder(output / "uk")) {
            throw ioFailure(kRunSource, *error);
        }
    }
    m_ukFolderReady = true;
}

void Run::missionLine() {
    Conversion& c = m_conversion;
    MissionLine& line = c.line;
    line.strLineNumber = Keep_Adding_Chars_to_strGotoLine_until_a_space_is_detected(line);
    if (!c.blnLevelStarted) {
        c.blnLevelStarted = true;
        c.write(" ");
        c.write("LEVELSTART");
        c.write(" ");
    }
    if (!Translate_command(c) && c.options.chkUnknown && !line.strRead.empty()) {
        c.blnLineHandled = false;
    }
    Translate_object(c);
    endOfLine();
}

void Run::endOfLine() {
    Conversion& c = m_conversion;
    if (c.options.chkUnknown && !c.line.strRead.empty() && !c.blnLineHandled) {
        c.write({"// ", c.line.strRead});
    }
    c.blnLineHandled = true;
    c.line.strLineNumber.clear();
}

} // namespace

void Conversion::write(std::initializer_list<std::string_view> pieces) {
    if (script == nullptr || !script->isOpen()) {
        throw RunFailure(std::string(kRunSource),
                         "Bad file name or number: no mission script is open (the mission file "
                         "must begin with a section header)",
                         ErrorNumber::BadFileNameOrNumber);
    }
    if (!script->writeLine(pieces)) {
        if (const auto* failure = script->failure()) {
            throw writerFailure(*failure);
        }
        throw RunFailure("TextWriter", "Device I/O error", 57);
    }
}

RunReport ConversionRun(ConversionOptions& options, EngineState& state, RunHost& host) {
    host.setConvertEnabled(false);
    RunReport report;
    if (!askWhileWrong(options.GTA1iniFile, holdsMissionFile, kMissionFolderPrompt,
                       FolderField::GTA1iniFile, host)) {
        report.end = RunEnd::Cancelled;
        report.cancelledAt = FolderField::GTA1iniFile;
    } else if (!askWhileWrong(options.OutputFolder, isOutputFolder, kOutputFolderPrompt,
                              FolderField::OutputFolder, host)) {
        report.end = RunEnd::Cancelled;
        report.cancelledAt = FolderField::OutputFolder;
    } else {
        Run run(options, state, host);
        std::optional<RunFailure> failure;
        try {
            run.execute();
        } catch (const RunFailure& runFailure) {
            failure = runFailure;
        } catch (const std::bad_alloc&) {
            failure = RunFailure(std::string(kRunSource), "Out of memory", 7);
        }
        if (failure) {
            report.end = RunEnd::Failed;
            auto [reported, line] = run.settle(std::move(*failure));
            std::string description = reported.description();
            if (line > 0) {
                description +=
                    " (line " + std::to_string(line) + " of " + run.missionFileName() + ")";
            }
            report.failure = RunFailure(reported.source(), description, reported.number());
        }
    }
    host.setConvertEnabled(true);
    return report;
}

} // namespace brennic::engine
