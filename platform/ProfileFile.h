#pragma once

#include "platform/IoError.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brennic::platform {

// A private profile (INI) file, read and written the way the Windows profile functions treat it.
// Section and key names ignore letter case. Only the first section of a name counts, and within
// it the first line of a key. A section line is "[" name "]" (blanks before "[" and after "]" are
// passed over); a key line is name "=" value, both trimmed of blanks, and a value in matching
// double or single quotes loses them. A line is read up to its first NUL byte. Every line but the
// key lines set is kept as it stands, bytes behind a NUL included, when the file is written back.
class ProfileFile {
  public:
    // The most a profile file may hold; anything larger is refused rather than read.
    static constexpr std::size_t kMaxSize = 1 << 20;

    // A missing file (or a folder) reads as an empty profile; nullopt when an existing file cannot
    // be read or is too large, and error says why.
    static std::optional<ProfileFile> read(const std::filesystem::path& path, IoError& error);

    bool hasSection(std::string_view section) const { return findSection(section).has_value(); }

    // nullopt when the section or key is missing, or the key's line has no "=".
    std::optional<std::string> value(std::string_view section, std::string_view key) const;

    // Replaces the key's value in place, or adds the key behind the last line of its section, or
    // the section at the end of the file.
    void setValue(std::string_view section, std::string_view key, std::string_view value);

    // Writes the profile, every line ended by CR LF, replacing the file only once it is complete;
    // a symbolic link stays a link to the file it replaces. A read-only file, a device or a FIFO
    // is left as it is. False when nothing was written.
    bool save(const std::filesystem::path& path) const;

  private:
    struct Span {
        std::size_t header = 0; // the section's own line
        std::size_t end = 0;    // one past its last line
    };
    std::optional<Span> findSection(std::string_view section) const;
    std::optional<std::size_t> findKey(const Span& span, std::string_view key) const;

    std::vector<std::string> m_lines;
};

} // namespace brennic::platform
