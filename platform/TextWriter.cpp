#include "platform/TextWriter.h"

#include "platform/FaultInjection.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <string>
#include <utility>

namespace brennic::platform {

namespace {

constexpr std::size_t kWriteBufferSize = 1 << 16;

} // namespace

std::optional<Folder> Folder::open(const std::filesystem::path& path, IoError& error) {
    const std::filesystem::path where = path.empty() ? std::filesystem::path(".") : path;
    NativeHandle handle = native::kNoHandle;
    if (const int err = native::openFolder(where, handle)) {
        error = ioErrorFromErrno(err, "opening the folder", where);
        return std::nullopt;
    }
    return Folder(where, handle);
}

Folder::Folder(std::filesystem::path path, NativeHandle handle)
    : m_path(std::move(path)), m_handle(handle) {}

Folder::Folder(Folder&& other) noexcept
    : m_path(std::move(other.m_path)), m_handle(std::exchange(other.m_handle, native::kNoHandle)) {}

Folder& Folder::operator=(Folder&& other) noexcept {
    std::swap(m_path, other.m_path);
    std::swap(m_handle, other.m_handle);
    return *this;
}

Folder::~Folder() {
    if (m_handle != native::kNoHandle) {
        native::closeFile(m_handle);
    }
}

std::optional<TextWriter> TextWriter::create(const Folder& folder,
                                             const std::filesystem::path& name, IoError& error) {
    const std::filesystem::path path = folder.path() / name;
    if (const int fault = injectedFault(FileOperation::Create, path)) {
        error = ioErrorFromErrno(fault, "creating", path);
        return std::nullopt;
    }
    NativeHandle file = native::kNoHandle;
    const int err = native::createNew(folder, name, file);
    if (err == 0) {
        return TextWriter(folder, name, {}, file);
    }
    if (err != EEXIST) {
        error = ioErrorFromErrno(err, "creating", path);
        return std::nullopt;
    }
    if (const int blocker = native::replaceBlocker(folder, name)) {
        error = blocker == EACCES ? readOnlyFileError("replacing", path)
                                  : ioErrorFromErrno(blocker, "replacing", path);
        return std::nullopt;
    }
    // Written aside beside it, so that the rename that replaces it stays in one file system.
    const std::string prefix =
        "." + textFromPath(name) + ".brennic-" + native::processNumber() + "-";
    int asideErr = EEXIST;
    for (int attempt = 1; attempt <= 100 && asideErr == EEXIST; ++attempt) {
        std::filesystem::path aside = pathFromText(prefix + std::to_string(attempt));
        asideErr = native::createNew(folder, aside, file);
        if (asideErr == 0) {
            native::takePermissions(folder, name, file);
            return TextWriter(folder, name, std::move(aside), file);
        }
    }
    error = ioErrorFromErrno(asideErr, "creating a file beside", path);
    return std::nullopt;
}

TextWriter::TextWriter(const Folder& folder, std::filesystem::path name,
                       std::filesystem::path aside, NativeHandle file)
    : m_folder(&folder), m_name(std::move(name)), m_aside(std::move(aside)), m_file(file),
      m_buffer(std::make_unique_for_overwrite<char[]>(kWriteBufferSize)) {}

TextWriter::TextWriter(TextWriter&& other) noexcept
    : m_folder(other.m_folder), m_name(std::move(other.m_name)), m_aside(std::move(other.m_aside)),
      m_file(std::exchange(other.m_file, native::kNoHandle)), m_buffer(std::move(other.m_buffer)),
      m_used(other.m_used), m_errno(other.m_errno) {}

TextWriter::~TextWriter() {
    if (m_file == native::kNoHandle) {
        return;
    }
    if (m_aside.empty()) {
        flush(); // a script cut short keeps everything written so far
    }
    native::closeFile(m_file);
    if (!m_aside.empty()) {
        native::removeFile(*m_folder, m_aside);
    }
}

bool TextWriter::writeLine(std::initializer_list<std::string_view> pieces) {
    for (const std::string_view piece : pieces) {
        if (!write(piece)) {
            return false;
        }
    }
    return write("\r\n");
}

bool TextWriter::write(std::string_view bytes) {
    if (m_errno != 0) { // a writer that failed writes nothing more
        return false;
    }
    if (bytes.size() > kWriteBufferSize - m_used) {
        if (!flush()) {
            return false;
        }
        if (bytes.size() > kWriteBufferSize) {
            return writeOut(bytes.data(), bytes.size());
        }
    }
    std::copy(bytes.begin(), bytes.end(), m_buffer.get() + m_used);
    m_used += bytes.size();
    return true;
}

bool TextWriter::writeOut(const char* data, std::size_t size) {
    if (const int fault = injectedFault(FileOperation::Write, m_folder->path() / m_name)) {
        m_errno = fault;
        return false;
    }
    if (const int err = native::writeAll(m_file, data, size)) {
        m_errno = err;
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
    if (m_file == native::kNoHandle) {
        return std::nullopt;
    }
    const std::filesystem::path path = m_folder->path() / m_name;
    flush();
    if (const int err = native::closeFile(std::exchange(m_file, native::kNoHandle));
        err != 0 && m_errno == 0) {
        m_errno = err;
    }
    if (const int fault = injectedFault(FileOperation::Close, path); fault != 0 && m_errno == 0) {
        m_errno = fault;
    }
    if (m_errno == 0 && !m_aside.empty()) {
        if (const int fault = injectedFault(FileOperation::Replace, path)) {
            m_errno = fault;
        } else {
            m_errno = native::renameOver(*m_folder, m_aside, m_name);
        }
    }
    if (m_errno == 0) {
        return std::nullopt;
    }
    if (!m_aside.empty()) {
        native::removeFile(*m_folder, m_aside);
    }
    return ioErrorFromErrno(m_errno, "writing", path);
}

} // namespace brennic::platform
