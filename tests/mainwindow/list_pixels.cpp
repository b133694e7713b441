#include "tests/mainwindow/list_pixels.h"

#include <commctrl.h>

#include <algorithm>

ListPixels::ListPixels(HWND listView) {
    RECT client;
    GetClientRect(listView, &client);
    width_ = client.right;
    height_ = client.bottom;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<const DWORD*>(bits);
    oldBitmap_ = SelectObject(dc_, bitmap_);
    // Copied from the window's own device context after any pending paint, so a list that
    // does not repaint (its redrawing left off, say) shows here as it would on screen.
    UpdateWindow(listView);
    HDC window = GetDC(listView);
    BitBlt(dc_, 0, 0, width_, height_, window, 0, 0, SRCCOPY);
    ReleaseDC(listView, window);
    GdiFlush();
}

ListPixels::~ListPixels() {
    SelectObject(dc_, oldBitmap_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

COLORREF ListPixels::At(int x, int y) const {
    if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    DWORD pixel = bits_[y * width_ + x];  // 0x00RRGGBB
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

int ListPixels::Count(const RECT& rect, COLORREF colour) const {
    int count = 0;
    for (int y = std::max<int>(rect.top, 0); y < std::min<int>(rect.bottom, height_); ++y)
        for (int x = std::max<int>(rect.left, 0); x < std::min<int>(rect.right, width_); ++x)
            if (At(x, y) == colour) ++count;
    return count;
}

int ListPixels::CountOther(const RECT& rect, COLORREF background) const {
    int count = 0;
    for (int y = std::max<int>(rect.top, 0); y < std::min<int>(rect.bottom, height_); ++y)
        for (int x = std::max<int>(rect.left, 0); x < std::min<int>(rect.right, width_); ++x)
            if (At(x, y) != background) ++count;
    return count;
}

RECT RowRect(HWND listView, int row) {
    RECT rect = {};
    rect.left = LVIR_BOUNDS;
    SendMessageA(listView, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

RECT CellRect(HWND listView, int row, int column) {
    RECT rect = {};
    rect.top = column;
    rect.left = LVIR_LABEL;
    SendMessageA(listView, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
    return rect;
}
