#include "formats/export_file.h"

#include <commctrl.h>

#include <cstdio>

#include "core/menu_ext_entry.h"

namespace {

ExportFile::WriteCall g_writeCall = WriteFile;

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

bool RowIsChosen(HWND listView, int row, UINT mask, UINT value) {
    return static_cast<UINT>(SendMessageA(listView, LVM_GETITEMSTATE, row, mask)) == value;
}

int ListViewRowCount(HWND listView) {
    return listView ? static_cast<int>(SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0)) : 0;
}
