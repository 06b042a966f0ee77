#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace brennic::platform {

// Windows only: the program's 8-bit texts and the system's UTF-16.
//
// Names the user gives (folders typed, picked or passed on the command line, paths the system
// reports) are UTF-8 inside the program, so that every name of the file system is held exactly.
// Text that comes from a mission file (script names, status and report lines) stays in the bytes
// of the system's ANSI code page, as the files hold it.

std::wstring wideFromUtf8(std::string_view text);
std::string utf8FromWide(std::wstring_view text);

std::wstring wideFromCodePage(std::string_view text);
// The text in the ANSI code page's bytes; nullopt when the code page has no character for part
// of it (no look-alike is put in its place).
std::optional<std::string> codePageFromWide(std::wstring_view text);

// A text as the user is shown it, where both kinds meet (a message naming a folder and a mission
// line): each well-formed UTF-8 sequence as UTF-8, every other byte as a character of the code
// page. Text made only of ASCII and code-page bytes shows as the code page shows it.
std::wstring shownText(std::string_view text);

} // namespace brennic::platform
