#include "tests/ui/WindowHarness.h"

#include <gtest/gtest.h>
#include <map>

using brennic::test::WindowHarness;

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
