#pragma once

#include <streambuf>
#include <string>
#include <string_view>
#include <vector>
#include <windows.h>

namespace brennic::cli {

// What brennic-cli.exe needs of Windows to behave as its users expect of a command-line program.

// The arguments, the program's name first, read from Windows' command line as the C run time
// splits it, in UTF-8, with two habits of Windows users taken in: a quoted folder that ends in a
// backslash ("C:\GTA Stuff\gtadata\", as shells complete it) is that folder, not a backslash
// escaping the quote; and /? or -? asks for the help.
std::vector<std::string> argumentsOf(std::wstring_view commandLine);

// Standard output or error as Windows programs write them: every line ended by CR LF. A console
// is written in UTF-16 (WriteConsoleW) with the text as platform::shownText shows it, a line at
// a time; a file or pipe gets the bytes unchanged.
class StandardStream final : public std::streambuf {
  public:
    explicit StandardStream(DWORD standardHandle);
    StandardStream(const StandardStream&) = delete;
    StandardStream& operator=(const StandardStream&) = delete;
    ~StandardStream() override;

  protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* data, std::streamsize size) override;
    int sync() override;

  private:
    void append(std::string_view bytes);
    // Writes what is held; on a console only its complete lines unless all is set.
    bool writeOut(bool all);

    HANDLE m_handle;
    bool m_console = false;
    std::string m_held;
    bool m_afterCr = false;
    bool m_failed = false;
};

} // namespace brennic::cli
