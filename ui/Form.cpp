#include "ui/Form.h"

#include "engine/NumberWriting.h"
#include "engine/RunFailure.h"
#include "platform/Ascii.h"
#include "platform/FileSystem.h"
#include "platform/TextWriter.h"
#include "report/ConversionReport.h"

#include <algorithm>
#include <array>
#include <system_error>
#include <utility>
#include <variant>

namespace brennic::ui {

namespace {

constexpr std::string_view kWebPage = "https://falvorn.example/brennic/";
constexpr std::array kOffsetBoxes{Control::txtXoffset, Control::txtYoffset, Control::txtZoffset};

constexpr std::optional<Control> boxOf(engine::Switch option) {
    for (const ControlPlace& place : kControls) {
        if (place.box == option) {
            return place.id;
        }
    }
    return std::nullopt;
}

static_assert(std::all_of(engine::kSwitchKeys.begin(), engine::kSwitchKeys.end(),
                          [](const auto& entry) { return boxOf(entry.member).has_value(); }),
              "every switch has its check box");

// The check box of each settings key, in the order of kSwitchKeys.
constexpr auto kBoxes = [] {
    std::array<Control, engine::kSwitchKeys.size()> boxes{};
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        boxes[i] = *boxOf(engine::kSwitchKeys[i].member);
    }
    return boxes;
}();

// A folder as the user gave it. Explorer's "Copy as path" and the shells' completion put a folder
// in double quotes; a Windows name cannot hold one, so every quote goes, and the blanks around.
std::string folderText(std::string text) {
#ifdef _WIN32
    if (text.find('"') != std::string::npos) {
        std::erase(text, '"');
        const std::size_t first = text.find_first_not_of(" \t");
        text = first == std::string::npos
                   ? std::string()
                   : text.substr(first, text.find_last_not_of(" \t") - first + 1);
    }
#endif
    return text;
}

// The folder the text names when it exists, else the nearest one above it that does; empty when
// there is none.
std::filesystem::path nearestFolder(std::string_view text) {
    // In the form a dialog takes: the platform's separators, none at the end.
    std::filesystem::path path = platform::pathFromText(text).lexically_normal();
    if (!path.has_filename() && path.has_relative_path()) {
        path = path.parent_path();
    }
    while (!path.empty() && !platform::isFolder(path)) {
        std::filesystem::path parent = path.parent_path();
        if (parent == path) {
            return {};
        }
        path = std::move(parent);
    }
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute;
}

// The list with each line made visible and its CR LF kept.
std::string visibleLines(std::string_view list) {
    std::string visible;
    for (std::size_t start = 0; start < list.size();) {
        const std::size_t end = std::min(list.find("\r\n", start), list.size());
        visible += platform::escapeControlBytes(list.substr(start, end - start));
        visible += end < list.size() ? "\r\n" : "";
        start = end + 2;
    }
    return visible;
}

std::string counted(std::size_t count, std::string_view what) {
    return std::to_string(count) + " " + std::string(what) + (count == 1 ? "" : "s");
}

// One line for the list of what is left: "12 items left to do in 2 scripts" (the scripts that
// have any), or "Nothing left to do in 3 scripts".
std::string workLeftSummary(const report::ConversionReport::Tally& tally, bool failed) {
    std::string summary = tally.scripts == 0 ? std::string("No script was written")
                          : tally.items == 0
                              ? "Nothing left to do in " + counted(tally.scripts, "script")
                              : counted(tally.items, "item") + " left to do in " +
                                    counted(tally.scriptsWithItems, "script");
    return failed ? summary + "; the conversion failed" : summary;
}

} // namespace

Form::Form(std::filesystem::path programFolder)
    : m_programFolder(programFolder.empty() ? platform::executableFolder()
                                            : std::move(programFolder)),
      m_settingsFile(settings::settingsFilePath(settings::settingsFolder(m_programFolder))) {}

void Form::Form_Load() {
    setCaption(kWindowCaption);
    setControlEnabled(Control::cmdWhatIsLeft, false); // until a run has ended
    LoadSettings();
}

void Form::LoadSettings() {
    const settings::SettingsLoad load = settings::LoadSettingsFile(m_settingsFile);
    showSettings(load.settings);
    if (load.readFailure) {
        // An unreadable or oversized file: the first-start values stand, and the box says why.
        showError(kLoadErrorTitle, std::string(settings::kApplicationName),
                  load.readFailure->description, static_cast<int>(load.readFailure->number));
    }
    if (load.badValues) {
        showError(kLoadErrorTitle, load.badValues->source, load.badValues->description,
                  load.badValues->number);
    }
}

void Form::Form_QueryUnload() {
    // A close request may be taken back (a log-off the user cancels): what changes after it is
    // saved by the next one.
    settings::StoredSettings shown = controlSettings();
    if (shown != m_savedSettings) {
        SaveSettings();
        m_savedSettings = std::move(shown);
    }
}

void Form::SaveSettings() {
    // A save that cannot happen (a read-only file or folder) goes unreported, and the window
    // closes all the same.
    static_cast<void>(settings::SaveSettingsFile(m_settingsFile, controlSettings()));
}

settings::StoredSettings Form::controlSettings() const {
    settings::StoredSettings settings;
    settings.GTA1iniFile = text(Control::txtGTA1iniFile);
    settings.OutputFolder = text(Control::txtOutputFolder);
    for (std::size_t i = 0; i < kBoxes.size(); ++i) {
        settings.boxes[i] = state(kBoxes[i]);
    }
    for (std::size_t i = 0; i < kOffsetBoxes.size(); ++i) {
        settings.offsets[i] = text(kOffsetBoxes[i]);
    }
    return settings;
}

void Form::showSettings(const settings::StoredSettings& settings) {
    setText(Control::txtGTA1iniFile, settings.GTA1iniFile);
    setText(Control::txtOutputFolder, settings.OutputFolder);
    for (std::size_t i = 0; i < kBoxes.size(); ++i) {
        setState(kBoxes[i], settings.boxes[i]);
    }
    for (std::size_t i = 0; i < kOffsetBoxes.size(); ++i) {
        setText(kOffsetBoxes[i], settings.offsets[i]);
    }
}

void Form::showError(std::string_view title, const std::string& source,
                     const std::string& description, int number) {
    showMessage(MessageIcon::Critical, title,
                "Error source: " + platform::escapeControlBytes(source) +
                    "\rError description: " + platform::escapeControlBytes(description) +
                    "\rError number: " + std::to_string(number));
}

void Form::Control_Click(Click click) {
    switch (click) {
    case Click::None:
        break;
    case Click::MissionFolder:
        imgMissionFolder_Click();
        break;
    case Click::OutputFolder:
        imgOutputFolder_Click();
        break;
    case Click::Convert:
        cmdConvert_Click();
        break;
    case Click::WhatIsLeft:
        cmdWhatIsLeft_Click();
        break;
    }
}

void Form::cmdConvert_Click() {
    setControlEnabled(Control::cmdConvert, false);
    for (const Control box : {Control::txtGTA1iniFile, Control::txtOutputFolder}) {
        const std::string typed = text(box);
        if (const std::string folder = folderText(typed); folder != typed) {
            setText(box, folder);
        }
    }
    const auto options = settings::optionsFromSettings(controlSettings());
    if (const auto* error = std::get_if<settings::LoadError>(&options)) {
        // An offset beyond the number range (1e999 fits in five characters): no run starts.
        showError(kConversionErrorTitle, error->source, error->description, error->number);
        setControlEnabled(Control::cmdConvert, true);
        return;
    }
    report::ConversionReport workLeft;
    const engine::RunRequest request{.options = std::get<engine::ConversionOptions>(options),
                                     .vehicleFile = settings::vehicleFilePath(m_programFolder),
                                     .notes = &workLeft};
    const std::array offsets{request.options.Xoffset, request.options.Yoffset,
                             request.options.Zoffset};
    for (std::size_t i = 0; i < offsets.size(); ++i) {
        setText(kOffsetBoxes[i], engine::Offset_text(offsets[i]));
    }
    m_warnings.clear();
    // A folder the user picks at one of the run's questions goes into its box at once
    // (BrowseFolder), so that a close request at the next question saves it.
    const engine::RunOutcome outcome = engine::ConversionRun(request, m_state, *this);
    // A run cancelled at a folder question converted nothing: the last list still holds.
    if (outcome.end != engine::RunEnd::Cancelled) {
        showWorkLeftOf(outcome, workLeft);
    }
    // A run stopped for a close request shows no box: the window is closing.
    if (!stopRequested()) {
        if (outcome.failure) {
            showError(kConversionErrorTitle, outcome.failure->source(),
                      outcome.failure->description(), outcome.failure->number());
        }
        showWarnings();
    }
    setControlEnabled(Control::cmdConvert, true);
}

void Form::showWorkLeftOf(const engine::RunOutcome& outcome, report::ConversionReport& report) {
    // The list as the command line's report file holds it.
    m_workLeft = report.text(outcome.failure ? outcome.failure->description() : std::string());
    m_workLeftFolder = platform::pathFromText(outcome.OutputFolder);
    const std::string summary = workLeftSummary(report.tally(), outcome.failure.has_value());
    setText(Control::lblWhatIsLeft, summary);
    setWorkLeft(summary, visibleLines(m_workLeft));
    setControlEnabled(Control::cmdWhatIsLeft, true);
}

void Form::warning(std::string_view text) { m_warnings.emplace_back(text); }

void Form::showWarnings() {
    if (m_warnings.empty()) {
        return;
    }
    std::string text = platform::escapeControlBytes(m_warnings.front());
    for (std::size_t i = 1; i < m_warnings.size(); ++i) {
        text += "\r" + platform::escapeControlBytes(m_warnings[i]);
    }
    m_warnings.clear();
    showMessage(MessageIcon::Warning, settings::kApplicationName, text);
}

void Form::cmdWhatIsLeft_Click() { showWorkLeft(); }

void Form::Save_work_left() {
    const auto file =
        chooseWorkLeftFile(m_workLeftFolder / platform::pathFromText(kWorkLeftFileName));
    if (!file || file->filename().empty()) {
        return;
    }
    platform::IoError error;
    // A device or a FIFO is refused: a FIFO that nobody reads would hold the window for good.
    auto writer = platform::TextWriter::replace(*file, platform::SpecialFiles::Refuse, error);
    std::optional<platform::IoError> failure = error;
    if (writer) {
        writer->write(m_workLeft); // a failed write is what close() reports
        failure = writer->close();
    }
    if (failure) {
        showError(kSaveErrorTitle, std::string(settings::kApplicationName), failure->description,
                  static_cast<int>(engine::errorNumberOf(failure->kind)));
    }
}

void Form::imgMissionFolder_Click() { BrowseFolder(engine::kMissionFolderPrompt); }

void Form::imgOutputFolder_Click() { BrowseFolder(engine::kOutputFolderPrompt); }

std::string Form::BrowseFolder(std::string_view prompt) {
    const Control box =
        prompt == engine::kOutputFolderPrompt ? Control::txtOutputFolder : Control::txtGTA1iniFile;
    const auto chosen = chooseFolder(prompt, nearestFolder(folderText(text(box))));
    if (!chosen || chosen->empty()) {
        return "Cancel"; // the box stays as it was
    }
    std::string folder = platform::withFinalSeparator(platform::textFromPath(*chosen));
    setText(box, folder);
    return folder;
}

void Form::Open_web_page() {
    if (!openLink(kWebPage)) {
        showMessage(MessageIcon::None, settings::kApplicationName, "No browser installed!");
    }
}

} // namespace brennic::ui
