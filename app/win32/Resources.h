#pragma once

// Resource ids of brennic.exe and brennic-cli.exe, shared by their resource script (which windres
// reads through the C preprocessor, hence macros) and the window that loads them.

// The lowest icon id: Explorer and the taskbar show this one.
#define BRENNIC_ICON 1
