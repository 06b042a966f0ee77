#include "tests/cli/CliRun.h"
#include "tests/ui/WindowHarness.h"

#include <QGroupBox>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

using brennic::test::qs;
using brennic::test::readFile;
using brennic::test::TempFolder;
using brennic::test::WindowHarness;
using brennic::test::writeFile;

namespace {

// "name in parent at left,top (pixels): caption | tool tip", as drawn in twips (15 to a pixel).
struct Expected {
    const char* name;
    const char* parent;
    int left;
    int top;
    const char* caption;
    const char* toolTip = "";
};

QString captionOf(QWidget& control) {
    if (auto* button = qobject_cast<QAbstractButton*>(&control)) {
        return button->text();
    }
    if (auto* label = qobject_cast<QLabel*>(&control)) {
        return label->text();
    }
    if (auto* frame = qobject_cast<QGroupBox*>(&control)) {
        return frame->title();
    }
    return {};
}

std::vector<QString> tabOrderFrom(QWidget& first) {
    std::vector<QString> order;
    QWidget* widget = &first;
    do {
        if ((widget->focusPolicy() & Qt::TabFocus) != 0) {
            order.push_back(widget->objectName());
        }
        widget = widget->nextInFocusChain();
    } while (widget != &first);
    return order;
}

std::string withoutCarriageReturns(std::string text) {
    std::erase(text, '\r');
    return text;
}

// A copy of the bundled example: the GTA1 folder and an output folder holding its e.txt.
struct ExampleFolders {
    TempFolder temp{};
    std::filesystem::path mission = temp / "gtadata";
    std::filesystem::path output = temp / "output";
    ExampleFolders() {
        std::filesystem::copy(BRENNIC_EXAMPLES_DIR "/gtadata", mission);
        std::filesystem::copy(BRENNIC_EXAMPLES_DIR "/output", output);
    }
};

} // namespace

TEST(frmBRENNIC, FixedWindowWithCaption) {
    WindowHarness harness;
    auto& window = harness.open();
    EXPECT_EQ(window.objectName(), QStringLiteral("frmBRENNIC"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral(".::GTA1 Mission to GTA2 Mission::."));
    EXPECT_EQ(window.minimumSize(), QSize(525, 432));
    EXPECT_EQ(window.maximumSize(), QSize(525, 432));
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(window.windowFlags() & Qt::WindowCloseButtonHint);
}

TEST(frmBRENNIC, ControlsInTheirFramesWithCaptionsAndToolTips) {
    const Expected expected[] = {
        {"Label4", "frmBRENNIC", 8, 8, "Program by Falvorn Company"},
        {"Label1", "frmBRENNIC", 104, 8, "GTA1 mission folder:"},
        {"imgMissionFolder", "frmBRENNIC", 216, 8, "",
         "GTA1 mission folder, gtadata or gtadata\\uk"},
        {"txtGTA1iniFile", "frmBRENNIC", 240, 8, ""},
        {"Label2", "frmBRENNIC", 104, 32, "GTA2 output folder:"},
        {"imgOutputFolder", "frmBRENNIC", 216, 32, ""},
        {"txtOutputFolder", "frmBRENNIC", 240, 32, ""},
        {"Shape1", "frmBRENNIC", 8, 280, ""},
        {"cmdConvert", "frmBRENNIC", 8, 280, "&Convert"},
        {"txtStatus", "frmBRENNIC", 8, 320, ""},
        {"Frame2", "frmBRENNIC", 8, 56, "Mission objectives"},
        {"Frame1", "frmBRENNIC", 240, 56, "Objects"},
        {"fraActions", "frmBRENNIC", 8, 208, "Actions"},
        {"Frame3", "frmBRENNIC", 272, 208, "Debug"},
        {"chkDoor", "Frame1", 8, 16, "Door"},
        {"chkPowerup", "Frame1", 96, 16, "Powerup"},
        {"chkBrief", "Frame1", 200, 16, "Brief"},
        {"chkPhone", "Frame1", 8, 40, "Phone"},
        {"chkFuturecar", "Frame1", 96, 40, "Futurecar"},
        {"chkParked", "Frame1", 200, 40, "Parked"},
        {"chkDummy", "Frame1", 8, 64, "Dummy"},
        {"chkFuturePed", "Frame1", 96, 64, "FuturePed"},
        {"chkPed", "Frame1", 200, 64, "Ped"},
        {"chkTarget", "Frame1", 8, 88, "Target"},
        {"chkFuture", "Frame1", 96, 88, "Future object"},
        {"chkTrigger", "Frame1", 200, 88, "Trigger"},
        {"chkSpray", "Frame1", 8, 112, "Spray", "Sprayshop"},
        {"chkBomb", "Frame1", 96, 112, "Bomb", "Bombshop"},
        {"chkHells", "Frame1", 200, 112, "Hells", "GTA1 bike"},
        {"chkMidPointMulti", "Frame1", 96, 136, "Midpointmulti"},
        {"chkSteal", "Frame2", 16, 16, "Steal", "waits for player to enter a vehicle"},
        {"chkAnswerPhone", "Frame2", 104, 16, "Answer Phone", "waits for player to answer a phone"},
        {"chkPark", "Frame2", 16, 40, "Park", "waits for player to park a vehicle in a garage"},
        {"chkDestroy", "Frame2", 104, 40, "Destroy", "waits for player to destroy an object"},
        {"chkMphone", "Frame2", 16, 64, "MPHONE"},
        {"chkLocate", "Frame2", 104, 64, "Locate", "waits for player to locate an object"},
        {"chkGoto", "Frame2", 16, 88, "Goto", "waits for player to go to a location"},
        {"chkIsGoalDead", "Frame2", 104, 88, "Is Goal Dead", "checks if a ped is dead"},
        {"chkCheckCar", "Frame2", 16, 112, "Check Car",
         "checks if player is in a specific vehicle"},
        {"chkINCHEADS", "fraActions", 8, 16, "INC Heads", "increase wanted level"},
        {"chkMission_End", "fraActions", 88, 16, "Mission End", "Doesn't do anything yet"},
        {"chkEnd", "fraActions", 176, 16, "Level End", "Ends level (best not to tick it yet)"},
        {"chkArrowcar", "fraActions", 8, 40, "Arrowcar",
         "point arrows at vehicles (the vehicle must exist)"},
        {"chkArrow", "fraActions", 88, 40, "Arrow",
         "Point arrows at what they are supposed to point at (some objects don't exist so you will "
         "have to delete those arrow lines)"},
        {"chkUnknown", "Frame3", 16, 16, "Unknown code",
         "Convert all unrecognised GTA1 code into a GTA2 comment"},
        {"chkDoorArrow", "Frame3", 128, 16, "Door hunt", "points arrows at each garage door"},
        {"chkFutureCarArrow", "Frame3", 16, 32, "Futurecar hunt",
         "points arrows at each futurecar"},
        {"chkPedHunt", "Frame3", 128, 32, "Ped hunt", "points arrows at each ped"},
        {"chkPowerupRespawn", "Frame3", 16, 48, "Powerup respawn",
         "Makes all POWERUPs respawn (creates GENERATORS)"},
        {"Label3", "Frame3", 16, 72, "X, Y, Z coordinate offset"},
        {"txtXoffset", "Frame3", 16, 88, "", "X"},
        {"txtYoffset", "Frame3", 56, 88, "", "Y"},
        {"txtZoffset", "Frame3", 96, 88, "", "Z"},
    };
    WindowHarness harness;
    harness.open();
    for (const Expected& item : expected) {
        SCOPED_TRACE(item.name);
        auto& control = harness.control<QWidget>(item.name);
        EXPECT_EQ(control.parentWidget()->objectName(), QLatin1String(item.parent));
        EXPECT_EQ(control.pos(), QPoint(item.left, item.top));
        EXPECT_EQ(captionOf(control), QLatin1String(item.caption));
        EXPECT_EQ(control.toolTip(), QLatin1String(item.toolTip));
    }
    EXPECT_EQ(harness.window->findChildren<QCheckBox*>().size(), 35);
    auto& status = harness.control<QPlainTextEdit>("txtStatus");
    EXPECT_EQ(status.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_TRUE(status.toPlainText().isEmpty());
    EXPECT_EQ(harness.control<QFrame>("Shape1").palette().color(QPalette::Window),
              QColor(128, 255, 128));
    // The shape lies behind the button and shows a strip along its right and bottom edges.
    const QRect shape = harness.control<QFrame>("Shape1").geometry();
    const QRect button = harness.convert().geometry();
    EXPECT_EQ(shape.topLeft(), button.topLeft());
    EXPECT_EQ(shape.size(), button.size() + QSize(8, 8));
    EXPECT_LT(harness.window->children().indexOf(&harness.control<QFrame>("Shape1")),
              harness.window->children().indexOf(&harness.convert()));
}

TEST(frmBRENNIC, TabOrder) {
    WindowHarness harness;
    harness.open();
    const std::vector<QString> order = tabOrderFrom(harness.box("txtGTA1iniFile"));
    const char* expected[] = {
        "txtGTA1iniFile", "txtOutputFolder",   "chkDoor",     "chkPowerup",     "chkBrief",
        "chkPhone",       "chkFuturecar",      "chkParked",   "chkDummy",       "chkFuturePed",
        "chkPed",         "chkTarget",         "chkFuture",   "chkTrigger",     "chkSpray",
        "chkBomb",        "chkHells",          "chkINCHEADS", "chkMission_End", "chkEnd",
        "chkArrowcar",    "chkArrow",          "txtStatus",   "chkSteal",       "chkAnswerPhone",
        "chkPark",        "chkDestroy",        "chkMphone",   "chkLocate",      "chkGoto",
        "chkIsGoalDead",  "chkCheckCar",       "chkUnknown",  "chkDoorArrow",   "chkFutureCarArrow",
        "chkPedHunt",     "chkPowerupRespawn", "txtXoffset",  "txtYoffset",     "txtZoffset",
        "cmdConvert",     "chkMidPointMulti"};
    ASSERT_EQ(order.size(), std::size(expected));
    for (std::size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(order[i], QLatin1String(expected[i])) << "at " << i;
    }
}

TEST(frmBRENNIC, AClickNeverGreysABox) {
    WindowHarness harness;
    writeFile(harness.settings, "[BRENNIC Settings]\r\nDoor=2\r\n");
    harness.open();
    QCheckBox& door = harness.check("chkDoor");
    QCheckBox& phone = harness.check("chkPhone");
    ASSERT_EQ(door.checkState(), Qt::PartiallyChecked);
    for (const Qt::CheckState expected : {Qt::Checked, Qt::Unchecked, Qt::Checked, Qt::Unchecked}) {
        door.click();
        phone.click();
        EXPECT_EQ(door.checkState(), expected);
        EXPECT_EQ(phone.checkState(), expected);
    }
    QTest::keyClick(&door, Qt::Key_Space);
    EXPECT_EQ(door.checkState(), Qt::Checked);
}

TEST(frmBRENNIC, FolderPicturesFillTheirBoxesUnlessCancelled) {
    WindowHarness harness;
    writeFile(harness.settings, "[BRENNIC Settings]\r\nOutputFolder=/kept/\r\n");
    harness.open();
    auto& mission = harness.control<QLabel>("imgMissionFolder");
    auto& output = harness.control<QLabel>("imgOutputFolder");

    QTest::mouseClick(&mission, Qt::LeftButton); // cancelled with the box empty
    QTest::mouseClick(&output, Qt::LeftButton);  // cancelled with text in the box
    EXPECT_EQ(harness.box("txtGTA1iniFile").text(), QString());
    EXPECT_EQ(harness.box("txtOutputFolder").text(), QStringLiteral("/kept/"));

    harness.answers = {QStringLiteral("/gta/gtadata"), QStringLiteral("/gta2/data/")};
    QTest::mouseClick(&mission, Qt::LeftButton);
    QTest::mouseClick(&output, Qt::LeftButton);
    EXPECT_EQ(harness.box("txtGTA1iniFile").text(), QStringLiteral("/gta/gtadata/"));
    EXPECT_EQ(harness.box("txtOutputFolder").text(), QStringLiteral("/gta2/data/"));
    ASSERT_EQ(harness.prompts.size(), 4u);
    EXPECT_EQ(harness.prompts[2],
              QStringLiteral("Where is the GTA1 mission file?  Usually in gtadata or gtadata\\uk"));
    EXPECT_EQ(harness.prompts[3], QStringLiteral("Where should I output the GTA2 .mis files?"));
}

TEST(BrowseFolder, OneFinalSeparatorOrCancel) {
    const std::pair<std::optional<QString>, std::string> cases[] = {
        {QStringLiteral("/gta/gtadata"), "/gta/gtadata/"},
        {QStringLiteral("/gta/gtadata/"), "/gta/gtadata/"},
        {QStringLiteral("/gta/gtadata//"), "/gta/gtadata/"},
        {QStringLiteral("/"), "/"},
        {QString::fromUtf8("/sp\u00e9cial dir"), "/sp\xc3\xa9"
                                                 "cial dir/"},
        {std::nullopt, "Cancel"}, // cancelled, or an item without a local path
        {QString(), "Cancel"},
    };
    WindowHarness harness;
    auto& window = harness.open();
    for (const auto& [answer, expected] : cases) {
        SCOPED_TRACE(expected);
        harness.answers = {answer};
        EXPECT_EQ(window.BrowseFolder("prompt"), expected);
    }
    EXPECT_EQ(harness.prompts.back(), QStringLiteral("prompt"));
}

TEST(cmdConvert_Click, OffsetsReadByTheirLeadingNumberAndWrittenBackPlain) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "0"},     {"1.50", "1.5"}, {"-2abc", "-2"},
        {"1 2", "12"}, {"&H10", "16"},  {"-.125", "-0.125"},
    };
    WindowHarness harness;
    harness.open();
    QLineEdit& x = harness.box("txtXoffset");
    for (const auto& [typed, shown] : cases) {
        SCOPED_TRACE(typed);
        x.setText(QLatin1String(typed));
        harness.convert().click(); // no folders: the run asks, is cancelled and writes nothing
        EXPECT_EQ(x.text(), QLatin1String(shown));
        EXPECT_TRUE(harness.convert().isEnabled());
    }
    EXPECT_TRUE(harness.messages.empty());
    EXPECT_TRUE(harness.status().isEmpty());
}

TEST(cmdConvert_Click, OffsetBoxesTakeFiveTypedCharactersButHoldLongerWrittenBackText) {
    WindowHarness harness;
    harness.open();
    QLineEdit& y = harness.box("txtYoffset");
    y.clear();
    QTest::keyClicks(&y, QStringLiteral("123456"));
    EXPECT_EQ(y.text(), QStringLiteral("12345"));
    y.setText(QStringLiteral("-.125"));
    harness.convert().click();
    ASSERT_EQ(y.text(), QStringLiteral("-0.125"));
    QTest::keyClicks(&y, QStringLiteral("9"));
    EXPECT_EQ(y.text(), QStringLiteral("-0.125"));
}

TEST(cmdConvert_Click, AnOffsetBeyondTheNumberRangeStartsNoRun) {
    WindowHarness harness;
    harness.open();
    harness.box("txtZoffset").setText(QStringLiteral("1e999"));
    harness.convert().click();
    ASSERT_EQ(harness.messages.size(), 1u);
    EXPECT_EQ(harness.messages[0].icon, QMessageBox::Critical);
    EXPECT_EQ(harness.messages[0].title, QStringLiteral("D'oh! Error during conversion"));
    EXPECT_TRUE(harness.prompts.empty());
    EXPECT_EQ(harness.box("txtZoffset").text(), QStringLiteral("1e999"));
    EXPECT_TRUE(harness.convert().isEnabled());
}

TEST(cmdConvert_Click, AltCStartsARunAndConvertStaysDisabledThroughIt) {
    WindowHarness harness;
    auto& window = harness.open();
    std::vector<bool> enabledDuringRun;
    harness.whileChoosing = [&] { enabledDuringRun.push_back(harness.convert().isEnabled()); };
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_C, Qt::AltModifier);
    // The access key animates a click, which lands a moment later.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !enabledDuringRun.empty(); }, 2000));
    EXPECT_EQ(enabledDuringRun, std::vector<bool>{false}); // the run asked for the GTA1 folder
    EXPECT_TRUE(harness.convert().isEnabled());
}

TEST(cmdConvert_Click, WholeConversionShowsWhatTheCliPrints) {
    ExampleFolders viaWindow;
    ExampleFolders viaCli;
    WindowHarness harness;
    harness.open();
    for (QCheckBox* box : harness.window->findChildren<QCheckBox*>()) {
        box->setChecked(true);
    }
    // The folder boxes are empty: the run asks for both folders through the chooser.
    harness.answers = {qs(viaWindow.mission.string()), qs(viaWindow.output.string())};
    harness.convert().click();
    EXPECT_EQ(harness.prompts.size(), 2u);
    EXPECT_EQ(harness.box("txtGTA1iniFile").text(), qs(viaWindow.mission.string() + "/"));
    EXPECT_EQ(harness.box("txtOutputFolder").text(), qs(viaWindow.output.string() + "/"));
    EXPECT_TRUE(harness.messages.empty());

    const std::string cliStatus =
        brennic::test::runCli({"--all", "--mission-dir", viaCli.mission.string(), "--output-dir",
                               viaCli.output.string()})
            .out;
    ASSERT_NE(cliStatus.find("****** Statistics ******"), std::string::npos);
    // The status box keeps its lines, not their CR LF ends.
    EXPECT_EQ(harness.status().toStdString(), withoutCarriageReturns(cliStatus));
    for (const auto& entry : std::filesystem::directory_iterator(viaCli.output)) {
        SCOPED_TRACE(entry.path().filename().string());
        if (entry.is_regular_file()) {
            EXPECT_EQ(readFile(viaWindow.output / entry.path().filename()), readFile(entry.path()));
        }
    }
}

TEST(cmdConvert_Click, GreyedBoxesAreOffAndHuntsWithoutTheirParentsChangeNothing) {
    ExampleFolders folders;
    const std::string head = "[BRENNIC Settings]\r\nGTA1iniFile=" + folders.mission.string() +
                             "/\r\nOutputFolder=" + folders.output.string() +
                             "/\r\nUnknown=1\r\nXoffset=0\r\nYoffset=0\r\nZoffset=0\r\n";
    const auto convert = [&](const std::string& boxes) {
        WindowHarness harness;
        writeFile(harness.settings, head + boxes);
        harness.open();
        harness.convert().click();
        EXPECT_TRUE(harness.messages.empty());
        return readFile(folders.output / "nyc_Bank Job_1.mis");
    };
    const std::string plain = convert("");
    const std::string greyedAndHunts = convert("Dummy=2\r\nArrow=2\r\nDoorArrow=1\r\n"
                                               "FutureCarArrow=1\r\nPedHunt=1\r\n"
                                               "PowerupRespawn=1\r\n");
    EXPECT_NE(plain.find("// 107 ARROW 40 0 0 0 0"), std::string::npos);
    EXPECT_EQ(greyedAndHunts, plain);
    EXPECT_NE(convert("Arrow=1\r\n"), plain);
}

TEST(cmdConvert_Click, RunFailureShowsTheReportInOneCriticalBox) {
    TempFolder folders;
    writeFile(folders / "gtadata" / "mission.ini", "5 1 (1,1,1) DUMMY\r\n"); // no section header
    std::filesystem::create_directory(folders / "out");
    WindowHarness harness;
    writeFile(harness.settings, "[BRENNIC Settings]\r\nGTA1iniFile=" + folders.text() +
                                    "gtadata/\r\nOutputFolder=" + folders.text() + "out/\r\n");
    harness.open();
    harness.convert().click();
    ASSERT_EQ(harness.messages.size(), 1u);
    const auto& [icon, title, text] = harness.messages[0];
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(title, QStringLiteral("D'oh! Error during conversion"));
    const QStringList lines = text.split(QLatin1Char('\r'));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Error source: ")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Error description: ")));
    EXPECT_EQ(lines[2], QStringLiteral("Error number: 52"));
    EXPECT_FALSE(text.contains(QLatin1Char('\n')));
    EXPECT_TRUE(harness.convert().isEnabled());
}

TEST(frmBRENNIC, WebLinkSaysWhenNoBrowserIsInstalled) {
    WindowHarness harness;
    auto& window = harness.open();
    harness.browserAvailable = true;
    window.Open_web_page();
    EXPECT_TRUE(harness.messages.empty());
    harness.browserAvailable = false;
    window.Open_web_page();
    ASSERT_EQ(harness.messages.size(), 1u);
    EXPECT_EQ(harness.messages[0].icon, QMessageBox::NoIcon);
    EXPECT_EQ(harness.messages[0].title, QStringLiteral("BRENNIC"));
    EXPECT_EQ(harness.messages[0].text, QStringLiteral("No browser installed!"));
}
