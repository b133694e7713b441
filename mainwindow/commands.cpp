// Commands of the main dialog's buttons, menus and shortcut keys: one handler per command.
#include <windows.h>
#include <shellapi.h>

#include "mainwindow/handlers.h"
#include "mainwindow/main_window.h"
#include "resources/resource.h"

namespace {

// Cancel, Esc, the caption's close button and "exit without updating" write nothing;
// WM_CLOSE saves only the window and option settings.
void ExitWithoutUpdate(HWND dialog) { SendMessageA(dialog, WM_CLOSE, 0, 0); }

void ExitWithUpdate(HWND dialog) { SendMessageA(dialog, WM_CLOSE, 0, 0); }

struct Command {
    int id;
    void (*run)(HWND dialog);
};

const Command kCommands[] = {
    {IDOK, ExitWithUpdate},
    {IDM_EXIT, ExitWithUpdate},
    {IDCANCEL, ExitWithoutUpdate},
    {IDM_EXIT_WITHOUT_UPDATE, ExitWithoutUpdate},
    {IDM_ABOUT, OpenAboutDialog},
};

}  // namespace

BOOL OnCommand(HWND dialog, int id) {
    for (const Command& command : kCommands) {
        if (command.id != id) continue;
        command.run(dialog);
        return TRUE;
    }
    return FALSE;
}

BOOL OnInitMenuPopup(HWND dialog, HMENU menu) { return TRUE; }

BOOL OnDropFiles(HWND dialog, HDROP drop) {
    DragFinish(drop);
    return FALSE;
}

BOOL OnMouseWheel(HWND dialog, WPARAM wParam) { return FALSE; }
