#include "ui/CloseSignals.h"
#include "ui/frmBRENNIC.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    brennic::ui::frmBRENNIC window;
    const brennic::ui::CloseSignals closeSignals(window);
    window.show();
    return QApplication::exec();
}
