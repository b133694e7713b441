// The platform's file-open and file-save dialogs, from comdlg32 loaded when the first of them
// opens: nothing at start-up needs them, and the library with all it pulls in would make
// every start slower.
#pragma once

#include <windows.h>
#include <commdlg.h>

// GetOpenFileNameA and GetSaveFileNameA; FALSE, like a cancelled dialog, when the library or
// the function cannot be loaded.
BOOL WINAPI OpenFileDialog(LPOPENFILENAMEA dialog);
BOOL WINAPI SaveFileDialog(LPOPENFILENAMEA dialog);
