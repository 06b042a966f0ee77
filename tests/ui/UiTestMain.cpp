#include <QApplication>
#include <gtest/gtest.h>

// The window needs a QApplication; listing the tests (as the build does) must not need one.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();
    }
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
