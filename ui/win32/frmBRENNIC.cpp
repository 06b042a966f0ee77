#include "ui/win32/frmBRENNIC.h"

#include "app/win32/Resources.h"
#include "platform/WideText.h"

#include <commctrl.h>
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

// Win32 has no nested frames here: a control in a frame is a sibling placed over the frame.
RECT pixelRect(const ControlPlace& place) {
    Twips rect = place.rect;
    if (place.frame) {
        rect.left += placeOf(*place.frame).rect.left;
        rect.top += placeOf(*place.frame).rect.top;
    }
    return {pixels(rect.left), pixels(rect.top), pixels(rect.left + rect.width),
            pixels(rect.top + rect.height)};
}

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
        return {L"STATIC", SS_OWNERDRAW | SS_NOTIFY};
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

// A text as the window shows it (see platform::shownText), up to its first NUL as Windows reads
// it.
std::wstring shown(std::string_view text) {
    return platform::shownText(text.substr(0, text.find('\0')));
}

} // namespace

frmBRENNIC::frmBRENNIC(HINSTANCE instance) : Form({}) {
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

    // A fixed single border with a close box only, the client area as drawn.
    // No WS_CLIPCHILDREN: the frames draw no background of their own.
    constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    RECT frame{0, 0, pixels(kClientArea.width), pixels(kClientArea.height)};
    AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
    m_window = CreateWindowExW(0, kWindowClass, L"", kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                               frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                               instance, this);
    if (m_window == nullptr) {
        throw std::runtime_error("the window cannot be created");
    }

    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    // The system's message font at the size the layout was drawn for.
    metrics.lfMessageFont.lfHeight = -10;
    metrics.lfMessageFont.lfWidth = 0;
    m_font = CreateFontIndirectW(&metrics.lfMessageFont);
    m_shapeBrush = CreateSolidBrush(RGB(kShapeColour[0], kShapeColour[1], kShapeColour[2]));

    createControls(instance);
    Form_Load();
}

frmBRENNIC::~frmBRENNIC() {
    if (m_window != nullptr) {
        DestroyWindow(m_window);
    }
    DeleteObject(m_font);
    DeleteObject(m_shapeBrush);
}

void frmBRENNIC::createControls(HINSTANCE instance) {
    m_toolTips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                 m_window, nullptr, instance, nullptr);
    SendMessageW(m_toolTips, TTM_SETMAXTIPWIDTH, 0, pixels(kClientArea.width));
    // Created in table order, which is the tab order. A frame, created after its boxes, lies
    // under them; it paints no background, so Midpointmulti, created after it, shows as well.
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        const ControlPlace& place = kControls[i];
        const ControlClass kind = classOf(place.kind);
        if (kind.className == nullptr) {
            continue;
        }
        const RECT rect = pixelRect(place);
        const std::wstring caption = shown(place.caption);
        HWND control = CreateWindowExW(
            kind.extendedStyle, kind.className, caption.c_str(), WS_CHILD | WS_VISIBLE | kind.style,
            rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, m_window,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstId + static_cast<int>(i))), instance,
            nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
        if (place.kind == ControlKind::OffsetBox) {
            // Limits typing only: a longer text the program puts there stays whole.
            SendMessageW(control, EM_LIMITTEXT, kTypedOffsetLength, 0);
        } else if (place.kind == ControlKind::StatusBox) {
            SendMessageW(control, EM_LIMITTEXT, 0, 0); // as long as memory allows
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
        if (HIWORD(wParam) == BN_CLICKED) { // STN_CLICKED for the pictures, the same number
            command(LOWORD(wParam));
        }
        return 0;
    case WM_PAINT:
        paintShape();
        return 0;
    case WM_DRAWITEM:
        drawPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
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

void frmBRENNIC::paintShape() {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(m_window, &paint);
    const RECT rect = pixelRect(placeOf(Control::Shape1));
    FillRect(dc, &rect, m_shapeBrush); // the button paints over it afterwards
    EndPaint(m_window, &paint);
}

// An open folder of 16 x 13 pixels: the back with its tab, and the front flap tilted open.
void frmBRENNIC::drawPicture(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    const auto draw = [dc, &item](std::initializer_list<POINT> corners, COLORREF fill) {
        std::vector<POINT> points(corners);
        for (POINT& point : points) {
            point.x += item.rcItem.left;
            point.y += item.rcItem.top;
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
    EnableWindow(control(id), enabled ? TRUE : FALSE);
}

void frmBRENNIC::showMessage(MessageIcon icon, std::string_view title, std::string_view text) {
    if (m_sessionEnding) {
        return; // no one is there to close it; the session would wait for it
    }
    MessageBoxW(m_window, shown(text).c_str(), shown(title).c_str(),
                MB_OK | (icon == MessageIcon::Critical ? MB_ICONERROR : 0U));
}

std::optional<std::string> frmBRENNIC::chooseFolder(std::string_view prompt) {
    // The tree starts at the drives and cannot go above them; a failure leaves the root empty,
    // the top of the shell's namespace.
    PIDLIST_ABSOLUTE root = nullptr;
    SHGetSpecialFolderLocation(m_window, CSIDL_DRIVES, &root);
    const std::wstring title = shown(prompt);
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW dialog{};
    dialog.hwndOwner = m_window;
    dialog.pidlRoot = root;
    dialog.pszDisplayName = displayName;
    dialog.lpszTitle = title.c_str();
    std::optional<std::string> folder;
    if (PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&dialog)) {
        // Long paths are in reach of a program that says it is aware of them.
        std::wstring path(32768, L'\0');
        // An item without a file-system path (the drives folder itself) counts as a cancel.
        if (SHGetPathFromIDListEx(chosen, path.data(), static_cast<DWORD>(path.size()),
                                  GPFIDL_DEFAULT)) {
            path.resize(path.find(L'\0'));
            folder = platform::utf8FromWide(path);
        }
        CoTaskMemFree(chosen);
    }
    CoTaskMemFree(root);
    return folder;
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
            if (!IsDialogMessageW(window.window(), &message)) {
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
