#include "formats/csv_file.h"

#include <cstdlib>

#include "formats/export_file.h"
#include "formats/reg_file.h"

int ExportCsvFile(const EntryList& list, const char* path, UINT rowMask, UINT rowValue) {
    ExportFile file(path);
    if (!file.IsOpen()) return kNotCreatable;
    char line[kCsvLineSize];
    for (int row = 0; row < ListViewRowCount(list.listView); ++row) {
        MenuExtEntry entry;
        if (!list.GetEntryAt(row, &entry)) break;
        if (RowIsChosen(list.listView, row, rowMask, rowValue))
            file.Write(line, FormatCsvLine(entry, line, sizeof(line)));
    }
    return file.Finish();
}

std::unique_ptr<EntrySequence> ParseCsvFile(const char* path) {
    char* text = ReadWholeFile(path);
    if (!text) return nullptr;
    auto entries = std::make_unique<EntrySequence>();
    ParseCsvText(text, *entries);
    free(text);
    return entries;
}

int ImportCsvFile(EntryList& list, const char* path, int* duplicates) {
    if (duplicates) *duplicates = 0;
    std::unique_ptr<EntrySequence> entries = ParseCsvFile(path);
    if (!entries) return kNotMade;
    int added = 0;
    int refused = 0;
    for (const MenuExtEntry& entry : *entries) {
        int result = list.AddEntry(&entry);
        if (result == kOk) ++added;
        if (result == kDuplicateName) ++refused;
        // Other refusals (no target, a name beginning with a backslash) are left out silently.
    }
    if (duplicates) *duplicates = refused;
    return added;
}
