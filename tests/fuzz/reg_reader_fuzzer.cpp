// libFuzzer harness of the REGEDIT4 reader: any bytes are read without a step outside the
// buffer, into no more entries than there are entry key lines, and survive a round trip.
#include "formats/reg_text.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char> text(data, data + size);
    text.push_back('\0');
    std::vector<char> counted = text;
    EntrySequence entries;
    ParseRegText(text.data(), entries);
    FUZZ_CHECK(entries.size() <= static_cast<size_t>(CountRegEntryLines(counted.data())));
    for (const MenuExtEntry& e : entries) FUZZ_CHECK(e.enabled == 0);  // a round trip would keep any other value
    std::string header(kRegHeaderSize, '\0');
    header.resize(static_cast<size_t>(FormatRegHeader(&header[0], header.size())));
    CheckRoundTrip(entries, header, kRegBlockSize, ParseRegText, FormatRegEntryBlock);
    return 0;
}
