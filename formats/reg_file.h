// REGEDIT4 files of the MenuExt key: export of entries, import into the list (of the registry
// editor's version-5 files too), and the reading of the disabled-entry store's file.
#pragma once

#include <memory>

#include "core/entry_list.h"
#include "formats/reg_text.h"
#include "formats/text_file.h"

// Writes the entries at `chosen` (every entry when nullptr), in list order. False when the
// file cannot be created or any write fails (the incomplete file is then removed).
bool ExportRegFile(const EntryList& list, const char* path, const EntryIndexes* chosen);

// Appends the file's entries with `enabled` set to `enabledValue`. The number added; -1 when no
// path is given or the file does not exist or cannot be read. `duplicates` (optional) receives
// the number refused because the name was already in the list.
// Besides 8-bit REGEDIT4 text, takes "Windows Registry Editor Version 5.00" files and either
// header after the UTF-16LE or UTF-8 byte-order mark. `unrepresentable` (optional) receives the
// number of entries left out because their name or target holds a character that code page 932
// cannot represent.
int ImportRegFile(EntryList& list, const char* path, int enabledValue, int* duplicates,
                  int* unrepresentable = nullptr);

// The number of entry key lines; -1 when no path, no file, or the file cannot be read.
int CountRegEntries(const char* path);

// The file's entries in file order (possibly none); nullptr when no path, no file, or the file
// cannot be read.
std::unique_ptr<EntrySequence> ParseRegFile(const char* path);
