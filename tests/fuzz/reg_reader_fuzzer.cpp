// libFuzzer harness of the REGEDIT4 reader: any bytes are read without a step outside the
// buffer, into no more entries than there are entry key lines, and survive a round trip. The
// import reading takes the version-5 header as "REGEDIT4" and, with the lines holding a "?"
// marked as lossy (as a conversion from Unicode marks them), lets none of their entries through.
#include <cstring>

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

    std::string imported(reinterpret_cast<const char*>(data), size), asRegedit4 = imported;
    size_t first = asRegedit4.find_first_not_of("\r\n");  // empty lines vanish, before the header too
    if (first != std::string::npos && asRegedit4.compare(first, strlen(kRegVersion5Header), kRegVersion5Header) == 0)
        asRegedit4.replace(first, strlen(kRegVersion5Header), kRegHeader);
    std::string keyLines = asRegedit4;
    LossyLineStarts lossy;
    for (size_t i = 0, start = 0; i < size && data[i] != 0; ++i) {
        if (data[i] == '\r' || data[i] == '\n') start = i + 1;
        if (data[i] == '?' && (lossy.empty() || lossy.back() != start)) lossy.push_back(start);
    }
    EntrySequence kept, expected;
    int leftOut = ParseRegImportText(&imported[0], kept, lossy);
    ParseRegText(&asRegedit4[0], expected);
    FUZZ_CHECK(kept.size() + static_cast<size_t>(leftOut) <= static_cast<size_t>(CountRegEntryLines(&keyLines[0])));
    for (const MenuExtEntry& e : kept) FUZZ_CHECK(!strchr(e.name, '?') && !strchr(e.target, '?'));
    if (lossy.empty())
        FUZZ_CHECK(leftOut == 0 && kept.size() == expected.size() &&
                   (kept.empty() || !memcmp(kept.data(), expected.data(), kept.size() * sizeof(MenuExtEntry))));
    return 0;
}
