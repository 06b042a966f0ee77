#pragma once

#include "engine/ConversionRun.h"
#include "settings/SettingsFile.h"
#include "ui/WindowLayout.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brennic::report {
class ConversionReport;
}

namespace brennic::ui {

enum class MessageIcon { None, Critical, Warning };

inline constexpr std::string_view kLoadErrorTitle = "D'oh! Error during load";
inline constexpr std::string_view kConversionErrorTitle = "D'oh! Error during conversion";
inline constexpr std::string_view kSaveErrorTitle = "D'oh! Error during save";

// The window's events and its side of a run, written once for every toolkit. A toolkit's window
// creates the controls of kControls, forwards the events to the operations below and supplies
// the primitive ones, which address a control by its identifier. Texts are the engine's 8-bit
// bytes; each toolkit converts them at its own edge.
class Form : public engine::RunHost {
  public:
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // A folder path ending in exactly one separator, which then stands in the box the prompt
    // asks for, or exactly "Cancel". The dialog opens at the folder in that box, or at the
    // nearest folder above it that exists.
    std::string BrowseFolder(std::string_view prompt) override;
    // Kept for the message box that follows the run.
    void warning(std::string_view text) override;

    // Opens the maker's web page. No control calls it; the credit label has no click action.
    void Open_web_page();

  protected:
    // The folder the program runs from (empty: the executable's): its settings folder holds
    // brennic.INI, and cars.ini is looked for there.
    explicit Form(std::filesystem::path programFolder);
    ~Form() override = default;

    // Sets the caption and loads the settings; called once the controls exist.
    void Form_Load();
    // Saves the settings, unless a close request before saved them as they stand.
    void Form_QueryUnload();
    void Control_Click(Click click);
    void cmdConvert_Click();
    void imgMissionFolder_Click();
    void imgOutputFolder_Click();
    void cmdWhatIsLeft_Click();
    // Writes the last run's list of what is left into a file the user names, in the bytes the
    // command line's report has, put in place only once complete (a link stays a link, as for
    // the report). The list's window calls it.
    void Save_work_left();

    virtual void setCaption(std::string_view caption) = 0;
    // The text of a text box, of any of its kinds.
    virtual std::string text(Control control) const = 0;
    virtual void setText(Control control, std::string_view text) = 0;
    // The state of a check box.
    virtual settings::BoxState state(Control control) const = 0;
    virtual void setState(Control control, settings::BoxState state) = 0;
    virtual void setControlEnabled(Control control, bool enabled) = 0;
    // A modal message box with an OK button.
    virtual void showMessage(MessageIcon icon, std::string_view title, std::string_view text) = 0;
    // The system's folder dialog, modal, open at start (an existing folder, or empty): the
    // chosen folder's path; nullopt or an empty path when the user cancelled or chose an item
    // that has no path.
    virtual std::optional<std::filesystem::path>
    chooseFolder(std::string_view prompt, const std::filesystem::path& start) = 0;
    // The list of what is left, for its window: a line that sums it up, and the list itself
    // (CR LF line ends). An open window shows a new list at once.
    virtual void setWorkLeft(std::string_view summary, std::string_view list) = 0;
    // Opens the list's window, or brings it to the front.
    virtual void showWorkLeft() = 0;
    // The system's save dialog for the list, offering suggested; nullopt when cancelled.
    virtual std::optional<std::filesystem::path>
    chooseWorkLeftFile(const std::filesystem::path& suggested) = 0;
    // False when nothing could show the address.
    virtual bool openLink(std::string_view address) = 0;

  private:
    void LoadSettings();
    void SaveSettings();
    settings::StoredSettings controlSettings() const;
    void showSettings(const settings::StoredSettings& settings);
    void showError(std::string_view title, const std::string& source,
                   const std::string& description, int number);
    // Finishes the run's report and shows its list and the count of what is left.
    void showWorkLeftOf(const engine::RunOutcome& outcome, report::ConversionReport& report);
    void showWarnings();

    std::filesystem::path m_programFolder;
    std::filesystem::path m_settingsFile;
    engine::EngineState m_state{}; // the text table outlives a run, as the window does
    std::optional<settings::StoredSettings> m_savedSettings; // by the last close request
    std::string m_workLeft;                 // the last run's list, as the report file holds it
    std::filesystem::path m_workLeftFolder; // that run's output folder
    std::vector<std::string> m_warnings;    // of the run under way
};

} // namespace brennic::ui
