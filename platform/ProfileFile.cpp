#include "platform/ProfileFile.h"

#include "platform/FaultInjection.h"
#include "platform/FileSystem.h"

// Bytes pass through unchanged: profile files are 8-bit text in the system code page.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION // the packaged header keeps its template bodies behind this
#include <SimpleIni.h>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <list>
#include <system_error>

namespace brennic::platform {

struct ProfileFile::Impl {
    CSimpleIniA ini{false, true, false};
};

namespace {

// SimpleIni stops at the first NUL of its input; dropping the rest of that line instead keeps every
// later line readable and cuts the value at the NUL, as the Windows functions do.
std::string withoutNulTails(std::string data) {
    std::string clean;
    clean.reserve(data.size());
    bool skipping = false;
    for (const char c : data) {
        if (c == '\r' || c == '\n') {
            skipping = false;
        } else if (c == '\0') {
            skipping = true;
        }
        if (!skipping) {
            clean += c;
        }
    }
    return clean;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

} // namespace

ProfileFile::ProfileFile() : m_impl(std::make_unique<Impl>()) { m_impl->ini.SetSpaces(false); }
ProfileFile::ProfileFile(ProfileFile&&) noexcept = default;
ProfileFile& ProfileFile::operator=(ProfileFile&&) noexcept = default;
ProfileFile::~ProfileFile() = default;

ProfileFile ProfileFile::load(const std::filesystem::path& path, IoError* error) {
    ProfileFile profile;
    if (!isFile(path)) {
        return profile;
    }
    errno = injectedFault(FileOperation::OpenForReading, path);
    std::ifstream in;
    if (errno == 0) {
        in.open(path, std::ios::binary);
    }
    if (!in.is_open()) {
        if (error != nullptr) {
            *error = ioErrorFromErrno(errno != 0 ? errno : EACCES, "opening", path);
        }
        return profile;
    }
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        if (error != nullptr) {
            *error = ioErrorFromErrno(errno != 0 ? errno : EIO, "reading", path);
        }
        return profile;
    }
    const std::string clean = withoutNulTails(std::move(data));
    profile.m_impl->ini.LoadData(clean.data(), clean.size());
    return profile;
}

std::optional<std::string> ProfileFile::value(std::string_view section,
                                              std::string_view key) const {
    CSimpleIniA::TNamesDepend values;
    const std::string sectionName(section);
    const std::string keyName(key);
    if (!m_impl->ini.GetAllValues(sectionName.c_str(), keyName.c_str(), values) || values.empty()) {
        return std::nullopt;
    }
    values.sort(CSimpleIniA::Entry::LoadOrder());
    std::string text = values.front().pItem;
    while (!text.empty() && isBlank(text.back())) {
        text.pop_back();
    }
    std::size_t first = 0;
    while (first < text.size() && isBlank(text[first])) {
        ++first;
    }
    text.erase(0, first);
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
        text.back() == text.front()) {
        text = text.substr(1, text.size() - 2);
    }
    return text;
}

void ProfileFile::setValue(std::string_view section, std::string_view key, std::string_view value) {
    const std::string sectionName(section);
    const std::string keyName(key);
    const std::string text(value);
    m_impl->ini.SetValue(sectionName.c_str(), keyName.c_str(), text.c_str(), nullptr, true);
}

bool ProfileFile::save(const std::filesystem::path& path) const {
    std::string data;
    if (m_impl->ini.Save(data) < 0) {
        return false;
    }
    // The rename would replace a read-only file, where the Windows functions fail; the owner's
    // write bit is tested rather than access(), which grants everything to root.
    std::error_code ec;
    const std::filesystem::file_status existing = std::filesystem::status(path, ec);
    const bool exists = !ec && std::filesystem::exists(existing);
    if (exists && (existing.permissions() & std::filesystem::perms::owner_write) ==
                      std::filesystem::perms::none) {
        return false;
    }
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    if (injectedFault(FileOperation::Create, temporary) != 0) {
        return false;
    }
    {
        std::FILE* file = std::fopen(temporary.string().c_str(), "wb");
        if (file == nullptr) {
            return false;
        }
        const bool written = injectedFault(FileOperation::Write, temporary) == 0 &&
                             std::fwrite(data.data(), 1, data.size(), file) == data.size();
        if (std::fclose(file) != 0 || !written) {
            std::filesystem::remove(temporary, ec);
            return false;
        }
    }
    if (exists) {
        std::filesystem::permissions(temporary, existing.permissions(), ec);
    }
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        std::filesystem::remove(temporary, ec);
        return false;
    }
    return true;
}

} // namespace brennic::platform
