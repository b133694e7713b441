// Update, OK/Exit and Cancel: the only commands that write the registry and Disable.dat.
#include <windows.h>
#include <shellapi.h>

#include "stores/disabled_store.h"
#include "stores/registry_store.h"
#include "mainwindow/commands.h"
#include "mainwindow/main_state.h"
#include "common/texts.h"
#include "resources/resource.h"

namespace {

bool AnyEntryDisabled() {
    return !entryList.ForEach([](int, const MenuExtEntry& entry) { return entry.enabled != 0; });
}

bool WriteRegistry(HWND dialog) {
    if (SaveToRegistry(entryList)) return true;
    ShowMessage(dialog, kRegistryUpdateFailed, kAppCaption, MB_OK | MB_ICONERROR);
    return false;
}

// Disable.dat holds the only copy of the disabled entries: when it cannot be written while
// there are some, the user is told and the caller stops, so that nothing is lost unnoticed.
// With no disabled entry a failed write loses nothing and stays silent.
bool WriteDisabledEntries(HWND dialog) {
    char path[MAX_PATH];
    if (ProgramFilePath(kDisabledFileName, path) && SaveDisabled(entryList, settingsStore, path)) return true;
    if (!AnyEntryDisabled()) return true;
    ShowMessage(dialog, kDisabledNotSaved, kAppCaption, MB_OK | MB_ICONWARNING);
    return false;
}

}  // namespace

bool UpdateProcedure(HWND dialog) {
    if (!mainWindow.listChanged) return true;
    if (ShowMessage(dialog, kUpdateQuestion, kAppCaption, MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return false;
    if (!WriteRegistry(dialog)) return false;
    return WriteDisabledEntries(dialog);
}

bool ExitWithUpdateProcedure(HWND dialog) {
    if (mainWindow.listChanged) {
        int answer = ShowMessage(dialog, kUpdateQuestion, kAppCaption, MB_YESNOCANCEL | MB_ICONQUESTION);
        // No leaves without writing anything, Disable.dat included: the changes are dropped.
        if (answer == IDNO) return true;
        if (answer != IDYES) return false;
        if (!WriteRegistry(dialog)) return false;
    }
    // An unchanged list still rewrites Disable.dat and the positions of its entries.
    return WriteDisabledEntries(dialog);
}

void UpdateCommand(HWND dialog) {
    if (UpdateProcedure(dialog)) MarkListUnchanged(dialog);
}

void ExitWithUpdateCommand(HWND dialog) {
    if (ExitWithUpdateProcedure(dialog)) SendMessageA(dialog, WM_CLOSE, 0, 0);
}

void ExitWithoutUpdateCommand(HWND dialog) {
    // WM_CLOSE saves the window and option settings; nothing else is written on this way out.
    SendMessageA(dialog, WM_CLOSE, 0, 0);
}

void HelpCommand(HWND dialog) {
    char path[MAX_PATH];
    if (!ProgramFilePath(kHelpFileName, path)) return;
    // A help file that does not open shows the shell's own message, if any; nothing to add.
    ShellExecuteA(dialog, nullptr, path, nullptr, nullptr, SW_SHOWNORMAL);
}
