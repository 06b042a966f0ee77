#include "app/cli/CliMain.h"

#include <csignal>
#include <iostream>

#ifdef _WIN32
#include "app/cli/WindowsConsole.h"

#include <string>
#include <vector>
#include <windows.h>
#endif

namespace {

volatile std::sig_atomic_t g_signal = 0;

#ifdef _WIN32
// Set once the run has ended and everything it wrote is in place or removed again.
HANDLE g_finished = nullptr;

// Ctrl+C stops the run as SIGINT does elsewhere; Ctrl+Break, the console window's close box, a
// log-off and a shut-down as SIGTERM. The handler runs on a thread of its own, and for the last
// three the process ends as soon as it returns: it waits for the run to finish, a little less
// than the five seconds Windows allows.
BOOL WINAPI stopRun(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT:
        g_signal = SIGINT;
        return TRUE;
    case CTRL_BREAK_EVENT:
        g_signal = SIGTERM;
        return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        g_signal = SIGTERM;
        ::WaitForSingleObject(g_finished, 4500);
        return TRUE;
    default:
        return FALSE;
    }
}
#else
extern "C" void stopRun(int signal) { g_signal = signal; }
#endif

} // namespace

#ifdef _WIN32
int main() {
    g_finished = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ::SetConsoleCtrlHandler(stopRun, TRUE);
    // Names come whole from the wide command line, whatever the code page can hold.
    const std::vector<std::string> arguments = brennic::cli::argumentsOf(::GetCommandLineW());
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(argument.c_str());
    }
    int code = 0;
    {
        brennic::cli::StandardStream out(STD_OUTPUT_HANDLE);
        brennic::cli::StandardStream err(STD_ERROR_HANDLE);
        std::ostream outStream(&out);
        std::ostream errStream(&err);
        errStream.setf(std::ios::unitbuf);
        code = brennic::cli::Run_cli(static_cast<int>(argv.size()), argv.data(), outStream,
                                     errStream, &g_signal);
    }
    ::SetEvent(g_finished);
    return code;
}
#else
int main(int argc, char** argv) {
    // A closed pipe is a failed write, reported as such, not a silent end; so is a file that
    // reaches the size limit (ulimit -f).
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    // Whatever asks the run to end (a closed terminal, Ctrl+\, a kill without -9) stops it as
    // Ctrl+C does: at the next line, leaving nothing half written aside.
    for (const int signal : {SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2}) {
        std::signal(signal, stopRun);
    }
    std::signal(SIGINT, stopRun);
    std::signal(SIGTERM, stopRun);
    std::ios::sync_with_stdio(false);
    return brennic::cli::Run_cli(argc, argv, std::cout, std::cerr, &g_signal);
}
#endif
