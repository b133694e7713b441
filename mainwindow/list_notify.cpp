// Notifications of the entry list: row drawing, check boxes and the buttons that follow the
// selection.
#include <windows.h>
#include <commctrl.h>

#include "core/entry_list.h"
#include "mainwindow/entry_list_view.h"
#include "mainwindow/handlers.h"
#include "mainwindow/main_window.h"
#include "resources/resource.h"

namespace {

constexpr int kUnchecked = 1;

// Enables the buttons that need a selection; Edit needs exactly one selected row.
void EnableSelectionButtons(HWND dialog, HWND listView) {
    int selected = static_cast<int>(SendMessageA(listView, LVM_GETSELECTEDCOUNT, 0, 0));
    bool any = selected > 0;
    SetButtonEnabled(dialog, IDC_SAVE, any);
    SetButtonEnabled(dialog, IDC_DELETE, any);
    SetButtonEnabled(dialog, IDC_EDIT, selected == 1);
    SetButtonEnabled(dialog, IDC_MOVE_UP, any);
    SetButtonEnabled(dialog, IDC_MOVE_DOWN, any);
}

void OnCheckBoxChanged(HWND dialog, HWND listView, const NMLISTVIEW& change) {
    int oldImage = static_cast<int>((change.uOldState & kStateImageMask) >> 12);
    int newImage = static_cast<int>((change.uNewState & kStateImageMask) >> 12);
    int row = change.iItem;
    if (oldImage == kUnchecked && newImage != kUnchecked) {
        // A row being added reports its tick before its entry is linked; SetEnabledAt then
        // finds nothing, which is fine.
        entryList.SetEnabledAt(row, 1);
        MarkListChanged(dialog);
        RedrawAllRows(listView);
    } else if (change.uOldState != 0 && oldImage != kUnchecked && newImage == kUnchecked) {
        // A row's very first state (old state 0) is no user action.
        entryList.SetEnabledAt(row, 0);
        MarkListChanged(dialog);
        if (mainWindow.DisBottom)
            entryList.MoveEntry(row, entryList.Count() - 1);
        else
            RedrawAllRows(listView);
    }
}

BOOL OnItemChanged(HWND dialog, HWND listView, const NMLISTVIEW& change) {
    if (change.uChanged == LVIF_STATE && !RowMoveInProgress) OnCheckBoxChanged(dialog, listView, change);
    EnableSelectionButtons(dialog, listView);
    return FALSE;
}

// Selected rows change their tint with the focus; the list view itself repaints only part of
// them (not its report margin), so all rows are redrawn.
BOOL OnFocusChanged(HWND listView) {
    RedrawAllRows(listView);
    return FALSE;
}

BOOL OnCustomDraw(HWND dialog, HWND listView, NMLVCUSTOMDRAW* draw) {
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, DrawEntryListItem(listView, draw));
    return TRUE;
}

}  // namespace

INT_PTR OnNotify(HWND dialog, NMHDR* header) {
    if (header->idFrom != IDC_ENTRY_LIST) return FALSE;
    HWND listView = header->hwndFrom;
    switch (header->code) {
    case NM_CUSTOMDRAW: return OnCustomDraw(dialog, listView, reinterpret_cast<NMLVCUSTOMDRAW*>(header));
    case LVN_ITEMCHANGED: return OnItemChanged(dialog, listView, *reinterpret_cast<NMLISTVIEW*>(header));
    case NM_SETFOCUS:
    case NM_KILLFOCUS: return OnFocusChanged(listView);
    default: return FALSE;
    }
}

LRESULT CALLBACK ListViewKeyProc(HWND listView, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(mainWindow.listViewProc, listView, message, wParam, lParam);
}
