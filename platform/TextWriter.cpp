#include "platform/TextWriter.h"

#include "platform/FaultInjection.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <string>
#include <system_error>
#include <utility>

namespace brennic::platform {

namespace {

constexpr std::size_t kWriteBufferSize = 1 << 16;
// Marks the names of files written aside; a name that holds it after a dot is one of them.
constexpr std::string_view kAsideMark = ".brennic-partial-";
// As many links as the system itself follows before it gives up.
constexpr int kMaxLinks = 40;

// Where the symbolic link at path leads, link by link: the entry that is no link, or that no
// longer exists. path itself when it is no link.
std::filesystem::path linkTarget(std::filesystem::path path) {
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(path, ec))) {
            break;
        }
        const std::filesystem::path target = std::filesystem::read_symlink(path, ec);
        if (ec) {
            break;
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return path;
}

} // namespace

std::optional<Folder> Folder::open(const std::filesystem::path& path, IoError& error) {
    const std::filesystem::path where = path.empty() ? std::filesystem::path(".") : path;
    NativeHandle handle = native::kNoHandle;
    int err = injectedFault(FileOperation::OpenFolder, where);
    if (err == 0) {
        err = native::openFolder(where, handle);
    }
    if (err != 0) {
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

void Folder::removeAbandoned() const {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(m_path, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::filesystem::path name = it->path().filename();
        const std::string text = textFromPath(name);
        if (text.starts_with('.') && text.find(kAsideMark) != std::string::npos) {
            native::removeIfAbandoned(*this, name);
        }
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
        return TextWriter(&folder, name, {}, file);
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
    return createAside(folder, name, error);
}

std::optional<TextWriter> TextWriter::replace(const std::filesystem::path& path,
                                              SpecialFiles specials, IoError& error) {
    if (!path.has_filename()) {
        error = ioErrorFromErrno(EISDIR, "replacing", path);
        return std::nullopt;
    }
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (ec && status.type() != std::filesystem::file_type::not_found) {
        error = ioErrorFromErrno(ec.value(), "opening", path);
        return std::nullopt;
    }
    const bool fifo = std::filesystem::is_fifo(status);
    const bool device =
        std::filesystem::is_character_file(status) || native::isReservedDevice(path);
    if (specials == SpecialFiles::WriteInto &&
        (fifo || device ||
         (std::filesystem::is_regular_file(status) && native::isStandardStream(path)))) {
        NativeHandle file = native::kNoHandle;
        int err = injectedFault(FileOperation::Create, path);
        if (err == 0) {
            err = native::openExisting(path, file);
        }
        if (err == ENXIO && fifo) {
            error = IoError{.kind = IoErrorKind::Other,
                            .description =
                                "Nothing reads from the FIFO (opening " + textFromPath(path) + ")"};
            return std::nullopt;
        }
        if (err != 0) {
            error = ioErrorFromErrno(err, "opening", path);
            return std::nullopt;
        }
        return TextWriter(nullptr, path, {}, file);
    }
    if (device || (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))) {
        error = ioErrorFromErrno(std::filesystem::is_directory(status) ? EISDIR : kNotARegularFile,
                                 "replacing", path);
        return std::nullopt;
    }
    const std::filesystem::path target = linkTarget(path);
    std::optional<Folder> folder = Folder::open(target.parent_path(), error);
    if (!folder) {
        return std::nullopt;
    }
    auto own = std::make_unique<Folder>(std::move(*folder));
    own->removeAbandoned();
    const std::filesystem::path name = target.filename();
    if (const int fault = injectedFault(FileOperation::Create, own->path() / name)) {
        error = ioErrorFromErrno(fault, "creating", own->path() / name);
        return std::nullopt;
    }
    if (const int blocker = native::replaceBlocker(*own, name)) {
        error = ioErrorFromErrno(blocker, "replacing", own->path() / name);
        return std::nullopt;
    }
    std::optional<TextWriter> writer = createAside(*own, name, error);
    if (writer) {
        writer->m_ownFolder = std::move(own); // where m_folder points already
    }
    return writer;
}

// Written aside beside it, so that the rename that replaces it stays in one file system.
std::optional<TextWriter>
TextWriter::createAside(const Folder& folder, const std::filesystem::path& name, IoError& error) {
    const std::string prefix =
        "." + textFromPath(name) + std::string(kAsideMark) + native::processNumber() + "-";
    int err = EEXIST;
    for (int attempt = 1; attempt <= 100 && (err == EEXIST || err == ENOENT); ++attempt) {
        std::filesystem::path aside = pathFromText(prefix + std::to_string(attempt));
        NativeHandle file = native::kNoHandle;
        err = native::createNew(folder, aside, file);
        if (err != 0) {
            continue;
        }
        err = native::holdAside(file);
        if (err == 0) {
            native::takePermissions(folder, name, file);
            return TextWriter(&folder, name, std::move(aside), file);
        }
        native::closeFile(file);
        if (err != ENOENT) { // ENOENT: another writer's sweep took it before it was held
            native::removeFile(folder, aside);
        }
    }
    error = ioErrorFromErrno(err, "creating a file beside", folder.path() / name);
    return std::nullopt;
}

TextWriter::TextWriter(const Folder* folder, std::filesystem::path name,
                       std::filesystem::path aside, NativeHandle file)
    : m_folder(folder), m_name(std::move(name)), m_aside(std::move(aside)), m_file(file),
      m_buffer(std::make_unique_for_overwrite<char[]>(kWriteBufferSize)) {}

TextWriter::TextWriter(TextWriter&& other) noexcept
    : m_ownFolder(std::move(other.m_ownFolder)), m_folder(other.m_folder),
      m_name(std::move(other.m_name)), m_aside(std::move(other.m_aside)),
      m_file(std::exchange(other.m_file, native::kNoHandle)), m_buffer(std::move(other.m_buffer)),
      m_used(other.m_used), m_errno(other.m_errno) {}

TextWriter::~TextWriter() { discard(); }

std::filesystem::path TextWriter::path() const {
    return m_folder != nullptr ? m_folder->path() / m_name : m_name;
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
    if (const int fault = injectedFault(FileOperation::Write, path())) {
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
    return ioErrorFromErrno(m_errno, "writing", path());
}

std::optional<IoError> TextWriter::close() {
    if (m_file == native::kNoHandle) {
        return std::nullopt;
    }
    flush();
    const NativeHandle file = std::exchange(m_file, native::kNoHandle);
    const auto fail = [this](int err) {
        if (m_errno == 0) {
            m_errno = err;
        }
    };
    if (m_aside.empty()) {
        fail(native::closeFile(file));
        fail(injectedFault(FileOperation::Close, path()));
    } else {
        // On the disk before it takes the name: after a power loss the name holds either the
        // earlier file or the whole new one, never an empty one.
        fail(injectedFault(FileOperation::Sync, path()));
        if (m_errno == 0) {
            fail(native::syncFile(file));
        }
        fail(injectedFault(FileOperation::Close, path()));
        fail(injectedFault(FileOperation::Replace, path()));
        if (m_errno == 0) {
            fail(native::closeAndRenameOver(*m_folder, file, m_aside, m_name));
        } else {
            native::closeFile(file);
        }
        if (m_errno == 0) {
            m_aside.clear(); // the file now stands under its own name
            fail(native::syncFolder(*m_folder));
        }
    }
    if (m_errno == 0) {
        return std::nullopt;
    }
    IoError error = ioErrorFromErrno(m_errno, "writing", path());
    if (!m_aside.empty()) {
        if (const auto left = removeAside()) {
            error.description += "; " + left->description;
        }
    }
    return error;
}

std::optional<IoError> TextWriter::discard() {
    if (m_file == native::kNoHandle) {
        return std::nullopt;
    }
    if (m_aside.empty()) {
        flush(); // a script cut short keeps everything written so far
        native::closeFile(std::exchange(m_file, native::kNoHandle));
        return std::nullopt;
    }
    native::closeFile(std::exchange(m_file, native::kNoHandle));
    return removeAside();
}

std::optional<IoError> TextWriter::removeAside() {
    const std::filesystem::path aside = m_folder->path() / m_aside;
    int err = injectedFault(FileOperation::Remove, aside);
    if (err == 0) {
        err = native::removeFile(*m_folder, m_aside);
    }
    if (err == 0 || err == ENOENT) {
        return std::nullopt;
    }
    return ioErrorFromErrno(err, "removing the unfinished", aside);
}

} // namespace brennic::platform
