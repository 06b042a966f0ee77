#pragma once

#include <ostream>

namespace brennic::cli {

// The whole command-line front end; main() only forwards to it, so tests run it in-process.
// Exit codes: 0 the run ended normally, 1 run failure, 2 usage error, 3 cancelled at a folder.
int Run_cli(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

} // namespace brennic::cli
