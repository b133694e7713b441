// Sorting the entries by a column when its header is clicked: a shell sort over the rows
// that take part, exchanging entries (and their rows) in place.
#include "mainwindow/header_sort.h"

#include <commctrl.h>

#include "mainwindow/commands.h"
#include "mainwindow/entry_list_view.h"
#include "mainwindow/list_columns.h"
#include "mainwindow/main_window.h"
#include "mainwindow/modifier_keys.h"

namespace {

constexpr uint32_t kAscending = 16;
constexpr uint32_t kDescending = 32;
constexpr int kCellTextSize = 512;

// The number of rows before the first unticked one: with DisBottom only these take part.
int RowsBeforeFirstDisabled(HWND listView, int rows) {
    for (int row = 0; row < rows; ++row)
        if (!IsRowTicked(listView, row)) return row;
    return rows;
}

int SortLimit(HWND listView, int rows) {
    int enabledRun = mainWindow.DisBottom ? RowsBeforeFirstDisabled(listView, rows) : rows;
    if (!IsKeyHeld(VK_CONTROL)) return enabledRun;
    return mainWindow.DisBottom && enabledRun < kEntriesUsedByIe ? enabledRun : kEntriesUsedByIe;
}

void CellText(HWND listView, int row, int column, char* text) {
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = kCellTextSize;
    text[0] = '\0';
    SendMessageA(listView, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

// Greater than 0 when row `a` belongs after the later row `b`.
int CompareRows(HWND listView, int a, int b, int column, bool descending) {
    int result;
    if (column == kContextsColumn) {
        MenuExtEntry first, second;
        entryList.GetEntryAt(a, &first);
        entryList.GetEntryAt(b, &second);
        result = -CompareContexts(first.contexts, second.contexts);
    } else {
        // Flags sort as the hexadecimal text the rows show: "10" before "2".
        char first[kCellTextSize], second[kCellTextSize];
        CellText(listView, a, column, first);
        CellText(listView, b, column, second);
        result = lstrcmpA(first, second);
    }
    return descending ? -result : result;
}

// Shell sort with the gaps 1, 4, 13, 40 ...; not stable.
void SortRows(HWND listView, int column, bool descending, int rows) {
    if (rows < 2) return;
    int gap = 1;
    while (gap < rows / 3) gap = 3 * gap + 1;
    for (; gap > 0; gap /= 3) {
        for (int i = gap; i < rows; ++i) {
            for (int j = i - gap; j >= 0 && CompareRows(listView, j, j + gap, column, descending) > 0; j -= gap)
                entryList.SwapEntries(j, j + gap);
        }
    }
}

}  // namespace

int CompareContexts(uint32_t x, uint32_t y) {
    for (; x != y; x >>= 1, y >>= 1) {
        if (!(x & 1) && (y & 1)) return -1;
        if ((x & 1) && !(y & 1)) return 1;
    }
    return 0;
}

void HeaderSort(HWND dialog, HWND listView, int column) {
    int rows = static_cast<int>(SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0));
    if (rows < 2) return;
    uint32_t& sortState = mainWindow.sortState;
    if ((sortState & 0xFFFF) == static_cast<uint32_t>(column))
        sortState = ((sortState >> 16) == kAscending ? kDescending : kAscending) << 16 | (sortState & 0xFFFF);
    else
        sortState = kAscending << 16 | static_cast<uint32_t>(column);
    int limit = SortLimit(listView, rows);
    SuspendListRedraw(listView);
    SortRows(listView, column, (sortState >> 16) == kDescending, limit < rows ? limit : rows);
    ResumeListRedraw(listView);
    // Also when the limit left nothing to sort: the user asked for an order.
    MarkListChanged(dialog);
}
