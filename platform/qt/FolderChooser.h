#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace brennic::platform::qt {

// The system folder dialog, modal over owner, with the prompt as its title, open at start (the
// top of the file system when it is empty); the dialog can make a new folder. The chosen folder's
// local path; nullopt when the user cancelled or chose an item that has no local path.
std::optional<QString> chooseFolder(QWidget* owner, const QString& prompt, const QString& start);

} // namespace brennic::platform::qt
