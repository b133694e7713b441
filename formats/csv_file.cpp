#include "formats/csv_file.h"

#include "formats/text_file.h"

bool ExportCsvFile(const EntryList& list, const char* path, const EntryIndexes* chosen) {
    return ExportEntries(list, path, chosen, "", 0, FormatCsvLine);
}

std::unique_ptr<EntrySequence> ParseCsvFile(const char* path) { return ParseWholeFile(path, ParseCsvText); }

int ImportCsvFile(EntryList& list, const char* path, int* duplicates, int* unrepresentable) {
    return ImportWholeFile(list, path, ParseCsvImportText, nullptr, duplicates, unrepresentable);
}
