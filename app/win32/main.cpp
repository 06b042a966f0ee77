#include "ui/win32/frmBRENNIC.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
    return brennic::ui::win32::Run_window(instance);
}
