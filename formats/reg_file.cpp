#include "formats/reg_file.h"

#include <cstdlib>

#include "formats/text_file.h"

bool ExportRegFile(const EntryList& list, const char* path, const EntryIndexes* chosen) {
    char header[kRegBlockSize];
    return ExportEntries(list, path, chosen, header, FormatRegHeader(header, sizeof(header)), FormatRegEntryBlock);
}

int CountRegEntries(const char* path) {
    char* text = ReadWholeFile(path);
    if (!text) return kNotMade;
    int count = CountRegEntryLines(text);
    free(text);
    return count;
}

std::unique_ptr<EntrySequence> ParseRegFile(const char* path) { return ParseWholeFile(path, ParseRegText); }

int ImportRegFile(EntryList& list, const char* path, int enabledValue, int* duplicates, int* unrepresentable) {
    return ImportWholeFile(list, path, ParseRegImportText, &enabledValue, duplicates, unrepresentable);
}
