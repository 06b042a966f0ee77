#include "ui/Form.h"

#include "engine/NumberWriting.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <array>
#include <utility>

namespace brennic::ui {

namespace {

constexpr std::string_view kWebPage = "https://falvorn.example/brennic/";
constexpr std::array<std::string_view, 3> kOffsetBoxes{"txtXoffset", "txtYoffset", "txtZoffset"};

constexpr std::string_view boxOf(engine::Switch option) {
    for (const ControlPlace& place : kControls) {
        if (place.box == option) {
            return place.name;
        }
    }
    return {};
}

// The check box of each settings key, in the order of kSwitchKeys.
constexpr auto kBoxes = [] {
    std::array<std::string_view, engine::kSwitchKeys.size()> boxes{};
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        boxes[i] = boxOf(engine::kSwitchKeys[i].member);
    }
    return boxes;
}();

static_assert(std::none_of(kBoxes.begin(), kBoxes.end(), [](auto name) { return name.empty(); }),
              "every switch has its check box");

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
        showReport(kLoadErrorTitle, std::string(settings::kApplicationName),
                   load.readFailure->description, static_cast<int>(load.readFailure->number));
    }
    if (load.badValues) {
        showReport(kLoadErrorTitle, load.badValues->source, load.badValues->description,
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
    settings.GTA1iniFile = text("txtGTA1iniFile");
    settings.OutputFolder = text("txtOutputFolder");
    for (std::size_t i = 0; i < kBoxes.size(); ++i) {
        settings.boxes[i] = state(kBoxes[i]);
    }
    for (std::size_t i = 0; i < kOffsetBoxes.size(); ++i) {
        settings.offsets[i] = text(kOffsetBoxes[i]);
    }
    return settings;
}

void Form::showSettings(const settings::StoredSettings& settings) {
    setText("txtGTA1iniFile", settings.GTA1iniFile);
    setText("txtOutputFolder", settings.OutputFolder);
    for (std::size_t i = 0; i < kBoxes.size(); ++i) {
        setState(kBoxes[i], settings.boxes[i]);
    }
    for (std::size_t i = 0; i < kOffsetBoxes.size(); ++i) {
        setText(kOffsetBoxes[i], settings.offsets[i]);
    }
}

void Form::showReport(std::string_view title, const std::string& source,
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
    setControlEnabled("cmdConvert", false);
    const settings::StoredSettings stored = controlSettings();
    engine::ConversionOptions options = settings::optionsFromSettings(stored);
    try {
        settings::Read_offsets(stored.offsets, options);
    } catch (const engine::RunFailure& failure) {
        // An offset beyond the number range (1e999 fits in five characters): no run starts.
        showReport(kConversionErrorTitle, failure.source(), failure.description(),
                   failure.number());
        setControlEnabled("cmdConvert", true);
        return;
    }
    const std::array offsets{options.Xoffset, options.Yoffset, options.Zoffset};
    for (std::size_t i = 0; i < offsets.size(); ++i) {
        setText(kOffsetBoxes[i], engine::Offset_text(offsets[i]));
    }
    const engine::RunReport report = engine::ConversionRun(options, m_state, *this);
    if (report.failure) {
        showReport(kConversionErrorTitle, report.failure->source(), report.failure->description(),
                   report.failure->number());
    }
}

void Form::imgMissionFolder_Click() {
    const std::string folder = BrowseFolder(engine::kMissionFolderPrompt);
    if (folder != "Cancel") {
        setText("txtGTA1iniFile", folder);
    }
}

void Form::imgOutputFolder_Click() {
    const std::string folder = BrowseFolder(engine::kOutputFolderPrompt);
    if (folder != "Cancel") {
        setText("txtOutputFolder", folder);
    }
}

std::string Form::BrowseFolder(std::string_view prompt) {
    const std::optional<std::string> folder = chooseFolder(prompt);
    if (!folder || folder->empty()) {
        return "Cancel";
    }
    return platform::withFinalSeparator(*folder);
}

void Form::folderChosen(engine::FolderField field, const std::string& folder) {
    setText(field == engine::FolderField::GTA1iniFile ? "txtGTA1iniFile" : "txtOutputFolder",
            folder);
}

void Form::setConvertEnabled(bool enabled) { setControlEnabled("cmdConvert", enabled); }

std::optional<std::filesystem::path> Form::vehicleFile() const {
    return settings::vehicleFilePath(m_programFolder);
}

void Form::Open_web_page() {
    if (!openLink(kWebPage)) {
        showMessage(MessageIcon::None, settings::kApplicationName, "No browser installed!");
    }
}

} // namespace brennic::ui
