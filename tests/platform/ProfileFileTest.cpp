#include "platform/ProfileFile.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

using namespace brennic::platform;
using brennic::test::readFile;
using brennic::test::TempFolder;
using brennic::test::writeFile;

TEST(ProfileFile, MissingFileReadsEmpty) {
    TempFolder temp;
    IoError error;
    const auto profile = ProfileFile::load(temp / "none.ini", &error);
    EXPECT_FALSE(profile.value("S", "k").has_value());
    EXPECT_EQ(error.number, 0);
}

TEST(ProfileFile, SaveKeepsOtherSectionsAndReplacesInPlace) {
    TempFolder temp;
    writeFile(temp / "s.ini", "[Other]\r\nkeep=1\r\n[BRENNIC Settings]\r\nPhone=0\r\nExtra=x\r\n");
    auto profile = ProfileFile::load(temp / "s.ini");
    profile.setValue("BRENNIC Settings", "Phone", "1");
    profile.setValue("BRENNIC Settings", "Zoffset", "-2");
    ASSERT_TRUE(profile.save(temp / "s.ini"));
    const auto again = ProfileFile::load(temp / "s.ini");
    EXPECT_EQ(again.value("Other", "keep"), "1");
    EXPECT_EQ(again.value("brennic settings", "PHONE"), "1");
    EXPECT_EQ(again.value("BRENNIC Settings", "Extra"), "x");
    EXPECT_EQ(again.value("BRENNIC Settings", "Zoffset"), "-2");
    const std::string text = readFile(temp / "s.ini");
    EXPECT_LT(text.find("Phone=1"), text.find("Extra=x")); // replaced where it stood
    EXPECT_LT(text.find("Extra=x"), text.find("Zoffset=-2"));
    EXPECT_FALSE(std::filesystem::exists(temp / "s.ini.tmp"));
}

TEST(ProfileFile, SaveIntoAMissingFolderFailsQuietly) {
    TempFolder temp;
    ProfileFile profile;
    profile.setValue("S", "k", "v");
    EXPECT_FALSE(profile.save(temp / "missing" / "s.ini"));
}

TEST(ProfileFile, SaveLeavesAReadOnlyFileAndKeepsAFilesPermissions) {
    TempFolder temp;
    namespace fs = std::filesystem;
    writeFile(temp / "s.ini", "[S]\r\nk=old\r\n");
    ProfileFile profile;
    profile.setValue("S", "k", "new");
    fs::permissions(temp / "s.ini", fs::perms::owner_read);
    EXPECT_FALSE(profile.save(temp / "s.ini")); // the rename would have replaced it
    EXPECT_EQ(readFile(temp / "s.ini"), "[S]\r\nk=old\r\n");
    fs::permissions(temp / "s.ini", fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(profile.save(temp / "s.ini"));
    EXPECT_EQ(ProfileFile::load(temp / "s.ini").value("S", "k"), "new");
    EXPECT_EQ(fs::status(temp / "s.ini").permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
}
