#pragma once

#include <string>
#include <string_view>
#include <windows.h>

namespace brennic::ui::win32 {

// A text as the window shows it (see platform::shownText), up to its first NUL as Windows reads
// it.
std::wstring shown(std::string_view text);

// The DPI of the monitor the window is on: Windows 10 tells it per window, earlier versions have
// one DPI for the whole system.
int dpiOf(HWND window);

// The system's message font at the size it has at dpi, or a fixed-pitch font of that size; the
// caller deletes it.
HFONT messageFont(int dpi, bool fixedPitch = false);

// The height of the font's em in pixels, what the font's size names.
int emPixels(HFONT font);

// The outer size of a window with this style whose client area is width x height at dpi.
SIZE outerSize(int width, int height, DWORD style, DWORD extendedStyle, int dpi);

// A multi-line edit box asks for every key, Tab included; after this, Tab and Shift+Tab leave it
// as they leave any control, and only Ctrl+Tab is left to the box.
void tabLeaves(HWND edit);

} // namespace brennic::ui::win32
