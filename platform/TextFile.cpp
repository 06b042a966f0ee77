#include "platform/TextFile.h"

#include "platform/FaultInjection.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <system_error>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace brennic::platform {

namespace {

constexpr std::size_t kReadBufferSize = 1 << 16;
constexpr std::size_t kWriteBufferSize = 1 << 16;
constexpr char kCtrlZ = '\x1a';
constexpr const char* kLineBytes = "\r\n\x1a";

FaultHook& faultHook() {
    static FaultHook hook;
    return hook;
}

int errnoOr(int fallback) { return errno != 0 ? errno : fallback; }

FileHandle openForReading(const std::filesystem::path& path, IoError& error) {
    if (const int fault = injectedFault(FileOperation::OpenForReading, path)) {
        error = ioErrorFromErrno(fault, "opening", path);
        return nullptr;
    }
    errno = 0;
#ifdef _WIN32
    FileHandle file(::_wfopen(path.c_str(), L"rb"));
#else
    FileHandle file(std::fopen(path.c_str(), "rb"));
#endif
    if (!file) {
        error = ioErrorFromErrno(errnoOr(EIO), "opening", path);
    }
    return file;
}

bool isBlankOrLineByte(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == kCtrlZ;
}

#ifdef _WIN32
const NativeHandle kNoHandle = INVALID_HANDLE_VALUE; // a cast, so not constexpr

// The errno value that describes the thread's last Windows error.
int lastError() {
    switch (::GetLastError()) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_WRITE_PROTECT:
        return EACCES;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    default:
        return EIO;
    }
}

NativeHandle createNew(const Folder& folder, const std::filesystem::path& name) {
    const NativeHandle file =
        ::CreateFileW((folder.path() / name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == kNoHandle) {
        errno = lastError(); // as open() sets it: EEXIST sends create() to write aside
    }
    return file;
}

// The entry already at name: a folder, a read-only file, or something that may be replaced.
int blockerOf(const Folder& folder, const std::filesystem::path& name) {
    const DWORD attributes = ::GetFileAttributesW((folder.path() / name).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return 0;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return EISDIR;
    }
    return (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? EACCES : 0;
}

bool writeAll(NativeHandle file, const char* data, std::size_t size) {
    while (size > 0) {
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1U << 30));
        DWORD written = 0;
        if (!::WriteFile(file, data, chunk, &written, nullptr)) {
            errno = lastError();
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

bool closeFile(NativeHandle file) {
    if (!::CloseHandle(file)) {
        errno = lastError();
        return false;
    }
    return true;
}

bool renameOver(const Folder& folder, const std::filesystem::path& from,
                const std::filesystem::path& to) {
    if (!::MoveFileExW((folder.path() / from).c_str(), (folder.path() / to).c_str(),
                       MOVEFILE_REPLACE_EXISTING)) {
        errno = lastError();
        return false;
    }
    return true;
}

void removeFile(const Folder& folder, const std::filesystem::path& name) {
    ::DeleteFileW((folder.path() / name).c_str());
}

void takePermissions(const Folder&, const std::filesystem::path&, NativeHandle) {}

std::string processNumber() { return std::to_string(::GetCurrentProcessId()); }
#else
constexpr NativeHandle kNoHandle = -1;

NativeHandle createNew(const Folder& folder, const std::filesystem::path& name) {
    return ::openat(folder.handle(), name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}

int blockerOf(const Folder& folder, const std::filesystem::path& name) {
    struct stat status {};
    if (::fstatat(folder.handle(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
        return 0;
    }
    if (S_ISDIR(status.st_mode)) {
        return EISDIR;
    }
    // The permission bits, not access(): root may write anything, but a read-only file says
    // that its owner wants it kept.
    return S_ISREG(status.st_mode) && (status.st_mode & 0222) == 0 ? EACCES : 0;
}

// A replacement keeps the permissions of the file it replaces (a link's own do not count).
void takePermissions(const Folder& folder, const std::filesystem::path& name, NativeHandle file) {
    struct stat status {};
    if (::fstatat(folder.handle(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(status.st_mode)) {
        ::fchmod(file, status.st_mode & 07777);
    }
}

bool writeAll(NativeHandle file, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(file, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool closeFile(NativeHandle file) { return ::close(file) == 0; }

bool renameOver(const Folder& folder, const std::filesystem::path& from,
                const std::filesystem::path& to) {
    return ::renameat(folder.handle(), from.c_str(), folder.handle(), to.c_str()) == 0;
}

void removeFile(const Folder& folder, const std::filesystem::path& name) {
    ::unlinkat(folder.handle(), name.c_str(), 0);
}

std::string processNumber() { return std::to_string(::getpid()); }
#endif

} // namespace

void setFaultHook(FaultHook hook) { faultHook() = std::move(hook); }

int injectedFault(FileOperation operation, const std::filesystem::path& path) {
    const FaultHook& hook = faultHook();
    return hook ? hook(operation, path) : 0;
}

void FileCloser::operator()(std::FILE* file) const noexcept { std::fclose(file); }

IoError ioErrorFromErrno(int err, std::string_view action, const std::filesystem::path& path) {
    ErrorNumber number = ErrorNumber::DeviceIoError;
    switch (err) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        number = ErrorNumber::DiskFull;
        break;
    case ENOENT:
    case ENOTDIR:
        number = ErrorNumber::PathNotFound;
        break;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EEXIST:
        number = ErrorNumber::PathFileAccessError;
        break;
    default:
        break;
    }
    std::string description = std::generic_category().message(err);
    description += " (";
    description += action;
    description += ' ';
    description += textFromPath(path);
    description += ')';
    return IoError{.number = number, .description = std::move(description)};
}

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

std::optional<Folder> Folder::open(const std::filesystem::path& path, IoError& error) {
    const std::filesystem::path where = path.empty() ? std::filesystem::path(".") : path;
#ifdef _WIN32
    // Without delete sharing, the folder cannot be renamed or removed while the run holds it.
    const NativeHandle handle =
        ::CreateFileW(where.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == kNoHandle) {
        error = ioErrorFromErrno(lastError(), "opening the folder", where);
        return std::nullopt;
    }
#else
    const NativeHandle handle = ::open(where.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle == kNoHandle) {
        error = ioErrorFromErrno(errnoOr(EIO), "opening the folder", where);
        return std::nullopt;
    }
#endif
    return Folder(where, handle);
}

Folder::Folder(std::filesystem::path path, NativeHandle handle)
    : m_path(std::move(path)), m_handle(handle) {}

Folder::Folder(Folder&& other) noexcept
    : m_path(std::move(other.m_path)), m_handle(std::exchange(other.m_handle, kNoHandle)) {}

Folder& Folder::operator=(Folder&& other) noexcept {
    std::swap(m_path, other.m_path);
    std::swap(m_handle, other.m_handle);
    return *this;
}

Folder::~Folder() {
    if (m_handle != kNoHandle) {
        closeFile(m_handle);
    }
}

std::optional<TextWriter> TextWriter::create(const Folder& folder,
                                             const std::filesystem::path& name, IoError& error) {
    const std::filesystem::path path = folder.path() / name;
    if (const int fault = injectedFault(FileOperation::Create, path)) {
        error = ioErrorFromErrno(fault, "creating", path);
        return std::nullopt;
    }
    errno = 0;
    NativeHandle file = createNew(folder, name);
    if (file != kNoHandle) {
        return TextWriter(folder, name, {}, file);
    }
    if (errno != EEXIST) {
        error = ioErrorFromErrno(errnoOr(EIO), "creating", path);
        return std::nullopt;
    }
    if (const int blocker = blockerOf(folder, name)) {
        error = ioErrorFromErrno(blocker, "replacing", path);
        return std::nullopt;
    }
    // Written aside beside it, so that the rename that replaces it stays in one file system.
    const std::string prefix = "." + textFromPath(name) + ".brennic-" + processNumber() + "-";
    for (int attempt = 1; attempt <= 100; ++attempt) {
        std::filesystem::path aside = pathFromText(prefix + std::to_string(attempt));
        errno = 0;
        file = createNew(folder, aside);
        if (file != kNoHandle) {
            takePermissions(folder, name, file);
            return TextWriter(folder, name, std::move(aside), file);
        }
        if (errno != EEXIST) {
            break;
        }
    }
    error = ioErrorFromErrno(errnoOr(EEXIST), "creating a file beside", path);
    return std::nullopt;
}

TextWriter::TextWriter(const Folder& folder, std::filesystem::path name,
                       std::filesystem::path aside, NativeHandle file)
    : m_folder(&folder), m_name(std::move(name)), m_aside(std::move(aside)), m_file(file),
      m_buffer(std::make_unique_for_overwrite<char[]>(kWriteBufferSize)) {}

TextWriter::TextWriter(TextWriter&& other) noexcept
    : m_folder(other.m_folder), m_name(std::move(other.m_name)), m_aside(std::move(other.m_aside)),
      m_file(std::exchange(other.m_file, kNoHandle)), m_buffer(std::move(other.m_buffer)),
      m_used(other.m_used), m_errno(other.m_errno) {}

TextWriter::~TextWriter() {
    if (m_file == kNoHandle) {
        return;
    }
    if (m_aside.empty()) {
        flush(); // a script cut short keeps everything written so far
    }
    closeFile(m_file);
    if (!m_aside.empty()) {
        removeFile(*m_folder, m_aside);
    }
}

bool TextWriter::writeLine(std::initializer_list<std::string_view> pieces) {
    if (m_errno != 0) { // a writer that failed writes nothing more
        return false;
    }
    std::size_t size = 2;
    for (const std::string_view piece : pieces) {
        size += piece.size();
    }
    if (size > kWriteBufferSize - m_used) {
        // A line that does not fit what is left of the buffer goes the long way.
        for (const std::string_view piece : pieces) {
            if (!append(piece.data(), piece.size())) {
                return false;
            }
        }
        return append("\r\n", 2);
    }
    char* out = m_buffer.get() + m_used;
    for (const std::string_view piece : pieces) {
        out = std::copy(piece.begin(), piece.end(), out);
    }
    *out++ = '\r';
    *out++ = '\n';
    m_used += size;
    return true;
}

bool TextWriter::write(std::string_view bytes) { return append(bytes.data(), bytes.size()); }

bool TextWriter::append(const char* data, std::size_t size) {
    if (m_errno != 0) {
        return false;
    }
    if (size > kWriteBufferSize - m_used) {
        if (!flush()) {
            return false;
        }
        if (size > kWriteBufferSize) {
            return writeOut(data, size);
        }
    }
    if (size != 0) { // an empty piece may have no data pointer at all
        std::memcpy(m_buffer.get() + m_used, data, size);
        m_used += size;
    }
    return true;
}

bool TextWriter::writeOut(const char* data, std::size_t size) {
    if (const int fault = injectedFault(FileOperation::Write, m_folder->path() / m_name)) {
        m_errno = fault;
        return false;
    }
    errno = 0;
    if (!writeAll(m_file, data, size)) {
        m_errno = errnoOr(EIO);
        return false;
    }
    return true;
}

bool TextWriter::flush() {
    const bool written = m_errno == 0 && (m_used == 0 || writeOut(m_buffer.get(), m_used));
    m_used = 0;
    return written;
}

std::optional<IoError> TextWriter::failure() const {
    if (m_errno == 0) {
        return std::nullopt;
    }
    return ioErrorFromErrno(m_errno, "writing", m_folder->path() / m_name);
}

std::optional<IoError> TextWriter::close() {
    if (m_file == kNoHandle) {
        return std::nullopt;
    }
    const std::filesystem::path path = m_folder->path() / m_name;
    flush();
    errno = 0;
    if (!closeFile(std::exchange(m_file, kNoHandle)) && m_errno == 0) {
        m_errno = errnoOr(EIO);
    }
    if (const int fault = injectedFault(FileOperation::Close, path); fault != 0 && m_errno == 0) {
        m_errno = fault;
    }
    if (m_errno == 0 && !m_aside.empty()) {
        errno = 0;
        if (const int fault = injectedFault(FileOperation::Replace, path)) {
            m_errno = fault;
        } else if (!renameOver(*m_folder, m_aside, m_name)) {
            m_errno = errnoOr(EIO);
        }
    }
    if (m_errno == 0) {
        return std::nullopt;
    }
    if (!m_aside.empty()) {
        removeFile(*m_folder, m_aside);
    }
    return ioErrorFromErrno(m_errno, "writing", path);
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
        error = IoError{.number = ErrorNumber::OutOfMemory,
                        .description = "File too large: " + textFromPath(path) +
                                       " holds more than " + std::to_string(maxSize) + " bytes"};
        return std::nullopt;
    }
    return data;
}

} // namespace brennic::platform
