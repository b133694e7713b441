// The main window's state and the objects that live as long as the process, with the helpers
// every handler of the main dialog shares.
#pragma once

#include <windows.h>

#include <cstdint>

#include "common/message_box.h"
#include "core/entry_list.h"
#include "core/menu_ext_entry.h"
#include "mainwindow/entry_list_view.h"
#include "stores/settings_store.h"

// The last sort, which the next one of the same column turns round.
constexpr int kNotSorted = -1;
constexpr int kSortByCheckState = 1000;  // the sort by enabled and disabled
struct SortState {
    int column;       // of the last header sort, kSortByCheckState or kNotSorted
    bool descending;  // for the sort by check state: the disabled entries first

    // A sort by `next` begins: ascending, or the other way round when it follows one by `next`.
    void SortBy(int next) {
        descending = column == next && !descending;
        column = next;
    }
};

struct MainWindow {
    HWND dialog;

    // Edited by the options dialog; read from the settings at start and written at close.
    Options options;

    // The list holds changes the registry does not have yet; Update (4012) is enabled exactly
    // while it is set.
    int32_t listChanged;
    SortState sortState;

    SIZE minTrackSize;
    SIZE lastClientSize;
    RECT gripRect;
    RECT iconRect;

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
extern EntryList entryList;
// Shows entryList in the main dialog's list view.
extern EntryListView entryListView;
extern SettingsStore settingsStore;

// Puts mainWindow back into its state at process start.
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

// Marks the list changed: sets listChanged and enables Update; and the other way round, once
// the registry holds what the list shows.
void MarkListChanged(HWND dialog);
void MarkListUnchanged(HWND dialog);

// Enables the buttons that act on selected rows; Edit needs exactly one.
void EnableSelectionButtons(HWND dialog);

// The 32-entry warning, when the list holds 32 entries or more.
void WarnWhenTooManyEntries(HWND dialog);
