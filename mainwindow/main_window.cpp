// The main dialog's procedure, the program-wide objects and the shut-down steps.
#include "mainwindow/main_window.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "about/about_dialog.h"
#include "controls/hyperlink.h"
#include "mainwindow/handlers.h"
#include "mainwindow/layout.h"
#include "mainwindow/list_columns.h"
#include "resources/resource.h"
#include "settings/window_utils.h"

namespace {

MainWindow InitialState() {
    MainWindow state = {};
    state.editIndex = -1;
    state.sortState.column = kNotSorted;
    return state;
}

BOOL OnClose(HWND dialog) {
    // Every way out ends here; the registry and Disable.dat were written (or deliberately
    // not written) by the command that sent WM_CLOSE.
    settingsStore.SaveWindowPlacement(dialog);
    int widths[kColumnCount];
    for (int column = 0; column < kColumnCount; ++column)
        widths[column] = static_cast<int>(SendMessageA(mainWindow.listView, LVM_GETCOLUMNWIDTH, column, 0));
    settingsStore.SaveColumnWidths(widths, kColumnCount);
    int order[kColumnCount] = {0, 1, 2, 3};
    SendMessageA(mainWindow.listView, LVM_GETCOLUMNORDERARRAY, kColumnCount, reinterpret_cast<LPARAM>(order));
    settingsStore.SaveColumnOrder(order, kColumnCount);
    settingsStore.WriteInt(kListSection, "DisSlash", mainWindow.DisSlash);
    settingsStore.WriteInt(kListSection, "DisBottom", mainWindow.DisBottom);
    settingsStore.WriteInt(kListSection, "DisNoSavePos", mainWindow.DisNoSavePos);
    DestroyWindow(dialog);
    return TRUE;
}

BOOL OnDestroy(HWND dialog) {
    // The small icon was loaded for this window alone; the big one is the system's shared copy.
    HICON smallIcon = reinterpret_cast<HICON>(SendMessageA(dialog, WM_SETICON, ICON_SMALL, 0));
    if (smallIcon) DestroyIcon(smallIcon);
    if (mainWindow.ownsHandCursor && mainWindow.handCursor) DestroyCursor(mainWindow.handCursor);
    mainWindow.handCursor = nullptr;
    mainWindow.ownsHandCursor = 0;
    entryListView.Unbind();
    if (mainWindow.listViewProc) {
        SetWindowLongPtrA(mainWindow.listView, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(mainWindow.listViewProc));
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

// Defined together, in this order, so the entry list is constructed before the settings
// store and torn down after it, and its view lets go of it before it goes. The version
// dialog's link comes first of all.
HyperLinkControl aboutLink;
PathEditControl pathEditControl;
EntryList entryList;
SettingsStore settingsStore;
EntryListView entryListView;
MainWindow mainWindow = InitialState();

void ResetMainWindowState() { mainWindow = InitialState(); }

int ProgramFilePath(const char* fileName, char* path) {
    if (mainWindow.dataFolder[0] == '\0') GetModuleDirectory(mainWindow.dataFolder, 1);
    int length = snprintf(path, MAX_PATH, "%s%s", mainWindow.dataFolder, fileName);
    if (length < 0 || length >= MAX_PATH) {
        path[0] = '\0';
        return 0;
    }
    return 1;
}

HWND MainDialogControl(HWND dialog, int id) {
    int slot = id - IDD_MAIN;
    bool kept = slot >= 0 && slot < static_cast<int>(sizeof(mainWindow.controls) / sizeof(mainWindow.controls[0]));
    if (kept && mainWindow.controls[slot]) return mainWindow.controls[slot];
    return GetDlgItem(dialog, id);
}

void SetButtonEnabled(HWND dialog, int id, bool enabled) {
    HWND control = MainDialogControl(dialog, id);
    if ((IsWindowEnabled(control) != FALSE) == enabled) return;
    // A control that goes grey while it has the focus takes the focus nowhere: Esc, Enter, Tab
    // and every shortcut would do nothing until the next click. The list takes it first (as
    // the dialog's own next control, so the default button follows).
    if (!enabled && control && GetFocus() == control && mainWindow.listView)
        SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(mainWindow.listView), TRUE);
    EnableWindow(control, enabled ? TRUE : FALSE);
}

void MarkListChanged(HWND dialog) {
    mainWindow.listChanged = 1;
    SetButtonEnabled(dialog, IDC_UPDATE, true);
}

int ShowMessage(HWND owner, const char* text, const char* caption, UINT flags) {
    return MessageBoxA(owner, text, caption, flags);
}

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
