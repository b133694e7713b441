// Checks a BMP file image held in memory before any of it reaches the platform; free of
// windows.h, so it also builds natively for the sanitizers.
#pragma once

#include <cstddef>
#include <cstdint>

struct BmpImageLayout {
    size_t bitsOffset;  // of the pixel rows, from the start of the file
    int32_t width;
    int32_t height;     // negative for rows stored top-down
    uint16_t bitCount;  // 0 for an embedded JPEG or PNG
};

// The BITMAPINFOHEADER starts right after the 14-byte file header.
constexpr size_t kBmpInfoOffset = 14;

// True when `image` (`length` bytes) starts with "BM", claims no more bytes than `length`,
// and its info header, colour table and pixel data all lie inside the bytes it claims.
bool ReadBmpImageLayout(const unsigned char* image, size_t length, BmpImageLayout* layout);
