#include "platform/IoError.h"
#include "platform/NativeFile.h"
#include "platform/TextWriter.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace brennic::platform::native {

namespace {

// The errno of the call that just failed; a library call may fail without setting one.
int lastFailure() { return errno != 0 ? errno : EIO; }

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

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

int openExisting(const std::filesystem::path& path, NativeHandle& file) {
    // Without a reader, opening a FIFO would wait for one, deaf to Ctrl+C.
    file = ::open(path.c_str(), O_WRONLY | O_APPEND | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (file == kNoHandle) {
        return lastFailure();
    }
    const int flags = ::fcntl(file, F_GETFL);
    if (flags == -1 || ::fcntl(file, F_SETFL, flags & ~O_NONBLOCK) == -1) {
        const int err = lastFailure();
        ::close(std::exchange(file, kNoHandle));
        return err;
    }
    return 0;
}

bool isReservedDevice(const std::filesystem::path&) { return false; }

bool isStandardStream(const std::filesystem::path& path) {
    struct stat named {};
    struct stat stream {};
    if (::stat(path.c_str(), &named) != 0) {
        return false;
    }
    for (const int fd : {STDOUT_FILENO, STDERR_FILENO}) {
        if (::fstat(fd, &stream) == 0 && sameFile(named, stream)) {
            return true;
        }
    }
    return false;
}

int replaceBlocker(const Folder& folder, const std::filesystem::path& name) {
    struct stat status {};
    if (::fstatat(folder.handle(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
        return 0;
    }
    if (S_ISDIR(status.st_mode)) {
        return EISDIR;
    }
    if (S_ISLNK(status.st_mode)) {
        return 0;
    }
    if (!S_ISREG(status.st_mode)) {
        return kNotARegularFile; // renaming over /dev/null would end it for everyone
    }
    // The permission bits, not access(): root may write anything, but a read-only file says
    // that its owner wants it kept.
    return (status.st_mode & 0222) == 0 ? EACCES : 0;
}

// A link's own permissions do not count: the replacement takes its place as a file.
void takePermissions(const Folder& folder, const std::filesystem::path& name, NativeHandle file) {
    struct stat status {};
    if (::fstatat(folder.handle(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(status.st_mode)) {
        ::fchmod(file, status.st_mode & 07777);
    }
}

// The lock is advisory: only another run's sweep asks for it. A file system without locks leaves
// the file unheld, and the sweep, which cannot lock it either, leaves it alone.
int holdAside(NativeHandle file) {
    while (::flock(file, LOCK_EX) != 0) {
        if (errno != EINTR) {
            return 0;
        }
    }
    struct stat status {};
    if (::fstat(file, &status) != 0) {
        return lastFailure();
    }
    return status.st_nlink == 0 ? ENOENT : 0;
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

int syncFile(NativeHandle file) { return ::fsync(file) == 0 ? 0 : lastFailure(); }

int closeFile(NativeHandle file) { return ::close(file) == 0 ? 0 : lastFailure(); }

// Renamed while still open, so that the lock holds until the file has its name.
int closeAndRenameOver(const Folder& folder, NativeHandle file, const std::filesystem::path& from,
                       const std::filesystem::path& to) {
    const int renamed = ::renameat(folder.handle(), from.c_str(), folder.handle(), to.c_str()) == 0
                            ? 0
                            : lastFailure();
    const int closed = closeFile(file);
    return renamed != 0 ? renamed : closed;
}

int syncFolder(const Folder& folder) {
    // Some file systems cannot sync a folder at all; the rename is then as safe as they make it.
    return ::fsync(folder.handle()) == 0 || errno == EINVAL ? 0 : lastFailure();
}

int removeFile(const Folder& folder, const std::filesystem::path& name) {
    return ::unlinkat(folder.handle(), name.c_str(), 0) == 0 ? 0 : lastFailure();
}

void removeIfAbandoned(const Folder& folder, const std::filesystem::path& name) {
    const int file =
        ::openat(folder.handle(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (file == kNoHandle) {
        return;
    }
    struct stat status {};
    // Only a lock of its own proves that no writer holds the file. A writer that made it a moment
    // ago and has not held it yet finds it gone once it does, and makes another.
    if (::fstat(file, &status) == 0 && S_ISREG(status.st_mode) &&
        ::flock(file, LOCK_EX | LOCK_NB) == 0) {
        ::unlinkat(folder.handle(), name.c_str(), 0);
    }
    ::close(file);
}

std::string processNumber() { return std::to_string(::getpid()); }

} // namespace brennic::platform::native
