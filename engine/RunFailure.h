#pragma once

#include <exception>
#include <string>

namespace brennic::engine {

// Error numbers as the classic BASIC run time numbered them; the failure report shows them.
enum class ErrorNumber : int {
    Overflow = 6,
    SubscriptOutOfRange = 9,
    TypeMismatch = 13,
    BadFileNameOrNumber = 52,
    InputPastEndOfFile = 62,
};

// The one exception of the engine: raised by its checked helpers, caught only by ConversionRun,
// which ends the run and hands the three report values to the front end.
class RunFailure : public std::exception {
  public:
    RunFailure(std::string source, std::string description, int number)
        : m_source(std::move(source)), m_description(std::move(description)), m_number(number) {}
    RunFailure(std::string source, std::string description, ErrorNumber number)
        : RunFailure(std::move(source), std::move(description), static_cast<int>(number)) {}

    const std::string& source() const { return m_source; }
    const std::string& description() const { return m_description; }
    int number() const { return m_number; }
    const char* what() const noexcept override { return m_description.c_str(); }

  private:
    std::string m_source;
    std::string m_description;
    int m_number;
};

} // namespace brennic::engine
