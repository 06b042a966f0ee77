#include "platform/NativeFile.h"
#include "platform/TextWriter.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brennic::platform::native {

namespace {

// The errno of the call that just failed; a library call may fail without setting one.
int lastFailure() { return errno != 0 ? errno : EIO; }

} // namespace

const NativeHandle kNoHandle = -1;

int openForReading(const std::filesystem::path& path, std::FILE*& file) {
    errno = 0;
    file = std::fopen(path.c_str(), "rb");
    return file != nullptr ? 0 : lastFailure();
}

int openFolder(const std::filesystem::path& path, NativeHandle& folder) {
    folder = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return folder != kNoHandle ? 0 : lastFailure();
}

int createNew(const Folder& folder, const std::filesystem::path& name, NativeHandle& file) {
    file = ::openat(folder.handle(), name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    return file != kNoHandle ? 0 : lastFailure();
}

int replaceBlocker(const Folder& folder, const std::filesystem::path& name) {
    struct stat status {};
    if (::fstatat(folder.handle(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
        return 0;
    }
    if (S_ISDIR(status.st_mode)) {
        return EISDIR;
    }
    // The permission bits, not access(): root may write anything, but a read-only file says
    // that its owner wants it kept.
    return S_ISREG(status.st_mode) && (status.st_mode & 0222) == 0 ? EACCES : 0;
}

// A link's own permissions do not count: the replacement takes its place as a file.
void takePermissions(const Folder& folder, const std::filesystem::path& name, NativeHandle file) {
    struct stat status {};
    if (::fstatat(folder.handle(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(status.st_mode)) {
        ::fchmod(file, status.st_mode & 07777);
    }
}

int writeAll(NativeHandle file, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(file, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return lastFailure();
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return 0;
}

int closeFile(NativeHandle file) { return ::close(file) == 0 ? 0 : lastFailure(); }

int renameOver(const Folder& folder, const std::filesystem::path& from,
               const std::filesystem::path& to) {
    return ::renameat(folder.handle(), from.c_str(), folder.handle(), to.c_str()) == 0
               ? 0
               : lastFailure();
}

void removeFile(const Folder& folder, const std::filesystem::path& name) {
    ::unlinkat(folder.handle(), name.c_str(), 0);
}

std::string processNumber() { return std::to_string(::getpid()); }

} // namespace brennic::platform::native
