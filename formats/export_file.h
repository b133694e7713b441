// The file an export writes: created anew, every write checked, and removed when anything went
// wrong, so that a cut-off file never passes for a complete one. Shared by both writers.
#pragma once

#include <windows.h>

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

    // Closes the file. 0 when every write succeeded; otherwise -8, and the file is deleted.
    int Finish();

    // Replaces WriteFile for the writers; tests use it to make a write fail. nullptr restores it.
    using WriteCall = BOOL(WINAPI*)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
    static void SetWriteCall(WriteCall call);

private:
    HANDLE handle_;
    char path_[MAX_PATH];
    bool failed_ = false;
};

// True when the list-view state of `row` under `mask` equals `value`: (2, 2) the selected rows,
// (0, 0) every row, (0xF000, 0x1000) the rows whose check box is not ticked.
bool RowIsChosen(HWND listView, int row, UINT mask, UINT value);

// The current number of rows of the list view; 0 without one.
int ListViewRowCount(HWND listView);
