// The layout check of in-memory BMP file images.
#include "controls/bmp_image.h"

namespace {

constexpr uint32_t kBiRgb = 0, kBiBitfields = 3, kBiJpeg = 4, kBiPng = 5;
constexpr uint32_t kInfoHeaderSize = 40;

// Little-endian fields, read byte by byte: the image need not be aligned.
uint32_t U32(const unsigned char* at) {
    return at[0] | (uint32_t(at[1]) << 8) | (uint32_t(at[2]) << 16) | (uint32_t(at[3]) << 24);
}
uint16_t U16(const unsigned char* at) { return static_cast<uint16_t>(at[0] | (at[1] << 8)); }

}  // namespace

bool ReadBmpImageLayout(const unsigned char* image, size_t length, BmpImageLayout* layout) {
    if (!image || length < kBmpInfoOffset + kInfoHeaderSize || image[0] != 'B' || image[1] != 'M') return false;
    const uint64_t fileSize = U32(image + 2);
    if (fileSize > length || fileSize < kBmpInfoOffset + kInfoHeaderSize) return false;
    const unsigned char* info = image + kBmpInfoOffset;
    const uint64_t headerSize = U32(info);
    const int64_t width = static_cast<int32_t>(U32(info + 4));
    const int64_t height = static_cast<int32_t>(U32(info + 8));
    const uint16_t planes = U16(info + 12), bitCount = U16(info + 14);
    const uint32_t compression = U32(info + 16), imageSize = U32(info + 20), coloursUsed = U32(info + 32);
    const uint64_t bitsOffset = U32(image + 10);
    if (headerSize < kInfoHeaderSize || kBmpInfoOffset + headerSize > fileSize) return false;
    if (width <= 0 || height == 0 || planes != 1 || bitsOffset > fileSize) return false;

    uint64_t pixelBytes = 0;
    if (bitCount == 0) {
        // The platform decodes these itself, reading the number of bytes the header gives.
        if ((compression != kBiJpeg && compression != kBiPng) || imageSize == 0) return false;
        pixelBytes = imageSize;
    } else {
        const bool known = bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 ||
                           bitCount == 32;
        if (!known || !(compression == kBiRgb || (compression == kBiBitfields && bitCount >= 16))) return false;
        const uint64_t stride = (static_cast<uint64_t>(width) * bitCount + 31) / 32 * 4;
        if (stride > fileSize) return false;  // also keeps the product below from overflowing
        pixelBytes = stride * static_cast<uint64_t>(height < 0 ? -height : height);
    }
    uint64_t tableEntries = coloursUsed;
    if (bitCount != 0 && bitCount <= 8) {
        const uint64_t most = uint64_t(1) << bitCount;
        if (tableEntries > most) return false;
        if (tableEntries == 0) tableEntries = most;
    }
    const uint64_t masks = (compression == kBiBitfields && headerSize == kInfoHeaderSize) ? 12 : 0;
    if (kBmpInfoOffset + headerSize + masks + tableEntries * 4 > fileSize) return false;
    if (bitsOffset + pixelBytes > fileSize) return false;

    layout->bitsOffset = static_cast<size_t>(bitsOffset);
    layout->width = static_cast<int32_t>(width);
    layout->height = static_cast<int32_t>(height);
    layout->bitCount = bitCount;
    return true;
}
