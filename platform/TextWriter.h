#pragma once

#include "platform/IoError.h"
#include "platform/NativeFile.h"

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string_view>

namespace brennic::platform {

// A folder opened once, so that files made in it stay in it even when its path is meanwhile
// given to another folder or to a link.
class Folder {
  public:
    static std::optional<Folder> open(const std::filesystem::path& path, IoError& error);
    Folder(Folder&& other) noexcept;
    Folder& operator=(Folder&& other) noexcept;
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    ~Folder();

    const std::filesystem::path& path() const { return m_path; }
    NativeHandle handle() const { return m_handle; }

    // Removes what writers that were killed outright (kill -9, a power loss) left written aside
    // here; what a live writer, of this process or another, is writing stays.
    void removeAbandoned() const;

  private:
    Folder(std::filesystem::path path, NativeHandle handle);

    std::filesystem::path m_path;
    NativeHandle m_handle;
};

// What TextWriter::replace does with a path that names neither a regular file nor a folder.
enum class SpecialFiles {
    Refuse,    // a failure: only regular files are replaced
    WriteInto, // a terminal, a FIFO (a pipe) or another character device is written into
};

// Writes 8-bit text lines, each ended by CR LF, into a file of a folder, through a buffer.
//
// A free name is created exclusively and what was written stays there even when the writer is
// not closed, so a script cut short keeps its lines. A name that a file or a symbolic link already
// holds is written aside under a temporary name and renamed over it only by close(), once it is
// on the disk: until then the earlier file stays exactly as it was, and a writer destroyed
// without close() removes what it wrote aside. What is written aside is named
// ".<name>.brennic-partial-<process>-<n>", so that the next writer in the folder can tell what a
// killed one left. A link is replaced, never written through; a read-only file, a folder and a
// special file (a device, a FIFO) are never replaced.
class TextWriter {
  public:
    static std::optional<TextWriter> create(const Folder& folder, const std::filesystem::path& name,
                                            IoError& error);
    // A file that counts only when whole (a report, a settings file): always written aside and
    // put in place by close(), so that nothing new stands at path before. A symbolic link at path
    // is followed: the file it leads to is replaced and the link stays a link. With WriteInto, a
    // character device or FIFO, and a regular file that this process's standard output or error
    // goes to, are written into behind what they hold, neither replaced nor synced.
    static std::optional<TextWriter> replace(const std::filesystem::path& path,
                                             SpecialFiles specials, IoError& error);
    TextWriter(TextWriter&& other) noexcept;
    TextWriter& operator=(TextWriter&& other) = delete;
    TextWriter(const TextWriter&) = delete;
    TextWriter& operator=(const TextWriter&) = delete;
    ~TextWriter();

    // The pieces are written one after another, then CR LF. False once a write has failed.
    bool writeLine(std::initializer_list<std::string_view> pieces);
    bool writeLine(std::string_view text) { return writeLine({text}); }
    // The bytes as they stand, no line end added. False once a write has failed.
    bool write(std::string_view bytes);

    // Why a write failed, once one has.
    std::optional<IoError> failure() const;

    // Flushes, closes and, for a replacement, renames it over the earlier file; the failure of
    // any earlier write is reported here too, and a failed replacement leaves the earlier file.
    std::optional<IoError> close();
    // Ends the writer without the rename that close() makes: what was written aside is removed,
    // what was written in place stays. The failure, naming the file, when the removal failed.
    std::optional<IoError> discard();

  private:
    TextWriter(const Folder* folder, std::filesystem::path name, std::filesystem::path aside,
               NativeHandle file);
    static std::optional<TextWriter> createAside(const Folder& folder,
                                                 const std::filesystem::path& name, IoError& error);
    std::filesystem::path path() const;
    bool writeOut(const char* data, std::size_t size);
    bool flush();
    std::optional<IoError> removeAside();

    std::unique_ptr<Folder> m_ownFolder; // replace(): the folder of the file it replaces
    const Folder* m_folder;              // nullptr: written into what m_name names
    std::filesystem::path m_name;
    std::filesystem::path m_aside; // empty: written under its own name
    NativeHandle m_file;           // kNoHandle once closed
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_used = 0;
    int m_errno = 0;
};

} // namespace brennic::platform
