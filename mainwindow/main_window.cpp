// The main dialog's procedure and its shut-down steps.
#include "mainwindow/main_window.h"

#include <commctrl.h>

#include "mainwindow/handlers.h"
#include "mainwindow/layout.h"
#include "mainwindow/list_columns.h"
#include "mainwindow/main_state.h"
#include "resources/resource.h"
#include "shell/window_utils.h"

namespace {

BOOL OnClose(HWND dialog) {
    // Every way out ends here; the registry and Disable.dat were written (or deliberately
    // not written) by the command that sent WM_CLOSE.
    settingsStore.SaveWindowPlacement(dialog);
    HWND list = entryListView.Handle();
    int widths[kColumnCount];
    for (int column = 0; column < kColumnCount; ++column)
        widths[column] = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0));
    settingsStore.SaveColumnWidths(widths, kColumnCount);
    int order[kColumnCount] = {0, 1, 2, 3};
    SendMessageA(list, LVM_GETCOLUMNORDERARRAY, kColumnCount, reinterpret_cast<LPARAM>(order));
    settingsStore.SaveColumnOrder(order, kColumnCount);
    settingsStore.SaveOptions(mainWindow.options);
    DestroyWindow(dialog);
    return TRUE;
}

BOOL OnDestroy(HWND dialog) {
    // The small icon was loaded for this window alone; the big one is the system's shared copy.
    HICON smallIcon = reinterpret_cast<HICON>(SendMessageA(dialog, WM_SETICON, ICON_SMALL, 0));
    if (smallIcon) DestroyIcon(smallIcon);
    HWND list = entryListView.Handle();
    entryListView.Unbind();
    if (mainWindow.listViewProc) {
        SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(mainWindow.listViewProc));
        mainWindow.listViewProc = nullptr;
    }
    PostQuitMessage(0);
    return TRUE;
}

// WM_NCHITTEST answers through DWLP_MSGRESULT; the dialog manager returns that value.
BOOL OnNcHitTestMessage(HWND dialog, LPARAM lParam) {
    LRESULT hit = GripHitTest(dialog, lParam);
    if (hit == HTNOWHERE) return FALSE;
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, hit);
    return TRUE;
}

}  // namespace

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam));
    case WM_INITMENUPOPUP: return OnInitMenuPopup(dialog, reinterpret_cast<HMENU>(wParam));
    case WM_NOTIFY: return OnNotify(dialog, reinterpret_cast<NMHDR*>(lParam));
    case WM_DROPFILES: return OnDropFiles(dialog, reinterpret_cast<HDROP>(wParam));
    case WM_MOUSEWHEEL: return OnMouseWheel(dialog, wParam);
    case WM_MOUSEMOVE: return OnIconMouseMove(dialog, lParam);
    case WM_LBUTTONDOWN: return OnIconClick(dialog, lParam);
    case WM_SIZE: return OnSize(dialog, static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
    case WM_GETMINMAXINFO: return OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
    case WM_EXITSIZEMOVE: return OnExitSizeMove(dialog);
    case WM_NCHITTEST: return OnNcHitTestMessage(dialog, lParam);
    case WM_PAINT: return OnPaint(dialog);
    case WM_CLOSE: return OnClose(dialog);
    case WM_DESTROY: return OnDestroy(dialog);
    default: return FALSE;
    }
}
