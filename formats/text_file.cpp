// Reading and writing whole files of entries.
#include "formats/text_file.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/menu_ext_entry.h"
#include "formats/csv_text.h"
#include "formats/reg_text.h"
#include "formats/unicode_text.h"

namespace {

ExportFile::WriteCall g_writeCall = WriteFile;

// Room for the longer of a REGEDIT4 entry block and a CSV line.
constexpr size_t kChosenRowTextSize = kRegBlockSize > kCsvLineSize ? kRegBlockSize : kCsvLineSize;

}  // namespace

void ExportFile::SetWriteCall(WriteCall call) { g_writeCall = call ? call : WriteFile; }

ExportFile::ExportFile(const char* path) : handle_(INVALID_HANDLE_VALUE), path_() {
    if (!path || snprintf(path_, sizeof(path_), "%s", path) >= static_cast<int>(sizeof(path_))) return;
    handle_ = CreateFileA(path_, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

ExportFile::~ExportFile() {
    if (IsOpen()) CloseHandle(handle_);
}

void ExportFile::Write(const char* data, int length) {
    if (!IsOpen() || failed_) return;
    DWORD written = 0;
    if (length < 0 || !g_writeCall(handle_, data, static_cast<DWORD>(length), &written, nullptr) ||
        written != static_cast<DWORD>(length))
        failed_ = true;
}

bool ExportFile::Finish() {
    if (!IsOpen()) return false;
    if (!CloseHandle(handle_)) failed_ = true;
    handle_ = INVALID_HANDLE_VALUE;
    if (!failed_) return true;
    DeleteFileA(path_);  // may fail for a device; the export failed either way
    return false;
}

bool ExportEntries(const EntryList& list, const char* path, const EntryIndexes* chosen, const char* header,
                   int headerLength, EntryFormatter format) {
    ExportFile file(path);
    if (!file.IsOpen()) return false;
    if (headerLength != 0) file.Write(header, headerLength);
    char text[kChosenRowTextSize];
    size_t next = 0;
    list.ForEach([&](int index, const MenuExtEntry& entry) {
        if (chosen) {
            if (next == chosen->size()) return false;
            if ((*chosen)[next] != index) return true;
            ++next;
        }
        file.Write(text, format(entry, text, sizeof(text)));
        return true;
    });
    return file.Finish();
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

std::unique_ptr<EntrySequence> ParseWholeFile(const char* path, void (*parse)(char* text, EntrySequence& out)) {
    char* text = ReadWholeFile(path);
    if (!text) return nullptr;
    auto entries = std::make_unique<EntrySequence>();
    parse(text, *entries);
    free(text);
    return entries;
}

int ImportWholeFile(EntryList& list, const char* path, ImportParser parse, const int* enabledValue, int* duplicates,
                    int* unrepresentable) {
    if (duplicates) *duplicates = 0;
    if (unrepresentable) *unrepresentable = 0;
    size_t size = 0;
    char* bytes = ReadWholeFile(path, &size);
    if (!bytes) return kNotMade;
    std::string converted;
    LossyLineStarts lossy;
    EntrySequence entries;
    int leftOut = parse(ConvertMarkedText(bytes, size, &converted, &lossy) ? &converted[0] : bytes, entries, lossy);
    free(bytes);
    if (unrepresentable) *unrepresentable = leftOut;
    return AddParsedEntries(list, entries, enabledValue, duplicates);
}

int AddParsedEntries(EntryList& list, EntrySequence& entries, const int* enabledValue, int* duplicates) {
    int added = 0;
    int refused = 0;
    for (MenuExtEntry& entry : entries) {
        if (enabledValue) entry.enabled = *enabledValue;
        int result = list.AddEntry(&entry);
        if (result == kOk) ++added;
        if (result == kDuplicateName) ++refused;
        // Other refusals (no target, a name beginning with a backslash) are left out silently.
    }
    if (duplicates) *duplicates = refused;
    return added;
}
