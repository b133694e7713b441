// Draws the rows of the entry list: flat check box, Contexts letter cells and the hatch of
// the entries Internet Explorer leaves out.
#include "mainwindow/entry_list_view.h"

#include "core/entry_list.h"
#include "mainwindow/list_columns.h"
#include "mainwindow/main_window.h"

namespace {

// Internet Explorer shows only this many extensions.
// The check box is drawn in the 13 pixels left of the name's label.
constexpr int kCheckBoxLeft = 14;
constexpr int kCheckBoxGap = 1;

constexpr UINT kCellTextFormat = DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE | DT_VCENTER;

bool HasState(HWND listView, int row, UINT state) {
    return (SendMessageA(listView, LVM_GETITEMSTATE, row, state) & state) != 0;
}

RECT RowBounds(HWND listView, int row) {
    RECT rect = {};
    rect.left = LVIR_BOUNDS;
    SendMessageA(listView, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

struct RowLook {
    bool marked;
    bool selected;
    bool focused;  // the list view has the keyboard focus
};

// What one paint of the list asks again and again, asked once: whether the list has the focus
// (a round trip to the window server under Wine) once per paint, a row's look once per row
// rather than once for its background and again for each of its cells.
struct PaintState {
    HWND listView = nullptr;
    bool focused = false;
    int row = -1;
    RowLook look = {};
};
PaintState g_paint;

bool ListHasFocus(HWND listView) {
    return g_paint.listView == listView ? g_paint.focused : GetFocus() == listView;
}

RowLook LookOf(HWND listView, int row) {
    if (g_paint.listView == listView && g_paint.row == row) return g_paint.look;
    return {RowMarked(listView, row), HasState(listView, row, LVIS_SELECTED), ListHasFocus(listView)};
}

void BeginPaintState(HWND listView) {
    g_paint = PaintState();
    g_paint.listView = listView;
    g_paint.focused = GetFocus() == listView;
}

void BeginRowState(HWND listView, int row) {
    g_paint.row = -1;
    g_paint.look = LookOf(listView, row);
    g_paint.row = row;
}

COLORREF TextColour(const RowLook& look) {
    bool highlighted = look.selected && look.focused;
    if (look.marked) return highlighted ? RGB(255, 255, 255) : RGB(0, 0, 0);
    return GetSysColor(highlighted ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
}

HBRUSH CreateBackgroundBrush(const RowLook& look) {
    if (look.marked) {
        if (!look.selected) return CreateHatchBrush(HS_BDIAGONAL, kMarkedColour);
        return CreateSolidBrush(look.focused ? kMarkedColour : kMarkedInactiveColour);
    }
    if (!look.selected) return CreateSolidBrush(GetSysColor(COLOR_WINDOW));
    return CreateSolidBrush(GetSysColor(look.focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
}

void DrawRowBackground(HWND listView, HDC dc, int row) {
    RECT bounds = RowBounds(listView, row);
    HBRUSH brush = CreateBackgroundBrush(LookOf(listView, row));
    if (!brush) return;
    // The gaps of the hatch take the background colour, which the list view may have left
    // at the selection colour of the row drawn before.
    int oldMode = SetBkMode(dc, OPAQUE);
    COLORREF oldBack = SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    FillRect(dc, &bounds, brush);
    SetBkColor(dc, oldBack);
    SetBkMode(dc, oldMode);
    DeleteObject(brush);
}

UINT ColumnAlignment(HWND listView, int column) {
    LVCOLUMNA info = {};
    info.mask = LVCF_FMT | LVCF_SUBITEM;
    if (!SendMessageA(listView, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&info))) return DT_LEFT;
    switch (info.fmt & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT: return DT_RIGHT;
    case LVCFMT_CENTER: return DT_CENTER;
    default: return DT_LEFT;
    }
}

void DrawCheckBox(HDC dc, const RECT& label, bool checked) {
    RECT box = {label.left - kCheckBoxLeft, label.top, label.left - kCheckBoxGap, label.bottom};
    DrawFrameControl(dc, &box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (checked ? DFCS_CHECKED : 0));
}

void DrawCell(HWND listView, HDC dc, int row, int column) {
    RECT label = {};
    label.top = column;
    label.left = LVIR_LABEL;
    SendMessageA(listView, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&label));
    COLORREF oldText = SetTextColor(dc, TextColour(LookOf(listView, row)));

    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    RECT text = label;
    text.left += metrics.tmAveCharWidth;
    text.right -= metrics.tmAveCharWidth;

    if (column == kNameColumn) DrawCheckBox(dc, label, IsRowTicked(listView, row));
    UINT alignment = ColumnAlignment(listView, column);

    char buffer[512] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = sizeof(buffer);
    SendMessageA(listView, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    int oldMode = SetBkMode(dc, TRANSPARENT);

    if (column == kContextsColumn) {
        MenuExtEntry entry;
        if (entryList.GetEntryAt(row, &entry)) ContextCells(dc, entry.contexts, text);
    } else {
        DrawTextA(dc, buffer, -1, &text, DT_END_ELLIPSIS | kCellTextFormat | alignment);
    }
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldText);
}

void DrawFocus(HWND listView, HDC dc, int row) {
    if (!HasState(listView, row, LVIS_FOCUSED) || !ListHasFocus(listView)) return;
    RECT bounds = RowBounds(listView, row);
    DrawFocusRect(dc, &bounds);
}

}  // namespace

bool RowMarked(HWND listView, int row) {
    if (mainWindow.DisSlash && !IsRowTicked(listView, row)) return true;
    int disabledBefore = 0;
    for (int i = 0; i < row; ++i)
        if (!IsRowTicked(listView, i)) ++disabledBefore;
    return row >= disabledBefore + kEntriesUsedByIe;
}

void ContextCells(HDC dc, uint32_t contexts, const RECT& textRect) {
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    RECT cell = textRect;
    cell.right = cell.left;
    for (int bit = 0; bit < kContextBitCount; ++bit) {
        cell.left = cell.right;
        cell.right = cell.left + metrics.tmMaxCharWidth;
        if (cell.right > textRect.right) {
            DrawTextA(dc, "...", -1, &cell, DT_LEFT | kCellTextFormat);
            return;
        }
        // Each letter is one double-byte character; a clear bit keeps its place with two blanks.
        const char* letter = (contexts & (1u << bit)) ? ContextLetter(bit) : "  ";
        DrawTextA(dc, letter, 2, &cell, DT_CENTER | DT_END_ELLIPSIS | kCellTextFormat);
    }
}

void RedrawAllRows(HWND listView) {
    // While the redrawing is off, the repaint at its end covers every row. Every row added in
    // a bulk change reports its tick and lands here, and the list view works through all rows
    // for each one (even with nothing to paint), so a load would grow with the square of the
    // rows.
    if (mainWindow.listRedrawSuspended) return;
    int count = static_cast<int>(SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0));
    SendMessageA(listView, LVM_REDRAWITEMS, 0, count);
    // Some list views (Wine's) invalidate a row only from their report margin on, while the
    // row background covers the whole bounds; the margin would keep an old hatch.
    InvalidateRect(listView, nullptr, FALSE);
}

void SuspendListRedraw(HWND listView) {
    SendMessageA(listView, WM_SETREDRAW, FALSE, 0);
    mainWindow.listRedrawSuspended = 1;
}

void ResumeListRedraw(HWND listView) {
    mainWindow.listRedrawSuspended = 0;
    SendMessageA(listView, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(listView, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

LRESULT DrawEntryListItem(HWND listView, NMLVCUSTOMDRAW* draw) {
    int row = static_cast<int>(draw->nmcd.dwItemSpec);
    HDC dc = draw->nmcd.hdc;
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        BeginPaintState(listView);
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        BeginRowState(listView, row);
        DrawRowBackground(listView, dc, row);
        return CDRF_NOTIFYSUBITEMDRAW | CDRF_NOTIFYPOSTPAINT;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
        DrawCell(listView, dc, row, draw->iSubItem);
        return CDRF_SKIPDEFAULT;
    case CDDS_ITEMPOSTPAINT:
        DrawFocus(listView, dc, row);
        return CDRF_SKIPDEFAULT;
    default: return CDRF_DODEFAULT;
    }
}
