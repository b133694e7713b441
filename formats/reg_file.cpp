#include "formats/reg_file.h"

#include <cstdlib>
#include <string>

#include "formats/export_file.h"

int ExportRegFile(const EntryList& list, const char* path, UINT rowMask, UINT rowValue) {
    ExportFile file(path);
    if (!file.IsOpen()) return kNotCreatable;
    char text[kRegBlockSize];
    file.Write(text, FormatRegHeader(text, sizeof(text)));
    // Rows and entries are walked together; the row count is read anew for every row.
    for (int row = 0; row < ListViewRowCount(list.listView); ++row) {
        MenuExtEntry entry;
        if (!list.GetEntryAt(row, &entry)) break;
        if (RowIsChosen(list.listView, row, rowMask, rowValue))
            file.Write(text, FormatRegEntryBlock(entry, text, sizeof(text)));
    }
    return file.Finish();
}

char* ReadWholeFile(const char* path) {
    if (!path) return nullptr;
    std::string unquoted = path;
    if (!unquoted.empty() && unquoted[0] == '"') unquoted = unquoted.size() >= 2 ? unquoted.substr(1, unquoted.size() - 2) : "";
    HANDLE file = CreateFileA(unquoted.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    char* buffer = nullptr;
    DWORD size = GetFileSize(file, nullptr);
    if (size != INVALID_FILE_SIZE) buffer = static_cast<char*>(calloc(size + 1u, 1));
    if (buffer) {
        DWORD read = 0;
        if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER ||
            !ReadFile(file, buffer, size, &read, nullptr) || read != size) {
            free(buffer);
            buffer = nullptr;
        }
    }
    CloseHandle(file);
    return buffer;
}

int CountRegEntries(const char* path) {
    char* text = ReadWholeFile(path);
    if (!text) return kNotMade;
    int count = CountRegEntryLines(text);
    free(text);
    return count;
}

std::unique_ptr<EntrySequence> ParseRegFile(const char* path) {
    char* text = ReadWholeFile(path);
    if (!text) return nullptr;
    auto entries = std::make_unique<EntrySequence>();
    ParseRegText(text, *entries);
    free(text);
    return entries;
}

int ImportRegFile(EntryList& list, const char* path, int enabledValue, int* duplicates) {
    if (duplicates) *duplicates = 0;
    std::unique_ptr<EntrySequence> entries = ParseRegFile(path);
    if (!entries) return kNotMade;
    int added = 0;
    int refused = 0;
    for (MenuExtEntry& entry : *entries) {
        entry.enabled = enabledValue;
        int result = list.AddEntry(&entry);
        if (result == kOk) ++added;
        if (result == kDuplicateName) ++refused;
        // Other refusals (no target, a name beginning with a backslash) are left out silently.
    }
    if (duplicates) *duplicates = refused;
    return added;
}
