// Notifications of the entry list: row drawing, check boxes, the buttons that follow the
// selection, header sorting, double clicks and the context menu.
#include <windows.h>
#include <commctrl.h>

#include "mainwindow/commands.h"
#include "mainwindow/entry_list_view.h"
#include "mainwindow/row_drawing.h"
#include "mainwindow/handlers.h"
#include "mainwindow/header_sort.h"
#include "mainwindow/main_state.h"
#include "resources/resource.h"

namespace {

// Every state change ends here, the selection's included; only a box that now differs from its
// entry is the user's click.
BOOL OnItemChanged(HWND dialog, const NMLISTVIEW& change) {
    bool ticked = false;
    if (entryListView.IsBoxClick(change, &ticked)) SetEntryEnabled(dialog, change.iItem, ticked);
    EnableSelectionButtons(dialog);
    return FALSE;
}

// Selected rows change their tint with the focus; the list view itself repaints only part of
// them (not its report margin), so all rows are redrawn.
BOOL OnFocusChanged() {
    entryListView.RedrawAllRows();
    return FALSE;
}

BOOL OnCustomDraw(HWND dialog, HWND listView, NMLVCUSTOMDRAW* draw) {
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, DrawEntryListItem(listView, entryList, mainWindow.options.DisSlash != 0, draw));
    return TRUE;
}

// Only a double click on a row edits; one on empty space does nothing.
BOOL OnDoubleClick(HWND dialog, HWND listView) {
    LVHITTESTINFO hit = {};
    GetCursorPos(&hit.pt);
    ScreenToClient(listView, &hit.pt);
    if (SendMessageA(listView, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) != -1)
        SendMessageA(dialog, WM_COMMAND, IDM_EDIT, reinterpret_cast<LPARAM>(listView));
    return TRUE;
}

// The dialog gets WM_INITMENUPOPUP first, so the menu is enabled as the menu bar is, and the
// chosen item arrives as its command.
void ShowContextMenu(HWND dialog, POINT at) {
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_LIST_MENU));
    if (!menu) return;
    TrackPopupMenu(GetSubMenu(menu, 0), TPM_RIGHTBUTTON, at.x, at.y, 0, dialog, nullptr);
    DestroyMenu(menu);
}

BOOL OnRightClick(HWND dialog) {
    POINT cursor;
    GetCursorPos(&cursor);
    ShowContextMenu(dialog, cursor);
    return TRUE;
}

}  // namespace

INT_PTR OnNotify(HWND dialog, NMHDR* header) {
    if (header->idFrom != IDC_ENTRY_LIST) return FALSE;
    HWND listView = header->hwndFrom;
    switch (header->code) {
    case NM_CUSTOMDRAW: return OnCustomDraw(dialog, listView, reinterpret_cast<NMLVCUSTOMDRAW*>(header));
    case LVN_ITEMCHANGED: return OnItemChanged(dialog, *reinterpret_cast<NMLISTVIEW*>(header));
    case LVN_COLUMNCLICK:
        HeaderSort(dialog, reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
        return FALSE;
    case NM_DBLCLK: return OnDoubleClick(dialog, listView);
    case NM_RCLICK: return OnRightClick(dialog);
    case NM_SETFOCUS:
    case NM_KILLFOCUS: return OnFocusChanged();
    default: return FALSE;
    }
}

// The Apps key opens the context menu just under the column headers.
LRESULT CALLBACK ListViewKeyProc(HWND listView, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN && wParam == VK_APPS) {
        RECT header = {};
        GetWindowRect(reinterpret_cast<HWND>(SendMessageA(listView, LVM_GETHEADER, 0, 0)), &header);
        ShowContextMenu(GetParent(listView), POINT{header.left, header.bottom});
        return 0;
    }
    return CallWindowProcA(mainWindow.listViewProc, listView, message, wParam, lParam);
}
