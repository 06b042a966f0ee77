#include "platform/TextFile.h"

#include "platform/FaultInjection.h"

#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <system_error>

namespace brennic::platform {

namespace {

constexpr std::size_t kReadBufferSize = 1 << 16;
constexpr std::size_t kWriteBufferSize = 1 << 16;
constexpr char kCtrlZ = '\x1a';

std::FILE* openFile(const std::filesystem::path& path, const char* mode) {
#ifdef _WIN32
    std::wstring wideMode(mode, mode + std::strlen(mode));
    return ::_wfopen(path.c_str(), wideMode.c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

bool isLineByte(char c) { return c == '\r' || c == '\n' || c == kCtrlZ; }

// The first CR, LF or Ctrl-Z in [begin, end). Text bytes are almost all 0x20 or above: eight bytes
// at a time are tested for control bytes, and only those found are looked at one by one.
const char* findLineByte(const char* begin, const char* end) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
    const char* p = begin;
    if constexpr (std::endian::native == std::endian::little) {
        for (; end - p >= 8; p += 8) {
            std::uint64_t word;
            std::memcpy(&word, p, sizeof word);
            // Every byte below 0x20 sets its high bit here (a borrow may also mark a byte above
            // one of them, so each mark is checked against the byte itself).
            for (std::uint64_t marks = (word - kOnes * 0x20) & ~word & kHighs; marks != 0;
                 marks &= marks - 1) {
                const char* candidate = p + std::countr_zero(marks) / 8;
                if (isLineByte(*candidate)) {
                    return candidate;
                }
            }
        }
    }
    for (; p != end; ++p) {
        if (isLineByte(*p)) {
            return p;
        }
    }
    return end;
}

FaultHook& faultHook() {
    static FaultHook hook;
    return hook;
}

} // namespace

void setFaultHook(FaultHook hook) { faultHook() = std::move(hook); }

int injectedFault(FileOperation operation, const std::filesystem::path& path) {
    const FaultHook& hook = faultHook();
    return hook ? hook(operation, path) : 0;
}

void FileCloser::operator()(std::FILE* file) const noexcept { std::fclose(file); }

IoError ioErrorFromErrno(int err, std::string_view action, const std::filesystem::path& path) {
    int number = 57; // Device I/O error
    switch (err) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        number = 61; // Disk full
        break;
    case ENOENT:
    case ENOTDIR:
        number = 76; // Path not found
        break;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EEXIST:
        number = 75; // Path/File access error
        break;
    default:
        break;
    }
    std::string description = std::generic_category().message(err);
    description += " (";
    description += action;
    description += ' ';
    description += path.string();
    description += ')';
    return IoError{.number = number, .description = std::move(description)};
}

std::optional<LineReader> LineReader::open(const std::filesystem::path& path, IoError& error) {
    if (const int fault = injectedFault(FileOperation::OpenForReading, path)) {
        error = ioErrorFromErrno(fault, "opening", path);
        return std::nullopt;
    }
    errno = 0;
    FileHandle file(openFile(path, "rb"));
    if (!file) {
        error = ioErrorFromErrno(errno != 0 ? errno : EIO, "opening", path);
        return std::nullopt;
    }
    return LineReader(std::move(file), path);
}

LineReader::LineReader(FileHandle file, std::filesystem::path path)
    : m_file(std::move(file)), m_path(std::move(path)), m_buffer(kReadBufferSize) {
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
    m_end = std::fread(m_buffer.data(), 1, m_buffer.size(), m_file.get());
    if (m_end == 0) {
        m_finished = true;
        if (std::ferror(m_file.get()) != 0) {
            m_failure = ioErrorFromErrno(errno != 0 ? errno : EIO, "reading", m_path);
        }
        return false;
    }
    return true;
}

bool LineReader::readLine(std::string& line) {
    line.clear();
    bool haveLine = false;
    for (;;) {
        if (m_pos == m_end && !fill()) {
            return haveLine;
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
        const char* stop = findLineByte(begin, end);
        line.append(begin, stop);
        if (stop == end) {
            haveLine = haveLine || stop != begin;
            m_pos = m_end;
            continue;
        }
        m_pos = static_cast<std::size_t>(stop - m_buffer.data()) + 1;
        if (*stop == kCtrlZ) {
            m_finished = true;
            m_pos = m_end = 0;
            return !line.empty();
        }
        m_skipLineFeed = *stop == '\r';
        return true;
    }
}

std::optional<TextWriter> TextWriter::create(const std::filesystem::path& path, IoError& error) {
    if (const int fault = injectedFault(FileOperation::Create, path)) {
        error = ioErrorFromErrno(fault, "creating", path);
        return std::nullopt;
    }
    // Exclusive creation never follows a symbolic link; only when a file is in the way is it
    // looked at and removed, so that a link is replaced, never written through.
    errno = 0;
    FileHandle file(openFile(path, "wbx"));
    if (!file && errno == EEXIST) {
        std::error_code ec;
        const auto status = std::filesystem::symlink_status(path, ec);
        if (status.type() == std::filesystem::file_type::directory) {
            error = ioErrorFromErrno(EISDIR, "creating", path);
            return std::nullopt;
        }
        if (!std::filesystem::remove(path, ec) && ec) {
            error = ioErrorFromErrno(ec.value(), "replacing", path);
            return std::nullopt;
        }
        errno = 0;
        file.reset(openFile(path, "wbx"));
    }
    if (!file) {
        error = ioErrorFromErrno(errno != 0 ? errno : EIO, "creating", path);
        return std::nullopt;
    }
    return TextWriter(std::move(file), path);
}

TextWriter::TextWriter(FileHandle file, std::filesystem::path path)
    : m_file(std::move(file)), m_path(std::move(path)),
      m_buffer(std::make_unique_for_overwrite<char[]>(kWriteBufferSize)) {
    std::setvbuf(m_file.get(), nullptr, _IONBF, 0);
}

TextWriter::~TextWriter() {
    if (m_file) {
        flush();
    }
}

bool TextWriter::writeLine(std::initializer_list<std::string_view> pieces) {
    if (m_errno != 0) {
        return false;
    }
    for (const std::string_view piece : pieces) {
        if (!append(piece.data(), piece.size())) {
            return false;
        }
    }
    return append("\r\n", 2);
}

bool TextWriter::write(std::string_view bytes) {
    if (bytes.empty()) {
        return m_errno == 0;
    }
    if (m_used == 0) {
        return writeOut(bytes.data(), bytes.size()); // a caller's whole buffer: no copy first
    }
    return append(bytes.data(), bytes.size());
}

bool TextWriter::append(const char* data, std::size_t size) {
    if (size == 0) {
        return true; // an empty piece may have no data pointer at all
    }
    if (size > kWriteBufferSize - m_used) {
        if (!flush()) {
            return false;
        }
        if (size > kWriteBufferSize) {
            return writeOut(data, size);
        }
    }
    std::memcpy(m_buffer.get() + m_used, data, size);
    m_used += size;
    return true;
}

bool TextWriter::writeOut(const char* data, std::size_t size) {
    if (m_errno != 0) {
        return false;
    }
    if (const int fault = injectedFault(FileOperation::Write, m_path)) {
        m_errno = fault;
        return false;
    }
    errno = 0;
    if (std::fwrite(data, 1, size, m_file.get()) != size) {
        m_errno = errno != 0 ? errno : EIO;
        return false;
    }
    return true;
}

bool TextWriter::flush() {
    if (m_used == 0) {
        return m_errno == 0;
    }
    const bool written = writeOut(m_buffer.get(), m_used);
    m_used = 0;
    return written;
}

std::optional<IoError> TextWriter::close() {
    if (!m_file) {
        return std::nullopt;
    }
    flush();
    errno = 0;
    const int closed = std::fclose(m_file.release());
    if (const int fault = injectedFault(FileOperation::Close, m_path); fault != 0 && m_errno == 0) {
        m_errno = fault;
    }
    if (m_errno == 0 && closed != 0) {
        m_errno = errno != 0 ? errno : EIO;
    }
    if (m_errno != 0) {
        return ioErrorFromErrno(m_errno, "writing", m_path);
    }
    return std::nullopt;
}

} // namespace brennic::platform
