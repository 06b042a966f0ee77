#pragma once

#include "app/cli/CliMain.h"
#include "tests/support/TempFolder.h"

#include <cstdlib>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace brennic::test {

// One brennic-cli run in this process: its exit code and what it printed.
struct CliResult {
    int code = 0;
    std::string out{};
    std::string err{};
};

// The options run by the shell command line command in a child process.
inline CliResult runCliCommand(const std::string& command, const std::vector<std::string>& args) {
    const auto quoted = [](const std::string& text) {
        std::string word = "'";
        for (const char c : text) {
            word += c == '\'' ? std::string("'\\''") : std::string(1, c);
        }
        return word + "'";
    };
    TempFolder streams;
    std::string line = command;
    for (const auto& arg : args) {
        line += " " + quoted(arg);
    }
    line += " >" + quoted((streams / "out").string()) + " 2>" + quoted((streams / "err").string());
    const int status = std::system(line.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(streams / "out"),
            readFile(streams / "err")};
}

// The options without the program name. With BRENNIC_CLI_COMMAND set (for example "wine
// build-windows/bin/brennic-cli.exe"), that command runs them instead, so that the same
// expectations check another build of the program.
inline CliResult runCli(std::vector<std::string> args) {
    if (const char* command = std::getenv("BRENNIC_CLI_COMMAND")) {
        return runCliCommand(command, args);
    }
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
