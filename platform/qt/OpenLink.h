#pragma once

class QUrl;

namespace brennic::platform::qt {

// Opens the address in the desktop's browser; false when nothing could show it.
bool openLink(const QUrl& address);

} // namespace brennic::platform::qt
