// The entry list as it looks on screen: every row is drawn by the program through the list
// view's custom-draw notifications.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>

// Colours of rows that Internet Explorer will not use (and, with DisSlash, disabled rows).
constexpr COLORREF kMarkedColour = RGB(255, 128, 128);
constexpr COLORREF kMarkedInactiveColour = RGB(255, 192, 192);

// Custom-draw result for one NM_CUSTOMDRAW of the entry list.
LRESULT DrawEntryListItem(HWND listView, NMLVCUSTOMDRAW* draw);

// True when row `row` is hatched: 32 or more rows before it are not disabled, or it is
// disabled and DisSlash is set.
bool RowMarked(HWND listView, int row);

// Draws the seven Contexts cells of `contexts` from the left edge of `textRect`, ending in
// "..." at the first cell that does not fit.
void ContextCells(HDC dc, uint32_t contexts, const RECT& textRect);

// Around a bulk change of the rows: switches the list's redrawing off, and back on with one
// full repaint.
void SuspendListRedraw(HWND listView);
void ResumeListRedraw(HWND listView);

// Redraws every row; the hatching of a row depends on the check boxes of all rows before it,
// and the tint of selected rows on whether the list has the focus.
void RedrawAllRows(HWND listView);
