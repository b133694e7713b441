// The entry list as the main dialog shows it: list view 4001 kept row for row in step with the
// entry list, row i showing entry i with its check box, and the selection following the
// entries as they move. The list view holds nothing the program reads back but the selection.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "core/entry_list.h"

class EntryListView : public EntryListObserver {
public:
    EntryListView() = default;
    ~EntryListView();
    EntryListView(const EntryListView&) = delete;
    EntryListView& operator=(const EntryListView&) = delete;

    // Shows `list` in `listView` from now on; the rows are written anew from the list.
    void Bind(HWND listView, EntryList* list);
    void Unbind();
    HWND Handle() const { return listView_; }

    // The selected rows, ascending.
    std::vector<int> SelectedRows() const;
    int SelectedCount() const;
    // The first selected row, or -1.
    int FirstSelectedRow() const;
    // Selects `row` alone, with the focus, or clears the selection (-1).
    void SelectOnly(int row);
    // Selects every row, the last one with the focus, and shows it.
    void SelectAll();
    void EnsureVisible(int row);

    // Whether a state change the list view reports is the user's click on a row's check box:
    // the box now differs from its entry, and the view is not writing rows itself. `ticked`
    // receives the box's state.
    bool IsBoxClick(const NMLISTVIEW& change, bool* ticked) const;

    // Redraws every row: the hatching of a row depends on the entries before it, and the tint
    // of selected rows on whether the list has the focus.
    void RedrawAllRows();

    // Whether the list's redrawing is switched off around a bulk change (RedrawPause).
    bool RedrawPaused() const { return pauses_ > 0; }

    // EntryListObserver
    void EntryInserted(int index) override;
    void EntryRemoved(int index) override;
    void EntryMoved(int from, int to) override;
    void EntriesSwapped(int a, int b) override;
    void EntryChanged(int index) override;
    void EntriesCleared() override;

private:
    friend class RedrawPause;

    // Writes row `row` from its entry: a new row inserted there, or the row there rewritten;
    // with `selection` (LVIS_SELECTED and LVIS_FOCUSED) as its selection, or keeping its own.
    enum class RowWrite { kInsert, kUpdate, kUpdateKeepingSelection };
    void WriteRow(int row, RowWrite how, UINT selection);
    void WriteCells(int row, const MenuExtEntry& entry);
    UINT SelectionState(int row) const;
    // Rewrites every row from the list, after the list view refused a row.
    void Rebuild();

    HWND listView_ = nullptr;
    EntryList* list_ = nullptr;
    int pauses_ = 0;
    bool writing_ = false;  // the rows' reports of their own writes are no clicks
};

// Switches the list's redrawing off for a bulk change, and back on with one full repaint when
// the last pause ends. Every row added in a bulk load reports its state, and a list view that
// redraws works through all its rows for each; a load would grow with the square of the rows.
class RedrawPause {
public:
    explicit RedrawPause(EntryListView& view);
    ~RedrawPause();
    RedrawPause(const RedrawPause&) = delete;
    RedrawPause& operator=(const RedrawPause&) = delete;

private:
    EntryListView& view_;
};
