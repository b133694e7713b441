// Window placement, path and file-prompt helpers shared by the program's windows.
#pragma once

#include <windows.h>

// Moves `window` (without sizing it) to the centre of `owner`, or of the desktop when there
// is no owner, then pulls it inside the work area as far as it fits.
void CenterWindow(HWND window, HWND owner);

// The executable's directory in long-name form, with a trailing backslash when
// `withSeparator` is non-zero. `buffer` holds 260 bytes. Returns the length written.
int GetModuleDirectory(char* buffer, int withSeparator);

// The directory part of `modulePath` as GetModuleDirectory reports it: in long-name form
// when the shell can convert the path, otherwise as given.
int DirectoryOfModulePath(const char* modulePath, char* buffer, int withSeparator);

// Converts `path` to long names in every component. Returns the length of the result when
// it fits in `capacity` bytes with its terminator, the length plus one (buffer untouched)
// when it does not, and 0 on any failure.
int GetLongPathForm(const char* path, char* buffer, int capacity);

// A private copy of the pointing-hand cursor of the Windows help viewer, or nullptr.
// The caller destroys it.
HCURSOR LoadHelpViewerHandCursor();

// The platform's open and save dialogs. `buffer` holds 260 bytes and is emptied first.
// Returns the 1-based index of the filter selected when the user confirmed, or -1 when the
// user cancelled or the dialog failed.
int PromptOpenFile(HWND owner, char* buffer, const char* filter, int filterIndex);
int PromptSaveFile(HWND owner, char* buffer, const char* filter, int filterIndex);

// The program's one filter list: index 1 CSV, index 2 REGEDIT4.
extern const char kFileFilter[];
constexpr int kCsvFilterIndex = 1;
constexpr int kRegFilterIndex = 2;
