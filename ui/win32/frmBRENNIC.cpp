#include "ui/win32/frmBRENNIC.h"

#include "app/win32/Resources.h"
#include "platform/WideText.h"
#include "ui/win32/WindowSupport.h"
#include "ui/win32/WorkLeftWindow.h"

#include <algorithm>
#include <commctrl.h>
#include <commdlg.h>
#include <initializer_list>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace brennic::ui::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"frmBRENNIC";
constexpr int kFirstId = 100; // control ids are kFirstId + the control's place in kControls
// A fixed single border with a close box only.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
// Paths as long as Windows takes them where it is long-path aware.
constexpr std::size_t kLongPath = 32768;

struct ControlClass {
    const wchar_t* className = L"STATIC";
    DWORD style = 0;
    DWORD extendedStyle = 0;
};

ControlClass classOf(ControlKind kind) {
    constexpr DWORD kTab = WS_TABSTOP;
    constexpr DWORD kEdit = WS_EX_CLIENTEDGE;
    switch (kind) {
    case ControlKind::Label:
        return {L"STATIC", SS_LEFT | SS_NOPREFIX};
    case ControlKind::Picture:
        return {L"BUTTON", kTab | BS_OWNERDRAW}; // a button takes the focus, and Space
    case ControlKind::TextBox:
    case ControlKind::OffsetBox:
        return {L"EDIT", kTab | ES_AUTOHSCROLL, kEdit};
    case ControlKind::StatusBox:
        return {L"EDIT", kTab | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, kEdit};
    case ControlKind::Frame:
        return {L"BUTTON", BS_GROUPBOX};
    case ControlKind::CheckBox:
        // Not BS_AUTO3STATE: a click toggles between unticked and ticked only.
        return {L"BUTTON", kTab | BS_3STATE};
    case ControlKind::Shape:
        break; // painted by the window itself
    case ControlKind::Button:
        return {L"BUTTON", kTab | BS_PUSHBUTTON};
    }
    return {nullptr};
}

// Opens the folder dialog at the folder its data names, when it names one.
int CALLBACK openFolderDialogAt(HWND dialog, UINT message, LPARAM /*item*/, LPARAM folder) {
    if (message == BFFM_INITIALIZED && folder != 0) {
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, folder);
    }
    return 0;
}

} // namespace

frmBRENNIC::frmBRENNIC(HINSTANCE instance) : Form({}), m_instance(instance) {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    // The program's own icon (app/win32/Resources.rc.in), in the title bar's size as well.
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(BRENNIC_ICON));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(BRENNIC_ICON),
                                                        IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);

    // No WS_CLIPCHILDREN: the frames draw no background of their own. The size follows from the
    // DPI of the monitor the window opens on.
    m_window = CreateWindowExW(0, kWindowClass, L"", kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0,
                               nullptr, nullptr, instance, this);
    if (m_window == nullptr) {
        throw std::runtime_error("the window cannot be created");
    }
    m_shapeBrush = CreateSolidBrush(RGB(kShapeColour[0], kShapeColour[1], kShapeColour[2]));

    createControls();
    m_dpi = dpiOf(m_window);
    layOut();
    const RECT client = pixelRect(ControlPlace{.rect = kClientArea});
    const SIZE size = outerSize(client.right, client.bottom, kStyle, 0, m_dpi);
    SetWindowPos(m_window, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Form_Load();
}

frmBRENNIC::~frmBRENNIC() {
    if (m_window != nullptr) {
        DestroyWindow(m_window); // and the list's window, which it owns
    }
    DeleteObject(m_font);
    DeleteObject(m_shapeBrush);
}

void frmBRENNIC::createControls() {
    m_toolTips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                 m_window, nullptr, m_instance, nullptr);
    // Created in table order, which is the tab order. A frame, created after its boxes, lies
    // under them; it paints no background, so Midpointmulti, created after it, shows as well.
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        const ControlPlace& place = kControls[i];
        const ControlClass kind = classOf(place.kind);
        if (kind.className == nullptr) {
            continue;
        }
        const std::wstring caption = shown(place.caption);
        HWND control = CreateWindowExW(
            kind.extendedStyle, kind.className, caption.c_str(), WS_CHILD | WS_VISIBLE | kind.style,
            0, 0, 0, 0, m_window,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstId + static_cast<int>(i))),
            m_instance, nullptr);
        if (place.kind == ControlKind::OffsetBox) {
            // Limits typing only: a longer text the program puts there stays whole.
            SendMessageW(control, EM_LIMITTEXT, kTypedOffsetLength, 0);
        } else if (place.kind == ControlKind::StatusBox) {
            SendMessageW(control, EM_LIMITTEXT, 0, 0); // as long as memory allows
            tabLeaves(control);
        }
        if (!place.toolTip.empty()) {
            TTTOOLINFOW tool{};
            tool.cbSize = TTTOOLINFOW_V2_SIZE;
            tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            tool.hwnd = m_window;
            tool.uId = reinterpret_cast<UINT_PTR>(control);
            std::wstring tip = shown(place.toolTip);
            tool.lpszText = tip.data(); // copied by the tool tip control
            SendMessageW(m_toolTips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        }
        m_controls[i] = control;
    }
}

void frmBRENNIC::layOut() {
    HFONT old = m_font;
    m_font = messageFont(m_dpi);
    m_fontPixels = layoutFontPixels(emPixels(m_font), m_dpi);
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        if (m_controls[i] != nullptr) {
            const RECT rect = pixelRect(kControls[i]);
            MoveWindow(m_controls[i], rect.left, rect.top, rect.right - rect.left,
                       rect.bottom - rect.top, FALSE);
            SendMessageW(m_controls[i], WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
        }
    }
    DeleteObject(old);
    SendMessageW(m_toolTips, TTM_SETMAXTIPWIDTH, 0, pixels(kClientArea.width, m_fontPixels));
    InvalidateRect(m_window, nullptr, TRUE);
}

// Win32 has no nested frames here: a control in a frame is a sibling placed over the frame.
RECT frmBRENNIC::pixelRect(const ControlPlace& place) const {
    Twips rect = place.rect;
    if (place.frame) {
        rect.left += placeOf(*place.frame).rect.left;
        rect.top += placeOf(*place.frame).rect.top;
    }
    return {pixels(rect.left, m_fontPixels), pixels(rect.top, m_fontPixels),
            pixels(rect.left + rect.width, m_fontPixels),
            pixels(rect.top + rect.height, m_fontPixels)};
}

LRESULT CALLBACK frmBRENNIC::windowProcedure(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<frmBRENNIC*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr || self->m_window == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->handle(message, wParam, lParam);
}

LRESULT frmBRENNIC::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) { // Enter, from the dialog manager
            pressFocused();
        } else if (HIWORD(wParam) == BN_CLICKED) {
            command(LOWORD(wParam));
        }
        return 0;
    case WM_PAINT:
        paintShape();
        return 0;
    case WM_DRAWITEM:
        drawPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_ACTIVATE:
        // As a dialog box does: the focus comes back to its control after a message box, the
        // folder question or another program.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus != nullptr && IsChild(m_window, focus)) {
                m_lastFocus = focus;
            }
        } else if (m_lastFocus != nullptr && IsWindowEnabled(m_lastFocus)) {
            SetFocus(m_lastFocus);
            return 0;
        }
        return DefWindowProcW(m_window, message, wParam, lParam);
    case WM_DPICHANGED: {
        // Moved to a monitor of another DPI: a new font, every control placed anew, and the
        // window where Windows suggests, at its new size.
        m_dpi = HIWORD(wParam);
        layOut();
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        const RECT client = pixelRect(ControlPlace{.rect = kClientArea});
        const SIZE size = outerSize(client.right, client.bottom, kStyle, 0, m_dpi);
        SetWindowPos(m_window, nullptr, suggested->left, suggested->top, size.cx, size.cy,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_CLOSE:
        Form_QueryUnload();
        DestroyWindow(m_window);
        return 0;
    case WM_QUERYENDSESSION:
        // A run in progress stops at its next line (stopRequested), removing what it wrote
        // aside, before the session's end is told to the window.
        m_sessionEnding = true;
        return TRUE;
    case WM_ENDSESSION:
        if (wParam != FALSE) {
            Form_QueryUnload(); // the process ends without a close request
        } else {
            m_sessionEnding = false; // the log-off or shut-down was called off
        }
        return 0;
    case WM_DESTROY:
        m_window = nullptr;
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(m_window, message, wParam, lParam);
    }
}

void frmBRENNIC::command(int id) {
    const int index = id - kFirstId;
    if (index < 0 || static_cast<std::size_t>(index) >= kControls.size()) {
        return;
    }
    const ControlPlace& place = kControls[static_cast<std::size_t>(index)];
    if (place.kind == ControlKind::CheckBox) {
        const bool ticked = state(place.id) == settings::BoxState::Ticked;
        setState(place.id, ticked ? settings::BoxState::Unticked : settings::BoxState::Ticked);
    }
    Control_Click(place.click);
}

// Enter presses the button or picture that has the focus; elsewhere it does nothing.
void frmBRENNIC::pressFocused() {
    const auto found = std::find(m_controls.begin(), m_controls.end(), GetFocus());
    if (found == m_controls.end()) {
        return;
    }
    const auto index = static_cast<std::size_t>(found - m_controls.begin());
    const ControlKind kind = kControls[index].kind;
    if (kind == ControlKind::Button || kind == ControlKind::Picture) {
        command(kFirstId + static_cast<int>(index));
    }
}

bool frmBRENNIC::workLeftMessage(MSG* message) {
    return m_workLeft != nullptr && m_workLeft->window() != nullptr &&
           IsDialogMessageW(m_workLeft->window(), message);
}

void frmBRENNIC::paintShape() {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(m_window, &paint);
    const RECT rect = pixelRect(placeOf(Control::Shape1));
    FillRect(dc, &rect, m_shapeBrush); // the button paints over it afterwards
    EndPaint(m_window, &paint);
}

// An open folder drawn on 16 x 13 pixels, scaled to the picture's place less a pixel all round,
// where the focus shows: the back with its tab, and the front flap tilted open.
void frmBRENNIC::drawPicture(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    const int width = item.rcItem.right - item.rcItem.left - 2;
    const int height = item.rcItem.bottom - item.rcItem.top - 2;
    const auto draw = [&](std::initializer_list<POINT> corners, COLORREF fill) {
        std::vector<POINT> points(corners);
        for (POINT& point : points) {
            point.x = item.rcItem.left + 1 + MulDiv(point.x, width - 1, 15);
            point.y = item.rcItem.top + 1 + MulDiv(point.y, height - 1, 12);
        }
        HBRUSH brush = CreateSolidBrush(fill);
        HGDIOBJ oldBrush = SelectObject(dc, brush);
        HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
        Polygon(dc, points.data(), static_cast<int>(points.size()));
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        DeleteObject(brush);
    };
    draw({{0, 1}, {5, 1}, {6, 2}, {13, 2}, {13, 12}, {0, 12}}, RGB(192, 160, 0));
    draw({{3, 5}, {15, 5}, {13, 12}, {0, 12}}, RGB(255, 224, 96));
    if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
        DrawFocusRect(dc, &item.rcItem);
    }
}

void frmBRENNIC::setCaption(std::string_view caption) {
    SetWindowTextW(m_window, shown(caption).c_str());
}

std::string frmBRENNIC::text(Control id) const {
    HWND box = control(id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
    return platform::utf8FromWide(text);
}

void frmBRENNIC::setText(Control id, std::string_view text) {
    SetWindowTextW(control(id), shown(text).c_str());
}

settings::BoxState frmBRENNIC::state(Control id) const {
    switch (SendMessageW(control(id), BM_GETCHECK, 0, 0)) {
    case BST_CHECKED:
        return settings::BoxState::Ticked;
    case BST_INDETERMINATE:
        return settings::BoxState::Greyed;
    default:
        return settings::BoxState::Unticked;
    }
}

void frmBRENNIC::setState(Control id, settings::BoxState state) {
    const WPARAM check = state == settings::BoxState::Ticked   ? BST_CHECKED
                         : state == settings::BoxState::Greyed ? BST_INDETERMINATE
                                                               : BST_UNCHECKED;
    SendMessageW(control(id), BM_SETCHECK, check, 0);
}

void frmBRENNIC::setControlEnabled(Control id, bool enabled) {
    HWND box = control(id);
    // A disabled control loses the focus (Convert, through a run); enabled again, it has it back.
    if (!enabled && GetFocus() == box) {
        m_lastFocus = box;
    }
    EnableWindow(box, enabled ? TRUE : FALSE);
    HWND focus = GetFocus();
    if (enabled && box == m_lastFocus && GetActiveWindow() == m_window &&
        (focus == nullptr || focus == m_window)) {
        SetFocus(box);
    }
}

void frmBRENNIC::showMessage(MessageIcon icon, std::string_view title, std::string_view text) {
    if (m_sessionEnding) {
        return; // no one is there to close it; the session would wait for it
    }
    MessageBoxW(m_window, shown(text).c_str(), shown(title).c_str(),
                MB_OK | (icon == MessageIcon::Critical  ? MB_ICONERROR
                         : icon == MessageIcon::Warning ? MB_ICONWARNING
                                                        : 0U));
}

std::optional<std::filesystem::path> frmBRENNIC::chooseFolder(std::string_view prompt,
                                                              const std::filesystem::path& start) {
    // The tree starts at the drives and cannot go above them; a failure leaves the root empty,
    // the top of the shell's namespace.
    PIDLIST_ABSOLUTE root = nullptr;
    SHGetSpecialFolderLocation(m_window, CSIDL_DRIVES, &root);
    const std::wstring title = shown(prompt);
    const std::wstring& startFolder = start.native();
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW dialog{};
    dialog.hwndOwner = m_window;
    dialog.pidlRoot = root;
    dialog.pszDisplayName = displayName;
    dialog.lpszTitle = title.c_str();
    // The resizable dialog, which can make a new folder; only folders of the file system count.
    dialog.ulFlags = BIF_NEWDIALOGSTYLE | BIF_RETURNONLYFSDIRS;
    dialog.lpfn = openFolderDialogAt;
    dialog.lParam = startFolder.empty() ? 0 : reinterpret_cast<LPARAM>(startFolder.c_str());
    std::optional<std::filesystem::path> folder;
    if (PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&dialog)) {
        std::wstring path(kLongPath, L'\0');
        // An item without a file-system path (the drives folder itself) counts as a cancel.
        if (SHGetPathFromIDListEx(chosen, path.data(), static_cast<DWORD>(path.size()),
                                  GPFIDL_DEFAULT)) {
            folder = std::filesystem::path(path.c_str());
        }
        CoTaskMemFree(chosen);
    }
    CoTaskMemFree(root);
    return folder;
}

void frmBRENNIC::setWorkLeft(std::string_view summary, std::string_view list) {
    if (m_workLeft == nullptr) {
        m_workLeft =
            std::make_unique<WorkLeftWindow>(m_instance, m_window, [this] { Save_work_left(); });
    }
    m_workLeft->setList(summary, list);
}

void frmBRENNIC::showWorkLeft() {
    if (m_workLeft != nullptr) {
        m_workLeft->show();
    }
}

std::optional<std::filesystem::path>
frmBRENNIC::chooseWorkLeftFile(const std::filesystem::path& suggested) {
    std::wstring file(kLongPath, L'\0');
    const std::wstring name = suggested.filename().native();
    std::copy_n(name.begin(), std::min(name.size(), file.size() - 1), file.begin());
    const std::wstring folder = suggested.parent_path().native();
    const std::wstring title = shown(kWorkLeftSaveTitle);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = m_workLeft != nullptr && IsWindowVisible(m_workLeft->window())
                           ? m_workLeft->window()
                           : m_window;
    dialog.lpstrFilter = L"Text files (*.txt)\0*.txt\0All files (*.*)\0*.*\0";
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = title.c_str();
    dialog.lpstrDefExt = L"txt";
    dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&dialog)) {
        return std::nullopt;
    }
    return std::filesystem::path(file.c_str());
}

bool frmBRENNIC::openLink(std::string_view address) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(m_window, L"open", shown(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32; // smaller values are error codes
}

bool frmBRENNIC::stopRequested() {
    // The run holds the window's thread, and a session's end is asked of the window by sent
    // messages, which arrive only when the thread looks for them: a few times a second is enough.
    const ULONGLONG now = GetTickCount64();
    if (now - m_lastLook >= 100) {
        m_lastLook = now;
        MSG message{};
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    return m_sessionEnding;
}

void frmBRENNIC::replaceStatus(std::string_view text) { setText(Control::txtStatus, text); }

void frmBRENNIC::appendStatus(std::string_view addition) {
    HWND status = control(Control::txtStatus);
    const auto end = static_cast<WPARAM>(GetWindowTextLengthW(status));
    SendMessageW(status, EM_SETSEL, end, static_cast<LPARAM>(end));
    SendMessageW(status, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(shown(addition).c_str()));
}

int Run_window(HINSTANCE instance) {
    // The shell's folder dialog needs COM on the window's thread.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int code = 0;
    {
        frmBRENNIC window(instance);
        ShowWindow(window.window(), SW_SHOWNORMAL);
        SetFocus(GetNextDlgTabItem(window.window(), nullptr, FALSE)); // the mission folder box
        MSG message{};
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            // Tab between the controls, Alt+C for Convert.
            if (!IsDialogMessageW(window.window(), &message) && !window.workLeftMessage(&message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        code = static_cast<int>(message.wParam);
    }
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    return code;
}

} // namespace brennic::ui::win32
