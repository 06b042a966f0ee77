#include "ui/EngineText.h"

#include <gtest/gtest.h>

using brennic::ui::fromEngineText;
using brennic::ui::toEngineText;

TEST(EngineText, Utf8ReadsAsUnicode) {
    EXPECT_EQ(fromEngineText("C:\\GTA\\"), QStringLiteral("C:\\GTA\\"));
    EXPECT_EQ(fromEngineText("\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80"), QString::fromUtf8("é€😀"));
    EXPECT_EQ(toEngineText(QString::fromUtf8("é€😀")), "\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80");
}

TEST(EngineText, BytesThatAreNoUtf8ComeBackUnchanged) {
    const std::string cases[] = {
        "/gta/\xe9t\xe9/",  // Latin-1
        "\xc0\x80",         // an overlong NUL
        "\xed\xa0\x80",     // an encoded surrogate
        "\xf4\x90\x80\x80", // beyond U+10FFFF
        "\xe2\x82",         // cut short at the end
        "\xe2\x82x",        // cut short before another character
        std::string("a\0b", 3),
    };
    for (const std::string& bytes : cases) {
        SCOPED_TRACE(bytes);
        EXPECT_EQ(toEngineText(fromEngineText(bytes)), bytes);
    }
    EXPECT_EQ(fromEngineText("\xe9").size(), 1);
}
