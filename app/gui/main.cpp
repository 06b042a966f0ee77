#include "ui/frmBRENNIC.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    brennic::ui::frmBRENNIC window;
    window.show();
    return QApplication::exec();
}
