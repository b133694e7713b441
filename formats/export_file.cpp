#include "formats/export_file.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/menu_ext_entry.h"
#include "formats/csv_text.h"
#include "formats/reg_file.h"
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

int ExportFile::Finish() {
    if (!IsOpen()) return kNotCreatable;
    if (!CloseHandle(handle_)) failed_ = true;
    handle_ = INVALID_HANDLE_VALUE;
    if (!failed_) return kOk;
    DeleteFileA(path_);  // may fail for a device; the result is -8 either way
    return kNotCreatable;
}

int ExportChosenRows(const EntryList& list, const char* path, UINT rowMask, UINT rowValue, const char* header,
                     int headerLength, EntryFormatter format) {
    ExportFile file(path);
    if (!file.IsOpen()) return kNotCreatable;
    if (headerLength != 0) file.Write(header, headerLength);
    char text[kChosenRowTextSize];
    for (int row = 0; list.listView && row < static_cast<int>(SendMessageA(list.listView, LVM_GETITEMCOUNT, 0, 0));
         ++row) {
        MenuExtEntry entry;
        if (!list.GetEntryAt(row, &entry)) break;
        if (static_cast<UINT>(SendMessageA(list.listView, LVM_GETITEMSTATE, row, rowMask)) == rowValue)
            file.Write(text, format(entry, text, sizeof(text)));
    }
    return file.Finish();
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
