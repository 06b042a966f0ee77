#pragma once

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <string>

namespace brennic::platform {

class Folder;

#ifdef _WIN32
using NativeHandle = void*; // a HANDLE
#else
using NativeHandle = int; // a file descriptor
#endif

// What the readers and writers ask of the system, one source per system: NativeFilePosix.cpp and
// NativeFileWin32.cpp. Each operation that can fail returns 0 when it succeeded, else the errno
// value that describes the failure (Windows' own errors translated).
namespace native {

// The handle of nothing open.
extern const NativeHandle kNoHandle;

int openForReading(const std::filesystem::path& path, std::FILE*& file);
// Opens a folder so that the files made in it stay in it, whatever its path comes to name.
int openFolder(const std::filesystem::path& path, NativeHandle& folder);
// Makes a new file in folder and opens it for writing; EEXIST when the name is taken.
int createNew(const Folder& folder, const std::filesystem::path& name, NativeHandle& file);
// What keeps the entry at name from being replaced: EISDIR for a folder, EACCES for a read-only
// file; 0 when it may be replaced or is missing.
int replaceBlocker(const Folder& folder, const std::filesystem::path& name);
// Gives file, which is to replace the regular file at name, that file's permissions.
void takePermissions(const Folder& folder, const std::filesystem::path& name, NativeHandle file);
int writeAll(NativeHandle file, const char* data, std::size_t size);
int closeFile(NativeHandle file);
// Renames from over to, in one step: to is never missing in between.
int renameOver(const Folder& folder, const std::filesystem::path& from,
               const std::filesystem::path& to);
void removeFile(const Folder& folder, const std::filesystem::path& name);
// This process's number, which keeps its names apart from other processes' names.
std::string processNumber();

} // namespace native

} // namespace brennic::platform
