#include "platform/FileSystem.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

using namespace brennic::platform;
using brennic::test::TempFolder;
using brennic::test::writeFile;

TEST(findFileIgnoringCase, ExactMatchWinsThenAnyCase) {
    TempFolder temp;
    writeFile(temp / "MISSION.INI", "x");
    EXPECT_EQ(findFileIgnoringCase(temp.text() + "mission.ini"), temp / "MISSION.INI");
    writeFile(temp / "mission.ini", "y");
    EXPECT_EQ(findFileIgnoringCase(temp.text() + "mission.ini"), temp / "mission.ini");
    EXPECT_EQ(findFileIgnoringCase(temp.text() + "Mission.Ini"), temp / "MISSION.INI");
    EXPECT_FALSE(findFileIgnoringCase(temp.text() + "missuk.ini"));
}

TEST(findFileIgnoringCase, FoldersAndNamesGluedToTheFolderText) {
    TempFolder temp;
    std::filesystem::create_directory(temp / "e.txt");
    EXPECT_FALSE(findFileIgnoringCase(temp.text() + "e.txt")); // a folder is no file
    writeFile(temp / "gtamission.ini", "x");
    // Without a final separator the name is glued to the last folder component.
    EXPECT_EQ(findFileIgnoringCase(temp.text() + "gta" + "mission.ini"), temp / "gtamission.ini");
    EXPECT_FALSE(findFileIgnoringCase(temp.path().string() + "mission.ini"));
}

TEST(findFolderIgnoringCase, MatchesFoldersOnly) {
    TempFolder temp;
    std::filesystem::create_directory(temp / "UK");
    EXPECT_EQ(findFolderIgnoringCase(temp.path(), "uk"), temp / "UK");
    writeFile(temp / "sub" / "us", "file");
    EXPECT_FALSE(findFolderIgnoringCase(temp / "sub", "us"));
}

TEST(withFinalSeparator, AddsOnlyWhenMissing) {
    EXPECT_EQ(withFinalSeparator("/a/b"), "/a/b/");
    EXPECT_EQ(withFinalSeparator("/a/b/"), "/a/b/");
    EXPECT_EQ(withFinalSeparator(""), "/");
}
