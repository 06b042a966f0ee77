#include "platform/qt/OpenLink.h"

#include <QDesktopServices>
#include <QUrl>

namespace brennic::platform::qt {

bool openLink(const QUrl& address) { return QDesktopServices::openUrl(address); }

} // namespace brennic::platform::qt
