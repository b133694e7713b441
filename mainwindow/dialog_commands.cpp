// The commands that open a dialog of their own: Add and Edit (edit-entry dialog) and the
// general settings (options dialog).
#include <windows.h>
#include <commctrl.h>

#include "mainwindow/commands.h"
#include "mainwindow/entry_list_view.h"
#include "mainwindow/main_window.h"
#include "resources/resource.h"
#include "settings/edit_entry_dialog.h"
#include "settings/options_dialog.h"

namespace {

INT_PTR RunDialog(HWND owner, int templateId, DLGPROC procedure) {
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), owner, procedure, 0);
}

}  // namespace

// The warning comes first and the user may still add: the entry is kept, only Internet
// Explorer will not show it.
void AddCommand(HWND dialog) {
    WarnWhenTooManyEntries(dialog);
    // An empty name tells the edit dialog that a new entry is being made.
    mainWindow.editBuffer.name[0] = '\0';
    if (RunDialog(dialog, IDD_EDIT_ENTRY, EditEntryDialog) != IDOK) return;
    // The dialog has already refused empty and taken names.
    entryList.AddEntry(&mainWindow.editBuffer);
    if (mainWindow.DisBottom) entryList.MoveDisabledToBottom();
    MarkListChanged(dialog);
}

void EditCommand(HWND dialog) {
    mainWindow.editIndex = entryListView.FirstSelectedRow();
    if (mainWindow.editIndex == -1) return;
    entryList.GetEntryAt(mainWindow.editIndex, &mainWindow.editBuffer);
    if (RunDialog(dialog, IDD_EDIT_ENTRY, EditEntryDialog) == IDOK &&
        entryList.ReplaceEntryAt(mainWindow.editIndex, &mainWindow.editBuffer))
        MarkListChanged(dialog);
    mainWindow.editIndex = -1;
}

void GeneralSettingsCommand(HWND dialog) {
    if (RunDialog(dialog, IDD_OPTIONS, OptionsDialog) != IDOK) return;
    if (mainWindow.DisBottom) {
        RedrawPause pause(entryListView);
        entryList.MoveDisabledToBottom();
    } else {
        // DisSlash may have changed the hatching of every disabled row.
        entryListView.RedrawAllRows();
    }
}
