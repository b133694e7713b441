// What a window (the entry list, mostly) shows: its client area, copied from its own device
// context once pending paints are done, so tests read back the colours a user would see.
#pragma once

#include <windows.h>

#include <algorithm>
#include <vector>

class ListPixels {
public:
    explicit ListPixels(HWND window) {
        // A window that does not repaint (its redrawing left off, say) shows here as on screen.
        UpdateWindow(window);
        RECT client;
        GetClientRect(window, &client);
        width_ = client.right;
        height_ = client.bottom;
        bits_.resize(static_cast<size_t>(width_) * height_);
        HDC dc = GetDC(window), memory = CreateCompatibleDC(dc);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, width_, height_);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width_, height_, dc, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;  // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        GetDIBits(memory, bitmap, 0, height_, bits_.data(), &info, DIB_RGB_COLORS);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(window, dc);
    }

    // Pixels within `rect` (client coordinates) that are, or with `same` false are not, `colour`.
    int Count(const RECT& rect, COLORREF colour, bool same = true) const {
        int count = 0;
        for (LONG y = std::max<LONG>(rect.top, 0); y < std::min<LONG>(rect.bottom, height_); ++y)
            for (LONG x = std::max<LONG>(rect.left, 0); x < std::min<LONG>(rect.right, width_); ++x) {
                DWORD pixel = bits_[y * width_ + x];  // 0x00RRGGBB, the reverse of a COLORREF
                count += (RGB(GetBValue(pixel), GetGValue(pixel), GetRValue(pixel)) == colour) == same;
            }
        return count;
    }
    int CountOther(const RECT& rect, COLORREF colour) const { return Count(rect, colour, false); }

private:
    int width_, height_;
    std::vector<DWORD> bits_;
};
