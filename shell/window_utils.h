// Window placement, path and file-prompt helpers shared by the program's windows.
#pragma once

#include <windows.h>

// Moves `window` (without sizing it) to the centre of `owner`, or of the desktop when there
// is no owner, then pulls it inside the work area as far as it fits: the work area of the
// owner's monitor, or the primary one where the system cannot tell monitors apart.
void CenterWindow(HWND window, HWND owner);

// Whether any part of `rect` (screen coordinates) lies in the work area of a monitor; where
// the system knows no monitors, in the virtual screen, else in the primary work area.
bool MeetsAnyWorkArea(const RECT& rect);

// The work area of the monitor nearest to `rect` (screen coordinates); where the system cannot
// tell monitors apart, the primary work area.
void NearestWorkArea(const RECT& rect, RECT* work);

// The multiple-monitor functions, looked up in user32 at run time because older systems do
// not have them; a missing one is nullptr.
struct MonitorFunctions {
    HMONITOR(WINAPI* fromWindow)(HWND window, DWORD flags);
    HMONITOR(WINAPI* fromRect)(LPCRECT rect, DWORD flags);
    BOOL(WINAPI* getInfo)(HMONITOR monitor, LPMONITORINFO info);
};
// Replaces the functions the helpers above use; nullptr goes back to the system's.
void UseMonitorFunctions(const MonitorFunctions* functions);

// The executable's directory in long-name form, with a trailing backslash when
// `withSeparator` is non-zero. `buffer` holds 260 bytes. Returns the length written.
int GetModuleDirectory(char* buffer, int withSeparator);

// The executable's own path, in long-name form when the shell can convert it, otherwise as the
// system reports it. `buffer` holds 260 bytes. Returns the length, 0 when there is none.
int GetModulePath(char* buffer);

// The directory part of `modulePath` as GetModuleDirectory reports it: in long-name form
// when the shell can convert the path, otherwise as given.
int DirectoryOfModulePath(const char* modulePath, char* buffer, int withSeparator);

// Byte offset of the last backslash of `path`, or -1. Walks characters, not bytes: the
// second byte of a double-byte character such as 表 is 0x5C and is no separator.
int LastSeparator(const char* path);

// Converts `path` to long names in every component. Returns the length of the result when
// it fits in `capacity` bytes with its terminator, the length plus one (buffer untouched)
// when it does not, and 0 on any failure.
int GetLongPathForm(const char* path, char* buffer, int capacity);

// A private copy of the pointing-hand cursor of the Windows help viewer, or nullptr.
// The caller destroys it.
HCURSOR LoadHelpViewerHandCursor();

// The pointing hand the program shows over its links: the system's, or on systems that have
// none (Windows 95 and NT 4) the help viewer's, loaded once for the whole run; nullptr when
// there is neither. Nobody destroys it.
HCURSOR HandCursor();

// `name` (with its leading backslash) in the folder that `folder` reports, such as
// GetSystemDirectoryA, into `path` (260 bytes). Returns 0 and leaves `path` empty when the
// folder is unknown or the whole path would not fit.
int FolderFilePath(char* path, UINT(WINAPI* folder)(LPSTR, UINT), const char* name);

// The help viewer's path, the Windows directory (as `windowsDirectory` reports it) followed
// by "\winhlp32.exe", into `path` (260 bytes). Returns 0 and leaves `path` empty when the
// directory is unknown or the whole path would not fit.
int HelpViewerPath(char* path, UINT(WINAPI* windowsDirectory)(LPSTR, UINT) = GetWindowsDirectoryA);

// The platform's open and save dialogs. `buffer` holds 260 bytes and is emptied first.
// Returns the 1-based index of the filter selected when the user confirmed, or -1 when the
// user cancelled or the dialog failed.
int PromptOpenFile(HWND owner, char* buffer, const char* filter, int filterIndex);
int PromptSaveFile(HWND owner, char* buffer, const char* filter, int filterIndex);

// The filter indexes of the load and save prompts' filter list (kFileFilter).
constexpr int kCsvFilterIndex = 1;
constexpr int kRegFilterIndex = 2;
