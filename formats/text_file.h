// Whole text files of entries, read and written: what the REGEDIT4 and CSV files share. An
// export's file is created anew, every write checked, and removed when anything went wrong, so
// that a cut-off file never passes for a complete one.
#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>
#include <vector>

#include "core/entry_list.h"
#include "formats/text_lines.h"

class ExportFile {
public:
    // Creates (or truncates) the file for writing, without sharing.
    explicit ExportFile(const char* path);
    ~ExportFile();
    ExportFile(const ExportFile&) = delete;
    ExportFile& operator=(const ExportFile&) = delete;

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

    // Writes `length` bytes; a negative length (text that could not be formatted) counts as a
    // failed write. Nothing more is written after a failure.
    void Write(const char* data, int length);

    // Closes the file. True when every write succeeded; otherwise the file is deleted.
    bool Finish();

    // Replaces WriteFile for the writers; tests use it to make a write fail. nullptr restores it.
    using WriteCall = BOOL(WINAPI*)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
    static void SetWriteCall(WriteCall call);

private:
    HANDLE handle_;
    char path_[MAX_PATH];
    bool failed_ = false;
};

// The entries an export writes: their indexes, ascending.
using EntryIndexes = std::vector<int>;

// Formats one entry into `out`; the length written, or a negative number when it does not fit.
using EntryFormatter = int (*)(const MenuExtEntry& entry, char* out, size_t size);

// Writes `header` (may be empty), then the text of the entries at `chosen`, or of every entry
// when `chosen` is nullptr, in list order. False when the file could not be created or not
// written whole (it is then removed).
bool ExportEntries(const EntryList& list, const char* path, const EntryIndexes* chosen, const char* header,
                   int headerLength, EntryFormatter format);

// The whole file in a malloc'ed zero-terminated buffer the caller free()s; nullptr when no
// path, no file, or the file cannot be read. A path in double quotes loses them. `size`
// (optional) receives the file's size, which zero bytes inside may hide.
char* ReadWholeFile(const char* path, size_t* size = nullptr);

// Reads the whole file and parses it with `parse`; nullptr when the file cannot be read.
std::unique_ptr<EntrySequence> ParseWholeFile(const char* path, void (*parse)(char* text, EntrySequence& out));

// How an import parses a whole text; the number of entries it left out for lines in `lossy`.
using ImportParser = int (*)(char* text, EntrySequence& out, const LossyLineStarts& lossy);

// Reads a whole file for an import: 8-bit text as it stands, text after the byte-order mark of
// UTF-16LE or UTF-8 converted to code page 932 first. Parses it with `parse` and appends the
// entries with AddParsedEntries. The number added, or -1 when the file cannot be read;
// `unrepresentable` (optional) receives the number left out for a character code page 932
// cannot represent.
int ImportWholeFile(EntryList& list, const char* path, ImportParser parse, const int* enabledValue, int* duplicates,
                    int* unrepresentable);

// Appends parsed entries in file order, with `enabled` set to *enabledValue when it is given.
// The number added; `duplicates` (optional) receives the number refused for a taken name.
int AddParsedEntries(EntryList& list, EntrySequence& entries, const int* enabledValue, int* duplicates);
