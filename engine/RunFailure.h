#pragma once

#include "platform/IoError.h"

#include <exception>
#include <string>
#include <string_view>

namespace brennic::engine {

// Failure numbers as the classic BASIC run time numbered them: GTA1 tool users know them from
// message boxes, and every failure report of the program shows one.
enum class ErrorNumber : int {
    Overflow = 6,
    OutOfMemory = 7,
    SubscriptOutOfRange = 9,
    TypeMismatch = 13,
    UserInterrupt = 18,
    BadFileNameOrNumber = 52,
    FileNotFound = 53,
    DeviceIoError = 57,
    DiskFull = 61,
    PermissionDenied = 70, // what classic BASIC says of a file another program has locked
    InputPastEndOfFile = 62,
    PathFileAccessError = 75,
    PathNotFound = 76,
    InvalidPropertyValue = 380,
};

// The number a file-system failure of this kind shows.
constexpr ErrorNumber errorNumberOf(platform::IoErrorKind kind) {
    switch (kind) {
    case platform::IoErrorKind::NotFound:
        return ErrorNumber::PathNotFound;
    case platform::IoErrorKind::AccessDenied:
        return ErrorNumber::PathFileAccessError;
    case platform::IoErrorKind::InUse:
        return ErrorNumber::PermissionDenied;
    case platform::IoErrorKind::DiskFull:
        return ErrorNumber::DiskFull;
    case platform::IoErrorKind::TooLarge:
        return ErrorNumber::OutOfMemory;
    case platform::IoErrorKind::Other:
        break;
    }
    return ErrorNumber::DeviceIoError;
}

// The one exception of the engine: raised by its checked helpers, caught only by ConversionRun,
// which ends the run and hands the three report values to the front end.
class RunFailure : public std::exception {
  public:
    RunFailure(std::string source, std::string description, ErrorNumber number)
        : m_source(std::move(source)), m_description(std::move(description)),
          m_number(static_cast<int>(number)) {}
    RunFailure(std::string source, const platform::IoError& error)
        : RunFailure(std::move(source), error.description, errorNumberOf(error.kind)) {}

    const std::string& source() const { return m_source; }
    const std::string& description() const { return m_description; }
    int number() const { return m_number; }
    const char* what() const noexcept override { return m_description.c_str(); }

    // The failure with " (line N of FILE)" behind its description, once: the innermost reader
    // that knows the line says where.
    RunFailure at(std::size_t line, std::string_view file) const {
        RunFailure located = *this;
        if (!m_located && line > 0) {
            located.m_description +=
                " (line " + std::to_string(line) + " of " + std::string(file) + ")";
            located.m_located = true;
        }
        return located;
    }

    // The failure with more said behind its description.
    RunFailure followedBy(std::string_view more) const {
        RunFailure longer = *this;
        longer.m_description += more;
        return longer;
    }

  private:
    std::string m_source;
    std::string m_description;
    int m_number;
    bool m_located = false;
};

} // namespace brennic::engine
