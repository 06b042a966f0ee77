#include "platform/FileSystem.h"

#include "platform/Ascii.h"
#include "platform/NativeFile.h"

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include "platform/WideText.h"

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
std::filesystem::path pathFromText(std::string_view text) {
    return std::filesystem::path(wideFromUtf8(text));
}

std::string textFromPath(const std::filesystem::path& path) { return utf8FromWide(path.native()); }

std::filesystem::path pathFromCodePageText(std::string_view text) {
    return std::filesystem::path(wideFromCodePage(text));
}
#else
// Names are bytes here, passed on as they stand.
std::filesystem::path pathFromText(std::string_view text) {
    return std::filesystem::path(std::string(text));
}

std::string textFromPath(const std::filesystem::path& path) { return path.string(); }

std::filesystem::path pathFromCodePageText(std::string_view text) { return pathFromText(text); }
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
    // Windows' access rights are no attribute a call can read: only making a file tells. The
    // file is gone again when its handle closes.
    if (!isFolder(path)) {
        return false;
    }
    const std::filesystem::path probe =
        path / (L".brennic-write-test-" + std::to_wstring(::GetCurrentProcessId()));
    HANDLE file = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    ::CloseHandle(file);
    return true;
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

#ifdef _WIN32
namespace {

std::wstring upperCase(std::wstring_view text) {
    std::wstring upper(text);
    ::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, text.data(),
                    static_cast<int>(text.size()), upper.data(), static_cast<int>(upper.size()),
                    nullptr, nullptr, 0);
    return upper;
}

// Whether name matches pattern, both upper-cased. A "*" first takes nothing and, when the rest
// fails, one character more: the last "*" alone is ever retried, so the time stays bounded by the
// product of the two lengths.
bool matches(std::wstring_view pattern, std::wstring_view name) {
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t star = std::wstring_view::npos;
    std::size_t taken = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == L'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == L'*') {
            star = p++;
            taken = n;
        } else if (star != std::wstring_view::npos) {
            p = star + 1;
            n = ++taken;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*') {
        ++p;
    }
    return p == pattern.size();
}

} // namespace

std::vector<std::string> filesMatching(std::string_view pattern) {
    std::size_t split = pattern.size();
    while (split > 0 && !isPathSeparator(pattern[split - 1]) && pattern[split - 1] != ':') {
        --split;
    }
    const std::string_view folder = pattern.substr(0, split);
    const std::wstring wanted = upperCase(wideFromUtf8(pattern.substr(split)));
    // Listed whole and matched here: the system's own matching would also take the short 8.3
    // names, so that *.mis found x.misc.
    WIN32_FIND_DATAW entry{};
    const std::wstring all = wideFromUtf8(folder) + L"*";
    HANDLE search =
        ::FindFirstFileExW(all.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0);
    std::vector<std::wstring> names;
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
                matches(wanted, upperCase(entry.cFileName))) {
                names.emplace_back(entry.cFileName);
            }
        } while (::FindNextFileW(search, &entry));
        ::FindClose(search);
    }
    std::sort(names.begin(), names.end());
    std::vector<std::string> files;
    for (const std::wstring& name : names) {
        files.push_back(std::string(folder) + utf8FromWide(name));
    }
    return files;
}
#endif

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

bool isStandardStream(const std::filesystem::path& path) { return native::isStandardStream(path); }

} // namespace brennic::platform
