#include "platform/WideText.h"

#include "platform/Utf8.h"

#include <windows.h>

namespace brennic::platform {

namespace {

std::wstring toWide(UINT codePage, std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const auto size = static_cast<int>(text.size());
    std::wstring wide(
        static_cast<std::size_t>(::MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0)),
        L'\0');
    ::MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(),
                          static_cast<int>(wide.size()));
    return wide;
}

} // namespace

std::wstring wideFromUtf8(std::string_view text) { return toWide(CP_UTF8, text); }

std::string utf8FromWide(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const auto size = static_cast<int>(text.size());
    std::string utf8(static_cast<std::size_t>(::WideCharToMultiByte(CP_UTF8, 0, text.data(), size,
                                                                    nullptr, 0, nullptr, nullptr)),
                     '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(), static_cast<int>(utf8.size()),
                          nullptr, nullptr);
    return utf8;
}

std::wstring wideFromCodePage(std::string_view text) { return toWide(CP_ACP, text); }

std::optional<std::string> codePageFromWide(std::wstring_view text) {
    if (text.empty()) {
        return std::string();
    }
    // No best fit: Ł must not turn into L.
    const auto size = static_cast<int>(text.size());
    BOOL lost = FALSE;
    std::string bytes(
        static_cast<std::size_t>(::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(),
                                                       size, nullptr, 0, nullptr, &lost)),
        '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, bytes.data(),
                          static_cast<int>(bytes.size()), nullptr, &lost);
    // A text that does not come back the same (a lone surrogate, say) is not held either.
    if (lost || wideFromCodePage(bytes) != text) {
        return std::nullopt;
    }
    return bytes;
}

std::wstring shownText(std::string_view text) {
    std::wstring shown;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = at;
        while (end < text.size() && utf8SequenceLength(text, end) != 0) {
            end += utf8SequenceLength(text, end);
        }
        shown += wideFromUtf8(text.substr(at, end - at));
        at = end;
        while (end < text.size() && utf8SequenceLength(text, end) == 0) {
            // A double-byte code page's character stays whole, even when its second byte is ASCII.
            const bool lead = ::IsDBCSLeadByte(static_cast<BYTE>(text[end])) != FALSE;
            end += lead && end + 1 < text.size() ? 2U : 1U;
        }
        shown += wideFromCodePage(text.substr(at, end - at));
        at = end;
    }
    return shown;
}

} // namespace brennic::platform
