#include "tests/ui/WindowHarness.h"

#include <gtest/gtest.h>
#include <map>

using brennic::test::readFile;
using brennic::test::WindowHarness;
using brennic::test::writeFile;

namespace {

const std::string kSection = "[BRENNIC Settings]\r\n";

} // namespace

// The key order of the file is the settings library's; here every control of the window comes
// back as it was left, greyed boxes and texts the program never wrote included.
TEST(SaveSettings, EveryControlComesBackAfterACloseAndAStart) {
    WindowHarness harness;
    harness.open();
    const auto boxes = harness.window->findChildren<QCheckBox*>();
    const auto texts = harness.window->findChildren<QLineEdit*>();
    ASSERT_EQ(boxes.size() + texts.size(), 40);
    std::map<QString, QString> left;
    for (qsizetype i = 0; i < boxes.size(); ++i) {
        boxes[i]->setCheckState(static_cast<Qt::CheckState>(i % 3));
        left[boxes[i]->objectName()] = QString::number(i % 3);
    }
    for (qsizetype i = 0; i < texts.size(); ++i) {
        texts[i]->setText(QStringLiteral("%1/").arg(i));
        left[texts[i]->objectName()] = texts[i]->text();
    }
    harness.close();
    harness.open();
    for (const auto& [name, value] : left) {
        SCOPED_TRACE(name.toStdString());
        const auto* box = harness.window->findChild<QCheckBox*>(name);
        EXPECT_EQ(box ? QString::number(box->checkState()) : harness.box(qPrintable(name)).text(),
                  value);
    }
    EXPECT_TRUE(harness.messages.empty());
}

TEST(LoadSettings, BadBoxValuesLeaveTheirBoxesAndTheRestLoads) {
    WindowHarness harness;
    writeFile(harness.settings, kSection +
                                    "Phone=1\r\nDoor=3\r\nPowerup=1\r\nPark=70000\r\nDummy=abc\r\n"
                                    "Target=1abc\r\nMidPointMulti=2\r\nZoffset=-2\r\n");
    harness.open();
    EXPECT_EQ(harness.check("chkPhone").checkState(), Qt::Checked);
    EXPECT_EQ(harness.check("chkDoor").checkState(), Qt::Unchecked);
    EXPECT_EQ(harness.check("chkPowerup").checkState(), Qt::Checked); // read after Door
    EXPECT_EQ(harness.check("chkPark").checkState(), Qt::Unchecked);
    EXPECT_EQ(harness.check("chkDummy").checkState(), Qt::Unchecked); // no number reads 0
    EXPECT_EQ(harness.check("chkTarget").checkState(), Qt::Checked);  // its leading digits
    EXPECT_EQ(harness.check("chkMidPointMulti").checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(harness.box("txtZoffset").text(), QStringLiteral("-2"));
    ASSERT_EQ(harness.messages.size(), 1u);
    EXPECT_EQ(harness.messages[0].icon, QMessageBox::Critical);
    EXPECT_EQ(harness.messages[0].title, QStringLiteral("D'oh! Error during load"));
    EXPECT_EQ(harness.messages[0].text,
              QStringLiteral("Error source: BRENNIC\rError description: Check box values other "
                             "than 0, 1 or 2 were left unticked: Door=3, Park=70000\r"
                             "Error number: 380"));
}

TEST(LoadSettings, AnOversizedFileIsALoadErrorAndIsNotWrittenOver) {
    WindowHarness harness;
    const std::string stored = kSection + "Phone=1\r\n" + std::string(1 << 20, ';');
    writeFile(harness.settings, stored);
    harness.open();
    EXPECT_EQ(harness.box("txtXoffset").text(), QStringLiteral("1")); // the first-start values
    ASSERT_EQ(harness.messages.size(), 1u);
    EXPECT_EQ(harness.messages[0].title, QStringLiteral("D'oh! Error during load"));
    EXPECT_TRUE(harness.messages[0].text.endsWith(QStringLiteral("Error number: 7")));
    harness.close();
    EXPECT_EQ(readFile(harness.settings), stored);
}
