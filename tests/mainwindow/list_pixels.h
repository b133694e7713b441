// What a window (the entry list, mostly) shows: its client area, copied from its own device
// context once pending paints are done, so tests read back the colours a user would see.
#pragma once

#include <windows.h>

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

    COLORREF At(int x, int y) const {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
        DWORD pixel = bits_[y * width_ + x];  // 0x00RRGGBB
        return RGB(GetBValue(pixel), GetGValue(pixel), GetRValue(pixel));
    }

    // Pixels within `rect` (client coordinates) that are, or are not, `colour`.
    int Count(const RECT& rect, COLORREF colour, bool same = true) const {
        int count = 0;
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x)
                if (At(x, y) != CLR_INVALID && (At(x, y) == colour) == same) ++count;
        return count;
    }
    int CountOther(const RECT& rect, COLORREF colour) const { return Count(rect, colour, false); }

private:
    int width_, height_;
    std::vector<DWORD> bits_;
};
