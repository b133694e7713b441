// Draws the rows of the entry list: flat check box, Contexts letter cells and the hatch of
// the entries Internet Explorer leaves out.
#include "mainwindow/row_drawing.h"

#include "mainwindow/list_columns.h"

namespace {

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
// (a round trip to the window server under Wine) once per paint, a row's entry and look once
// per row rather than once for its background and again for each of its cells.
struct PaintState {
    HWND listView = nullptr;
    bool focused = false;
    int row = -1;
    MenuExtEntry entry = {};
    RowLook look = {};
};
PaintState g_paint;

void BeginPaintState(HWND listView) {
    g_paint = PaintState();
    g_paint.listView = listView;
    g_paint.focused = GetFocus() == listView;
}

// False when the list holds no entry for the row (a paint that outran a change).
bool BeginRowState(HWND listView, const EntryList& list, bool disSlash, int row) {
    if (g_paint.listView != listView) BeginPaintState(listView);
    g_paint.row = -1;
    if (!list.GetEntryAt(row, &g_paint.entry)) return false;
    g_paint.look = {RowMarked(list, row, disSlash), HasState(listView, row, LVIS_SELECTED), g_paint.focused};
    g_paint.row = row;
    return true;
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
    HBRUSH brush = CreateBackgroundBrush(g_paint.look);
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
    COLORREF oldText = SetTextColor(dc, TextColour(g_paint.look));

    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    RECT text = label;
    text.left += metrics.tmAveCharWidth;
    text.right -= metrics.tmAveCharWidth;

    const MenuExtEntry& entry = g_paint.entry;
    if (column == kNameColumn) DrawCheckBox(dc, label, entry.enabled != 0);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    if (column == kContextsColumn) {
        ContextCells(dc, entry.contexts, text);
    } else {
        char flags[16];
        FormatFlags(entry.flags, flags);
        const char* shown = column == kNameColumn ? entry.name : column == kFlagsColumn ? flags : entry.target;
        DrawTextA(dc, shown, -1, &text, DT_END_ELLIPSIS | kCellTextFormat | ColumnAlignment(listView, column));
    }
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldText);
}

void DrawFocus(HWND listView, HDC dc, int row) {
    if (!HasState(listView, row, LVIS_FOCUSED) || !g_paint.focused) return;
    RECT bounds = RowBounds(listView, row);
    DrawFocusRect(dc, &bounds);
}

}  // namespace

bool RowMarked(const EntryList& list, int index, bool disSlash) {
    MenuExtEntry entry;
    if (!list.GetEntryAt(index, &entry)) return false;
    if (disSlash && !entry.enabled) return true;
    return index >= list.CountDisabledBefore(index) + kEntriesUsedByIe;
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

LRESULT DrawEntryListItem(HWND listView, const EntryList& list, bool disSlash, NMLVCUSTOMDRAW* draw) {
    int row = static_cast<int>(draw->nmcd.dwItemSpec);
    HDC dc = draw->nmcd.hdc;
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        BeginPaintState(listView);
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        if (!BeginRowState(listView, list, disSlash, row)) return CDRF_DODEFAULT;
        DrawRowBackground(listView, dc, row);
        return CDRF_NOTIFYSUBITEMDRAW | CDRF_NOTIFYPOSTPAINT;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
        if (g_paint.listView != listView || g_paint.row != row) return CDRF_DODEFAULT;
        DrawCell(listView, dc, row, draw->iSubItem);
        return CDRF_SKIPDEFAULT;
    case CDDS_ITEMPOSTPAINT:
        DrawFocus(listView, dc, row);
        return CDRF_SKIPDEFAULT;
    default: return CDRF_DODEFAULT;
    }
}
