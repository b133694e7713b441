// Sorting the entries by a column when its header is clicked: a shell sort over the entries
// that take part, exchanging entries (and their rows) in place.
#include "mainwindow/header_sort.h"

#include "mainwindow/commands.h"
#include "mainwindow/entry_list_view.h"
#include "mainwindow/list_columns.h"
#include "mainwindow/main_state.h"
#include "mainwindow/modifier_keys.h"

namespace {

// The number of entries before the first disabled one: with DisBottom only these take part.
int EntriesBeforeFirstDisabled() {
    int first = entryList.Count();
    entryList.ForEach([&](int index, const MenuExtEntry& entry) {
        if (entry.enabled) return true;
        first = index;
        return false;
    });
    return first;
}

int SortLimit(int rows) {
    int enabledRun = mainWindow.options.DisBottom ? EntriesBeforeFirstDisabled() : rows;
    if (!IsKeyHeld(VK_CONTROL)) return enabledRun;
    return mainWindow.options.DisBottom && enabledRun < kEntriesUsedByIe ? enabledRun : kEntriesUsedByIe;
}

// Greater than 0 when `earlier` belongs after `later`. Every column but Contexts compares the
// text its rows show, so the flags sort as hexadecimal text: "10" before "2".
int CompareEntries(const MenuExtEntry& earlier, const MenuExtEntry& later, int column, bool descending) {
    int result;
    if (column == kContextsColumn) {
        result = -CompareContexts(earlier.contexts, later.contexts);
    } else if (column == kFlagsColumn) {
        char first[16], second[16];
        FormatFlags(earlier.flags, first);
        FormatFlags(later.flags, second);
        result = lstrcmpA(first, second);
    } else {
        result = column == kNameColumn ? lstrcmpA(earlier.name, later.name) : lstrcmpA(earlier.target, later.target);
    }
    return descending ? -result : result;
}

}  // namespace

int CompareContexts(uint32_t x, uint32_t y) {
    for (; x != y; x >>= 1, y >>= 1) {
        if (!(x & 1) && (y & 1)) return -1;
        if ((x & 1) && !(y & 1)) return 1;
    }
    return 0;
}

void HeaderSort(HWND dialog, int column) {
    int rows = entryList.Count();
    if (rows < 2) return;
    SortState& sort = mainWindow.sortState;
    sort.SortBy(column);
    int limit = SortLimit(rows);
    {
        RedrawPause pause(entryListView);
        entryList.SortLeading(limit, [&](const MenuExtEntry& earlier, const MenuExtEntry& later) {
            return CompareEntries(earlier, later, column, sort.descending);
        });
    }
    // Also when the limit left nothing to sort: the user asked for an order.
    MarkListChanged(dialog);
}
