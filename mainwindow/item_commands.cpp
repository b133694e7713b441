// Commands on the entries themselves: delete, enable, disable and invert the selection, the
// check-state sort, moving and selecting all.
#include <windows.h>
#include <commctrl.h>

#include <vector>

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

// The selected rows as the command begins, top first. The commands below walk these and not
// the selection as it changes: with DisBottom a row disabled by the command moves to the end,
// still selected, and the rows below it move up by one.
std::vector<int> SelectedRows(HWND listView) {
    std::vector<int> rows;
    for (int row = NextSelectedRow(listView, -1); row != -1; row = NextSelectedRow(listView, row)) rows.push_back(row);
    return rows;
}

// Ticks or clears the boxes of the rows selected when the command began (`tick` gives each
// row's new state from its present one). The check-box notification copies each change into
// the entry, marks the list and, with DisBottom, moves a disabled entry to the end.
void SetSelectedBoxes(bool (*tick)(bool ticked)) {
    HWND listView = mainWindow.listView;
    SuspendListRedraw(listView);
    int movedToEnd = 0;
    for (int selected : SelectedRows(listView)) {
        int row = selected - movedToEnd;
        bool ticked = IsRowTicked(listView, row);
        bool wanted = tick(ticked);
        if (wanted == ticked) continue;
        SetRowTicked(listView, row, wanted);
        if (!wanted && mainWindow.DisBottom) ++movedToEnd;
    }
    ResumeListRedraw(listView);
}

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

void EnableSelectedCommand(HWND) {
    SetSelectedBoxes([](bool) { return true; });
}

void DisableSelectedCommand(HWND) {
    SetSelectedBoxes([](bool) { return false; });
}

void InvertSelectedCommand(HWND) {
    SetSelectedBoxes([](bool ticked) { return !ticked; });
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
