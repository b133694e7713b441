// libFuzzer harness of the REGEDIT4 reader: any bytes are read without a step outside the
// buffer, into no more entries than there are entry key lines, and survive a round trip. The
// import reading takes the version-5 header like "REGEDIT4" and, with every line that holds a
// "?" marked as having lost a character in the conversion from Unicode, lets no such entry through.
#include <cstring>

#include "formats/reg_text.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

bool SameEntries(const EntrySequence& a, const EntrySequence& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (memcmp(&a[i], &b[i], sizeof(MenuExtEntry)) != 0) return false;
    return true;
}

// Where the lines holding a "?" begin, as the file layer notes the lines that lost a character.
LossyLineStarts LinesWithQuestionMarks(const uint8_t* text, size_t size) {
    LossyLineStarts starts;
    size_t start = 0;
    bool marked = false;
    for (size_t i = 0; i < size && text[i] != '\0'; ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            start = i + 1;
            continue;
        }
        if (i == start) marked = false;
        if (text[i] == '?' && !marked) starts.push_back(start), marked = true;
    }
    return starts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char> text(data, data + size);
    text.push_back('\0');
    std::vector<char> counted = text, imported = text, marked = text;
    EntrySequence entries;
    ParseRegText(text.data(), entries);
    FUZZ_CHECK(entries.size() <= static_cast<size_t>(CountRegEntryLines(counted.data())));
    for (const MenuExtEntry& e : entries) FUZZ_CHECK(e.enabled == 0);  // a round trip would keep any other value
    std::string header(kRegHeaderSize, '\0');
    header.resize(static_cast<size_t>(FormatRegHeader(&header[0], header.size())));
    CheckRoundTrip(entries, header, kRegBlockSize, ParseRegText, FormatRegEntryBlock);

    // The version-5 header reads as "REGEDIT4" would; any other text as ParseRegText reads it.
    std::string asRegedit4(reinterpret_cast<const char*>(data), size);
    if (asRegedit4.compare(0, strlen(kRegVersion5Header), kRegVersion5Header) == 0)
        asRegedit4.replace(0, strlen(kRegVersion5Header), kRegHeader);
    std::string keyLines = asRegedit4;
    EntrySequence importedEntries, expected;
    FUZZ_CHECK(ParseRegImportText(imported.data(), importedEntries, {}) == 0);
    ParseRegText(&asRegedit4[0], expected);
    FUZZ_CHECK(SameEntries(importedEntries, expected));

    EntrySequence kept;
    int leftOut = ParseRegImportText(marked.data(), kept, LinesWithQuestionMarks(data, size));
    FUZZ_CHECK(leftOut >= 0 && kept.size() + static_cast<size_t>(leftOut) <=
                                   static_cast<size_t>(CountRegEntryLines(&keyLines[0])));
    for (const MenuExtEntry& e : kept) FUZZ_CHECK(!strchr(e.name, '?') && !strchr(e.target, '?'));
    CheckRoundTrip(kept, header, kRegBlockSize, ParseRegText, FormatRegEntryBlock);
    return 0;
}
