// The window's logic against a toolkit of plain values, so that every build tests it: the
// controls are records, the folder dialog answers from a queue and message boxes are recorded.
#include "ui/Form.h"

#include "platform/FileSystem.h"
#include "tests/support/Fault.h"
#include "tests/support/TempFolder.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <deque>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using brennic::settings::BoxState;
using brennic::test::readFile;
using brennic::test::TempFolder;
using brennic::test::writeFile;
using brennic::ui::Control;
using brennic::ui::ControlKind;
using brennic::ui::MessageIcon;
using brennic::ui::placeOf;

namespace {

struct Message {
    MessageIcon icon = MessageIcon::None;
    std::string title{};
    std::string text{};
};

struct FakeControl {
    std::string text{};
    BoxState state = BoxState::Unticked;
    bool enabled = true;
};

// A Form whose program folder (its settings file and cars.ini) is a temporary folder. A control
// of the wrong kind for an operation is a logic error, as it is for the real toolkits.
class FakeForm final : public brennic::ui::Form {
  public:
    explicit FakeForm(const std::filesystem::path& programFolder) : Form(programFolder) {
        Form_Load();
    }

    std::deque<std::optional<std::string>> answers{}; // the dialog's; a cancel once empty
    std::vector<std::string> prompts{};
    std::vector<std::filesystem::path> starts{}; // where each folder dialog opened
    std::deque<std::optional<std::filesystem::path>> saveAnswers{}; // a cancel once empty
    std::vector<std::filesystem::path> suggestions{};
    std::string summary{}; // what the list's window would show
    std::string list{};
    int listShown = 0;
    std::vector<bool> convertEnabledWhileChoosing{};
    std::vector<Message> messages{};
    std::string caption{};
    std::string status{};
    bool linkOpens = true;
    bool closing = false;          // a close request has come
    std::size_t closeAtPrompt = 0; // a close request comes while this folder question is open

    // A click as the toolkit delivers it: a disabled control takes none.
    void click(Control id) {
        if (controls[index(id)].enabled) {
            Control_Click(placeOf(id).click);
        }
    }
    void close() { Form_QueryUnload(); }
    void save() { Save_work_left(); } // the list window's Save as...

    std::string& textOf(Control id) { return controls[textBox(id)].text; }
    BoxState& stateOf(Control id) { return controls[checkBox(id)].state; }
    bool enabled(Control id) const { return controls[index(id)].enabled; }

    void replaceStatus(std::string_view text) override { status = text; }
    void appendStatus(std::string_view text) override { status += text; }
    bool stopRequested() override { return closing; }

  protected:
    void setCaption(std::string_view text) override { caption = text; }
    std::string text(Control id) const override { return controls[textBox(id)].text; }
    void setText(Control id, std::string_view text) override { controls[textBox(id)].text = text; }
    BoxState state(Control id) const override { return controls[checkBox(id)].state; }
    void setState(Control id, BoxState state) override { controls[checkBox(id)].state = state; }
    void setControlEnabled(Control id, bool enabled) override {
        controls[index(id)].enabled = enabled;
    }
    void showMessage(MessageIcon icon, std::string_view title, std::string_view text) override {
        messages.push_back({icon, std::string(title), std::string(text)});
    }
    std::optional<std::filesystem::path> chooseFolder(std::string_view prompt,
                                                      const std::filesystem::path& start) override {
        prompts.emplace_back(prompt);
        starts.push_back(start);
        convertEnabledWhileChoosing.push_back(enabled(Control::cmdConvert));
        if (prompts.size() == closeAtPrompt) {
            close(); // the toolkit cancels the dialog and closes the window
            return std::nullopt;
        }
        std::optional<std::string> answer;
        if (!answers.empty()) {
            answer.swap(answers.front());
            answers.pop_front();
        }
        if (!answer) {
            return std::nullopt;
        }
        return brennic::platform::pathFromText(*answer);
    }
    void setWorkLeft(std::string_view summaryLine, std::string_view text) override {
        summary = summaryLine;
        list = text;
    }
    void showWorkLeft() override { ++listShown; }
    std::optional<std::filesystem::path>
    chooseWorkLeftFile(const std::filesystem::path& suggested) override {
        suggestions.push_back(suggested);
        std::optional<std::filesystem::path> answer;
        if (!saveAnswers.empty()) {
            answer.swap(saveAnswers.front());
            saveAnswers.pop_front();
        }
        return answer;
    }
    bool openLink(std::string_view) override { return linkOpens; }

  private:
    static std::size_t index(Control id) { return static_cast<std::size_t>(id); }
    static std::size_t textBox(Control id) {
        const ControlKind kind = placeOf(id).kind;
        if (kind != ControlKind::TextBox && kind != ControlKind::OffsetBox &&
            kind != ControlKind::Label) {
            throw std::logic_error(std::string(placeOf(id).name) + " holds no text");
        }
        return index(id);
    }
    static std::size_t checkBox(Control id) {
        if (placeOf(id).kind != ControlKind::CheckBox) {
            throw std::logic_error(std::string(placeOf(id).name) + " is no check box");
        }
        return index(id);
    }

    std::array<FakeControl, brennic::ui::kControls.size()> controls{};
};

const std::string kSection = "[BRENNIC Settings]\r\n";

// A program folder with its settings file, and a mission and an output folder beside it.
struct Folders {
    TempFolder program{};
    std::filesystem::path settings = program / "brennic.INI";
    TempFolder data{};
    std::string mission = data.text() + "gtadata/";
    std::string output = data.text() + "out/";

    Folders() { std::filesystem::create_directories(data / "out"); }

    void missionFile(const std::string& bytes) const {
        writeFile(data / "gtadata" / "mission.ini", bytes);
    }
    // The settings file naming both folders, then the lines given.
    void settingsWith(const std::string& lines) const {
        writeFile(settings, kSection + "GTA1iniFile=" + mission + "\r\nOutputFolder=" + output +
                                "\r\n" + lines);
    }
    std::string script(const std::string& name) const { return readFile(data / "out" / name); }
};

} // namespace

TEST(Form_Load, FirstStartWithoutASettingsFile) {
    Folders folders;
    FakeForm form(folders.program.path());
    EXPECT_EQ(form.caption, ".::GTA1 Mission to GTA2 Mission::.");
    EXPECT_EQ(form.textOf(Control::txtXoffset), "1");
    EXPECT_EQ(form.textOf(Control::txtYoffset), "0.5");
    EXPECT_EQ(form.textOf(Control::txtZoffset), "-2");
    EXPECT_EQ(form.textOf(Control::txtGTA1iniFile), "");
    EXPECT_EQ(form.stateOf(Control::chkDoor), BoxState::Unticked);
    EXPECT_TRUE(form.messages.empty());
    EXPECT_FALSE(std::filesystem::exists(folders.settings)); // written only at close
}

TEST(LoadSettings, BadBoxValuesLeaveTheirBoxesAndTheRestLoads) {
    Folders folders;
    writeFile(folders.settings, kSection +
                                    "Phone=1\r\nDoor=3\r\nPowerup=1\r\nPark=70000\r\nDummy=abc\r\n"
                                    "Target=1abc\r\nMidPointMulti=2\r\nZoffset=-2\r\n");
    FakeForm form(folders.program.path());
    EXPECT_EQ(form.stateOf(Control::chkPhone), BoxState::Ticked);
    EXPECT_EQ(form.stateOf(Control::chkDoor), BoxState::Unticked);
    EXPECT_EQ(form.stateOf(Control::chkPowerup), BoxState::Ticked); // read after Door
    EXPECT_EQ(form.stateOf(Control::chkPark), BoxState::Unticked);
    EXPECT_EQ(form.stateOf(Control::chkDummy), BoxState::Unticked); // no number reads 0
    EXPECT_EQ(form.stateOf(Control::chkTarget), BoxState::Ticked);  // its leading digits
    EXPECT_EQ(form.stateOf(Control::chkMidPointMulti), BoxState::Greyed);
    EXPECT_EQ(form.textOf(Control::txtZoffset), "-2");
    EXPECT_EQ(form.textOf(Control::txtXoffset), ""); // the file has no such key
    ASSERT_EQ(form.messages.size(), 1u);
    EXPECT_EQ(form.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(form.messages[0].title, "D'oh! Error during load");
    EXPECT_EQ(form.messages[0].text,
              "Error source: BRENNIC\rError description: Check box values other than 0, 1 or 2 "
              "were left unticked: Door=3, Park=70000\rError number: 380");
}

TEST(LoadSettings, AnOversizedFileIsALoadErrorAndIsNotWrittenOver) {
    Folders folders;
    const std::string stored = kSection + "Phone=1\r\n" + std::string(1 << 20, ';');
    writeFile(folders.settings, stored);
    FakeForm form(folders.program.path());
    EXPECT_EQ(form.textOf(Control::txtXoffset), "1"); // the first-start values
    EXPECT_EQ(form.stateOf(Control::chkPhone), BoxState::Unticked);
    ASSERT_EQ(form.messages.size(), 1u);
    EXPECT_EQ(form.messages[0].title, "D'oh! Error during load");
    EXPECT_TRUE(form.messages[0].text.ends_with("Error number: 7"));
    form.close();
    EXPECT_EQ(readFile(folders.settings), stored);
}

TEST(Form_QueryUnload, CloseRequestsSaveWhatChangedSinceTheLastOne) {
    Folders folders;
    FakeForm form(folders.program.path());
    form.stateOf(Control::chkDoor) = BoxState::Greyed;
    form.textOf(Control::txtGTA1iniFile) = "C:\\gta\\";
    form.close();
    const std::string saved = readFile(folders.settings);
    EXPECT_NE(saved.find("GTA1iniFile=C:\\gta\\\r\n"), std::string::npos);
    EXPECT_NE(saved.find("Door=2\r\n"), std::string::npos);
    // A session's end after the close box saves nothing again.
    writeFile(folders.settings, "edited meanwhile");
    form.close();
    EXPECT_EQ(readFile(folders.settings), "edited meanwhile");
    // A log-off the user cancelled: the window stays, and its next close saves the change.
    writeFile(folders.settings, saved);
    form.stateOf(Control::chkDoor) = BoxState::Ticked;
    form.close();
    EXPECT_NE(readFile(folders.settings).find("Door=1\r\n"), std::string::npos);
}

TEST(cmdConvert_Click, OffsetBoxesShowTheNumbersTheRunUses) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "0"},      {"1.50", "1.5"},     {"-2abc", "-2"}, {"1 2", "12"},        {"&H10", "16"},
        {"&O17", "15"}, {"-.125", "-0.125"}, {"1e3", "1000"}, {"0.00001", "1E-05"},
    };
    for (const auto& [typed, shown] : cases) {
        SCOPED_TRACE(typed);
        Folders folders;
        FakeForm form(folders.program.path());
        for (const Control box : {Control::txtXoffset, Control::txtYoffset, Control::txtZoffset}) {
            form.textOf(box) = typed;
        }
        form.click(Control::cmdConvert); // the run then asks for the folders, and is cancelled
        ASSERT_EQ(form.prompts.size(), 1u);
        for (const Control box : {Control::txtXoffset, Control::txtYoffset, Control::txtZoffset}) {
            EXPECT_EQ(form.textOf(box), shown);
        }
    }
}

TEST(cmdConvert_Click, AnOffsetBeyondTheNumberRangeStartsNoRun) {
    Folders folders;
    FakeForm form(folders.program.path());
    form.textOf(Control::txtZoffset) = "1e999";
    form.click(Control::cmdConvert);
    ASSERT_EQ(form.messages.size(), 1u);
    EXPECT_EQ(form.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(form.messages[0].title, "D'oh! Error during conversion");
    EXPECT_TRUE(form.messages[0].text.ends_with("\rError number: 6"));
    EXPECT_TRUE(form.prompts.empty());
    EXPECT_EQ(form.textOf(Control::txtZoffset), "1e999");
    EXPECT_TRUE(form.enabled(Control::cmdConvert));
}

// Convert is off while a run asks for a folder, and on again however the run ended.
TEST(cmdConvert_Click, ConvertIsOffThroughARunAndOnAfterEachEnd) {
    const std::pair<const char*, const char*> cases[] = {
        {"cancelled", ""},
        {"finished", "[1]\r\nA, 1, nyc.cmp\r\n\r\n\r\n"},
        {"failed", "10 DUMMY\r\n"}, // no section header
    };
    for (const auto& [end, mission] : cases) {
        SCOPED_TRACE(end);
        Folders folders;
        if (*mission != '\0') {
            folders.missionFile(mission);
        }
        FakeForm form(folders.program.path());
        // The boxes are empty: the run asks for the mission folder first.
        form.answers = {folders.mission, folders.output};
        if (*mission == '\0') {
            form.answers.clear();
        }
        form.click(Control::cmdConvert);
        ASSERT_FALSE(form.convertEnabledWhileChoosing.empty());
        EXPECT_EQ(form.convertEnabledWhileChoosing, std::vector<bool>(form.prompts.size(), false));
        EXPECT_TRUE(form.enabled(Control::cmdConvert));
        EXPECT_EQ(form.messages.size(), std::string_view(end) == "failed" ? 1u : 0u);
    }
}

TEST(cmdConvert_Click, AFolderPickedAtAPromptStaysInItsBox) {
    Folders folders;
    folders.missionFile("[1]\r\nA, 1, nyc.cmp\r\n\r\n\r\n");
    FakeForm form(folders.program.path());
    // A wrong mission folder is asked for again, and cancelling the output folder keeps the
    // right one; the output box keeps its text.
    form.textOf(Control::txtOutputFolder) = "nowhere";
    form.answers = {folders.data.text(), folders.mission};
    form.click(Control::cmdConvert);
    EXPECT_EQ(form.prompts.size(), 3u);
    EXPECT_EQ(form.textOf(Control::txtGTA1iniFile), folders.mission);
    EXPECT_EQ(form.textOf(Control::txtOutputFolder), "nowhere");
    EXPECT_EQ(form.status, "");

    // A wrong pick, then a cancel: the box shows what was picked last.
    form.answers = {folders.data.text()};
    form.textOf(Control::txtGTA1iniFile) = "";
    form.click(Control::cmdConvert);
    EXPECT_EQ(form.textOf(Control::txtGTA1iniFile), folders.data.text());
}

// A close request while the run asks for the output folder (a log-off, a signal) saves the
// mission folder just picked at the run's first question.
TEST(cmdConvert_Click, ACloseRequestAtAPromptSavesTheFolderPickedBefore) {
    Folders folders;
    folders.missionFile("[1]\r\nA, 1, nyc.cmp\r\n\r\n\r\n");
    FakeForm form(folders.program.path());
    form.answers = {folders.mission};
    form.closeAtPrompt = 2;
    form.click(Control::cmdConvert);
    EXPECT_EQ(form.prompts.size(), 2u);
    EXPECT_NE(readFile(folders.settings).find("\r\nGTA1iniFile=" + folders.mission + "\r\n"),
              std::string::npos);
}

TEST(cmdConvert_Click, GreyedBoxesAreOffAndHuntsWithoutTheirParentsChangeNothing) {
    const auto convert = [](const std::string& boxes) {
        Folders folders;
        folders.missionFile("[1]\r\nHunt, 1, nyc.cmp\r\n\r\n\r\n10 1 (100,120,4) DUMMY 0 0\r\n"
                            "30 1 (100,120,4) FUTURECAR 4 512\r\n40 1 (27,19,3) DOOR 2 4 0\r\n"
                            "50 1 (10,20,4) PED 0 256 60\r\n60 1 (64,48,2) POWERUP 1 10\r\n"
                            "107 ARROW 40 0 0 0 0\r\n");
        folders.settingsWith("Unknown=1\r\nXoffset=0\r\nYoffset=0\r\nZoffset=0\r\n" + boxes);
        FakeForm form(folders.program.path());
        form.click(Control::cmdConvert);
        EXPECT_TRUE(form.messages.empty());
        return folders.script("nyc_Hunt_1.mis");
    };
    const std::string plain = convert("");
    const std::string greyedAndHunts = convert("Dummy=2\r\nArrow=2\r\nDoorArrow=1\r\n"
                                               "FutureCarArrow=1\r\nPedHunt=1\r\n"
                                               "PowerupRespawn=1\r\n");
    EXPECT_NE(plain.find("// 107 ARROW 40 0 0 0 0\r\n"), std::string::npos);
    EXPECT_NE(plain.find("// 10 1 (100,120,4) DUMMY 0 0\r\n"), std::string::npos);
    EXPECT_EQ(greyedAndHunts, plain);
    EXPECT_NE(convert("Arrow=1\r\n"), plain);
}

TEST(cmdConvert_Click, AFailureMidFileShowsOneCriticalBoxAndTheStatusUpToIt) {
    Folders folders;
    // The second mission's car number is beyond the vehicle table (0 to 100).
    folders.missionFile("[1]\r\nFirst, 1, nyc.cmp\r\n\r\n\r\n10 1 (1,1,1) DUMMY\r\n"
                        "[2]\r\nSecond, 1, nyc.cmp\r\n\r\n\r\n20 1 (2,2,2) PARKED 101 0\r\n"
                        "21 1 (3,3,3) DUMMY\r\n");
    folders.settingsWith("Dummy=1\r\nParked=1\r\n");
    FakeForm form(folders.program.path());
    form.click(Control::cmdConvert);
    ASSERT_EQ(form.messages.size(), 1u);
    const auto& [icon, title, text] = form.messages[0];
    EXPECT_EQ(icon, MessageIcon::Critical);
    EXPECT_EQ(title, "D'oh! Error during conversion");
    EXPECT_TRUE(text.starts_with("Error source: VehicleTable\rError description: "));
    EXPECT_TRUE(text.ends_with("\rError number: 9"));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 2);
    EXPECT_EQ(form.status,
              "Generating GTA2 mission scripts...\r\n\r\nnyc_First_1.mis\r\nnyc_Second_2.mis\r\n");
    EXPECT_TRUE(form.enabled(Control::cmdConvert));
    EXPECT_TRUE(folders.script("nyc_First_1.mis").ends_with("LEVELEND\r\n"));
    EXPECT_EQ(folders.script("nyc_Second_2.mis").find("LEVELEND"), std::string::npos);
}

TEST(cmdConvert_Click, TwoRunsKeepTheTextsButReadTheVehiclesAfresh) {
    Folders folders;
    folders.missionFile("[1]\r\nTwice, 1, nyc.cmp\r\n\r\n\r\n10 BRIEF 0 0 0 0 1002 \r\n"
                        "11 1 (10,20,4) PARKED 4 0\r\n");
    folders.settingsWith("Brief=1\r\nParked=1\r\n");
    writeFile(folders.data / "out" / "e.txt", "[1002]The Bank Job\r\n");
    writeFile(folders.program / "cars.ini", "[BRENNIC Vehicles]\r\n4=PANDA\r\n");
    FakeForm form(folders.program.path());
    const auto script = [&] { return folders.script("nyc_Twice_1.mis"); };

    form.click(Control::cmdConvert);
    EXPECT_NE(script().find("DISPLAY_BRIEF ( 1002 ) //The Bank Job\r\n"), std::string::npos);
    EXPECT_NE(script().find(" PANDA // 11\r\n"), std::string::npos);

    // The second run's text file lacks 1002 and the vehicle file is gone.
    writeFile(folders.data / "out" / "e.txt", "[7]Other\r\n");
    std::filesystem::remove(folders.program / "cars.ini");
    form.click(Control::cmdConvert);
    EXPECT_NE(script().find("DISPLAY_BRIEF ( 1002 ) //The Bank Job\r\n"), std::string::npos);
    EXPECT_NE(script().find(" COPCAR // 11\r\n"), std::string::npos); // the built-in name
    EXPECT_TRUE(form.messages.empty());
}

TEST(FolderPictures, FillTheirBoxesWithOneFinalSeparatorUnlessCancelled) {
    Folders folders;
    FakeForm form(folders.program.path());
    form.textOf(Control::txtOutputFolder) = "kept/";
    form.answers = {std::nullopt, std::string()}; // a cancel, and an item without a path
    form.click(Control::imgMissionFolder);
    form.click(Control::imgOutputFolder);
    EXPECT_EQ(form.textOf(Control::txtGTA1iniFile), "");
    EXPECT_EQ(form.textOf(Control::txtOutputFolder), "kept/");

    form.answers = {"gta/gtadata", "gta2/data/"};
    form.click(Control::imgMissionFolder);
    form.click(Control::imgOutputFolder);
#ifdef _WIN32
    EXPECT_EQ(form.textOf(Control::txtGTA1iniFile), "gta/gtadata\\");
#else
    EXPECT_EQ(form.textOf(Control::txtGTA1iniFile), "gta/gtadata/");
#endif
    EXPECT_EQ(form.textOf(Control::txtOutputFolder), "gta2/data/");
    ASSERT_EQ(form.prompts.size(), 4u);
    EXPECT_EQ(form.prompts[2],
              "Where is the GTA1 mission file?  Usually in gtadata or gtadata\\uk");
    EXPECT_EQ(form.prompts[3], "Where should I output the GTA2 .mis files?");
}

TEST(Open_web_page, SaysSoWhenNothingCanShowIt) {
    Folders folders;
    FakeForm form(folders.program.path());
    form.Open_web_page();
    EXPECT_TRUE(form.messages.empty());
    form.linkOpens = false;
    form.Open_web_page();
    ASSERT_EQ(form.messages.size(), 1u);
    EXPECT_EQ(form.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(form.messages[0].title, "BRENNIC");
    EXPECT_EQ(form.messages[0].text, "No browser installed!");
}

// A folder pasted as Explorer's "Copy as path" gives it, or as a shell completes it.
TEST(cmdConvert_Click, QuotesAroundAFolderAreTakenOffOnWindows) {
    const std::pair<const char*, const char*> forms[] = {
        {"\"", "\""},   // Copy as path
        {" \"", "\" "}, // with blanks around
        {"\"", ""},     // a quote left open
    };
    for (const auto& [before, after] : forms) {
        SCOPED_TRACE(std::string(before) + "folder" + after);
        Folders folders;
        folders.missionFile("[1]\r\nQuoted, 1, nyc.cmp\r\n\r\n\r\n");
        FakeForm form(folders.program.path());
        const std::string mission = before + folders.mission + after;
        const std::string output = before + folders.output + after;
        form.textOf(Control::txtGTA1iniFile) = mission;
        form.textOf(Control::txtOutputFolder) = output;
        form.click(Control::cmdConvert);
#ifdef _WIN32
        EXPECT_TRUE(form.prompts.empty());
        EXPECT_EQ(form.textOf(Control::txtGTA1iniFile), folders.mission);
        EXPECT_EQ(form.textOf(Control::txtOutputFolder), folders.output);
        EXPECT_TRUE(std::filesystem::exists(folders.data / "out" / "nyc_Quoted_1.mis"));
#else
        // A POSIX name may hold quotes and blanks: the texts stay and name no folder.
        EXPECT_EQ(form.prompts.size(), 1u);
        EXPECT_EQ(form.textOf(Control::txtGTA1iniFile), mission);
        EXPECT_EQ(form.textOf(Control::txtOutputFolder), output);
#endif
    }
}

TEST(BrowseFolder, OpensAtTheBoxsFolderOrTheNearestOneAboveIt) {
    Folders folders;
    std::filesystem::create_directories(folders.data / "gtadata");
    FakeForm form(folders.program.path());
    const std::tuple<const char*, std::string, std::filesystem::path> cases[] = {
        {"the folder itself", folders.mission, folders.data / "gtadata"},
        {"a folder not made yet", folders.output + "missions/new/", folders.data / "out"},
        {"a file's folder", folders.mission + "mission.ini", folders.data / "gtadata"},
        {"an empty box", "", {}},
        {"no folder above it", "nowhere/at/all", {}},
    };
    for (const auto& [what, text, start] : cases) {
        SCOPED_TRACE(what);
        form.textOf(Control::txtGTA1iniFile) = text;
        form.textOf(Control::txtOutputFolder) = text;
        form.click(Control::imgMissionFolder);
        form.click(Control::imgOutputFolder);
        ASSERT_EQ(form.starts.size(), 2u);
        for (const std::filesystem::path& opened : form.starts) {
            if (start.empty()) {
                EXPECT_TRUE(opened.empty()) << opened;
            } else {
                EXPECT_EQ(opened, start.lexically_normal());
            }
        }
        form.starts.clear();
    }
    // The run's own question opens at the box it asks for.
    form.textOf(Control::txtGTA1iniFile) = folders.output;
    form.click(Control::cmdConvert);
    ASSERT_EQ(form.starts.size(), 1u);
    EXPECT_EQ(form.starts[0], (folders.data / "out").lexically_normal());
}

namespace {

// The golden case whose report lists one item of each kind: its input in the folders, with the
// switches and offsets its command line gives.
void reportItemsCase(const Folders& folders) {
    const std::filesystem::path input = BRENNIC_CASES_DIR "/report-items/input";
    folders.missionFile(readFile(input / "MISSION.INI"));
    writeFile(folders.data / "out" / "e.txt", readFile(input / "e.txt"));
    std::string boxes;
    for (const auto& entry : brennic::engine::kSwitchKeys) {
        const std::string_view key = entry.key;
        const bool off = key == "Dummy" || key == "Unknown" || key == "PowerupRespawn";
        boxes += std::string(key) + (off ? "=0\r\n" : "=1\r\n");
    }
    folders.settingsWith(boxes + "Xoffset=0\r\nYoffset=0\r\nZoffset=0\r\n");
}

} // namespace

TEST(cmdWhatIsLeft, ListsWhatTheReportFileListsAndSavesItsBytes) {
    Folders folders;
    reportItemsCase(folders);
    FakeForm form(folders.program.path());
    EXPECT_FALSE(form.enabled(Control::cmdWhatIsLeft));
    form.click(Control::cmdConvert);
    EXPECT_TRUE(form.messages.empty());
    const std::string expected = readFile(BRENNIC_CASES_DIR "/report-items/expected/report.txt");
    EXPECT_EQ(form.list, expected);
    // 14 items and 4 lines of GTA1 lines not translated, all in the first script; the 2 lines
    // "not checked" do not count.
    EXPECT_EQ(form.summary, "18 items left to do in 1 script");
    EXPECT_EQ(form.textOf(Control::lblWhatIsLeft), form.summary);
    ASSERT_TRUE(form.enabled(Control::cmdWhatIsLeft));
    form.click(Control::cmdWhatIsLeft);
    EXPECT_EQ(form.listShown, 1);

    // Saved as the command line writes it, over an earlier file; a cancelled save writes nothing.
    const TempFolder saves;
    writeFile(saves / "left.txt", "an earlier list that is longer than nothing");
    form.saveAnswers = {std::nullopt, saves / "left.txt"};
    form.save();
    EXPECT_EQ(readFile(saves / "left.txt"), "an earlier list that is longer than nothing");
    form.save();
    EXPECT_EQ(readFile(saves / "left.txt"), expected);
    ASSERT_EQ(form.suggestions.size(), 2u);
    EXPECT_EQ(form.suggestions[0].lexically_normal(),
              (folders.data / "out" / "What is left to do.txt").lexically_normal());
    EXPECT_TRUE(form.messages.empty());
}

TEST(cmdWhatIsLeft, SaysSoWhenNothingIsLeftAndAfterAFailedRun) {
    Folders folders;
    folders.missionFile("[1]\r\nClean, 1, nyc.cmp\r\n\r\n\r\n10 1 (1,1,1) DUMMY\r\n"
                        "[2]\r\nAlso, 1, nyc.cmp\r\n\r\n\r\n");
    folders.settingsWith("Dummy=1\r\n");
    FakeForm form(folders.program.path());
    form.click(Control::cmdConvert);
    EXPECT_EQ(form.list, "nyc_Clean_1.mis\r\n  nothing left to do\r\n\r\n"
                         "nyc_Also_2.mis\r\n  nothing left to do\r\n");
    EXPECT_EQ(form.summary, "Nothing left to do in 2 scripts");

    // A run cancelled at a folder question converted nothing: the list stays.
    form.textOf(Control::txtOutputFolder) = "nowhere";
    form.click(Control::cmdConvert);
    EXPECT_EQ(form.summary, "Nothing left to do in 2 scripts");
    EXPECT_TRUE(form.enabled(Control::cmdWhatIsLeft));

    // A failed run lists its failure, as the report file does.
    form.textOf(Control::txtOutputFolder) = folders.output;
    folders.missionFile("5 1 (1,1,1) DUMMY\r\n");
    form.click(Control::cmdConvert);
    ASSERT_EQ(form.messages.size(), 1u);
    EXPECT_EQ(form.list, "The conversion failed: Bad file name or number: no mission script is "
                         "open (the mission file must begin with a section header) (line 1 of "
                         "mission.ini)\r\n");
    EXPECT_EQ(form.summary, "No script was written; the conversion failed");

    // A list that cannot be saved says why; the window goes on.
    form.saveAnswers = {folders.data / "missing" / "left.txt"};
    form.save();
    ASSERT_EQ(form.messages.size(), 2u);
    EXPECT_EQ(form.messages[1].icon, MessageIcon::Critical);
    EXPECT_EQ(form.messages[1].title, "D'oh! Error during save");
    EXPECT_FALSE(std::filesystem::exists(folders.data / "missing"));
}

// The list's file counts only when whole, as the command line's report does: a save that fails
// leaves nothing new behind, and a link stays a link to the file it leads to.
TEST(cmdWhatIsLeft, ASavedListIsPutInPlaceWhole) {
    Folders folders;
    folders.missionFile("[1]\r\nClean, 1, nyc.cmp\r\n\r\n\r\n");
    folders.settingsWith("");
    FakeForm form(folders.program.path());
    form.click(Control::cmdConvert);
    const TempFolder saves;
    {
        const brennic::test::Fault fullDisk(
            [](brennic::platform::FileOperation op, const std::filesystem::path&) {
                return op == brennic::platform::FileOperation::Write ? ENOSPC : 0;
            });
        form.saveAnswers = {saves / "left.txt"};
        form.save();
    }
    ASSERT_EQ(form.messages.size(), 1u);
    EXPECT_EQ(form.messages[0].title, "D'oh! Error during save");
    EXPECT_TRUE(std::filesystem::is_empty(saves.path()));
#ifndef _WIN32
    writeFile(saves / "kept.txt", "an earlier list");
    std::filesystem::create_symlink("kept.txt", saves / "link.txt");
    form.saveAnswers = {saves / "link.txt"};
    form.save();
    EXPECT_TRUE(std::filesystem::is_symlink(saves / "link.txt"));
    EXPECT_EQ(readFile(saves / "kept.txt"), "nyc_Clean_1.mis\r\n  nothing left to do\r\n");
#endif
}

// Beyond the items a block lists, its "and N more items" line counts N.
TEST(cmdWhatIsLeft, CountsTheItemsABlockDoesNotList) {
    Folders folders;
    std::string mission = "[1]\r\nMany, 1, nyc.cmp\r\n\r\n\r\n";
    for (int line = 1; line <= 1003; ++line) {
        mission += std::to_string(line) + " ARROW " + std::to_string(5000 + line) + " 0 0 0\r\n";
    }
    folders.missionFile(mission);
    folders.settingsWith("Arrow=1\r\n");
    FakeForm form(folders.program.path());
    form.click(Control::cmdConvert);
    EXPECT_NE(form.list.find("\r\n  and 3 more items\r\n"), std::string::npos);
    EXPECT_EQ(form.summary, "1003 items left to do in 1 script");
}

// What the command line prints as warnings comes once after each run, in one box.
TEST(cmdConvert_Click, WarningsOfARunShowOnceInOneBox) {
    Folders folders;
#ifdef _WIN32
    const std::string programName = "program";
#else
    const std::string programName = "pro\x01gram"; // a POSIX name may hold a control byte
#endif
    const std::filesystem::path program = folders.program / programName;
    std::filesystem::create_directories(program);
    writeFile(program / "cars.ini", "[Other]\r\n4=PANDA\r\n");
    writeFile(program / "brennic.INI", kSection + "GTA1iniFile=" + folders.mission +
                                           "\r\nOutputFolder=" + folders.output + "\r\n");
    folders.missionFile("[1]\r\nTail, 1, nyc.cmp\r\n\r\n\r\n\x1a\r\n10 1 (1,1,1) DUMMY\r\n");
    FakeForm form(program);
    std::string shownCars = brennic::platform::textFromPath(program / "cars.ini");
    if (const auto control = shownCars.find('\x01'); control != std::string::npos) {
        shownCars.replace(control, 1, "\\x01");
    }
    const std::string expected =
        "the vehicle file " + shownCars +
        " has no [BRENNIC Vehicles] section; every vehicle name is empty\r"
        "mission.ini goes on behind the end-of-file mark (Ctrl-Z) that ends it here; those "
        "lines were not converted";
    for (std::size_t run = 1; run <= 2; ++run) {
        SCOPED_TRACE(run);
        form.click(Control::cmdConvert);
        ASSERT_EQ(form.messages.size(), run);
        EXPECT_EQ(form.messages.back().icon, MessageIcon::Warning);
        EXPECT_EQ(form.messages.back().title, "BRENNIC");
        EXPECT_EQ(form.messages.back().text, expected);
    }
    // A run stopped by a close request shows no box: the window is closing.
    form.closing = true;
    form.click(Control::cmdConvert);
    EXPECT_EQ(form.messages.size(), 2u);
    form.closing = false;
    std::filesystem::remove(program / "cars.ini");
    folders.missionFile("[1]\r\nTail, 1, nyc.cmp\r\n\r\n\r\n");
    form.click(Control::cmdConvert);
    EXPECT_EQ(form.messages.size(), 2u);
}
