#pragma once

#include "platform/IoError.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace brennic::platform {

// A private profile (INI) file read and written the way the Windows profile functions treat it:
// section and key names ignore letter case, keys and values lose surrounding blanks and tabs, a
// value in matching double or single quotes loses them, lines starting with ";" are comments, the
// first occurrence of a key wins, and a value ends at its first NUL byte.
class ProfileFile {
  public:
    ProfileFile();
    ProfileFile(ProfileFile&&) noexcept;
    ProfileFile& operator=(ProfileFile&&) noexcept;
    ~ProfileFile();

    // A missing or non-regular file reads as an empty profile, as does one that cannot be read;
    // then error (when given) receives the reason.
    static ProfileFile load(const std::filesystem::path& path, IoError* error = nullptr);

    // nullopt when the section or key is missing.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;

    // Replaces the key's value in place, or appends the key at the end of its section.
    void setValue(std::string_view section, std::string_view key, std::string_view value);

    // Writes the whole profile to path through a temporary file beside it and a rename, so an
    // interrupted save leaves either the old or the new file. A read-only file is left as it is.
    // False when nothing was written.
    bool save(const std::filesystem::path& path) const;

  private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace brennic::platform
