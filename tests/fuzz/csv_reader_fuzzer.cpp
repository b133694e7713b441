// libFuzzer harness of the CSV reader: any bytes must be read without a step outside the
// buffer, every entry must fit its record, and what was read must come back unchanged after
// being written and read again. The field functions also get output buffers of exactly the
// size they are told, so that one byte too many is caught.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "formats/csv_text.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

void UnquoteEveryFieldOfTheFirstLine(const std::vector<char>& text, size_t outSize) {
    std::vector<char> line(text);
    line[strcspn(line.data(), "\r\n")] = '\0';
    CsvLineCursor cursor;
    for (char* field = CsvNextField(line.data(), &cursor); field; field = CsvNextField(nullptr, &cursor)) {
        std::unique_ptr<char[]> out(new char[outSize]);
        if (CsvUnquoteField(field, out.get(), outSize)) FUZZ_CHECK(strlen(out.get()) < outSize);
        FUZZ_CHECK(strlen(out.get()) <= strlen(field));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char> text(data, data + size);
    text.push_back('\0');
    UnquoteEveryFieldOfTheFirstLine(text, size > 0 ? data[0] % 16 + 1 : 1);

    EntrySequence entries;
    ParseCsvText(text.data(), entries);

    std::string written;
    for (const MenuExtEntry& e : entries) {
        CheckEntryFits(e);
        FUZZ_CHECK(e.enabled == 0 || e.enabled == 1);
        char line[kCsvLineSize];
        int length = FormatCsvLine(e, line, sizeof(line));
        FUZZ_CHECK(length > 0);
        FUZZ_CHECK(CsvQuotedLength(e.name) >= static_cast<int>(strlen(e.name)));
        written.append(line, static_cast<size_t>(length));
    }

    EntrySequence again;
    ParseCsvText(&written[0], again);
    FUZZ_CHECK(again.size() == entries.size());
    for (size_t i = 0; i < entries.size(); ++i) FUZZ_CHECK(SameEntry(entries[i], again[i]));
    return 0;
}
