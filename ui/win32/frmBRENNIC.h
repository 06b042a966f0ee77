#pragma once

#include "ui/Form.h"

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <windows.h>

namespace brennic::ui::win32 {

class WorkLeftWindow;

// The program's one window in plain Win32: the controls of kControls, with the events of Form.
// Texts go through the wide functions: the boxes give their texts in UTF-8, as names are held
// inside the program, and show texts as platform::shownText does. Creating it loads the
// settings; any close request, and the end of the session, saves them. The layout follows the
// monitor's DPI and the system's message font, also when the window moves to another monitor.
class frmBRENNIC final : public Form {
  public:
    explicit frmBRENNIC(HINSTANCE instance);
    ~frmBRENNIC() override;

    HWND window() const { return m_window; }
    // Tab, Enter and Escape in the list of what is left, which has a message loop's share too.
    bool workLeftMessage(MSG* message);

    // True once the session ends (log-off, shut-down): the run stops as on a signal.
    bool stopRequested() override;
    void replaceStatus(std::string_view text) override;
    void appendStatus(std::string_view text) override;

  protected:
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
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    // Makes the font for the window's DPI and sizes and places the window and every control.
    void layOut();
    RECT pixelRect(const ControlPlace& place) const;
    void command(int id);
    void pressFocused();
    void paintShape();
    static void drawPicture(const DRAWITEMSTRUCT& item);
    HWND control(Control id) const { return m_controls[static_cast<std::size_t>(id)]; }

    HINSTANCE m_instance = nullptr;
    HWND m_window = nullptr;
    HWND m_toolTips = nullptr;
    HFONT m_font = nullptr;
    HBRUSH m_shapeBrush = nullptr;
    int m_dpi = 96;
    int m_fontPixels = kLayoutFontPixels; // the height the layout is scaled to
    // The control that had the focus when the window was left, or when it was disabled: it has
    // it again when the window is back, or the control enabled.
    HWND m_lastFocus = nullptr;
    std::array<HWND, kControls.size()> m_controls{};
    bool m_sessionEnding = false;
    ULONGLONG m_lastLook = 0;                   // when stopRequested last looked for sent messages
    std::unique_ptr<WorkLeftWindow> m_workLeft; // made with the first list
};

// Shows the window and runs its message loop until it closes; the process's exit code.
int Run_window(HINSTANCE instance);

} // namespace brennic::ui::win32
