#include "ui/CloseSignals.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace brennic::ui {

namespace {

constexpr int kCloseSignals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGUSR1, SIGUSR2};

volatile std::sig_atomic_t g_arrived = 0;
// The handler may do next to nothing: it notes the signal and writes a byte into this pipe, whose
// other end the event loop watches.
int g_wakeUp[2] = {-1, -1};

extern "C" void noteCloseSignal(int) {
    const int saved = errno;
    g_arrived = 1;
    const char byte = 1;
    // A full pipe has woken the event loop already.
    [[maybe_unused]] const ssize_t written = ::write(g_wakeUp[1], &byte, 1);
    errno = saved;
}

} // namespace

CloseSignals::CloseSignals(QWidget& window) : m_window(window) {
    g_arrived = 0;
    // Without the pipe the signals keep their default action: they end the program unsaved.
    if (::pipe2(g_wakeUp, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    m_notifier = new QSocketNotifier(g_wakeUp[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &CloseSignals::closeWindow);
    struct sigaction action {};
    action.sa_handler = noteCloseSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kCloseSignals) {
        sigaction(signal, &action, nullptr);
    }
    // A write beyond the file size limit (ulimit -f) then fails with its error, which the run
    // reports, instead of ending the program with a file written aside and the settings unsaved.
    std::signal(SIGXFSZ, SIG_IGN);
}

CloseSignals::~CloseSignals() {
    if (m_notifier == nullptr) {
        return;
    }
    for (const int signal : kCloseSignals) {
        std::signal(signal, SIG_DFL);
    }
    std::signal(SIGXFSZ, SIG_DFL);
    delete m_notifier;
    ::close(g_wakeUp[0]);
    ::close(g_wakeUp[1]);
    g_wakeUp[0] = g_wakeUp[1] = -1;
    g_arrived = 0;
}

bool CloseSignals::arrived() { return g_arrived != 0; }

void CloseSignals::closeWindow() {
    char bytes[64];
    while (::read(g_wakeUp[0], bytes, sizeof bytes) > 0) {
    }
    // A modal dialog (the folder chooser, a message box) is answered as if cancelled; a run that
    // asked for a folder then ends as a cancelled one.
    if (QWidget* modal = QApplication::activeModalWidget();
        modal != nullptr && modal != &m_window) {
        modal->close();
    }
    m_window.close();
}

} // namespace brennic::ui
