// Commands on the entries themselves: delete, enable, disable and invert the selection, the
// check-state sort, moving and selecting all.
#include <windows.h>

#include <vector>

#include "mainwindow/commands.h"
#include "mainwindow/entry_list_view.h"
#include "mainwindow/main_state.h"
#include "common/texts.h"
#include "mainwindow/modifier_keys.h"

namespace {

constexpr int kAllRows = -1;

// Sets the entries selected when the command began (`wanted` gives each one's new state from its
// present one). Those rows are walked, not the selection as it changes: with DisBottom an entry
// disabled here moves to the end, still selected, and the rows below it move up by one.
void SetSelectedEnabled(HWND dialog, bool (*wanted)(bool enabled)) {
    RedrawPause pause(entryListView);
    int movedToEnd = 0;
    for (int selected : entryListView.SelectedRows()) {
        int index = selected - movedToEnd;
        MenuExtEntry entry;
        if (!entryList.GetEntryAt(index, &entry)) continue;
        bool enabled = wanted(entry.enabled != 0);
        if (enabled == (entry.enabled != 0)) continue;
        SetEntryEnabled(dialog, index, enabled);
        if (!enabled && mainWindow.options.DisBottom) ++movedToEnd;
    }
}

// After a move of the selected rows: `visible` (-1 when nothing was selected) brought into view.
void ShowMovedRows(HWND dialog, int visible) {
    if (visible < 0) return;
    entryListView.EnsureVisible(visible);
    MarkListChanged(dialog);
}

}  // namespace

void SetEntryEnabled(HWND dialog, int index, bool enabled) {
    if (!entryList.SetEnabled(index, enabled)) return;
    MarkListChanged(dialog);
    if (!enabled && mainWindow.options.DisBottom) entryList.MoveEntry(index, entryList.Count() - 1);
}

// Shift held skips the question, with the key, the button or the menu item alike.
void DeleteCommand(HWND dialog) {
    if (!IsKeyHeld(VK_SHIFT) &&
        ShowMessage(dialog, kDeleteQuestion, kAppCaption, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    {
        RedrawPause pause(entryListView);
        std::vector<int> selected = entryListView.SelectedRows();
        // From the bottom, so that the indexes still to go keep their entries.
        for (auto row = selected.rbegin(); row != selected.rend(); ++row) entryList.DeleteEntryAt(*row);
    }
    // Deleted rows report no selection change, so the buttons would still offer to act on them.
    EnableSelectionButtons(dialog);
    MarkListChanged(dialog);
}

void EnableSelectedCommand(HWND dialog) {
    SetSelectedEnabled(dialog, [](bool) { return true; });
}

void DisableSelectedCommand(HWND dialog) {
    SetSelectedEnabled(dialog, [](bool) { return false; });
}

void InvertSelectedCommand(HWND dialog) {
    SetSelectedEnabled(dialog, [](bool enabled) { return !enabled; });
}

// A reorder made here alone is written only with the next change: the mark is left alone.
void SortByCheckCommand(HWND) {
    SortState& sort = mainWindow.sortState;
    sort.SortBy(kSortByCheckState);
    RedrawPause pause(entryListView);
    // Ascending puts the enabled entries first, descending the disabled ones.
    entryList.PartitionByEnabled(sort.descending, IsKeyHeld(VK_CONTROL) ? kEntriesUsedByIe : kAllRows);
}

// A selection that touches the top or the bottom cannot move, and still counts as a change.
void MoveUpCommand(HWND dialog) { ShowMovedRows(dialog, entryList.MoveRunsUp(entryListView.SelectedRows())); }

void MoveDownCommand(HWND dialog) { ShowMovedRows(dialog, entryList.MoveRunsDown(entryListView.SelectedRows())); }

void SelectAllCommand(HWND) { entryListView.SelectAll(); }
