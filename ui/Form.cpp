#include "ui/Form.h"

#include "engine/NumberWriting.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <array>
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

} // namespace

Form::Form(std::filesystem::path programFolder)
    : m_programFolder(programFolder.empty() ? platform::executableFolder()
                                            : std::move(programFolder)),
      m_settingsFile(settings::settingsFilePath(settings::settingsFolder(m_programFolder))) {}

void Form::Form_Load() {
    setCaption(kWindowCaption);
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
    if (!std::exchange(m_settingsSaved, true)) {
        SaveSettings();
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
                "Error source: " + source + "\rError description: " + description +
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
    }
}

void Form::cmdConvert_Click() {
    setControlEnabled(Control::cmdConvert, false);
    const auto options = settings::optionsFromSettings(controlSettings());
    if (const auto* error = std::get_if<settings::LoadError>(&options)) {
        // An offset beyond the number range (1e999 fits in five characters): no run starts.
        showError(kConversionErrorTitle, error->source, error->description, error->number);
        setControlEnabled(Control::cmdConvert, true);
        return;
    }
    const engine::RunRequest request{.options = std::get<engine::ConversionOptions>(options),
                                     .vehicleFile = settings::vehicleFilePath(m_programFolder)};
    const std::array offsets{request.options.Xoffset, request.options.Yoffset,
                             request.options.Zoffset};
    for (std::size_t i = 0; i < offsets.size(); ++i) {
        setText(kOffsetBoxes[i], engine::Offset_text(offsets[i]));
    }
    const engine::RunOutcome outcome = engine::ConversionRun(request, m_state, *this);
    // A folder the user picked at one of the run's prompts stays in its box.
    if (outcome.GTA1iniFile != request.options.GTA1iniFile) {
        setText(Control::txtGTA1iniFile, outcome.GTA1iniFile);
    }
    if (outcome.OutputFolder != request.options.OutputFolder) {
        setText(Control::txtOutputFolder, outcome.OutputFolder);
    }
    // A run stopped for a close request shows no box: the window is closing.
    if (outcome.failure && !stopRequested()) {
        showError(kConversionErrorTitle, outcome.failure->source(), outcome.failure->description(),
                  outcome.failure->number());
    }
    setControlEnabled(Control::cmdConvert, true);
}

void Form::imgMissionFolder_Click() {
    const std::string folder = BrowseFolder(engine::kMissionFolderPrompt);
    if (folder != "Cancel") {
        setText(Control::txtGTA1iniFile, folder);
    }
}

void Form::imgOutputFolder_Click() {
    const std::string folder = BrowseFolder(engine::kOutputFolderPrompt);
    if (folder != "Cancel") {
        setText(Control::txtOutputFolder, folder);
    }
}

std::string Form::BrowseFolder(std::string_view prompt) {
    const std::optional<std::string> folder = chooseFolder(prompt);
    if (!folder || folder->empty()) {
        return "Cancel";
    }
    return platform::withFinalSeparator(*folder);
}

void Form::Open_web_page() {
    if (!openLink(kWebPage)) {
        showMessage(MessageIcon::None, settings::kApplicationName, "No browser installed!");
    }
}

} // namespace brennic::ui
