// Update, OK/Exit and Cancel: the only commands that write the registry and Disable.dat.
#include <windows.h>
#include <shellapi.h>

#include "core/disabled_store.h"
#include "core/registry_store.h"
#include "mainwindow/commands.h"
#include "mainwindow/main_window.h"
#include "mainwindow/messages.h"
#include "resources/resource.h"

namespace {

bool AnyEntryDisabled() {
    return !entryList.ForEach([](int, const MenuExtEntry& entry) { return entry.enabled != 0; });
}

int WriteRegistry(HWND dialog) {
    if (SaveToRegistry(entryList)) return 1;
    ShowMessage(dialog, kRegistryUpdateFailed, kAppCaption, MB_OK | MB_ICONERROR);
    return 0;
}

// Disable.dat holds the only copy of the disabled entries: when it cannot be written while
// there are some, the user is told and the caller stops, so that nothing is lost unnoticed.
// With no disabled entry a failed write loses nothing and stays silent.
int WriteDisabledEntries(HWND dialog) {
    char path[MAX_PATH];
    if (ProgramFilePath(kDisabledFileName, path) && SaveDisabled(entryList, settingsStore, path)) return 1;
    if (!AnyEntryDisabled()) return 1;
    ShowMessage(dialog, kDisabledNotSaved, kAppCaption, MB_OK | MB_ICONWARNING);
    return 0;
}

}  // namespace

int UpdateProcedure(HWND dialog) {
    if (!mainWindow.listChanged) return 1;
    if (ShowMessage(dialog, kUpdateQuestion, kAppCaption, MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return 0;
    if (!WriteRegistry(dialog)) return 0;
    return WriteDisabledEntries(dialog);
}

int ExitWithUpdateProcedure(HWND dialog) {
    if (mainWindow.listChanged) {
        int answer = ShowMessage(dialog, kUpdateQuestion, kAppCaption, MB_YESNOCANCEL | MB_ICONQUESTION);
        // No leaves without writing anything, Disable.dat included: the changes are dropped.
        if (answer == IDNO) return 1;
        if (answer != IDYES) return 0;
        if (!WriteRegistry(dialog)) return 0;
    }
    // An unchanged list still rewrites Disable.dat and the positions of its entries.
    return WriteDisabledEntries(dialog);
}

// WM_CLOSE saves the window and option settings; nothing else is written on this way out.
int ExitWithoutUpdateProcedure(HWND) { return 1; }

void UpdateCommand(HWND dialog) {
    if (!UpdateProcedure(dialog)) return;
    mainWindow.listChanged = 0;
    SetButtonEnabled(dialog, IDC_UPDATE, false);
}

void ExitWithUpdateCommand(HWND dialog) {
    if (ExitWithUpdateProcedure(dialog)) SendMessageA(dialog, WM_CLOSE, 0, 0);
}

void ExitWithoutUpdateCommand(HWND dialog) {
    if (ExitWithoutUpdateProcedure(dialog)) SendMessageA(dialog, WM_CLOSE, 0, 0);
}

void HelpCommand(HWND dialog) {
    char path[MAX_PATH];
    if (!ProgramFilePath(kHelpFileName, path)) return;
    // A help file that does not open shows the shell's own message, if any; nothing to add.
    ShellExecuteA(dialog, nullptr, path, nullptr, nullptr, SW_SHOWNORMAL);
}
