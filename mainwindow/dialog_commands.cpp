// The commands that open a dialog of their own: Add and Edit (edit-entry dialog) and the
// general settings (options dialog).
#include <windows.h>
#include <commctrl.h>

#include "mainwindow/commands.h"
#include "mainwindow/entry_list_view.h"
#include "mainwindow/main_state.h"
#include "resources/resource.h"
#include "dialogs/edit_entry_dialog.h"
#include "dialogs/options_dialog.h"

// The warning comes first and the user may still add: the entry is kept, only Internet
// Explorer will not show it.
void AddCommand(HWND dialog) {
    WarnWhenTooManyEntries(dialog);
    // An empty name tells the edit dialog that a new entry is being made.
    EditEntryRequest request = {{}, -1, &entryList};
    if (RunEditEntryDialog(dialog, &request) != IDOK) return;
    // The dialog has already refused empty and taken names.
    entryList.AddEntry(&request.entry);
    if (mainWindow.options.DisBottom) entryList.MoveDisabledToBottom();
    MarkListChanged(dialog);
}

void EditCommand(HWND dialog) {
    EditEntryRequest request = {{}, entryListView.FirstSelectedRow(), &entryList};
    if (!entryList.GetEntryAt(request.index, &request.entry)) return;
    if (RunEditEntryDialog(dialog, &request) == IDOK && entryList.ReplaceEntryAt(request.index, &request.entry))
        MarkListChanged(dialog);
}

void GeneralSettingsCommand(HWND dialog) {
    if (RunOptionsDialog(dialog, &mainWindow.options) != IDOK) return;
    if (mainWindow.options.DisBottom) {
        RedrawPause pause(entryListView);
        entryList.MoveDisabledToBottom();
    } else {
        // DisSlash may have changed the hatching of every disabled row.
        entryListView.RedrawAllRows();
    }
}
