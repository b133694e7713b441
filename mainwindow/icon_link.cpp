// The program icon in the main dialog as a link to the version information.
#include <windows.h>

#include "about/about_dialog.h"
#include "mainwindow/handlers.h"
#include "mainwindow/main_window.h"

namespace {

// The icon has no SS_NOTIFY, so its mouse messages come to the dialog, in client points.
bool OnIcon(LPARAM lParam) {
    POINT point = {static_cast<LONG>(LOWORD(lParam)), static_cast<LONG>(HIWORD(lParam))};
    return PtInRect(&mainWindow.iconRect, point) != FALSE;
}

void EndIconHover() {
    // Only a hover put the hand up; without one there is no saved cursor to go back to, and
    // setting none would hide the pointer.
    if (mainWindow.iconHover && mainWindow.handCursor) SetCursor(mainWindow.savedCursor);
    mainWindow.iconHover = 0;
    ReleaseCapture();
}

}  // namespace

void OpenAboutDialog(HWND dialog) {
    ShowAboutDialog(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE)), dialog);
}

BOOL OnIconMouseMove(HWND dialog, LPARAM lParam) {
    if (OnIcon(lParam)) {
        if (mainWindow.iconHover) return TRUE;
        mainWindow.iconHover = 1;
        if (mainWindow.handCursor) mainWindow.savedCursor = SetCursor(mainWindow.handCursor);
        // The move that leaves the icon arrives even when it also leaves the window.
        SetCapture(dialog);
    } else if (mainWindow.iconHover) {
        EndIconHover();
    }
    return TRUE;
}

BOOL OnIconClick(HWND dialog, LPARAM lParam) {
    if (!OnIcon(lParam)) return TRUE;
    EndIconHover();
    OpenAboutDialog(dialog);
    return TRUE;
}
