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
    // A closed pipe is a failed write, reported as such, not a silent end.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    std::signal(SIGINT, stopRun);
    std::signal(SIGTERM, stopRun);
    std::ios::sync_with_stdio(false);
    return brennic::cli::Run_cli(argc, argv, std::cout, std::cerr, &g_signal);
}
