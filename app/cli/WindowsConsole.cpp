#include "app/cli/WindowsConsole.h"

#include "platform/WideText.h"

#include <algorithm>
#include <utility>

namespace brennic::cli {

namespace {

bool isBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// The program's name ends at the first blank, or is in quotes; backslashes are never escapes in
// it. The rest is read by the C run time's rules: 2n backslashes before a quote are n backslashes
// and the quote opens or closes a quoted part, 2n + 1 are n and a quote; other backslashes stand.
std::vector<std::wstring> splitCommandLine(std::wstring_view line) {
    std::vector<std::wstring> words;
    std::size_t at = 0;
    if (!line.empty() && line.front() == L'"') {
        const std::size_t close = line.find(L'"', 1);
        words.emplace_back(line.substr(1, close - 1));
        at = close == std::wstring_view::npos ? line.size() : close + 1;
    } else {
        while (at < line.size() && !isBlank(line[at])) {
            ++at;
        }
        words.emplace_back(line.substr(0, at));
    }
    std::wstring word;
    bool inWord = false;
    bool quoted = false;
    while (at < line.size()) {
        const wchar_t c = line[at];
        if (isBlank(c) && !quoted) {
            if (inWord) {
                words.push_back(std::exchange(word, {}));
            }
            inWord = false;
            ++at;
            continue;
        }
        inWord = true;
        if (c == L'\\') {
            std::size_t end = at;
            while (end < line.size() && line[end] == L'\\') {
                ++end;
            }
            const std::size_t count = end - at;
            if (end == line.size() || line[end] != L'"') {
                word.append(count, L'\\');
            } else if (count % 2 == 1 && quoted &&
                       (end + 1 == line.size() || isBlank(line[end + 1]))) {
                // "C:\GTA Stuff\gtadata\" ends the word: no name holds a quote, so this is a
                // folder's own backslash and the closing quote.
                word.append(count, L'\\');
                quoted = false;
                ++end;
            } else {
                word.append(count / 2, L'\\');
                if (count % 2 == 1) {
                    word += L'"';
                } else {
                    quoted = !quoted;
                }
                ++end;
            }
            at = end;
            continue;
        }
        if (c == L'"') {
            quoted = !quoted;
        } else {
            word += c;
        }
        ++at;
    }
    if (inWord) {
        words.push_back(std::move(word));
    }
    return words;
}

} // namespace

std::vector<std::string> argumentsOf(std::wstring_view commandLine) {
    std::vector<std::string> arguments;
    for (const std::wstring& word : splitCommandLine(commandLine)) {
        const bool help = !arguments.empty() && (word == L"/?" || word == L"-?");
        arguments.push_back(help ? "--help" : platform::utf8FromWide(word));
    }
    return arguments;
}

StandardStream::StandardStream(DWORD standardHandle) : m_handle(::GetStdHandle(standardHandle)) {
    DWORD mode = 0;
    m_console = ::GetConsoleMode(m_handle, &mode) != 0;
}

StandardStream::~StandardStream() { writeOut(true); }

void StandardStream::append(std::string_view bytes) {
    for (const char c : bytes) {
        if (c == '\n' && !m_afterCr) {
            m_held += '\r';
        }
        m_held += c;
        m_afterCr = c == '\r';
    }
}

StandardStream::int_type StandardStream::overflow(int_type c) {
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        const char byte = traits_type::to_char_type(c);
        append(std::string_view(&byte, 1));
    }
    return m_failed ? traits_type::eof() : traits_type::not_eof(c);
}

std::streamsize StandardStream::xsputn(const char* data, std::streamsize size) {
    append(std::string_view(data, static_cast<std::size_t>(size)));
    if (m_held.size() >= (1U << 16) && !writeOut(false)) {
        return 0;
    }
    return size;
}

int StandardStream::sync() { return writeOut(false) ? 0 : -1; }

bool StandardStream::writeOut(bool all) {
    if (m_failed) {
        return false;
    }
    // A console gets whole lines, so that no character is split between two writes.
    const std::size_t end = all || !m_console ? m_held.size() : m_held.rfind('\n') + 1;
    if (end == 0 || m_handle == nullptr || m_handle == INVALID_HANDLE_VALUE) {
        m_held.erase(0, end);
        return true;
    }
    bool written = true;
    if (m_console) {
        const std::wstring text = platform::shownText(std::string_view(m_held).substr(0, end));
        for (std::size_t at = 0; written && at < text.size();) {
            DWORD done = 0;
            const auto chunk = static_cast<DWORD>(std::min<std::size_t>(text.size() - at, 8192));
            written =
                ::WriteConsoleW(m_handle, text.data() + at, chunk, &done, nullptr) != 0 && done > 0;
            at += done;
        }
    } else {
        for (std::size_t at = 0; written && at < end;) {
            DWORD done = 0;
            written = ::WriteFile(m_handle, m_held.data() + at, static_cast<DWORD>(end - at), &done,
                                  nullptr) != 0 &&
                      done > 0;
            at += done;
        }
    }
    m_held.erase(0, end);
    m_failed = !written;
    return written;
}

} // namespace brennic::cli
