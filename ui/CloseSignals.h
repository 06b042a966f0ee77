#pragma once

#include <QObject>

class QSocketNotifier;
class QWidget;

namespace brennic::ui {

// Makes the signals that ask a program to end (SIGHUP from a closed terminal or a logout, SIGINT,
// SIGQUIT, SIGTERM, SIGUSR1, SIGUSR2) close requests of the window, as its close box is one: a
// conversion in progress stops at its next line and leaves nothing written aside, an open dialog
// is cancelled, then the window closes and saves its settings. SIGXFSZ, which would end the
// program as well, is ignored. One per process; while it lives, it owns the handlers of these
// signals.
class CloseSignals : public QObject {
  public:
    explicit CloseSignals(QWidget& window);
    ~CloseSignals() override;
    CloseSignals(const CloseSignals&) = delete;
    CloseSignals& operator=(const CloseSignals&) = delete;

    // Whether one of the signals has come. A run asks between lines: it holds the window's
    // thread, so the close request itself waits for the run's end.
    static bool arrived();

  private:
    void closeWindow();

    QWidget& m_window;
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace brennic::ui
