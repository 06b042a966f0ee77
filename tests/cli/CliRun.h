#pragma once

#include "app/cli/CliMain.h"

#include <sstream>
#include <string>
#include <vector>

namespace brennic::test {

// One brennic-cli run in this process: its exit code and what it printed.
struct CliResult {
    int code = 0;
    std::string out{};
    std::string err{};
};

// The options without the program name.
inline CliResult runCli(std::vector<std::string> args) {
    args.insert(args.begin(), "brennic-cli");
    std::vector<const char*> argv;
    for (const auto& arg : args) {
        argv.push_back(arg.c_str());
    }
    std::ostringstream out;
    std::ostringstream err;
    const int code = cli::Run_cli(static_cast<int>(argv.size()), argv.data(), out, err);
    return {code, out.str(), err.str()};
}

} // namespace brennic::test
