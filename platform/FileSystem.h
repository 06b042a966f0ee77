#pragma once

#include "platform/IoError.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brennic::platform {

// Names the user gives (folder texts, command-line arguments, the settings file's folders) and
// names the system reports: on POSIX bytes that name paths byte for byte, on Windows UTF-8.
std::filesystem::path pathFromText(std::string_view text);
std::string textFromPath(const std::filesystem::path& path);
// A name made of a mission file's text (a script's name from its mission name): bytes of the
// system's 8-bit code page, so the file gets exactly the characters the mission file holds.
std::filesystem::path pathFromCodePageText(std::string_view text);

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

// Whether path names what this process's standard output or standard error writes to (the same
// file, pipe or terminal).
bool isStandardStream(const std::filesystem::path& path);

#ifdef _WIN32
// The files of a folder whose names match pattern's last component, where "*" stands for any
// characters and "?" for one, letter case ignored as Windows ignores it, each as the pattern's
// folder part followed by its name, in name order. Windows' shells hand wildcards over as typed.
std::vector<std::string> filesMatching(std::string_view pattern);
#endif

// The folder of the running executable; the current folder when the platform cannot tell.
std::filesystem::path executableFolder();

} // namespace brennic::platform
