#pragma once

#include "engine/ConversionRun.h"
#include "settings/SettingsFile.h"
#include "ui/WindowLayout.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace brennic::ui {

enum class MessageIcon { None, Critical };

inline constexpr std::string_view kLoadErrorTitle = "D'oh! Error during load";
inline constexpr std::string_view kConversionErrorTitle = "D'oh! Error during conversion";

// The window's events and its side of a run, written once for every toolkit. A toolkit's window
// creates the controls of kControls, forwards the events to the operations below and supplies
// the primitive ones, which address a control by its identifier. Texts are the engine's 8-bit
// bytes; each toolkit converts them at its own edge.
class Form : public engine::RunHost {
  public:
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // A folder path ending in exactly one separator, or exactly "Cancel".
    std::string BrowseFolder(std::string_view prompt) override;

    // Opens the maker's web page. No control calls it; the credit label has no click action.
    void Open_web_page();

  protected:
    // The folder the program runs from (empty: the executable's): its settings folder holds
    // brennic.INI, and cars.ini is looked for there.
    explicit Form(std::filesystem::path programFolder);
    ~Form() override = default;

    // Sets the caption and loads the settings; called once the controls exist.
    void Form_Load();
    // Saves the settings; any number of close requests save once.
    void Form_QueryUnload();
    void Control_Click(Click click);
    void cmdConvert_Click();
    void imgMissionFolder_Click();
    void imgOutputFolder_Click();

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
    // The system's folder dialog, modal: the chosen folder's path; nullopt when the user
    // cancelled or chose an item that has no path.
    virtual std::optional<std::string> chooseFolder(std::string_view prompt) = 0;
    // False when nothing could show the address.
    virtual bool openLink(std::string_view address) = 0;

  private:
    void LoadSettings();
    void SaveSettings();
    settings::StoredSettings controlSettings() const;
    void showSettings(const settings::StoredSettings& settings);
    void showError(std::string_view title, const std::string& source,
                   const std::string& description, int number);

    std::filesystem::path m_programFolder;
    std::filesystem::path m_settingsFile;
    engine::EngineState m_state{}; // the text table outlives a run, as the window does
    bool m_settingsSaved = false;
};

} // namespace brennic::ui
