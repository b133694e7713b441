// Commands on the entries themselves: delete, enable, disable and invert the selection, the
// check-state sort, moving and selecting all.
#include <windows.h>
#include <commctrl.h>

#include "mainwindow/commands.h"
#include "mainwindow/entry_list_view.h"
#include "mainwindow/main_window.h"
#include "mainwindow/messages.h"
#include "mainwindow/modifier_keys.h"

namespace {

constexpr int kAllRows = -1;

void SetRowState(HWND listView, int row, UINT state) {
    LVITEMA item = {};
    item.stateMask = state;
    item.state = state;
    SendMessageA(listView, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

int Direction(uint32_t sortState) { return static_cast<int>(sortState >> 16); }

}  // namespace

// Shift held skips the question, with the key, the button or the menu item alike.
void DeleteCommand(HWND dialog) {
    if (!IsKeyHeld(VK_SHIFT) &&
        ShowMessage(dialog, kDeleteQuestion, kAppCaption, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    HWND listView = mainWindow.listView;
    SuspendListRedraw(listView);
    for (int row; (row = NextSelectedRow(listView, -1)) != -1;)
        if (!entryList.DeleteEntryAt(row)) break;
    ResumeListRedraw(listView);
    // Deleted rows report no selection change, so the buttons would still offer to act on them.
    EnableSelectionButtons(dialog, listView);
    MarkListChanged(dialog);
}

// The check-box notification copies each change into the entry and marks the list.
void EnableSelectedCommand(HWND) {
    HWND listView = mainWindow.listView;
    SuspendListRedraw(listView);
    for (int row = NextSelectedRow(listView, -1); row != -1; row = NextSelectedRow(listView, row))
        if (!IsRowTicked(listView, row)) SetRowTicked(listView, row, true);
    ResumeListRedraw(listView);
}

void DisableSelectedCommand(HWND) {
    HWND listView = mainWindow.listView;
    SuspendListRedraw(listView);
    // With DisBottom each disabled row moves to the end and keeps its selection, so the search
    // starts over from the top and the count of selected rows ends the walk.
    int remaining = SelectedRowCount(listView);
    for (int row = NextSelectedRow(listView, -1); row != -1 && remaining > 0; --remaining) {
        if (IsRowTicked(listView, row)) SetRowTicked(listView, row, false);
        row = NextSelectedRow(listView, mainWindow.DisBottom ? -1 : row);
    }
    ResumeListRedraw(listView);
}

void InvertSelectedCommand(HWND) {
    HWND listView = mainWindow.listView;
    SuspendListRedraw(listView);
    int remaining = SelectedRowCount(listView);
    for (int row = NextSelectedRow(listView, -1); row != -1 && remaining > 0; row = NextSelectedRow(listView, row)) {
        --remaining;
        bool ticked = IsRowTicked(listView, row);
        SetRowTicked(listView, row, !ticked);
        // With DisBottom a row disabled here went to the end; the next one took its index.
        if (ticked && mainWindow.DisBottom) --row;
    }
    ResumeListRedraw(listView);
}

// A reorder made here alone is written only with the next change: the mark is left alone.
void SortByCheckCommand(HWND) {
    uint32_t& sortState = mainWindow.sortState;
    if ((sortState & 0xFFFF) == kSortByCheckState) {
        int direction = Direction(sortState) == kDirectionEnabledFirst ? kDirectionDisabledFirst : kDirectionEnabledFirst;
        sortState = static_cast<uint32_t>(MakeSortWord(direction, kCheckSortColumn));
    } else {
        sortState = static_cast<uint32_t>(MakeSortWord(kDirectionEnabledFirst, kCheckSortColumn));
    }
    HWND listView = mainWindow.listView;
    SuspendListRedraw(listView);
    entryList.PartitionByCheck(listView, static_cast<int>(sortState), IsKeyHeld(VK_CONTROL) ? kEntriesUsedByIe : kAllRows);
    ResumeListRedraw(listView);
}

// A selection that touches the top or the bottom cannot move, and still counts as a change.
void MoveUpCommand(HWND dialog) {
    if (entryList.MoveSelectedUp()) MarkListChanged(dialog);
}

void MoveDownCommand(HWND dialog) {
    if (entryList.MoveSelectedDown()) MarkListChanged(dialog);
}

void SelectAllCommand(HWND) {
    HWND listView = mainWindow.listView;
    int rows = static_cast<int>(SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0));
    if (rows <= 0) return;
    SuspendListRedraw(listView);
    for (int row = 0; row < rows - 1; ++row) SetRowState(listView, row, LVIS_SELECTED);
    SetRowState(listView, rows - 1, LVIS_SELECTED | LVIS_FOCUSED);
    ResumeListRedraw(listView);
    SendMessageA(listView, LVM_ENSUREVISIBLE, rows - 1, FALSE);
}
