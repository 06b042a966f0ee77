#include "tests/cli/CliRun.h"
#include "tests/ui/WindowHarness.h"

#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
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
    QTest::keyClick(&output, Qt::Key_Space); // a tab stop: Space or Enter is a click
    EXPECT_EQ(harness.box("txtGTA1iniFile").text(), QStringLiteral("/gta/gtadata/"));
    EXPECT_EQ(harness.box("txtOutputFolder").text(), QStringLiteral("/gta2/data/"));
    ASSERT_EQ(harness.prompts.size(), 4u);
    EXPECT_EQ(harness.prompts[2],
              QStringLiteral("Where is the GTA1 mission file?  Usually in gtadata or gtadata\\uk"));
    EXPECT_EQ(harness.prompts[3], QStringLiteral("Where should I output the GTA2 .mis files?"));
    QTest::keyClick(&mission, Qt::Key_Return);
    EXPECT_EQ(harness.prompts.size(), 5u);
}

namespace {

// The golden case whose report lists one item of each kind, converted in the window: its mission
// and text files copied, its switches and offsets in the settings file.
struct ReportItemsCase {
    TempFolder temp{};
    std::filesystem::path mission = temp / "gtadata";
    std::filesystem::path output = temp / "output";
    std::string report = readFile(BRENNIC_CASES_DIR "/report-items/expected/report.txt");

    explicit ReportItemsCase(const std::filesystem::path& settings) {
        const std::filesystem::path input = BRENNIC_CASES_DIR "/report-items/input";
        std::filesystem::create_directories(mission);
        std::filesystem::create_directories(output);
        std::filesystem::copy(input / "MISSION.INI", mission);
        std::filesystem::copy(input / "e.txt", output);
        std::string lines = "[BRENNIC Settings]\r\nGTA1iniFile=" + mission.string() +
                            "/\r\nOutputFolder=" + output.string() +
                            "/\r\nXoffset=0\r\nYoffset=0\r\nZoffset=0\r\n";
        for (const auto& entry : brennic::engine::kSwitchKeys) {
            const std::string_view key = entry.key;
            const bool off = key == "Dummy" || key == "Unknown" || key == "PowerupRespawn";
            lines += std::string(key) + (off ? "=0\r\n" : "=1\r\n");
        }
        writeFile(settings, lines);
    }
};

} // namespace

// The order of the keyboard as a user walks it: each folder picture after its box, the status box
// left by Tab like any other, then the Mission objectives and Debug boxes, the offsets, Convert,
// the list of what is left and Midpointmulti; then the first box again.
TEST(frmBRENNIC, TabWalksEveryControlInOrderAndComesBack) {
    const std::vector<std::string> order = {"txtGTA1iniFile",
                                            "imgMissionFolder",
                                            "txtOutputFolder",
                                            "imgOutputFolder",
                                            "chkDoor",
                                            "chkPowerup",
                                            "chkBrief",
                                            "chkPhone",
                                            "chkFuturecar",
                                            "chkParked",
                                            "chkDummy",
                                            "chkFuturePed",
                                            "chkPed",
                                            "chkTarget",
                                            "chkFuture",
                                            "chkTrigger",
                                            "chkSpray",
                                            "chkBomb",
                                            "chkHells",
                                            "chkINCHEADS",
                                            "chkMission_End",
                                            "chkEnd",
                                            "chkArrowcar",
                                            "chkArrow",
                                            "txtStatus",
                                            "chkSteal",
                                            "chkAnswerPhone",
                                            "chkPark",
                                            "chkDestroy",
                                            "chkMphone",
                                            "chkLocate",
                                            "chkGoto",
                                            "chkIsGoalDead",
                                            "chkCheckCar",
                                            "chkUnknown",
                                            "chkDoorArrow",
                                            "chkFutureCarArrow",
                                            "chkPedHunt",
                                            "chkPowerupRespawn",
                                            "txtXoffset",
                                            "txtYoffset",
                                            "txtZoffset",
                                            "cmdConvert",
                                            "cmdWhatIsLeft",
                                            "chkMidPointMulti",
                                            "txtGTA1iniFile"};
    WindowHarness harness;
    const ReportItemsCase items(harness.settings);
    auto& window = harness.open();
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const auto focused = [] {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString()
                                           : std::string("(none)");
    };
    // A run from the keyboard: Convert is off through it and has the focus again after it; the
    // list's button takes the focus once a run has ended.
    harness.convert().setFocus();
    QTest::keyClick(&harness.convert(), Qt::Key_Space);
    ASSERT_TRUE(harness.control<QPushButton>("cmdWhatIsLeft").isEnabled());
    EXPECT_EQ(focused(), "cmdConvert");
    harness.box("txtGTA1iniFile").setFocus();
    std::vector<std::string> forward{focused()};
    for (std::size_t i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        forward.push_back(focused());
    }
    EXPECT_EQ(forward, order);
    std::vector<std::string> backward{focused()};
    for (std::size_t i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        backward.push_back(focused());
    }
    EXPECT_EQ(backward, std::vector<std::string>(order.rbegin(), order.rend()));
    EXPECT_TRUE(harness.status().endsWith(QStringLiteral("0\n"))); // Tab typed nothing there
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
    // Once shortened by the user, it takes no more than five again.
    QTest::keyClick(&y, Qt::Key_Backspace);
    QTest::keyClicks(&y, QStringLiteral("9"));
    EXPECT_EQ(y.text(), QStringLiteral("-0.12"));
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
    // The status box keeps its lines, not their CR LF ends, and shows its end: the statistics.
    EXPECT_EQ(harness.status().toStdString(), withoutCarriageReturns(cliStatus));
    const auto* status = harness.window->findChild<QPlainTextEdit*>(QStringLiteral("txtStatus"));
    ASSERT_NE(status, nullptr);
    EXPECT_GT(status->verticalScrollBar()->value(), 0);
    EXPECT_TRUE(status->viewport()->rect().contains(status->cursorRect()));
    for (const auto& entry : std::filesystem::directory_iterator(viaCli.output)) {
        SCOPED_TRACE(entry.path().filename().string());
        if (entry.is_regular_file()) {
            EXPECT_EQ(readFile(viaWindow.output / entry.path().filename()), readFile(entry.path()));
        }
    }
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

TEST(cmdWhatIsLeft, OpensTheListOfTheLastRunAndSavesIt) {
    WindowHarness harness;
    const ReportItemsCase items(harness.settings);
    auto& window = harness.open();
    auto& button = harness.control<QPushButton>("cmdWhatIsLeft");
    EXPECT_FALSE(button.isEnabled());
    harness.convert().click();
    ASSERT_TRUE(button.isEnabled());
    EXPECT_EQ(harness.control<QLabel>("lblWhatIsLeft").text(),
              QStringLiteral("18 items left to do in 1 script"));
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::mouseClick(&button, Qt::LeftButton);
    auto& list = harness.control<QDialog>("frmWhatIsLeft");
    EXPECT_TRUE(list.isVisible());
    EXPECT_EQ(list.windowTitle(), QStringLiteral("What is left to do"));
    EXPECT_EQ(harness.control<QPlainTextEdit>("txtWhatIsLeft").toPlainText().toStdString(),
              withoutCarriageReturns(items.report));
    EXPECT_EQ(harness.control<QLabel>("lblSummary").text(),
              QStringLiteral("18 items left to do in 1 script"));

    harness.saveAnswers = {qs((items.temp / "left.txt").string())};
    harness.control<QPushButton>("cmdSave").click();
    ASSERT_EQ(harness.suggestions.size(), 1u);
    EXPECT_EQ(harness.suggestions[0], qs((items.output / "What is left to do.txt").string()));
    EXPECT_EQ(readFile(items.temp / "left.txt"), items.report);
    harness.control<QPushButton>("cmdClose").click();
    EXPECT_FALSE(list.isVisible());

    // A clean run: the open list says at once that nothing is left.
    writeFile(items.mission / "MISSION.INI", "[1]\r\nClean, 1, nyc.cmp\r\n\r\n\r\n");
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_W, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return list.isVisible(); }, 2000));
    harness.convert().click();
    EXPECT_EQ(harness.control<QPlainTextEdit>("txtWhatIsLeft").toPlainText(),
              QStringLiteral("nyc_Clean_1.mis\n  nothing left to do\n"));
    EXPECT_EQ(harness.control<QLabel>("lblWhatIsLeft").text(),
              QStringLiteral("Nothing left to do in 1 script"));
    EXPECT_TRUE(harness.messages.empty());
}
