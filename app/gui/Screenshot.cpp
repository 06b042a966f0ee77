#include "ui/frmBRENNIC.h"

#include <QApplication>
#include <QPixmap>
#include <QTemporaryDir>
#include <iostream>

// brennic-screenshot OUTPUT.png: the window as a first start shows it (no settings file), drawn
// without a display when QT_QPA_PLATFORM=offscreen.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: brennic-screenshot OUTPUT.png\n";
        return 2;
    }
    const QTemporaryDir empty;
    brennic::ui::frmBRENNIC window({.programFolder = empty.path().toStdString()});
    window.show();
    QApplication::processEvents();
    if (!window.grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::cerr << "brennic-screenshot: cannot write " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
