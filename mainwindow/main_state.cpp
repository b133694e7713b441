// The main window's state, the program-wide objects and the helpers the handlers share.
#include "mainwindow/main_state.h"

#include <cstdio>

#include "about/about_dialog.h"
#include "common/texts.h"
#include "controls/hyperlink.h"
#include "dialogs/edit_entry_dialog.h"
#include "resources/resource.h"
#include "shell/window_utils.h"

namespace {

MainWindow InitialState() {
    MainWindow state = {};
    state.sortState.column = kNotSorted;
    return state;
}

}  // namespace

// Defined together, in this order, so the entry list is constructed before the settings
// store and torn down after it, and its view lets go of it before it goes. The version
// dialog's link comes first of all.
HyperLinkControl aboutLink;
PathEditControl pathEditControl;
EntryList entryList;
SettingsStore settingsStore;
EntryListView entryListView;
MainWindow mainWindow = InitialState();

void ResetMainWindowState() { mainWindow = InitialState(); }

int ProgramFilePath(const char* fileName, char* path) {
    if (mainWindow.dataFolder[0] == '\0') GetModuleDirectory(mainWindow.dataFolder, 1);
    int length = snprintf(path, MAX_PATH, "%s%s", mainWindow.dataFolder, fileName);
    if (length < 0 || length >= MAX_PATH) {
        path[0] = '\0';
        return 0;
    }
    return 1;
}

HWND MainDialogControl(HWND dialog, int id) {
    int slot = id - IDD_MAIN;
    bool kept = slot >= 0 && slot < static_cast<int>(sizeof(mainWindow.controls) / sizeof(mainWindow.controls[0]));
    if (kept && mainWindow.controls[slot]) return mainWindow.controls[slot];
    return GetDlgItem(dialog, id);
}

void SetButtonEnabled(HWND dialog, int id, bool enabled) {
    HWND control = MainDialogControl(dialog, id);
    if ((IsWindowEnabled(control) != FALSE) == enabled) return;
    // A control that goes grey while it has the focus takes the focus nowhere: Esc, Enter, Tab
    // and every shortcut would do nothing until the next click. The list takes it first (as
    // the dialog's own next control, so the default button follows).
    HWND list = entryListView.Handle();
    if (!enabled && control && GetFocus() == control && list)
        SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
    EnableWindow(control, enabled ? TRUE : FALSE);
}

void MarkListChanged(HWND dialog) {
    mainWindow.listChanged = 1;
    SetButtonEnabled(dialog, IDC_UPDATE, true);
}

void MarkListUnchanged(HWND dialog) {
    mainWindow.listChanged = 0;
    SetButtonEnabled(dialog, IDC_UPDATE, false);
}

void EnableSelectionButtons(HWND dialog) {
    int selected = entryListView.SelectedCount();
    bool any = selected > 0;
    SetButtonEnabled(dialog, IDC_SAVE, any);
    SetButtonEnabled(dialog, IDC_DELETE, any);
    SetButtonEnabled(dialog, IDC_EDIT, selected == 1);
    SetButtonEnabled(dialog, IDC_MOVE_UP, any);
    SetButtonEnabled(dialog, IDC_MOVE_DOWN, any);
}

void WarnWhenTooManyEntries(HWND dialog) {
    if (entryList.Count() >= kEntriesUsedByIe) ShowMessage(dialog, kTooManyEntries, kAppCaption, MB_OK | MB_ICONWARNING);
}
