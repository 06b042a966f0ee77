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

  private:
    Folder(std::filesystem::path path, NativeHandle handle);

    std::filesystem::path m_path;
    NativeHandle m_handle;
};

// Writes 8-bit text lines, each ended by CR LF, into a file of a folder, through a buffer.
//
// A free name is created exclusively and what was written stays there even when the writer is
// not closed, so a script cut short keeps its lines. A name that a file or a symbolic link already
// holds is written aside under a temporary name and renamed over it only by close(): until then
// the earlier file stays exactly as it was, and a writer destroyed without close() removes what
// it wrote aside. A link is replaced, never written through; a read-only file is never replaced.
class TextWriter {
  public:
    static std::optional<TextWriter> create(const Folder& folder, const std::filesystem::path& name,
                                            IoError& error);
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

  private:
    TextWriter(const Folder& folder, std::filesystem::path name, std::filesystem::path aside,
               NativeHandle file);
    bool writeOut(const char* data, std::size_t size);
    bool flush();

    const Folder* m_folder;
    std::filesystem::path m_name;
    std::filesystem::path m_aside; // empty: written under its own name
    NativeHandle m_file;           // kNoHandle once closed
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_used = 0;
    int m_errno = 0;
};

} // namespace brennic::platform
