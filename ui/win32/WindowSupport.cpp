#include "ui/win32/WindowSupport.h"

#include "platform/WideText.h"

#include <algorithm>
#include <commctrl.h>
#include <iterator>

namespace brennic::ui::win32 {

namespace {

// A function of user32.dll that only later versions of Windows have; nullptr elsewhere.
template <class Function> Function* newerFunction(const char* name) {
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
    // Through the generic function pointer type, which any function pointer converts to.
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(found));
}

int systemDpi() {
    if (auto* getDpiForSystem = newerFunction<UINT WINAPI()>("GetDpiForSystem")) {
        return static_cast<int>(getDpiForSystem());
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

LRESULT CALLBACK tabLeavingEdit(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                UINT_PTR /*id*/, DWORD_PTR /*data*/) {
    LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
    // The dialog manager asks with the key's message in lParam before it moves the focus.
    if (message == WM_GETDLGCODE && lParam != 0) {
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        if (key->message == WM_KEYDOWN && key->wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
            result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTTAB);
        }
    }
    return result;
}

} // namespace

std::wstring shown(std::string_view text) {
    return platform::shownText(text.substr(0, text.find('\0')));
}

int dpiOf(HWND window) {
    if (auto* getDpiForWindow = newerFunction<UINT WINAPI(HWND)>("GetDpiForWindow")) {
        if (const UINT dpi = getDpiForWindow(window); dpi != 0) {
            return static_cast<int>(dpi);
        }
    }
    return systemDpi();
}

HFONT messageFont(int dpi, bool fixedPitch) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    LOGFONTW font = metrics.lfMessageFont;
    // The system gives its fonts at the DPI the user logged on with.
    font.lfHeight = MulDiv(font.lfHeight, dpi, systemDpi());
    font.lfWidth = 0;
    if (fixedPitch) {
        font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
        constexpr wchar_t kFixed[] = L"Consolas"; // where it is missing, the pitch chooses
        static_assert(sizeof(kFixed) <= sizeof(font.lfFaceName));
        std::copy(std::begin(kFixed), std::end(kFixed), std::begin(font.lfFaceName));
    }
    return CreateFontIndirectW(&font);
}

int emPixels(HFONT font) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return static_cast<int>(metrics.tmHeight - metrics.tmInternalLeading);
}

SIZE outerSize(int width, int height, DWORD style, DWORD extendedStyle, int dpi) {
    RECT rect{0, 0, width, height};
    using AdjustForDpi = BOOL WINAPI(RECT*, DWORD, BOOL, DWORD, UINT);
    if (auto* adjust = newerFunction<AdjustForDpi>("AdjustWindowRectExForDpi")) {
        adjust(&rect, style, FALSE, extendedStyle, static_cast<UINT>(dpi));
    } else {
        AdjustWindowRectEx(&rect, style, FALSE, extendedStyle);
    }
    return {rect.right - rect.left, rect.bottom - rect.top};
}

void tabLeaves(HWND edit) { SetWindowSubclass(edit, tabLeavingEdit, 1, 0); }

} // namespace brennic::ui::win32
