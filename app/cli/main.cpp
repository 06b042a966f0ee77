#include "app/cli/CliMain.h"

#include <csignal>
#include <iostream>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

volatile std::sig_atomic_t g_signal = 0;

extern "C" void stopRun(int signal) { g_signal = signal; }

} // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // The status text ends its lines in CR LF itself; the messages on standard error are the
    // same bytes as on other systems.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#else
    // A closed pipe is a failed write, reported as such, not a silent end; so is a file that
    // reaches the size limit (ulimit -f).
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    // Whatever asks the run to end (a closed terminal, Ctrl+\, a kill without -9) stops it as
    // Ctrl+C does: at the next line, leaving nothing half written aside.
    for (const int signal : {SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2}) {
        std::signal(signal, stopRun);
    }
#endif
    std::signal(SIGINT, stopRun);
    std::signal(SIGTERM, stopRun);
    std::ios::sync_with_stdio(false);
    return brennic::cli::Run_cli(argc, argv, std::cout, std::cerr, &g_signal);
}
