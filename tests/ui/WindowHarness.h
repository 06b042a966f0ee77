#pragma once

#include "tests/support/TempFolder.h"
#include "ui/frmBRENNIC.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace brennic::test {

struct ShownMessage {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title{};
    QString text{};
};

// A window whose program folder (its settings file and cars.ini) is a temporary folder, with a
// folder chooser that answers from a queue (a cancel once it is empty) and message boxes that are
// recorded instead of shown.
struct WindowHarness {
    TempFolder temp{};
    std::filesystem::path settings = temp / "brennic.INI";
    std::deque<std::optional<QString>> answers{};
    std::vector<QString> prompts{};
    std::vector<QString> starts{};                    // where each folder dialog opened
    std::deque<std::optional<QString>> saveAnswers{}; // the save dialog's; a cancel once empty
    std::vector<QString> suggestions{};
    std::function<void()> whileChoosing{}; // runs inside each chooser call
    std::vector<ShownMessage> messages{};
    std::unique_ptr<ui::frmBRENNIC> window{};

    ui::frmBRENNIC& open() {
        window.reset();
        window = std::make_unique<ui::frmBRENNIC>(ui::WindowServices{
            .programFolder = temp.path(),
            .chooseFolder = [this](QWidget*, const QString& prompt,
                                   const QString& start) -> std::optional<QString> {
                prompts.push_back(prompt);
                starts.push_back(start);
                if (whileChoosing) {
                    whileChoosing();
                }
                std::optional<QString> answer;
                if (!answers.empty()) {
                    answer.swap(answers.front());
                    answers.pop_front();
                }
                return answer;
            },
            .chooseSaveFile = [this](QWidget*, const QString& suggested) -> std::optional<QString> {
                suggestions.push_back(suggested);
                std::optional<QString> answer;
                if (!saveAnswers.empty()) {
                    answer.swap(saveAnswers.front());
                    saveAnswers.pop_front();
                }
                return answer;
            },
            .showMessage =
                [this](QMessageBox::Icon icon, const QString& title, const QString& text) {
                    messages.push_back({icon, title, text});
                },
        });
        return *window;
    }

    // Closes the window as the close box does, which saves the settings.
    void close() { window->close(); }

    template <class Control> Control& control(const char* name) const {
        auto* found = window->findChild<Control*>(QLatin1String(name));
        if (found == nullptr) {
            throw std::runtime_error(std::string("no control ") + name);
        }
        return *found;
    }
    QLineEdit& box(const char* name) const { return control<QLineEdit>(name); }
    QCheckBox& check(const char* name) const { return control<QCheckBox>(name); }
    QPushButton& convert() const { return control<QPushButton>("cmdConvert"); }
    QString status() const { return control<QPlainTextEdit>("txtStatus").toPlainText(); }
};

inline QString qs(const std::string& text) { return QString::fromStdString(text); }

} // namespace brennic::test
