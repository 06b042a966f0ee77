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
// Opens what path names (a terminal, a FIFO, a file already open elsewhere) for writing behind
// what it holds, creating nothing. A FIFO that nobody reads is ENXIO, never a wait.
int openExisting(const std::filesystem::path& path, NativeHandle& file);
// Whether path names the file that this process's standard output or standard error writes to.
bool isStandardStream(const std::filesystem::path& path);
// Whether path's last name is one Windows keeps for a device in every folder (CON, NUL, COM1,
// ...), which the C library does not report as a device; false elsewhere.
bool isReservedDevice(const std::filesystem::path& path);
// What keeps the entry at name from being replaced: EISDIR for a folder, EACCES for a read-only
// file, kNotARegularFile for a device, FIFO or socket; 0 when it may be replaced or is missing.
int replaceBlocker(const Folder& folder, const std::filesystem::path& name);
// Gives file, which is to replace the regular file at name, that file's permissions.
void takePermissions(const Folder& folder, const std::filesystem::path& name, NativeHandle file);
// Marks file, just made aside, as being written, until it is closed: removeIfAbandoned leaves it
// alone. ENOENT when the file lost its name before it was held (a sweep took it for abandoned).
int holdAside(NativeHandle file);
int writeAll(NativeHandle file, const char* data, std::size_t size);
// Puts what was written to file on the disk.
int syncFile(NativeHandle file);
int closeFile(NativeHandle file);
// Renames from, which file holds open, over to in one step (to is never missing in between), and
// closes file whether or not the rename succeeded.
int closeAndRenameOver(const Folder& folder, NativeHandle file, const std::filesystem::path& from,
                       const std::filesystem::path& to);
// Puts the folder's entries (a rename in it) on the disk.
int syncFolder(const Folder& folder);
int removeFile(const Folder& folder, const std::filesystem::path& name);
// Removes the file at name unless a live writer holds it (holdAside, or open on Windows).
void removeIfAbandoned(const Folder& folder, const std::filesystem::path& name);
// This process's number, which keeps its names apart from other processes' names.
std::string processNumber();

} // namespace native

} // namespace brennic::platform
