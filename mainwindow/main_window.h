// The main window: its program-wide state, the objects that live as long as the process,
// and the dialog procedure of dialog 4000.
#pragma once

#include <windows.h>

#include <cstdint>

#include "controls/path_edit.h"
#include "core/entry_list.h"
#include "core/menu_ext_entry.h"
#include "mainwindow/entry_list_view.h"
#include "settings/settings_store.h"

// The last sort, which the next one of the same column turns round.
constexpr int kNotSorted = -1;
constexpr int kSortByCheckState = 1000;  // the sort by enabled and disabled
struct SortState {
    int column;       // of the last header sort, kSortByCheckState or kNotSorted
    bool descending;  // for the sort by check state: the disabled entries first
};

struct MainWindow {
    HWND dialog;
    HWND listView;

    // Options, edited by the options dialog and kept in the List section of the settings.
    int32_t DisSlash;
    int32_t DisBottom;
    int32_t DisNoSavePos;

    // The list holds changes the registry does not have yet; Update (4012) is enabled exactly
    // while it is set.
    int32_t listChanged;
    SortState sortState;

    // Handed to the edit dialog and filled by it; editIndex is -1 while no entry is open.
    MenuExtEntry editBuffer;
    int32_t editIndex;

    SIZE minTrackSize;
    SIZE lastClientSize;
    RECT gripRect;
    RECT iconRect;

    HCURSOR handCursor;
    int32_t ownsHandCursor;
    int32_t wheelDeltaInWParam;
    WNDPROC listViewProc;

    // Controls 4000 to 4012 by id - 4000, looked up once at start-up: every row loaded
    // reports a state change that sets the buttons, and GetDlgItem asks the window server
    // each time.
    HWND controls[13];

    // Folder of "Quorvil.ini" and "Disable.dat" with its trailing backslash. Start-up fills in
    // the executable's folder, found once (the long-name lookup goes through the shell),
    // unless a test has already pointed it elsewhere.
    char dataFolder[MAX_PATH];
};

extern MainWindow mainWindow;
// The file field of the edit-entry dialog; attached each time that dialog opens.
extern PathEditControl pathEditControl;
extern EntryList entryList;
// Shows entryList in the main dialog's list view.
extern EntryListView entryListView;
extern SettingsStore settingsStore;

// Puts mainWindow back into its state at process start (every field zero, editIndex -1).
void ResetMainWindowState();

// The full path of one of the program's own files ("Quorvil.ini", "Disable.dat",
// "Quorvil.chm") into `path` (MAX_PATH bytes). 0 when it does not fit, 1 otherwise.
int ProgramFilePath(const char* fileName, char* path);

// Control `id` (4001 to 4012) of the main dialog, from the handles kept at start-up.
HWND MainDialogControl(HWND dialog, int id);

// Enables or disables a control of the dialog. Every row loaded reports a change, so this
// leaves a control alone that is already right: EnableWindow itself costs a round trip to
// the window server (and a WM_CANCELMODE) even when nothing changes.
void SetButtonEnabled(HWND dialog, int id, bool enabled);

// Marks the list changed: sets listChanged and enables Update.
void MarkListChanged(HWND dialog);

// The program's one way of showing a message box.
int ShowMessage(HWND owner, const char* text, const char* caption, UINT flags);

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
