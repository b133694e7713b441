// Keeps list view 4001 row for row in step with the entry list.
#include "mainwindow/entry_list_view.h"

namespace {

// The check box of a row is its state image: 1 not ticked, 2 ticked.
constexpr UINT kStateImageMask = 0xF000;
constexpr UINT kUncheckedState = 0x1000;
constexpr UINT kCheckedState = 0x2000;
constexpr UINT kSelectionMask = LVIS_SELECTED | LVIS_FOCUSED;

void SetCellText(HWND listView, int row, int column, const char* text) {
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text);
    SendMessageA(listView, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

// The view writes rows for as long as one lives: the list view's reports of those writes are
// no clicks. Nests.
class WritingRows {
public:
    explicit WritingRows(bool& writing) : writing_(writing), was_(writing) { writing_ = true; }
    ~WritingRows() { writing_ = was_; }

private:
    bool& writing_;
    bool was_;
};

void SetRowState(HWND listView, int row, UINT state, UINT mask) {
    LVITEMA item = {};
    item.stateMask = mask;
    item.state = state;
    SendMessageA(listView, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

EntryListView::~EntryListView() { Unbind(); }

void EntryListView::Bind(HWND listView, EntryList* list) {
    Unbind();
    listView_ = listView;
    list_ = list;
    if (list_) list_->SetObserver(this);
    Rebuild();
}

void EntryListView::Unbind() {
    if (list_) list_->SetObserver(nullptr);
    list_ = nullptr;
    listView_ = nullptr;
}

void EntryListView::WriteRow(int row, RowWrite how, UINT selection) {
    MenuExtEntry entry;
    if (!listView_ || !list_->GetEntryAt(row, &entry)) return;
    WritingRows writing(writing_);
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = entry.name;
    if (how == RowWrite::kInsert) {
        // A refusal (no memory) leaves the row out of sight; the entry itself stays in the list.
        row = static_cast<int>(SendMessageA(listView_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    } else {
        SendMessageA(listView_, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    if (row >= 0) {
        // A list view with check boxes gives every new row an empty box; the box is set after.
        UINT mask = kStateImageMask | (how == RowWrite::kUpdateKeepingSelection ? 0 : kSelectionMask);
        SetRowState(listView_, row, (entry.enabled ? kCheckedState : kUncheckedState) | (selection & kSelectionMask),
                    mask);
        WriteCells(row, entry);
    }
}

void EntryListView::WriteCells(int row, const MenuExtEntry& entry) {
    char letters[2 * kContextBitCount + 1];
    FormatContextLetters(entry.contexts, letters);
    char flags[16];
    FormatFlags(entry.flags, flags);
    SetCellText(listView_, row, 1, letters);
    SetCellText(listView_, row, 2, flags);
    SetCellText(listView_, row, 3, entry.target);
}

UINT EntryListView::SelectionState(int row) const {
    return static_cast<UINT>(SendMessageA(listView_, LVM_GETITEMSTATE, row, kSelectionMask)) & kSelectionMask;
}

void EntryListView::Rebuild() {
    if (!listView_ || !list_) return;
    SendMessageA(listView_, LVM_DELETEALLITEMS, 0, 0);
    for (int row = 0; row < list_->Count(); ++row) WriteRow(row, RowWrite::kInsert, 0);
}

std::vector<int> EntryListView::SelectedRows() const {
    std::vector<int> rows;
    for (int row = FirstSelectedRow(); row != -1;
         row = static_cast<int>(SendMessageA(listView_, LVM_GETNEXTITEM, row, MAKELPARAM(LVNI_SELECTED, 0))))
        rows.push_back(row);
    return rows;
}

int EntryListView::SelectedCount() const {
    return listView_ ? static_cast<int>(SendMessageA(listView_, LVM_GETSELECTEDCOUNT, 0, 0)) : 0;
}

int EntryListView::FirstSelectedRow() const {
    if (!listView_) return -1;
    return static_cast<int>(SendMessageA(listView_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
}

void EntryListView::SelectOnly(int row) {
    if (!listView_) return;
    SetRowState(listView_, -1, 0, kSelectionMask);
    if (row >= 0) SetRowState(listView_, row, kSelectionMask, kSelectionMask);
}

void EntryListView::SelectAll() {
    int rows = list_ ? list_->Count() : 0;
    if (!listView_ || rows <= 0) return;
    {
        RedrawPause pause(*this);
        for (int row = 0; row < rows - 1; ++row) SetRowState(listView_, row, LVIS_SELECTED, LVIS_SELECTED);
        SetRowState(listView_, rows - 1, kSelectionMask, kSelectionMask);
    }
    EnsureVisible(rows - 1);
}

void EntryListView::EnsureVisible(int row) {
    if (listView_ && row >= 0) SendMessageA(listView_, LVM_ENSUREVISIBLE, row, FALSE);
}

bool EntryListView::IsBoxClick(const NMLISTVIEW& change, bool* ticked) const {
    if (!list_ || writing_ || change.uChanged != LVIF_STATE) return false;
    UINT box = change.uNewState & kStateImageMask;
    if (box == 0 || box == (change.uOldState & kStateImageMask)) return false;
    MenuExtEntry entry;
    if (!list_->GetEntryAt(change.iItem, &entry)) return false;
    *ticked = box != kUncheckedState;
    return (entry.enabled != 0) != *ticked;
}

void EntryListView::RedrawAllRows() {
    // While the redrawing is off, the repaint at its end covers every row.
    if (!listView_ || RedrawPaused()) return;
    int count = static_cast<int>(SendMessageA(listView_, LVM_GETITEMCOUNT, 0, 0));
    SendMessageA(listView_, LVM_REDRAWITEMS, 0, count);
    // Some list views (Wine's) invalidate a row only from their report margin on, while the
    // row background covers the whole bounds; the margin would keep an old hatch.
    InvalidateRect(listView_, nullptr, FALSE);
}

void EntryListView::EntryInserted(int index) {
    WriteRow(index, RowWrite::kInsert, 0);
    RedrawAllRows();
}

void EntryListView::EntryRemoved(int index) {
    if (!listView_) return;
    {
        WritingRows writing(writing_);
        SendMessageA(listView_, LVM_DELETEITEM, index, 0);
    }
    RedrawAllRows();
}

// The row goes with its entry, selected and focused as it was.
void EntryListView::EntryMoved(int from, int to) {
    if (!listView_) return;
    UINT state = SelectionState(from);
    WritingRows writing(writing_);
    SendMessageA(listView_, LVM_DELETEITEM, from, 0);
    WriteRow(to, RowWrite::kInsert, state);
}

void EntryListView::EntriesSwapped(int a, int b) {
    if (!listView_) return;
    UINT stateA = SelectionState(a), stateB = SelectionState(b);
    // Each row takes the other's selection, so that the selection stays with its entry.
    WriteRow(a, RowWrite::kUpdate, stateB);
    WriteRow(b, RowWrite::kUpdate, stateA);
    RedrawAllRows();
}

void EntryListView::EntryChanged(int index) {
    WriteRow(index, RowWrite::kUpdateKeepingSelection, 0);
    RedrawAllRows();
}

void EntryListView::EntriesCleared() {
    if (listView_) SendMessageA(listView_, LVM_DELETEALLITEMS, 0, 0);
}

RedrawPause::RedrawPause(EntryListView& view) : view_(view) {
    if (view_.pauses_++ == 0 && view_.listView_) SendMessageA(view_.listView_, WM_SETREDRAW, FALSE, 0);
}

RedrawPause::~RedrawPause() {
    if (--view_.pauses_ > 0 || !view_.listView_) return;
    SendMessageA(view_.listView_, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(view_.listView_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}
