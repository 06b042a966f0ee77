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

} // namespace

IoError ioErrorFromErrno(int err, std::string_view action, const std::filesystem::path& path) {
    std::string description =
        err == kNotARegularFile ? "Not a regular file" : std::generic_category().message(err);
    description += " (";
    description += action;
    description += ' ';
    description += textFromPath(path);
    description += ')';
    return IoError{.kind = kindOf(err), .description = std::move(description)};
}

} // namespace brennic::platform
