#include "ui/win32/WorkLeftWindow.h"

#include "ui/WindowLayout.h"
#include "ui/win32/WindowSupport.h"

#include <stdexcept>
#include <string>
#include <utility>

namespace brennic::ui::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"frmWhatIsLeft";
constexpr int kSaveId = 101;
constexpr int kCloseId = 102;
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW;

} // namespace

WorkLeftWindow::WorkLeftWindow(HINSTANCE instance, HWND owner, std::function<void()> save)
    : m_owner(owner), m_onSave(std::move(save)) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hIcon = reinterpret_cast<HICON>(GetClassLongPtrW(owner, GCLP_HICON));
    windowClass.hIconSm = reinterpret_cast<HICON>(GetClassLongPtrW(owner, GCLP_HICONSM));
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass); // fails harmlessly when a list window was made before

    // Owned by the main window: above it, and gone with it.
    m_window = CreateWindowExW(0, kWindowClass, shown(kWorkLeftCaption).c_str(), kStyle,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner,
                               nullptr, instance, this);
    if (m_window == nullptr) {
        throw std::runtime_error("the list window cannot be created");
    }
    const auto child = [this, instance](const wchar_t* className, const std::wstring& text,
                                        DWORD style, DWORD extendedStyle, int id) {
        return CreateWindowExW(
            extendedStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
            m_window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    };
    m_summary = child(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, 0, 0);
    m_list = child(L"EDIT", L"",
                   WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY |
                       ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                   WS_EX_CLIENTEDGE, 0);
    SendMessageW(m_list, EM_LIMITTEXT, 0, 0); // as long as memory allows
    tabLeaves(m_list);
    m_save = child(L"BUTTON", shown(kWorkLeftSave), WS_TABSTOP | BS_PUSHBUTTON, 0, kSaveId);
    m_close = child(L"BUTTON", shown(kWorkLeftClose), WS_TABSTOP | BS_DEFPUSHBUTTON, 0, kCloseId);

    m_dpi = dpiOf(m_window);
    makeFonts();
    // Room for a report line of a usual length, and a screenful of them.
    const SIZE size = outerSize(m_em * 60, m_em * 36, kStyle, 0, m_dpi);
    SetWindowPos(m_window, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    layOut();
}

WorkLeftWindow::~WorkLeftWindow() {
    if (m_window != nullptr) {
        DestroyWindow(m_window);
    }
    DeleteObject(m_font);
    DeleteObject(m_fixedFont);
}

void WorkLeftWindow::setList(std::string_view summary, std::string_view list) {
    SetWindowTextW(m_summary, shown(summary).c_str());
    SetWindowTextW(m_list, shown(list).c_str());
}

void WorkLeftWindow::show() {
    ShowWindow(m_window, SW_SHOWNORMAL);
    SetForegroundWindow(m_window);
    SetFocus(m_list);
}

void WorkLeftWindow::hide() {
    ShowWindow(m_window, SW_HIDE);
    SetForegroundWindow(m_owner);
}

void WorkLeftWindow::makeFonts() {
    DeleteObject(m_font);
    DeleteObject(m_fixedFont);
    m_font = messageFont(m_dpi);
    m_fixedFont = messageFont(m_dpi, true); // script lines keep their columns
    m_em = emPixels(m_font);
    for (HWND control : {m_summary, m_save, m_close}) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), TRUE);
    }
    SendMessageW(m_list, WM_SETFONT, reinterpret_cast<WPARAM>(m_fixedFont), TRUE);
}

// The summary on top, the list filling the window, the buttons at the bottom right.
void WorkLeftWindow::layOut() {
    RECT client{};
    GetClientRect(m_window, &client);
    const int margin = m_em;
    const int buttonWidth = m_em * 8;
    const int buttonHeight = m_em * 2 + m_em / 2;
    const int summaryHeight = m_em * 2;
    const int listTop = margin + summaryHeight;
    const int buttonTop = client.bottom - margin - buttonHeight;
    MoveWindow(m_summary, margin, margin, client.right - 2 * margin, summaryHeight, TRUE);
    MoveWindow(m_list, margin, listTop, client.right - 2 * margin, buttonTop - margin - listTop,
               TRUE);
    MoveWindow(m_close, client.right - margin - buttonWidth, buttonTop, buttonWidth, buttonHeight,
               TRUE);
    MoveWindow(m_save, client.right - 2 * (margin + buttonWidth), buttonTop, buttonWidth,
               buttonHeight, TRUE);
}

LRESULT CALLBACK WorkLeftWindow::windowProcedure(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<WorkLeftWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr || self->m_window == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->handle(message, wParam, lParam);
}

LRESULT WorkLeftWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case kSaveId:
            m_onSave();
            return 0;
        case IDOK: // Enter: the button that has the focus, else Close
            if (GetFocus() == m_save) {
                m_onSave();
                return 0;
            }
            hide();
            return 0;
        case kCloseId:
        case IDCANCEL: // Escape
            hide();
            return 0;
        default:
            return 0;
        }
    case WM_SIZE:
        layOut();
        return 0;
    case WM_GETMINMAXINFO: {
        auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        limits->ptMinTrackSize = {m_em * 24, m_em * 12};
        return 0;
    }
    case WM_DPICHANGED: {
        m_dpi = HIWORD(wParam);
        makeFonts();
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(m_window, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        layOut();
        return 0;
    }
    case WM_CLOSE:
        hide();
        return 0;
    case WM_DESTROY:
        m_window = nullptr;
        return 0;
    default:
        return DefWindowProcW(m_window, message, wParam, lParam);
    }
}

} // namespace brennic::ui::win32
