#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace brennic::platform {

// Failure numbers as the classic BASIC run time numbered them: GTA1 tool users know them from
// message boxes, and every failure report of the program shows one.
enum class ErrorNumber : int {
    Overflow = 6,
    OutOfMemory = 7,
    SubscriptOutOfRange = 9,
    TypeMismatch = 13,
    UserInterrupt = 18,
    BadFileNameOrNumber = 52,
    FileNotFound = 53,
    DeviceIoError = 57,
    DiskFull = 61,
    InputPastEndOfFile = 62,
    PathFileAccessError = 75,
    PathNotFound = 76,
    InvalidPropertyValue = 380,
};

// A file-system failure as a value; the engine turns it into its run failure.
struct IoError {
    ErrorNumber number = ErrorNumber::DeviceIoError;
    std::string description{};
};

// Describes the errno value err of an action ("creating", "writing", ...) on path.
IoError ioErrorFromErrno(int err, std::string_view action, const std::filesystem::path& path);

} // namespace brennic::platform
