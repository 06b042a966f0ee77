#pragma once

#include "platform/IoError.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
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

// A whole small file, read at once; a file larger than maxSize is an error (TooLarge) rather than
// memory.
std::optional<std::string> readWholeFile(const std::filesystem::path& path, std::size_t maxSize,
                                         IoError& error);

} // namespace brennic::platform
