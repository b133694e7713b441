#include "formats/reg_file.h"

#include <cstdlib>
#include <string>

#include "formats/export_file.h"

int ExportRegFile(const EntryList& list, const char* path, UINT rowMask, UINT rowValue) {
    char header[kRegBlockSize];
    return ExportChosenRows(list, path, rowMask, rowValue, header, FormatRegHeader(header, sizeof(header)),
                            FormatRegEntryBlock);
}

char* ReadWholeFile(const char* path, size_t* size) {
    if (size) *size = 0;
    if (!path) return nullptr;
    std::string unquoted = path;
    if (!unquoted.empty() && unquoted[0] == '"') unquoted = unquoted.size() >= 2 ? unquoted.substr(1, unquoted.size() - 2) : "";
    HANDLE file = CreateFileA(unquoted.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    char* buffer = nullptr;
    DWORD fileSize = GetFileSize(file, nullptr);
    if (fileSize != INVALID_FILE_SIZE) buffer = static_cast<char*>(calloc(fileSize + 1u, 1));
    if (buffer) {
        DWORD read = 0;
        if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER ||
            !ReadFile(file, buffer, fileSize, &read, nullptr) || read != fileSize) {
            free(buffer);
            buffer = nullptr;
        }
    }
    CloseHandle(file);
    if (buffer && size) *size = fileSize;
    return buffer;
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
