#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QPlainTextEdit;

namespace brennic::ui {

// The list of what the last run left to do, read-only, in a window of its own beside the main
// window (not modal: the user reads it while working on). Save as... hands the saving back to the
// main window; Close and Escape hide it.
class WorkLeftWindow : public QDialog {
  public:
    WorkLeftWindow(QWidget* owner, std::function<void()> save);

    // The list and the line that sums it up, in the toolkit's text.
    void setList(const QString& summary, const QString& list);

  private:
    QLabel* m_summary;
    QPlainTextEdit* m_list;
};

} // namespace brennic::ui
