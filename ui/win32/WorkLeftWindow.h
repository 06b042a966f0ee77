#pragma once

#include <functional>
#include <string_view>
#include <windows.h>

namespace brennic::ui::win32 {

// The list of what the last run left to do, read-only, in a window of its own owned by the main
// window (not modal: the user reads it while working on). Save as... hands the saving back to the
// main window; Close, Escape and the close box hide it. It follows its monitor's DPI.
class WorkLeftWindow {
  public:
    WorkLeftWindow(HINSTANCE instance, HWND owner, std::function<void()> save);
    ~WorkLeftWindow();
    WorkLeftWindow(const WorkLeftWindow&) = delete;
    WorkLeftWindow& operator=(const WorkLeftWindow&) = delete;

    // The list (CR LF line ends) and the line that sums it up, in the program's text.
    void setList(std::string_view summary, std::string_view list);
    // Shows the window, or brings it to the front.
    void show();
    HWND window() const { return m_window; }

  private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void makeFonts();
    void layOut();
    void hide();

    HWND m_window = nullptr;
    HWND m_owner = nullptr;
    HWND m_summary = nullptr;
    HWND m_list = nullptr;
    HWND m_save = nullptr;
    HWND m_close = nullptr;
    HFONT m_font = nullptr;
    HFONT m_fixedFont = nullptr;
    int m_dpi = 96;
    int m_em = 10; // the font's height in pixels; the layout is measured in it
    std::function<void()> m_onSave;
};

} // namespace brennic::ui::win32
