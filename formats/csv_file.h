// CSV files of the entries: export and import into the list, with each entry's enabled state.
#pragma once

#include <memory>

#include "core/entry_list.h"
#include "formats/csv_text.h"
#include "formats/text_file.h"

// Writes the entries at `chosen` (every entry when nullptr), one line each, in list order. False
// when the file cannot be created or any write fails (the incomplete file is then removed).
bool ExportCsvFile(const EntryList& list, const char* path, const EntryIndexes* chosen);

// Appends the file's entries, enabled or not as the file says. The number added; -1 when no
// path is given or the file does not exist or cannot be read. `duplicates` (optional) receives
// the number refused because the name was already in the list. A file that begins with the
// byte-order mark of UTF-16LE or UTF-8, as spreadsheet programs save it, is read converted to
// code page 932; `unrepresentable` (optional) receives the number of entries left out because
// their name or target holds a character that code page 932 cannot represent.
int ImportCsvFile(EntryList& list, const char* path, int* duplicates, int* unrepresentable = nullptr);

// The file's entries in file order (possibly none); nullptr when no path, no file, or the file
// cannot be read.
std::unique_ptr<EntrySequence> ParseCsvFile(const char* path);
