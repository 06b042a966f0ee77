#include "ui/EngineText.h"

#include "platform/Utf8.h"

#include <QChar>
#include <cstddef>

namespace brennic::ui {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

void appendUtf8(std::string& out, char32_t code) {
    const auto put = [&out](unsigned value) { out += static_cast<char>(value); };
    if (code < 0x80) {
        put(code);
    } else if (code < 0x800) {
        put(0xC0 | (code >> 6));
        put(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        put(0xE0 | (code >> 12));
        put(0x80 | ((code >> 6) & 0x3F));
        put(0x80 | (code & 0x3F));
    } else {
        put(0xF0 | (code >> 18));
        put(0x80 | ((code >> 12) & 0x3F));
        put(0x80 | ((code >> 6) & 0x3F));
        put(0x80 | (code & 0x3F));
    }
}

} // namespace

QString fromEngineText(std::string_view text) {
    QString result;
    result.reserve(static_cast<qsizetype>(text.size()));
    // Well-formed runs are decoded whole; only the bytes between them are escaped one by one.
    std::size_t runStart = 0;
    std::size_t at = 0;
    const auto flushRun = [&] {
        result += QString::fromUtf8(text.data() + runStart, static_cast<qsizetype>(at - runStart));
    };
    while (at < text.size()) {
        if (const std::size_t length = platform::utf8SequenceLength(text, at)) {
            at += length;
            continue;
        }
        flushRun();
        result += QChar(static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(text[at])));
        runStart = ++at;
    }
    flushRun();
    return result;
}

std::string toEngineText(const QString& text) {
    std::string result;
    result.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            appendUtf8(result, QChar::surrogateToUcs4(unit, text[i + 1].unicode()));
            ++i;
        } else if (unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF) {
            result += static_cast<char>(unit - kEscapeBase);
        } else {
            appendUtf8(result, QChar::isSurrogate(unit) ? char32_t{0xFFFD} : char32_t{unit});
        }
    }
    return result;
}

} // namespace brennic::ui
