#pragma once

#include "engine/Conversion.h"
#include "engine/ConversionRun.h"
#include "settings/SettingsFile.h"

#include <QMessageBox>
#include <QString>
#include <QWidget>
#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

class QCheckBox;
class QCloseEvent;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QUrl;

namespace brennic::ui {

// What the window takes from its surroundings. Tests replace each part, so that nothing depends
// on the program's folder and no modal dialog waits for a user; an empty part is the real one.
struct WindowServices {
    // The settings file; empty: brennic.INI beside the program.
    std::filesystem::path settingsFile{};
    // The folder dialog: the chosen folder's local path, nullopt for a cancel or an item
    // without one.
    std::function<std::optional<QString>(QWidget* owner, const QString& prompt)> chooseFolder{};
    // A modal message box with an OK button.
    std::function<void(QMessageBox::Icon icon, const QString& title, const QString& text)>
        showMessage{};
    // Opens a web address; false when nothing could show it.
    std::function<bool(const QUrl& address)> openLink{};
};

// The program's one window. Creating it loads the settings; any close request saves them. A run
// executes inside cmdConvert_Click on the window's thread, with the window as its host.
class frmBRENNIC : public QWidget, public engine::RunHost {
  public:
    explicit frmBRENNIC(WindowServices services = {});
    ~frmBRENNIC() override;
    frmBRENNIC(const frmBRENNIC&) = delete;
    frmBRENNIC& operator=(const frmBRENNIC&) = delete;

    // A folder path ending in exactly one separator, or exactly "Cancel".
    std::string BrowseFolder(std::string_view prompt) override;
    void replaceStatus(std::string_view text) override;
    void appendStatus(std::string_view text) override;
    void folderChosen(engine::FolderField field, const std::string& folder) override;
    void setConvertEnabled(bool enabled) override;
    std::optional<std::filesystem::path> vehicleFile() const override;

    // Opens the maker's web page. No control calls it; the credit label has no click action.
    void Open_web_page();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    friend struct BoxTable;

    void createControls();
    void createCheckBoxes();
    void chainTabOrder();
    void Form_Load();
    void Form_QueryUnload();
    void LoadSettings();
    void SaveSettings();
    void cmdConvert_Click();
    void imgMissionFolder_Click();
    void imgOutputFolder_Click();

    settings::StoredSettings controlSettings() const;
    void showSettings(const settings::StoredSettings& settings);
    void setOffsetText(QLineEdit* box, const QString& text);
    void showReport(const QString& title, const std::string& source, const std::string& description,
                    int number);

    WindowServices m_services;
    engine::EngineState m_state{};
    bool m_settingsSaved = false;

    QLabel* Label4 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* imgMissionFolder = nullptr;
    QLineEdit* txtGTA1iniFile = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* imgOutputFolder = nullptr;
    QLineEdit* txtOutputFolder = nullptr;
    QFrame* Shape1 = nullptr;
    QPushButton* cmdConvert = nullptr;
    QPlainTextEdit* txtStatus = nullptr;

    QGroupBox* Frame2 = nullptr; // Mission objectives
    QGroupBox* Frame1 = nullptr; // Objects
    QGroupBox* fraActions = nullptr;
    QGroupBox* Frame3 = nullptr; // Debug
    QLabel* Label3 = nullptr;
    QLineEdit* txtXoffset = nullptr;
    QLineEdit* txtYoffset = nullptr;
    QLineEdit* txtZoffset = nullptr;

    QCheckBox* chkDoor = nullptr;
    QCheckBox* chkPowerup = nullptr;
    QCheckBox* chkBrief = nullptr;
    QCheckBox* chkPhone = nullptr;
    QCheckBox* chkFuturecar = nullptr;
    QCheckBox* chkParked = nullptr;
    QCheckBox* chkDummy = nullptr;
    QCheckBox* chkFuturePed = nullptr;
    QCheckBox* chkPed = nullptr;
    QCheckBox* chkTarget = nullptr;
    QCheckBox* chkFuture = nullptr;
    QCheckBox* chkTrigger = nullptr;
    QCheckBox* chkSpray = nullptr;
    QCheckBox* chkBomb = nullptr;
    QCheckBox* chkHells = nullptr;
    QCheckBox* chkMidPointMulti = nullptr;
    QCheckBox* chkSteal = nullptr;
    QCheckBox* chkAnswerPhone = nullptr;
    QCheckBox* chkPark = nullptr;
    QCheckBox* chkDestroy = nullptr;
    QCheckBox* chkMphone = nullptr;
    QCheckBox* chkLocate = nullptr;
    QCheckBox* chkGoto = nullptr;
    QCheckBox* chkIsGoalDead = nullptr;
    QCheckBox* chkCheckCar = nullptr;
    QCheckBox* chkINCHEADS = nullptr;
    QCheckBox* chkMission_End = nullptr;
    QCheckBox* chkEnd = nullptr;
    QCheckBox* chkArrowcar = nullptr;
    QCheckBox* chkArrow = nullptr;
    QCheckBox* chkUnknown = nullptr;
    QCheckBox* chkDoorArrow = nullptr;
    QCheckBox* chkFutureCarArrow = nullptr;
    QCheckBox* chkPedHunt = nullptr;
    QCheckBox* chkPowerupRespawn = nullptr;

    std::array<QCheckBox*, engine::kSwitchKeys.size()> m_boxes{}; // in the order of kSwitchKeys
    std::array<QLineEdit*, 3> m_offsetBoxes{};
};

} // namespace brennic::ui
