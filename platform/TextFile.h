#pragma once

#include "platform/IoError.h"

#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brennic::platform {

#ifdef _WIN32
using NativeHandle = void*; // a HANDLE
#else
using NativeHandle = int; // a file descriptor
#endif

struct FileCloser {
    void operator()(std::FILE* file) const noexcept;
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Streams 8-bit text lines from a file through a fixed buffer. CR LF, CR and a lone LF each end a
// line; a Ctrl-Z byte ends the text, as in files saved by DOS editors. A final line end does not
// start another (empty) line. Every other byte, NUL included, passes through unchanged.
class LineReader {
  public:
    enum class Result { Line, End, TooLong, Failed };

    // Lines longer than maxLength are never held whole: reading stops there with TooLong.
    static std::optional<LineReader> open(const std::filesystem::path& path, std::size_t maxLength,
                                          IoError& error);

    // Replaces line with the next line, without its line end.
    Result readLine(std::string& line);
    // Why reading Failed.
    const std::optional<IoError>& failure() const { return m_failure; }
    // Whether the text ended at a Ctrl-Z with more than blanks and line ends behind it.
    bool dataAfterCtrlZ() const { return m_dataAfterCtrlZ; }

  private:
    LineReader(FileHandle file, std::filesystem::path path, std::size_t maxLength);
    bool fill();
    void lookBehindCtrlZ();

    FileHandle m_file;
    std::filesystem::path m_path;
    std::size_t m_maxLength;
    std::vector<char> m_buffer;
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    bool m_skipLineFeed = false; // the previous line ended in CR: a following LF belongs to it
    bool m_finished = false;
    bool m_dataAfterCtrlZ = false;
    std::optional<IoError> m_failure;
};

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
    bool append(const char* data, std::size_t size);
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

// A whole small file, read at once; a file larger than maxSize is an error rather than memory.
std::optional<std::string> readWholeFile(const std::filesystem::path& path, std::size_t maxSize,
                                         IoError& error);

} // namespace brennic::platform
