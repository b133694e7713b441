// The program icon in the main dialog as a link to the version information.
#include <windows.h>

#include "mainwindow/handlers.h"
#include "mainwindow/main_window.h"

BOOL OnIconMouseMove(HWND dialog, LPARAM lParam) { return TRUE; }

BOOL OnIconClick(HWND dialog, LPARAM lParam) { return TRUE; }
