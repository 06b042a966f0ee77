#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace brennic::ui {

// Where Qt's texts meet the engine's 8-bit bytes. The bytes are read as UTF-8, the system's code
// page here; a byte that is not part of valid UTF-8 (a Latin-1 folder name, a damaged settings
// file) becomes one of U+DC80..U+DCFF and turns back into the same byte, so a text box never
// changes the bytes it was given.
QString fromEngineText(std::string_view text);
std::string toEngineText(const QString& text);

} // namespace brennic::ui
