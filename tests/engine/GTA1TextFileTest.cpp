#include "engine/GTA1TextFile.h"

#include "tests/support/GTA1TextEncoder.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using namespace brennic::engine;
using brennic::platform::IoError;
using brennic::test::encodeGTA1;
using brennic::test::gta1Records;
using brennic::test::GTA1Variant;
using brennic::test::TempFolder;
using brennic::test::writeFile;
using namespace std::string_literals;

namespace {

using Texts = std::vector<std::pair<int, std::string>>;

Texts textsOf(const GTA1Texts& texts) {
    Texts out;
    for (const auto& [number, text] : texts.texts) {
        out.emplace_back(number, text);
    }
    return out;
}

GTA1Texts read(std::string_view bytes) {
    IoError error;
    auto texts = Read_GTA1_texts(bytes, "ENGLISH.FXT", error);
    EXPECT_TRUE(texts) << error.description;
    return texts.value_or(GTA1Texts{});
}

const std::string kCutShort = "ENGLISH.FXT is cut short (it does not end with \"[]\"); only the "
                              "texts before the cut were read";

} // namespace

// Bytes worked out by hand: the retail ones are the published check, the demo ones decode to
// "[7]Hi", 0, "[]", 0.
TEST(Read_GTA1_texts, HandWorkedBytesOfBothVariants) {
    const std::tuple<std::string, Texts> cases[] = {
        {"\xbf\xf8\xbd\x49\x62\xbe\x02\xef\x01\x5c\x5e\x01", {{1001, "An"}}},
        {"\xa6\xe9\xdd\x64\xbd\xc4\xff\xc1\xe4", {{7, "Hi"}}},
    };
    for (const auto& [bytes, expected] : cases) {
        SCOPED_TRACE(expected.front().second);
        const GTA1Texts texts = read(bytes);
        EXPECT_EQ(textsOf(texts), expected);
        EXPECT_TRUE(texts.warnings.empty());
    }
    // The published check alone: the 0 after "An" is missing, so no record is complete.
    const GTA1Texts cut = read("\xbf\xf8\xbd\x49\x62\xbe\x02\xef");
    EXPECT_TRUE(cut.texts.empty());
    EXPECT_EQ(cut.warnings, std::vector<std::string>{kCutShort});
}

TEST(Read_GTA1_texts, RecordRules) {
    const std::tuple<const char*, std::string, Texts> cases[] = {
        {"file order, past the masked bytes",
         gta1Records({"[1001]Answer the phones", "[12]x", "[5]five"}),
         {{1001, "Answer the phones"}, {12, "x"}, {5, "five"}}},
        {"junk before a [ is passed over",
         "[5]five\0\r\n[6]six\0xy]z[7]seven\0[]\0"s,
         {{5, "five"}, {6, "six"}, {7, "seven"}}},
        {"a [ before the ] starts the key anew",
         gta1Records({"[ab[7]seven", "[8[9]nine"}),
         {{7, "seven"}, {9, "nine"}}},
        {"keys that are no plain number 1 to 9000",
         gta1Records({"[help1]a", "[01]b", "[0]c", "[9001]d", "[+5]e", "[ 5]f", "[5 ]g", "[12345]h",
                      "[1.0]i", "[9000]last", "[1]first"}),
         {{9000, "last"}, {1, "first"}}},
        {"the first record of a number wins",
         gta1Records({"[3]first", "[4]x", "[3]second"}),
         {{3, "first"}, {4, "x"}}},
        {"CR and LF become blanks, then trailing blanks go",
         gta1Records({"[4]one\r\ntwo\rthree\nfour \r\n", "[5]\r\n"}),
         {{4, "one  two three four"}, {5, ""}}},
        {"Ctrl-Z would end an e.txt: a blank too", gta1Records({"[6]a\x1a!"}), {{6, "a !"}}},
        {"leading blanks and tabs stay",
         gta1Records({"[8]  two\t", "[9]tab\t "}),
         {{8, "  two\t"}, {9, "tab\t"}}},
        {"brackets inside a text", gta1Records({"[11]a]b[c"}), {{11, "a]b[c"}}},
        {"nothing after [] counts", gta1Records({"[1]a"}) + gta1Records({"[2]b"}), {{1, "a"}}},
        {"[] needs no 0 behind it", "[1]a\0[]"s, {{1, "a"}}},
        {"no record at all", gta1Records({}), {}},
    };
    for (const auto& [what, plain, expected] : cases) {
        for (const GTA1Variant variant : {GTA1Variant::Retail, GTA1Variant::Demo}) {
            SCOPED_TRACE(std::string(what) + (variant == GTA1Variant::Demo ? " (demo)" : ""));
            const GTA1Texts texts = read(encodeGTA1(plain, variant));
            EXPECT_EQ(textsOf(texts), expected);
            EXPECT_TRUE(texts.warnings.empty());
        }
    }
}

// A decoded 0xC3 goes, and the byte after it gains 64: e acute is 0xE9 in Latin-1, u umlaut 0xFC.
// The rule works before the records are found, so it can turn their 0 into "@".
TEST(Read_GTA1_texts, AccentMark) {
    const std::tuple<const char*, std::string, Texts> cases[] = {
        {"letters", gta1Records({"[1]caf\xc3\xa9 gr\xc3\xbcn"}), {{1, "caf\xe9 gr\xfcn"}}},
        {"a mark before the 0", "[2]a\xc3\0b\0[]\0"s, {{2, "a@b"}}},
        {"a mark marked", gta1Records({"[3]\xc3\xc3x"}), {{3, "\x03x"}}},
        {"in the masked bytes", gta1Records({"[\xc3\xf1]x", "[2]y"}), {{1, "x"}, {2, "y"}}},
    };
    for (const auto& [what, plain, expected] : cases) {
        for (const GTA1Variant variant : {GTA1Variant::Retail, GTA1Variant::Demo}) {
            SCOPED_TRACE(std::string(what) + (variant == GTA1Variant::Demo ? " (demo)" : ""));
            EXPECT_EQ(textsOf(read(encodeGTA1(plain, variant))), expected);
        }
    }
}

// Cut short anywhere, a file keeps its complete records and says so.
TEST(Read_GTA1_texts, CutShort) {
    const std::tuple<const char*, std::string, Texts> cases[] = {
        {"inside a key", "[1]a\0[2]b\0[10"s, {{1, "a"}, {2, "b"}}},
        {"inside a text", "[1]a\0[2]bc"s, {{1, "a"}}},
        {"no final []", "[1]a\0[2]b\0"s, {{1, "a"}, {2, "b"}}},
        {"junk after the last record", "[1]a\0\r\n"s, {{1, "a"}}},
        {"only a [", "[", {}},
    };
    for (const auto& [what, plain, expected] : cases) {
        SCOPED_TRACE(what);
        const GTA1Texts texts = read(encodeGTA1(plain));
        EXPECT_EQ(textsOf(texts), expected);
        EXPECT_EQ(texts.warnings, std::vector<std::string>{kCutShort});
    }
}

// A text longer than an e.txt line can carry behind "[9000]" keeps what fits.
TEST(Read_GTA1_texts, TextsLongerThanALineAreCut) {
    const std::string fits(32760, 'x');
    const GTA1Texts texts = read(encodeGTA1(
        gta1Records({"[1]" + fits, "[2]" + fits + "y", "[3]" + std::string(32759, 'x') + "  y"})));
    ASSERT_EQ(texts.texts.size(), 3u);
    EXPECT_EQ(texts.texts[0].text, fits);
    EXPECT_EQ(texts.texts[1].text, fits);
    EXPECT_EQ(texts.texts[2].text, std::string(32759, 'x')); // cut before "y", then trimmed
    EXPECT_EQ(texts.warnings, (std::vector<std::string>{
                                  "ENGLISH.FXT: text 2 is cut to its first 32760 characters",
                                  "ENGLISH.FXT: text 3 is cut to its first 32760 characters"}));
}

TEST(Read_GTA1_text_file, FilesThatAreNoGTA1TextFile) {
    TempFolder temp;
    const std::string exactlyFourMB =
        encodeGTA1("[1]" + std::string(kMaxGTA1TextFileSize - 7, 'x') + "\0[]\0"s);
    ASSERT_EQ(exactlyFourMB.size(), kMaxGTA1TextFileSize);
    const std::tuple<const char*, std::string, const char*> cases[] = {
        {"wrong first byte.fxt", "[1001]An\r\n", "its first byte is neither BF nor A6"},
        {"empty.fxt", "", "it is empty"},
        {"too large.fxt", exactlyFourMB + '\0', "it holds more than 4 MB"},
    };
    for (const auto& [name, bytes, why] : cases) {
        SCOPED_TRACE(name);
        writeFile(temp / name, bytes);
        IoError error;
        EXPECT_FALSE(Read_GTA1_text_file(temp / name, name, error));
        EXPECT_EQ(error.description,
                  std::string(name) + " is not a GTA1 text file (" + std::string(why) + ")");
    }
    writeFile(temp / "four MB.fxt", exactlyFourMB);
    IoError error;
    const auto texts = Read_GTA1_text_file(temp / "four MB.fxt", "four MB.fxt", error);
    ASSERT_TRUE(texts) << error.description;
    EXPECT_EQ(texts->texts.front().text.size(), 32760u);

    EXPECT_FALSE(Read_GTA1_text_file(temp / "missing.fxt", "missing.fxt", error));
    EXPECT_NE(error.description.find("missing.fxt"), std::string::npos);
}

TEST(Is_GTA1_text_file, ByTheFirstByte) {
    TempFolder temp;
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"retail.fxt", "\xbf", true},      {"demo.fxt", "\xa6\r\n", true},
        {"e.txt", "[1]a\r\n", false},      {"empty.txt", "", false},
        {"line end.txt", "\r\xbf", false},
    };
    for (const auto& [name, bytes, isGTA1] : cases) {
        SCOPED_TRACE(name);
        writeFile(temp / name, bytes);
        IoError error;
        EXPECT_EQ(Is_GTA1_text_file(temp / name, error), std::optional<bool>(isGTA1));
        EXPECT_EQ(Is_GTA1_text(bytes), isGTA1);
    }
    IoError error;
    EXPECT_FALSE(Is_GTA1_text_file(temp / "missing.fxt", error));
    EXPECT_NE(error.description.find("missing.fxt"), std::string::npos);
}

// The texts go over what the table held, entry by entry, as an e.txt's lines do.
TEST(Load_TextTable, FromAGTA1TextFileOverEarlierTexts) {
    TextTable table;
    table.set(5, "earlier five");
    table.set(6, "earlier six");
    Load_TextTable(table, read(encodeGTA1(gta1Records({"[6]six", "[7]", "[help]x"}))));
    EXPECT_EQ(table.at(5), "earlier five");
    EXPECT_EQ(table.at(6), "six");
    EXPECT_EQ(table.at(7), "");
}
