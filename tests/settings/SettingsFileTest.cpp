#include "settings/SettingsFile.h"

#include "tests/support/Fault.h"
#include "tests/support/TempFolder.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <variant>
#include <vector>

using namespace brennic::settings;
using brennic::engine::kSwitchKeys;
using brennic::platform::FileOperation;
using brennic::test::Fault;
using brennic::test::readFile;
using brennic::test::TempFolder;
using brennic::test::writeFile;
namespace fs = std::filesystem;

namespace {

const std::string kSection = "[BRENNIC Settings]\r\n";

std::size_t boxOf(std::string_view key) {
    for (std::size_t i = 0; i < kSwitchKeys.size(); ++i) {
        if (kSwitchKeys[i].key == key) {
            return i;
        }
    }
    throw std::logic_error("no box " + std::string(key));
}

} // namespace

TEST(SaveSettingsFile, FirstStartWritesTheFortyKeysInOrder) {
    TempFolder temp;
    const fs::path path = settingsFilePath(temp.path());
    const SettingsLoad first = LoadSettingsFile(path);
    EXPECT_FALSE(fs::exists(path)); // nothing is written at start
    ASSERT_TRUE(SaveSettingsFile(path, first.settings));
    std::string expected = "[BRENNIC Settings]\r\nGTA1iniFile=\r\nOutputFolder=\r\n";
    for (const auto& entry : kSwitchKeys) {
        expected += std::string(entry.key) + "=0\r\n";
    }
    EXPECT_EQ(readFile(path), expected + "Xoffset=1\r\nYoffset=0.5\r\nZoffset=-2\r\n");
}

TEST(SaveSettingsFile, EveryValueComesBack) {
    TempFolder temp;
    StoredSettings settings;
    settings.GTA1iniFile = "/" + std::string(120, 'f') + "/gta\xe9/";
    settings.OutputFolder = "C:\\GTA2\\data\\";
    for (std::size_t i = 0; i < settings.boxes.size(); ++i) {
        settings.boxes[i] = static_cast<BoxState>(i % 3);
    }
    settings.offsets = {"-0.125", "", "1234567"};
    ASSERT_TRUE(SaveSettingsFile(temp / "s.ini", settings));
    const SettingsLoad load = LoadSettingsFile(temp / "s.ini");
    EXPECT_EQ(load.settings.GTA1iniFile, settings.GTA1iniFile);
    EXPECT_EQ(load.settings.OutputFolder, settings.OutputFolder);
    EXPECT_EQ(load.settings.boxes, settings.boxes);
    EXPECT_EQ(load.settings.offsets, settings.offsets);
    EXPECT_FALSE(load.badValues || load.readFailure);
}

TEST(LoadSettingsFile, MissingKeysAreEmptyNotFirstStart) {
    TempFolder temp;
    writeFile(temp / "s.ini", kSection + "Phone=1\r\n");
    const SettingsLoad load = LoadSettingsFile(temp / "s.ini");
    EXPECT_EQ(load.settings.boxes[boxOf("Phone")], BoxState::Ticked);
    EXPECT_EQ(load.settings.boxes[boxOf("Door")], BoxState::Unticked);
    EXPECT_EQ(load.settings.offsets, (std::array<std::string, 3>{"", "", ""}));
}

TEST(LoadSettingsFile, BoxValuesAsTheProfileFunctionsReadIntegers) {
    struct Case {
        const char* value;
        BoxState state;
        int errorNumber; // 0: a valid state
    };
    const Case cases[] = {
        {"1", BoxState::Ticked, 0},
        {" 2 ", BoxState::Greyed, 0}, // the profile layer trims blanks
        {"+1", BoxState::Ticked, 0},
        {"1abc", BoxState::Ticked, 0}, // the leading digits count
        {"abc", BoxState::Unticked, 0},
        {"", BoxState::Unticked, 0},
        {"3", BoxState::Unticked, 380},
        {"-1", BoxState::Unticked, 380},
        {"32767", BoxState::Unticked, 380},
        {"32768", BoxState::Unticked, 6}, // beyond a 16-bit integer
        {"-32769", BoxState::Unticked, 6},
        {"99999999999999999999999", BoxState::Unticked, 6},
    };
    TempFolder temp;
    for (const auto& [value, state, errorNumber] : cases) {
        SCOPED_TRACE(value);
        writeFile(temp / "s.ini", kSection + "Door=" + value + "\r\nPhone=1\r\nPowerup=1\r\n");
        const SettingsLoad load = LoadSettingsFile(temp / "s.ini");
        EXPECT_EQ(load.settings.boxes[boxOf("Door")], state);
        EXPECT_EQ(load.settings.boxes[boxOf("Phone")], BoxState::Ticked);   // read before Door
        EXPECT_EQ(load.settings.boxes[boxOf("Powerup")], BoxState::Ticked); // and after it
        EXPECT_EQ(load.badValues.has_value(), errorNumber != 0);
        if (load.badValues) {
            EXPECT_EQ(load.badValues->number, errorNumber);
        }
    }
}

TEST(LoadSettingsFile, OneReportNamesEveryBadValue) {
    TempFolder temp;
    writeFile(temp / "s.ini",
              kSection + "Door=3\r\nPark=70000\r\nBrief=" + std::string(100000, '7') + "\r\n");
    const SettingsLoad load = LoadSettingsFile(temp / "s.ini");
    ASSERT_TRUE(load.badValues);
    EXPECT_EQ(load.badValues->source, "BRENNIC");
    EXPECT_EQ(load.badValues->description,
              "Check box values other than 0, 1 or 2 were left unticked: Brief=" +
                  std::string(40, '7') + "..., Door=3, Park=70000");
    EXPECT_EQ(load.badValues->number, 6); // the first in file order: Brief
}

// A file that exists but cannot be read leaves the first-start settings and a report whose number
// tells why, as the load box shows it.
TEST(LoadSettingsFile, UnreadableFilesGiveFirstStartAndTheirErrorNumber) {
    TempFolder temp;
    writeFile(temp / "s.ini", kSection + "Phone=1\r\nXoffset=9\r\n");
    writeFile(temp / "big.ini", kSection + "Junk=" + std::string(1 << 20, 'x'));
    const Fault denied([](FileOperation op, const fs::path& path) {
        return op == FileOperation::OpenForReading && path.filename() == "s.ini" ? EACCES : 0;
    });
    const std::tuple<const char*, int> cases[] = {{"s.ini", 75}, {"big.ini", 7}};
    for (const auto& [name, number] : cases) {
        SCOPED_TRACE(name);
        const SettingsLoad load = LoadSettingsFile(temp / name);
        ASSERT_TRUE(load.readFailure);
        EXPECT_EQ(load.readFailure->source, "BRENNIC");
        EXPECT_NE(load.readFailure->description.find(name), std::string::npos);
        EXPECT_EQ(load.readFailure->number, number);
        EXPECT_EQ(load.settings.offsets, firstStartSettings().offsets);
    }
}

TEST(SaveSettingsFile, NeverSpoilsAFileItCannotReplaceWhole) {
    const std::string stored = kSection + "Phone=1\r\n";
    struct Case {
        const char* name;
        std::function<void(const TempFolder&)> prepare;
        FileOperation fault;
    };
    const Case cases[] = {
        {"full disk", [](const TempFolder&) {}, FileOperation::Write},
        {"unreadable file", [](const TempFolder&) {}, FileOperation::OpenForReading},
        {"too large",
         [](const TempFolder& temp) {
             writeFile(temp / "s.ini", kSection + "Phone=1\r\nJunk=" + std::string(1 << 20, 'x'));
         },
         FileOperation::Replace},
    };
    for (const auto& [name, prepare, fault] : cases) {
        SCOPED_TRACE(name);
        TempFolder temp;
        writeFile(temp / "s.ini", stored);
        prepare(temp);
        const std::string before = readFile(temp / "s.ini");
        SettingsLoad load = LoadSettingsFile(temp / "s.ini");
        load.settings.boxes[boxOf("Door")] = BoxState::Ticked;
        {
            const Fault failing(
                [fault](FileOperation op, const fs::path&) { return op == fault ? EACCES : 0; });
            EXPECT_FALSE(SaveSettingsFile(temp / "s.ini", load.settings));
        }
        EXPECT_EQ(readFile(temp / "s.ini"), before);
        EXPECT_EQ(std::distance(fs::directory_iterator(temp.path()), fs::directory_iterator()), 1);
    }
}

// Settings kept with the user's dotfiles: the link stays, the file it leads to changes. A FIFO
// in its place is nothing to read or replace.
TEST(SaveSettingsFile, ALinkStaysALinkAndAFifoStaysAFifo) {
    TempFolder temp;
    writeFile(temp / "dotfiles" / "brennic.INI", kSection + "Phone=1\r\n");
    fs::create_symlink("dotfiles/brennic.INI", temp / "brennic.INI");
    StoredSettings stored = LoadSettingsFile(temp / "brennic.INI").settings;
    ASSERT_EQ(stored.boxes[boxOf("Phone")], BoxState::Ticked);
    stored.boxes[boxOf("Door")] = BoxState::Ticked;
    ASSERT_TRUE(SaveSettingsFile(temp / "brennic.INI", stored));
    EXPECT_TRUE(fs::is_symlink(temp / "brennic.INI"));
    EXPECT_EQ(LoadSettingsFile(temp / "dotfiles" / "brennic.INI").settings.boxes, stored.boxes);

    ASSERT_EQ(::mkfifo((temp / "fifo.INI").c_str(), 0644), 0);
    EXPECT_FALSE(SaveSettingsFile(temp / "fifo.INI", stored));
    EXPECT_TRUE(fs::is_fifo(temp / "fifo.INI"));
}

TEST(optionsFromSettings, OffsetsAsTheWindowReadsThemAndOnlyTickedBoxesOn) {
    StoredSettings stored;
    stored.GTA1iniFile = "gtadata"; // as it stands: the run asks while it is wrong
    stored.offsets = {"", "1.50", "-2abc"};
    stored.boxes[boxOf("Dummy")] = BoxState::Ticked;
    stored.boxes[boxOf("Door")] = BoxState::Greyed;
    auto read = optionsFromSettings(stored);
    auto* options = std::get_if<brennic::engine::ConversionOptions>(&read);
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(std::tuple(options->Xoffset, options->Yoffset, options->Zoffset),
              std::tuple(0.0, 1.5, -2.0));
    EXPECT_EQ(options->GTA1iniFile, "gtadata");
    EXPECT_TRUE(options->chkDummy);
    EXPECT_FALSE(options->chkDoor);

    stored.offsets = {"1 2", "&H10", ".5"};
    read = optionsFromSettings(stored);
    options = std::get_if<brennic::engine::ConversionOptions>(&read);
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(std::tuple(options->Xoffset, options->Yoffset, options->Zoffset),
              std::tuple(12.0, 16.0, 0.5));

    // Beyond the number range: no options at all, and the error in the window's three values.
    stored.offsets = {"0", "1e999", "0"};
    read = optionsFromSettings(stored);
    const auto* error = std::get_if<LoadError>(&read);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->number, 6);
    EXPECT_FALSE(error->source.empty() || error->description.empty());
}
