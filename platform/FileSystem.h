#pragma once

#include "platform/IoError.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace brennic::platform {

// The user's folder texts are 8-bit text: on POSIX they name paths byte for byte, on Windows
// through the system's code page.
std::filesystem::path pathFromText(std::string_view text);
std::string textFromPath(const std::filesystem::path& path);

bool isPathSeparator(char c);
char preferredSeparator();
// The folder text with one separator at its end (added only when it has none).
std::string withFinalSeparator(std::string text);

bool isFile(const std::filesystem::path& path);   // a regular file, after following links
bool isFolder(const std::filesystem::path& path); // a directory, after following links
// A folder that this process may make files in.
bool isWritableFolder(const std::filesystem::path& path);

// Finds the file that the text names, its last component matched without regard to ASCII letter
// case as Windows does (GTA1 data is often MISSION.INI). On POSIX an exact match wins; on Windows
// the name comes as it is stored. Among several case variants the first in byte order is taken.
std::optional<std::filesystem::path> findFileIgnoringCase(std::string_view pathText);
// The same for a file named name in folder.
std::optional<std::filesystem::path> findFileIgnoringCase(const std::filesystem::path& folder,
                                                          std::string_view name);
// The same for a sub-folder of folder.
std::optional<std::filesystem::path> findFolderIgnoringCase(const std::filesystem::path& folder,
                                                            std::string_view name);
// The same for an entry of any kind: a file, a folder, a device, a link that leads nowhere.
std::optional<std::filesystem::path> findEntryIgnoringCase(const std::filesystem::path& folder,
                                                           std::string_view name);

// Whether the two paths, after their links, lead to the same file or folder, told by what it is
// (device and file number), not by how the names spell it; false when either does not exist. An
// empty path is the current folder.
bool isSameEntry(const std::filesystem::path& a, const std::filesystem::path& b);

std::optional<IoError> makeFolder(const std::filesystem::path& path);

// The folder of the running executable; the current folder when the platform cannot tell.
std::filesystem::path executableFolder();

} // namespace brennic::platform
