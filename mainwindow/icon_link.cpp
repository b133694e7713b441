// The program icon in the main dialog as a link to the version information.
#include <windows.h>

#include "about/about_dialog.h"
#include "controls/pointer_hover.h"
#include "mainwindow/handlers.h"
#include "mainwindow/main_state.h"
#include "shell/window_utils.h"

namespace {

// The icon has no SS_NOTIFY, so its mouse messages come to the dialog, in client points.
bool OnIcon(LPARAM lParam) {
    POINT point = {static_cast<LONG>(LOWORD(lParam)), static_cast<LONG>(HIWORD(lParam))};
    return PtInRect(&mainWindow.iconRect, point) != FALSE;
}

// The icon's hover is named by this address.
const int kIconLink = 0;

}  // namespace

void OpenAboutDialog(HWND dialog) {
    ShowAboutDialog(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE)), dialog);
}

BOOL OnIconMouseMove(HWND dialog, LPARAM lParam) {
    // Without a hand cursor the pointer stays as it is; the capture still brings the move that
    // leaves the icon, even when it also leaves the window.
    if (OnIcon(lParam))
        BeginHover(dialog, &kIconLink, HandCursor());
    else
        EndHover(&kIconLink);
    return TRUE;
}

BOOL OnIconClick(HWND dialog, LPARAM lParam) {
    if (!OnIcon(lParam)) return TRUE;
    // Only a hover put the hand up; a click without one leaves the pointer as it is.
    EndHover(&kIconLink);
    OpenAboutDialog(dialog);
    return TRUE;
}
