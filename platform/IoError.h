#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace brennic::platform {

// What kind of file-system failure happened. Callers give it the number their reports show.
enum class IoErrorKind {
    NotFound,     // the file, or a folder on its path, does not exist
    AccessDenied, // no permission, a read-only file or file system, or another entry in the way
    InUse,        // another program holds the file open or locked
    DiskFull,     // no space left, the user's quota spent, or the file size limit reached
    TooLarge,     // a file larger than its reader takes
    Other,        // anything else the system reports
};

// Not an errno value: an entry that is neither a regular file nor a folder (a device, a FIFO, a
// socket) where a regular file is wanted.
inline constexpr int kNotARegularFile = -1;

// A file-system failure as a value.
struct IoError {
    IoErrorKind kind = IoErrorKind::Other;
    std::string description{};
};

// The failure that the errno value err reports for an action ("creating", "writing", ...) on
// path: its kind, and the system's text naming the action and the path.
IoError ioErrorFromErrno(int err, std::string_view action, const std::filesystem::path& path);

// A read-only file that the action (replacing) would change: the program keeps it, and says so
// in the words its reports have always used for it, "Path/File access error".
IoError readOnlyFileError(std::string_view action, const std::filesystem::path& path);

} // namespace brennic::platform
