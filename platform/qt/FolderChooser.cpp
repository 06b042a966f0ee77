#include "platform/qt/FolderChooser.h"

#include <QDir>
#include <QFileDialog>
#include <QStringList>
#include <QUrl>

namespace brennic::platform::qt {

std::optional<QString> chooseFolder(QWidget* owner, const QString& prompt, const QString& start) {
    // Asked for a URL so that a desktop dialog offering network places cannot hand back a path
    // that names nothing on this machine.
    const QUrl chosen = QFileDialog::getExistingDirectoryUrl(
        owner, prompt, QUrl::fromLocalFile(start.isEmpty() ? QDir::rootPath() : start),
        QFileDialog::ShowDirsOnly, QStringList{QStringLiteral("file")});
    if (!chosen.isLocalFile() || chosen.toLocalFile().isEmpty()) {
        return std::nullopt;
    }
    return chosen.toLocalFile();
}

} // namespace brennic::platform::qt
