#include "platform/FileSystem.h"

#include "platform/Ascii.h"

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace brennic::platform {

namespace {

enum class Wanted { File, Folder, Entry };

bool isWanted(const std::filesystem::path& path, Wanted wanted) {
    switch (wanted) {
    case Wanted::File:
        return isFile(path);
    case Wanted::Folder:
        return isFolder(path);
    case Wanted::Entry:
        break;
    }
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ec));
}

std::optional<std::filesystem::path> findIgnoringCase(const std::filesystem::path& folder,
                                                      std::string_view name, Wanted wanted) {
    if (name.empty()) {
        return std::nullopt;
    }
    const std::filesystem::path exact = folder / pathFromText(name);
    const bool exactFound = isWanted(exact, wanted);
#ifndef _WIN32
    if (exactFound) {
        return exact;
    }
#endif
    // Windows finds any letter case itself; only the listing tells the name as it is stored, which
    // reports and status texts show.
    std::error_code ec;
    std::filesystem::directory_iterator it(folder.empty() ? std::filesystem::path(".") : folder,
                                           ec);
    std::vector<std::string> matches;
    for (const std::filesystem::directory_iterator end; !ec && it != end; it.increment(ec)) {
        std::string leaf = textFromPath(it->path().filename());
        if (equalIgnoringCase(leaf, name) && isWanted(folder / it->path().filename(), wanted)) {
            matches.push_back(std::move(leaf));
        }
    }
    if (matches.empty()) {
        return exactFound ? std::optional(exact) : std::nullopt;
    }
    return folder / pathFromText(*std::min_element(matches.begin(), matches.end()));
}

} // namespace

#ifdef _WIN32
// Names are 8-bit text in the system's code page, as the program's files and boxes hold them.
std::filesystem::path pathFromText(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const auto size = static_cast<int>(text.size());
    std::wstring wide(
        static_cast<std::size_t>(::MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0)),
        L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
    return std::filesystem::path(wide);
}

std::string textFromPath(const std::filesystem::path& path) {
    const std::wstring& wide = path.native();
    if (wide.empty()) {
        return {};
    }
    const auto size = static_cast<int>(wide.size());
    std::string text(static_cast<std::size_t>(::WideCharToMultiByte(CP_ACP, 0, wide.data(), size,
                                                                    nullptr, 0, nullptr, nullptr)),
                     '\0');
    ::WideCharToMultiByte(CP_ACP, 0, wide.data(), size, text.data(), static_cast<int>(text.size()),
                          nullptr, nullptr);
    return text;
}
#else
// Names are bytes here, passed on as they stand.
std::filesystem::path pathFromText(std::string_view text) {
    return std::filesystem::path(std::string(text));
}

std::string textFromPath(const std::filesystem::path& path) { return path.string(); }
#endif

bool isPathSeparator(char c) {
#ifdef _WIN32
    return c == '\\' || c == '/';
#else
    return c == '/';
#endif
}

char preferredSeparator() {
#ifdef _WIN32
    return '\\';
#else
    return '/';
#endif
}

std::string withFinalSeparator(std::string text) {
    if (text.empty() || !isPathSeparator(text.back())) {
        text += preferredSeparator();
    }
    return text;
}

bool isFile(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

bool isFolder(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

bool isWritableFolder(const std::filesystem::path& path) {
#ifdef _WIN32
    return isFolder(path) && ::_waccess(path.c_str(), 2) == 0;
#else
    return isFolder(path) && ::access(path.c_str(), W_OK) == 0;
#endif
}

std::optional<std::filesystem::path> findFileIgnoringCase(std::string_view pathText) {
    std::size_t split = pathText.size();
    while (split > 0 && !isPathSeparator(pathText[split - 1])) {
        --split;
    }
    const std::filesystem::path folder = pathFromText(pathText.substr(0, split));
    return findIgnoringCase(folder, pathText.substr(split), Wanted::File);
}

std::optional<std::filesystem::path> findFileIgnoringCase(const std::filesystem::path& folder,
                                                          std::string_view name) {
    return findIgnoringCase(folder, name, Wanted::File);
}

std::optional<std::filesystem::path> findFolderIgnoringCase(const std::filesystem::path& folder,
                                                            std::string_view name) {
    return findIgnoringCase(folder, name, Wanted::Folder);
}

std::optional<std::filesystem::path> findEntryIgnoringCase(const std::filesystem::path& folder,
                                                           std::string_view name) {
    return findIgnoringCase(folder, name, Wanted::Entry);
}

#ifdef _WIN32
bool isSameEntry(const std::filesystem::path& a, const std::filesystem::path& b) {
    // Opened without access, only to ask what it is; folders need the backup flag.
    const auto identity = [](const std::filesystem::path& path) {
        std::optional<BY_HANDLE_FILE_INFORMATION> information;
        const HANDLE handle =
            ::CreateFileW(path.empty() ? L"." : path.c_str(), 0,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            information.emplace();
            if (!::GetFileInformationByHandle(handle, &*information)) {
                information.reset();
            }
            ::CloseHandle(handle);
        }
        return information;
    };
    const auto first = identity(a);
    const auto second = first ? identity(b) : std::nullopt;
    return second && first->dwVolumeSerialNumber == second->dwVolumeSerialNumber &&
           first->nFileIndexHigh == second->nFileIndexHigh &&
           first->nFileIndexLow == second->nFileIndexLow;
}
#else
bool isSameEntry(const std::filesystem::path& a, const std::filesystem::path& b) {
    struct stat first {};
    struct stat second {};
    return ::stat(a.empty() ? "." : a.c_str(), &first) == 0 &&
           ::stat(b.empty() ? "." : b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}
#endif

std::optional<IoError> makeFolder(const std::filesystem::path& path) {
    std::error_code ec;
    if (std::filesystem::create_directory(path, ec) || isFolder(path)) {
        return std::nullopt;
    }
    return ioErrorFromErrno(ec ? ec.value() : EEXIST, "making the folder", path);
}

std::filesystem::path executableFolder() {
    std::error_code ec;
#ifdef _WIN32
    std::wstring buffer(32768, L'\0');
    const auto length =
        ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<unsigned long>(buffer.size()));
    buffer.resize(length);
    std::filesystem::path self(buffer);
#else
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
#endif
    if (ec || self.empty()) {
        return std::filesystem::current_path(ec);
    }
    return self.parent_path();
}

} // namespace brennic::platform
