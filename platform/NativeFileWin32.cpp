#include "platform/NativeFile.h"
#include "platform/TextWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <iterator>
#include <string>
#include <string_view>
#include <windows.h>

namespace brennic::platform::native {

namespace {

// The errno value that describes a Windows error.
int failureOf(DWORD error) {
    switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return EACCES;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EBUSY; // another program holds the file
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    default:
        return EIO;
    }
}

// The errno value that describes the thread's last Windows error.
int lastFailure() { return failureOf(::GetLastError()); }

} // namespace

const NativeHandle kNoHandle = INVALID_HANDLE_VALUE;

int openForReading(const std::filesystem::path& path, std::FILE*& file) {
    errno = 0;
    file = ::_wfopen(path.c_str(), L"rb");
    if (file != nullptr) {
        return 0;
    }
    // The C library says EACCES for a file another program holds too; its Windows error tells.
    const int err = failureOf(_doserrno);
    return err == EBUSY ? err : errno != 0 ? errno : EIO;
}

int openFolder(const std::filesystem::path& path, NativeHandle& folder) {
    // Without delete sharing, the folder cannot be renamed or removed while the run holds it.
    folder = ::CreateFileW(path.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    return folder != kNoHandle ? 0 : lastFailure();
}

// Without delete sharing, no other process removes the file while it is open.
int createNew(const Folder& folder, const std::filesystem::path& name, NativeHandle& file) {
    file = ::CreateFileW((folder.path() / name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                         CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file != kNoHandle ? 0 : lastFailure();
}

int openExisting(const std::filesystem::path& path, NativeHandle& file) {
    file = ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == kNoHandle) {
        return lastFailure();
    }
    ::SetFilePointer(file, 0, nullptr, FILE_END); // a device has no end; nothing to do there
    return 0;
}

bool isStandardStream(const std::filesystem::path&) { return false; }

bool isReservedDevice(const std::filesystem::path& path) {
    constexpr std::wstring_view kDevices[] = {L"CON",  L"PRN",  L"AUX",  L"NUL",  L"COM1", L"COM2",
                                              L"COM3", L"COM4", L"COM5", L"COM6", L"COM7", L"COM8",
                                              L"COM9", L"LPT1", L"LPT2", L"LPT3", L"LPT4", L"LPT5",
                                              L"LPT6", L"LPT7", L"LPT8", L"LPT9"};
    const std::wstring name = path.filename().wstring();
    return std::any_of(std::begin(kDevices), std::end(kDevices), [&name](std::wstring_view device) {
        return ::CompareStringOrdinal(name.data(), static_cast<int>(name.size()), device.data(),
                                      static_cast<int>(device.size()), TRUE) == CSTR_EQUAL;
    });
}

int replaceBlocker(const Folder& folder, const std::filesystem::path& name) {
    const DWORD attributes = ::GetFileAttributesW((folder.path() / name).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return 0;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return EISDIR;
    }
    return (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? EACCES : 0;
}

void takePermissions(const Folder&, const std::filesystem::path&, NativeHandle) {}

// An open file cannot be deleted (createNew shares no deletion): being open is being held.
int holdAside(NativeHandle) { return 0; }

int writeAll(NativeHandle file, const char* data, std::size_t size) {
    while (size > 0) {
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1U << 30));
        DWORD written = 0;
        if (!::WriteFile(file, data, chunk, &written, nullptr)) {
            return lastFailure();
        }
        data += written;
        size -= written;
    }
    return 0;
}

int syncFile(NativeHandle file) { return ::FlushFileBuffers(file) ? 0 : lastFailure(); }

int closeFile(NativeHandle file) { return ::CloseHandle(file) ? 0 : lastFailure(); }

// An open file cannot be renamed: closed first. Write-through: the rename is on the disk when it
// returns.
int closeAndRenameOver(const Folder& folder, NativeHandle file, const std::filesystem::path& from,
                       const std::filesystem::path& to) {
    const int closed = closeFile(file);
    if (closed != 0) {
        return closed;
    }
    const std::filesystem::path target = folder.path() / to;
    if (::MoveFileExW((folder.path() / from).c_str(), target.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return 0;
    }
    const int err = lastFailure();
    if (err != EACCES) {
        return err;
    }
    // Windows refuses to replace a file that another program holds open as access denied; only
    // opening it as the replacement would tells which it is.
    HANDLE held = ::CreateFileW(target.c_str(), DELETE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (held == INVALID_HANDLE_VALUE) {
        return ::GetLastError() == ERROR_SHARING_VIOLATION ? EBUSY : err;
    }
    ::CloseHandle(held);
    return err;
}

int syncFolder(const Folder&) { return 0; }

int removeFile(const Folder& folder, const std::filesystem::path& name) {
    return ::DeleteFileW((folder.path() / name).c_str()) ? 0 : lastFailure();
}

// A file that a live writer holds open cannot be deleted.
void removeIfAbandoned(const Folder& folder, const std::filesystem::path& name) {
    ::DeleteFileW((folder.path() / name).c_str());
}

std::string processNumber() { return std::to_string(::GetCurrentProcessId()); }

} // namespace brennic::platform::native
