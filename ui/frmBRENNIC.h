#pragma once

#include "ui/Form.h"

#include <QMessageBox>
#include <QString>
#include <QWidget>
#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

class QCloseEvent;
class QUrl;

namespace brennic::ui {

class WorkLeftWindow;

// What the window takes from its surroundings. Tests replace each part, so that nothing depends
// on the program's folder and no modal dialog waits for a user; an empty part is the real one.
struct WindowServices {
    // The folder whose settings file and cars.ini the window uses; empty: the program's own.
    std::filesystem::path programFolder{};
    // The folder dialog, open at start (empty: the top of the file system): the chosen folder's
    // local path, nullopt for a cancel or an item without one.
    std::function<std::optional<QString>(QWidget* owner, const QString& prompt,
                                         const QString& start)>
        chooseFolder{};
    // The save dialog for the list of what is left, offering suggested: the file's local path,
    // nullopt for a cancel.
    std::function<std::optional<QString>(QWidget* owner, const QString& suggested)>
        chooseSaveFile{};
    // A modal message box with an OK button.
    std::function<void(QMessageBox::Icon icon, const QString& title, const QString& text)>
        showMessage{};
    // Opens a web address; false when nothing could show it.
    std::function<bool(const QUrl& address)> openLink{};
};

// The program's one window in Qt: the controls of kControls, with the events of Form. Creating
// it loads the settings; any close request saves them. A run executes inside cmdConvert_Click on
// the window's thread, with the window as its host.
class frmBRENNIC : public QWidget, public Form {
  public:
    explicit frmBRENNIC(WindowServices services = {});
    ~frmBRENNIC() override;

    void replaceStatus(std::string_view text) override;
    void appendStatus(std::string_view text) override;
    // True once a signal asked the program to end (CloseSignals).
    bool stopRequested() override;

  protected:
    void closeEvent(QCloseEvent* event) override;

    void setCaption(std::string_view caption) override;
    std::string text(Control control) const override;
    void setText(Control control, std::string_view text) override;
    settings::BoxState state(Control control) const override;
    void setState(Control control, settings::BoxState state) override;
    void setControlEnabled(Control control, bool enabled) override;
    void showMessage(MessageIcon icon, std::string_view title, std::string_view text) override;
    std::optional<std::filesystem::path> chooseFolder(std::string_view prompt,
                                                      const std::filesystem::path& start) override;
    void setWorkLeft(std::string_view summary, std::string_view list) override;
    void showWorkLeft() override;
    std::optional<std::filesystem::path>
    chooseWorkLeftFile(const std::filesystem::path& suggested) override;
    bool openLink(std::string_view address) override;

  private:
    void createControls();
    QRect pixelRect(const Twips& rect) const;
    // The control as the widget class it was made of; a control of another class is a logic
    // error.
    template <class Widget> Widget* control(Control id) const;

    WindowServices m_services;
    int m_fontPixels = kLayoutFontPixels; // the height the layout is scaled to
    std::array<QWidget*, kControls.size()> m_controls{};
    WorkLeftWindow* m_workLeft = nullptr; // made with the first list
    QWidget* m_refocus = nullptr;         // disabled while it had the focus
};

} // namespace brennic::ui
