#include "tests/cli/CliRun.h"
#include "tests/ui/WindowHarness.h"

#include <QGroupBox>
#include <QLabel>
#include <QStyleOption>
#include <QTest>
#include <gtest/gtest.h>

using brennic::test::qs;
using brennic::test::readFile;
using brennic::test::TempFolder;
using brennic::test::WindowHarness;
using brennic::test::writeFile;

namespace {

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

TEST(cmdConvert_Click, AFailureMidFileShowsOneCriticalBoxAndTheStatusUpToIt) {
    TempFolder folders;
    // The second mission's car number is beyond the vehicle table (0 to 100).
    writeFile(folders / "gtadata" / "mission.ini",
              "[1]\r\nFirst, 1, nyc.cmp\r\n\r\n\r\n10 1 (1,1,1) DUMMY\r\n"
              "[2]\r\nSecond, 1, nyc.cmp\r\n\r\n\r\n20 1 (2,2,2) PARKED 101 0\r\n"
              "21 1 (3,3,3) DUMMY\r\n");
    std::filesystem::create_directory(folders / "out");
    WindowHarness harness;
    writeFile(harness.settings, "[BRENNIC Settings]\r\nGTA1iniFile=" + folders.text() +
                                    "gtadata/\r\nOutputFolder=" + folders.text() +
                                    "out/\r\nDummy=1\r\nParked=1\r\n");
    harness.open();
    harness.convert().click();
    ASSERT_EQ(harness.messages.size(), 1u);
    const auto& [icon, title, text] = harness.messages[0];
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(title, QStringLiteral("D'oh! Error during conversion"));
    const QStringList lines = text.split(QLatin1Char('\r'));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("Error source: VehicleTable"));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Error description: ")));
    EXPECT_EQ(lines[2], QStringLiteral("Error number: 9"));
    EXPECT_EQ(harness.status(), QStringLiteral("Generating GTA2 mission scripts...\n\n"
                                               "nyc_First_1.mis\nnyc_Second_2.mis\n"));
    EXPECT_TRUE(harness.convert().isEnabled());
    const std::string first = readFile(folders / "out" / "nyc_First_1.mis");
    EXPECT_TRUE(first.ends_with("LEVELEND\r\n"));
    const std::string second = readFile(folders / "out" / "nyc_Second_2.mis");
    EXPECT_EQ(second.find("LEVELEND"), std::string::npos);
}

TEST(cmdConvert_Click, TwoRunsKeepTheTextsButReadTheVehiclesAfresh) {
    TempFolder folders;
    writeFile(folders / "gtadata" / "mission.ini",
              "[1]\r\nTwice, 1, nyc.cmp\r\n\r\n\r\n10 BRIEF 0 0 0 0 1002 \r\n"
              "11 1 (10,20,4) PARKED 4 0\r\n");
    WindowHarness harness;
    writeFile(harness.settings, "[BRENNIC Settings]\r\nGTA1iniFile=" + folders.text() +
                                    "gtadata/\r\nOutputFolder=" + folders.text() +
                                    "out/\r\nBrief=1\r\nParked=1\r\n");
    writeFile(folders / "out" / "e.txt", "[1002]The Bank Job\r\n");
    writeFile(harness.temp / "cars.ini", "[BRENNIC Vehicles]\r\n4=PANDA\r\n");
    harness.open();
    const auto script = [&] { return readFile(folders / "out" / "nyc_Twice_1.mis"); };

    harness.convert().click();
    EXPECT_NE(script().find("DISPLAY_BRIEF ( 1002 ) //The Bank Job\r\n"), std::string::npos);
    EXPECT_NE(script().find(" PANDA // 11\r\n"), std::string::npos);

    // The second run's text file lacks 1002 and the vehicle file is gone.
    writeFile(folders / "out" / "e.txt", "[7]Other\r\n");
    std::filesystem::remove(harness.temp / "cars.ini");
    harness.convert().click();
    EXPECT_NE(script().find("DISPLAY_BRIEF ( 1002 ) //The Bank Job\r\n"), std::string::npos);
    EXPECT_NE(script().find(" COPCAR // 11\r\n"), std::string::npos); // the built-in name
    EXPECT_TRUE(harness.messages.empty());
}

// The controls as the window's style draws them: each inside its frame and clear of the frame's
// border, each check box tall enough for its check mark, and a written-back offset wholly visible.
TEST(frmBRENNIC, ControlsFitTheirFramesInTheWindowsStyle) {
    WindowHarness harness;
    auto& window = harness.open();
    for (QWidget* control : window.findChildren<QWidget*>()) {
        auto* frame = qobject_cast<QGroupBox*>(control->parentWidget());
        if (frame == nullptr) {
            continue;
        }
        SCOPED_TRACE(control->objectName().toStdString());
        const int border = frame->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
        EXPECT_TRUE(frame->rect().adjusted(0, 0, -border, -border).contains(control->geometry()));
        if (auto* box = qobject_cast<QCheckBox*>(control)) {
            QStyleOptionButton option;
            option.initFrom(box);
            option.text = box->text();
            const QRect mark =
                box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
            EXPECT_TRUE(box->rect().contains(mark)) << mark.bottom() << " " << box->height();
        }
    }
    QLineEdit& x = harness.box("txtXoffset");
    x.setText(QStringLiteral("-.125"));
    harness.convert().click();
    ASSERT_EQ(x.text(), QStringLiteral("-0.125"));
    QStyleOptionFrame option;
    option.initFrom(&x);
    option.lineWidth = x.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &x);
    // A line edit keeps 2 pixels free on either side of its text.
    const int room =
        x.style()->subElementRect(QStyle::SE_LineEditContents, &option, &x).width() - 4;
    EXPECT_LE(x.fontMetrics().horizontalAdvance(x.text()), room);
}
