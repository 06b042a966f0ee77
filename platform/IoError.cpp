#include "platform/IoError.h"

#include "platform/FileSystem.h"

#include <cerrno>
#include <system_error>
#include <utility>

namespace brennic::platform {

namespace {

IoErrorKind kindOf(int err) {
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        return IoErrorKind::NotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EEXIST:
    case kNotARegularFile:
        return IoErrorKind::AccessDenied;
    case EBUSY:
        return IoErrorKind::InUse;
    case ENOSPC:
    case EFBIG:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return IoErrorKind::DiskFull;
    default:
        return IoErrorKind::Other;
    }
}

std::string described(std::string what, std::string_view action,
                      const std::filesystem::path& path) {
    what += " (";
    what += action;
    what += ' ';
    what += textFromPath(path);
    what += ')';
    return what;
}

} // namespace

IoError ioErrorFromErrno(int err, std::string_view action, const std::filesystem::path& path) {
    // The system's own words for EBUSY ("Device or resource busy") tell a user nothing.
    std::string what = err == EBUSY              ? "File in use by another program"
                       : err == kNotARegularFile ? "Not a regular file"
                                                 : std::generic_category().message(err);
    return IoError{.kind = kindOf(err), .description = described(std::move(what), action, path)};
}

IoError readOnlyFileError(std::string_view action, const std::filesystem::path& path) {
    return IoError{.kind = IoErrorKind::AccessDenied,
                   .description =
                       described("Path/File access error: the file is read-only", action, path)};
}

} // namespace brennic::platform
