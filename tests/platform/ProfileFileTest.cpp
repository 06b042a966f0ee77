#include "platform/ProfileFile.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <tuple>

using namespace brennic::platform;
using brennic::test::readFile;
using brennic::test::TempFolder;
using brennic::test::writeFile;
using namespace std::string_view_literals;

namespace {

ProfileFile readProfile(const std::filesystem::path& path) {
    IoError error;
    auto profile = ProfileFile::read(path, error);
    EXPECT_TRUE(profile.has_value()) << error.description;
    return profile.value_or(ProfileFile{});
}

} // namespace

TEST(ProfileFile, ReadsAsTheWindowsProfileFunctions) {
    TempFolder temp;
    writeFile(temp / "p.ini", "plain=outside any section\r\n"
                              "; [S]\r\n"
                              "  [s] \t\r\n"
                              "  Key = value with blanks \t\r\n"
                              "quoted=\"a b\"\n"
                              "single='x'\r\n"
                              "half=\"open\r\n"
                              "noequals\r\n"
                              "empty=\r\n"
                              "first=1\r\n"
                              "FIRST=2\r\n"
                              "nul=ab\0cd\r\n"
                              "[Other]\r\n"
                              "other=o\r\n"
                              "[S]\r\n"
                              "later=ignored\r\n"sv);
    const ProfileFile profile = readProfile(temp / "p.ini");
    const std::tuple<const char*, const char*, std::optional<std::string>> cases[] = {
        {"S", "key", "value with blanks"},
        {"S", "quoted", "a b"},
        {"S", "single", "x"},
        {"S", "half", "\"open"},
        {"S", "noequals", std::nullopt},
        {"S", "empty", ""},
        {"S", "first", "1"},
        {"S", "nul", "ab"},
        {"S", "later", std::nullopt}, // only the first section of a name is read
        {"S", "plain", std::nullopt},
        {"other", "OTHER", "o"},
        {"Missing", "key", std::nullopt},
    };
    for (const auto& [section, key, value] : cases) {
        SCOPED_TRACE(key);
        EXPECT_EQ(profile.value(section, key), value);
    }
    EXPECT_TRUE(profile.hasSection("OTHER"));
    EXPECT_FALSE(profile.hasSection(";"));
}

TEST(ProfileFile, WritesInPlaceBehindItsSectionOrAtTheEnd) {
    TempFolder temp;
    writeFile(temp / "p.ini", "[Other]\nkeep=1\n\n[BRENNIC Settings]\nphone=0\n\n[Last]\nx=1\n");
    ProfileFile profile = readProfile(temp / "p.ini");
    profile.setValue("BRENNIC Settings", "Phone", "1");
    profile.setValue("brennic settings", "Zoffset", "-2");
    profile.setValue("New", "k", "v");
    ASSERT_TRUE(profile.save(temp / "p.ini"));
    EXPECT_EQ(readFile(temp / "p.ini"), "[Other]\r\nkeep=1\r\n\r\n[BRENNIC Settings]\r\nphone=1\r\n"
                                        "Zoffset=-2\r\n\r\n[Last]\r\nx=1\r\n[New]\r\nk=v\r\n");
}

TEST(ProfileFile, MissingFilesReadEmptyAndLargeOnesAreRefused) {
    TempFolder temp;
    IoError error;
    EXPECT_FALSE(ProfileFile::read(temp / "none.ini", error)->hasSection("S"));
    EXPECT_TRUE(ProfileFile::read(temp.path(), error).has_value()); // a folder is no file
    writeFile(temp / "big.ini", std::string(ProfileFile::kMaxSize, ';'));
    EXPECT_TRUE(ProfileFile::read(temp / "big.ini", error).has_value());
    writeFile(temp / "big.ini", std::string(ProfileFile::kMaxSize + 1, ';'));
    EXPECT_FALSE(ProfileFile::read(temp / "big.ini", error).has_value());
    EXPECT_EQ(error.kind, IoErrorKind::TooLarge);
    EXPECT_EQ(error.description,
              "File too large: " + (temp / "big.ini").string() + " holds more than 1048576 bytes");
}

// The profile functions read a line up to its first NUL; what stands behind it is the user's,
// and a save keeps it, as it keeps every line it does not set.
TEST(ProfileFile, KeepsTheBytesItDoesNotSetBehindANul) {
    TempFolder temp;
    writeFile(temp / "p.ini", "; note\0behind\r\n"
                              "[S]\0x\r\n"
                              "kept=1\0\xff\r\n"
                              "set=old\0gone\r\n"sv);
    ProfileFile profile = readProfile(temp / "p.ini");
    EXPECT_EQ(profile.value("S", "kept"), "1");
    profile.setValue("S", "set", "new");
    profile.setValue("S", "added", "2");
    ASSERT_TRUE(profile.save(temp / "p.ini"));
    EXPECT_EQ(readFile(temp / "p.ini"), "; note\0behind\r\n"
                                        "[S]\0x\r\n"
                                        "kept=1\0\xff\r\n"
                                        "set=new\r\n"
                                        "added=2\r\n"sv);
}
