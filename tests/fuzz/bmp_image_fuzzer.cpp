// libFuzzer harness of the BMP layout check: whatever it accepts, the bytes the platform then
// reads (info header, colour masks and table, pixel rows) all lie inside the image.
#include "controls/bmp_image.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

uint32_t Field(const unsigned char* at) { uint32_t value; memcpy(&value, at, 4); return value; }

// Reads every byte of [offset, offset + count), so AddressSanitizer sees a step outside.
unsigned Touch(const unsigned char* image, uint64_t offset, uint64_t count) {
    unsigned sum = 0;
    for (uint64_t i = 0; i < count; ++i) sum += image[offset + i];
    return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A heap block of exactly the input's size, with nothing after it to read by mistake.
    unsigned char* image = new unsigned char[size ? size : 1];
    memcpy(image, data, size);
    BmpImageLayout layout;
    if (ReadBmpImageLayout(size ? image : nullptr, size, &layout)) {
        const unsigned char* info = image + kBmpInfoOffset;
        const uint64_t headerSize = Field(info), compression = Field(info + 16), used = Field(info + 32);
        FUZZ_CHECK(layout.width > 0 && layout.height != 0 && Field(image + 2) <= size);
        uint64_t table = layout.bitCount && layout.bitCount <= 8 ? (used ? used : 1u << layout.bitCount) * 4 : used * 4;
        if (compression == 3 && headerSize == 40) table += 12;
        uint64_t rows = static_cast<uint64_t>(layout.height < 0 ? -static_cast<int64_t>(layout.height) : layout.height);
        uint64_t pixels = layout.bitCount ? (static_cast<uint64_t>(layout.width) * layout.bitCount + 31) / 32 * 4 * rows
                                          : Field(info + 20);
        volatile unsigned sink = Touch(image, kBmpInfoOffset, headerSize + table) + Touch(image, layout.bitsOffset, pixels);
        (void)sink;
    }
    delete[] image;
    return 0;
}
