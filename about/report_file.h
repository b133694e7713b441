// The system report: the version dialog's list written beside the executable and opened in
// Notepad, so that a user can send it with a problem report.
#pragma once

#include <windows.h>

#include <cstddef>

#include "controls/hyperlink.h"

// Tab stops of the report: with the list's labels every colon lands in column 22.
constexpr int kReportTabWidth = 11;

// How the finished report is opened. Tests point it elsewhere, so that no Notepad starts.
extern ShellExecuteProc reportShellExecute;

// Copies `source` to `destination`, each tab replaced by spaces up to the next multiple of
// `tabWidth` (at least one); columns count bytes and start again after a line feed.
// 0 without writing when an argument is null or the width not positive, else 1.
int ExpandTabs(const char* source, char* destination, int tabWidth);

// The destination size ExpandTabs needs for a source of `length` bytes: every byte a tab.
size_t ExpandedSize(size_t length, int tabWidth);

// The report's path for the executable's path: the file name's extension replaced by
// ".rpt", or ".rpt" appended when it has none. 0 when the result does not fit in MAX_PATH.
int ReportPathFor(const char* modulePath, char* reportPath);

// Writes list `listId` of `dialog` to `reportPath` and opens it in Notepad; when Notepad
// cannot be started, a box names the file. 1, or 0 when the file cannot be created or a
// write fails.
int WriteReportFileAt(HWND dialog, int listId, const char* reportPath);

// The same for the report beside the executable.
int WriteReportFile(HWND dialog, int listId);
