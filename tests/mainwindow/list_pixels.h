// What the entry list puts on screen: its client area, copied into a bitmap once pending
// paints are done, so tests read back the colours a user would see.
#pragma once

#include <windows.h>

class ListPixels {
public:
    explicit ListPixels(HWND listView);
    ~ListPixels();
    ListPixels(const ListPixels&) = delete;
    ListPixels& operator=(const ListPixels&) = delete;

    COLORREF At(int x, int y) const;
    // Pixels of exactly `colour` within `rect` (client coordinates).
    int Count(const RECT& rect, COLORREF colour) const;
    // Pixels within `rect` that differ from `background`.
    int CountOther(const RECT& rect, COLORREF background) const;

private:
    int width_ = 0;
    int height_ = 0;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    const DWORD* bits_ = nullptr;
};

// The row's whole rectangle (LVIR_BOUNDS) and one cell's label rectangle.
RECT RowRect(HWND listView, int row);
RECT CellRect(HWND listView, int row, int column);
