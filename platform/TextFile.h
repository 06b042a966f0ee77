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

struct FileCloser {
    void operator()(std::FILE* file) const noexcept;
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Streams 8-bit text lines from a file through a fixed buffer. CR LF, CR and a lone LF each end a
// line; a Ctrl-Z byte ends the text, as in files saved by DOS editors. A final line end does not
// start another (empty) line. Every other byte, NUL included, passes through unchanged.
class LineReader {
  public:
    static std::optional<LineReader> open(const std::filesystem::path& path, IoError& error);

    // Replaces line with the next line, without its line end. False at the end of the text, or
    // when reading failed (then failure() holds the reason).
    bool readLine(std::string& line);
    const std::optional<IoError>& failure() const { return m_failure; }

  private:
    LineReader(FileHandle file, std::filesystem::path path);
    bool fill();

    FileHandle m_file;
    std::filesystem::path m_path;
    std::vector<char> m_buffer;
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    bool m_skipLineFeed = false; // the previous line ended in CR: a following LF belongs to it
    bool m_finished = false;
    std::optional<IoError> m_failure;
};

// Writes 8-bit text lines, each ended by CR LF, through a buffer. Creating replaces a file or a
// symbolic link of the same name (never writing through the link). The destructor flushes what is
// buffered without reporting, so a script cut short by a failure keeps everything written so far.
class TextWriter {
  public:
    static std::optional<TextWriter> create(const std::filesystem::path& path, IoError& error);
    TextWriter(TextWriter&&) noexcept = default;
    TextWriter& operator=(TextWriter&&) noexcept = default;
    ~TextWriter();

    // The pieces are written one after another, then CR LF. False once a write has failed.
    bool writeLine(std::initializer_list<std::string_view> pieces);
    bool writeLine(std::string_view text) { return writeLine({text}); }
    // The bytes as they stand, no line end added. False once a write has failed.
    bool write(std::string_view bytes);

    // Flushes and closes; the failure of any earlier write is reported here too.
    std::optional<IoError> close();

  private:
    TextWriter(FileHandle file, std::filesystem::path path);
    bool append(const char* data, std::size_t size);
    bool writeOut(const char* data, std::size_t size);
    bool flush();

    FileHandle m_file;
    std::filesystem::path m_path;
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_used = 0;
    int m_errno = 0;
};

} // namespace brennic::platform
