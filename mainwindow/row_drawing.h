// The entry list as it looks on screen: every row is drawn by the program through the list
// view's custom-draw notifications, from the entries themselves.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>

#include "core/entry_list.h"

// Colours of rows that Internet Explorer will not use (and, with DisSlash, disabled rows).
constexpr COLORREF kMarkedColour = RGB(255, 128, 128);
constexpr COLORREF kMarkedInactiveColour = RGB(255, 192, 192);

// Custom-draw result for one NM_CUSTOMDRAW of the list view that shows `list`.
LRESULT DrawEntryListItem(HWND listView, const EntryList& list, bool disSlash, NMLVCUSTOMDRAW* draw);

// True when the entry at `index` is hatched: 32 or more entries before it are not disabled,
// or it is disabled and `disSlash` is set.
bool RowMarked(const EntryList& list, int index, bool disSlash);

// Draws the seven Contexts cells of `contexts` from the left edge of `textRect`, ending in
// "..." at the first cell that does not fit.
void ContextCells(HDC dc, uint32_t contexts, const RECT& textRect);
