// libFuzzer harness of the REGEDIT4 reader: any bytes must be read without a step outside the
// buffer, every entry must fit its record, and what was read must come back unchanged after
// being written and read again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "formats/reg_text.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char> text(data, data + size);
    text.push_back('\0');
    std::vector<char> counted = text;
    int keyLines = CountRegEntryLines(counted.data());

    EntrySequence entries;
    ParseRegText(text.data(), entries);
    FUZZ_CHECK(entries.size() <= static_cast<size_t>(keyLines));

    std::string written(kRegHeaderSize, '\0');
    written.resize(static_cast<size_t>(FormatRegHeader(&written[0], written.size())));
    for (const MenuExtEntry& e : entries) {
        CheckEntryFits(e);
        FUZZ_CHECK(e.enabled == 0);
        char block[kRegBlockSize];
        int length = FormatRegEntryBlock(e, block, sizeof(block));
        FUZZ_CHECK(length > 0);
        written.append(block, static_cast<size_t>(length));
    }

    EntrySequence again;
    ParseRegText(&written[0], again);
    FUZZ_CHECK(again.size() == entries.size());
    for (size_t i = 0; i < entries.size(); ++i) FUZZ_CHECK(SameEntry(entries[i], again[i]));
    return 0;
}
