#pragma once

#include <csignal>
#include <ostream>

namespace brennic::cli {

// The whole command-line front end; main() only forwards to it, so tests run it in-process.
// Exit codes: 0 the run ended normally, 1 run failure (or status text or report that could not be
// written), 2 usage error, 3 cancelled at a folder, 128 + the signal number when signal, set by a
// signal handler, stopped the run. --check: 0 nothing left, 4 items left, 1 a script unreadable.
int Run_cli(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
            const volatile std::sig_atomic_t* signal = nullptr);

} // namespace brennic::cli
