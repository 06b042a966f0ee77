#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace brennic::platform {

// A file-system failure as a value; the engine turns it into its run failure. The numbers are the
// classic BASIC run-time error numbers that GTA1 tool users know from message boxes.
struct IoError {
    int number = 0;
    std::string description{};
};

// Describes the errno value err of an action ("creating", "writing", ...) on path.
IoError ioErrorFromErrno(int err, std::string_view action, const std::filesystem::path& path);

} // namespace brennic::platform
