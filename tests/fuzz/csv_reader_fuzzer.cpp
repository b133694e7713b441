// libFuzzer harness of the CSV reader: any bytes are read within the buffer and survive a round trip;
// first-line fields are unquoted into uninitialised buffers of exactly the size told, so overruns show.
#include "formats/csv_text.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char> text(data, data + size);
    text.push_back('\0');
    std::vector<char> line = text;
    line[strcspn(line.data(), "\r\n")] = '\0';
    size_t outSize = size > 0 ? data[0] % 16 + 1 : 1;
    CsvLineCursor cursor;
    for (char* field = CsvNextField(line.data(), &cursor); field; field = CsvNextField(nullptr, &cursor)) {
        char* out = new char[outSize];
        if (CsvUnquoteField(field, out, outSize)) FUZZ_CHECK(strlen(out) < outSize);
        FUZZ_CHECK(strlen(out) <= strlen(field));
        delete[] out;
    }
    EntrySequence entries;
    ParseCsvText(text.data(), entries);
    CheckRoundTrip(entries, std::string(), kCsvLineSize, ParseCsvText, FormatCsvLine);
    return 0;
}
