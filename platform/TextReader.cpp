#include "platform/TextReader.h"

#include "platform/FaultInjection.h"
#include "platform/FileSystem.h"
#include "platform/NativeFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace brennic::platform {

namespace {

constexpr std::size_t kReadBufferSize = 1 << 16;
constexpr char kCtrlZ = '\x1a';
constexpr const char* kLineBytes = "\r\n\x1a";

int errnoOr(int fallback) { return errno != 0 ? errno : fallback; }

FileHandle openForReading(const std::filesystem::path& path, IoError& error) {
    int err = injectedFault(FileOperation::OpenForReading, path);
    std::FILE* file = nullptr;
    if (err == 0) {
        err = native::openForReading(path, file);
    }
    if (err != 0) {
        error = ioErrorFromErrno(err, "opening", path);
    }
    return FileHandle(file);
}

bool isBlankOrLineByte(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == kCtrlZ;
}

} // namespace

void FileCloser::operator()(std::FILE* file) const noexcept { std::fclose(file); }

std::optional<LineReader> LineReader::open(const std::filesystem::path& path, std::size_t maxLength,
                                           IoError& error) {
    FileHandle file = openForReading(path, error);
    if (!file) {
        return std::nullopt;
    }
    return LineReader(std::move(file), path, maxLength);
}

LineReader::LineReader(FileHandle file, std::filesystem::path path, std::size_t maxLength)
    : m_file(std::move(file)), m_path(std::move(path)), m_maxLength(maxLength),
      m_buffer(kReadBufferSize + 1) {
    std::setvbuf(m_file.get(), nullptr, _IONBF, 0);
}

bool LineReader::fill() {
    if (m_finished) {
        return false;
    }
    errno = 0;
    m_pos = 0;
    if (const int fault = injectedFault(FileOperation::Read, m_path)) {
        m_finished = true;
        m_end = 0;
        m_failure = ioErrorFromErrno(fault, "reading", m_path);
        return false;
    }
    m_end = std::fread(m_buffer.data(), 1, kReadBufferSize, m_file.get());
    m_buffer[m_end] = '\0'; // ends what strcspn looks at
    if (m_end == 0) {
        m_finished = true;
        if (std::ferror(m_file.get()) != 0) {
            m_failure = ioErrorFromErrno(errnoOr(EIO), "reading", m_path);
        }
        return false;
    }
    return true;
}

void LineReader::lookBehindCtrlZ() {
    do {
        const auto data = std::find_if(m_buffer.begin() + static_cast<std::ptrdiff_t>(m_pos),
                                       m_buffer.begin() + static_cast<std::ptrdiff_t>(m_end),
                                       [](char c) { return !isBlankOrLineByte(c); });
        if (data != m_buffer.begin() + static_cast<std::ptrdiff_t>(m_end)) {
            m_dataAfterCtrlZ = true;
            break;
        }
    } while (fill());
    m_finished = true;
    m_pos = m_end = 0;
}

LineReader::Result LineReader::readLine(std::string& line) {
    line.clear();
    for (;;) {
        if (m_pos == m_end && !fill()) {
            return m_failure ? Result::Failed : line.empty() ? Result::End : Result::Line;
        }
        if (m_skipLineFeed) {
            m_skipLineFeed = false;
            if (m_buffer[m_pos] == '\n') {
                ++m_pos;
                continue;
            }
        }
        const char* begin = m_buffer.data() + m_pos;
        const char* end = m_buffer.data() + m_end;
        // The library's search for a set of bytes beats a look at each byte by far; a NUL stops
        // it too (the buffer ends in one), so the search goes on behind a NUL within the text.
        const char* stop = begin + std::strcspn(begin, kLineBytes);
        while (stop != end && *stop == '\0') {
            ++stop;
            stop += std::strcspn(stop, kLineBytes);
        }
        const std::size_t room = m_maxLength - line.size();
        if (static_cast<std::size_t>(stop - begin) > room) {
            line.append(begin, room);
            m_finished = true;
            m_pos = m_end = 0;
            return Result::TooLong;
        }
        line.append(begin, stop);
        m_pos = static_cast<std::size_t>(stop - m_buffer.data());
        if (stop == end) {
            continue;
        }
        ++m_pos;
        if (*stop == kCtrlZ) {
            lookBehindCtrlZ();
            return line.empty() ? Result::End : Result::Line;
        }
        m_skipLineFeed = *stop == '\r';
        return Result::Line;
    }
}

std::optional<std::string> readWholeFile(const std::filesystem::path& path, std::size_t maxSize,
                                         IoError& error) {
    const FileHandle file = openForReading(path, error);
    if (!file) {
        return std::nullopt;
    }
    // Read a piece at a time, so that a small file costs only its size and a large one stops
    // one byte past the limit.
    std::string data;
    char piece[1 << 14];
    while (data.size() <= maxSize) {
        const std::size_t got =
            std::fread(piece, 1, std::min(sizeof piece, maxSize + 1 - data.size()), file.get());
        if (got == 0) {
            break;
        }
        data.append(piece, got);
    }
    if (std::ferror(file.get()) != 0) {
        error = ioErrorFromErrno(errnoOr(EIO), "reading", path);
        return std::nullopt;
    }
    if (data.size() > maxSize) {
        error = IoError{.kind = IoErrorKind::TooLarge,
                        .description = "File too large: " + textFromPath(path) +
                                       " holds more than " + std::to_string(maxSize) + " bytes"};
        return std::nullopt;
    }
    return data;
}

} // namespace brennic::platform
