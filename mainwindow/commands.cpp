// Commands of the main dialog's buttons, menus and shortcut keys: one table maps each
// identifier to its handler; menu enabling, the mouse wheel and the row queries live here too.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "mainwindow/commands.h"
#include "mainwindow/handlers.h"
#include "mainwindow/main_state.h"
#include "common/texts.h"
#include "mainwindow/modifier_keys.h"
#include "resources/resource.h"

namespace {

struct Command {
    int id;
    void (*run)(HWND dialog);
};

// Buttons share the identifiers of the menu items that do the same.
const Command kCommands[] = {
    {IDOK, ExitWithUpdateCommand},
    {IDM_EXIT, ExitWithUpdateCommand},
    {IDCANCEL, ExitWithoutUpdateCommand},
    {IDM_EXIT_WITHOUT_UPDATE, ExitWithoutUpdateCommand},
    {IDM_UPDATE, UpdateCommand},
    {IDC_UPDATE, UpdateCommand},
    {IDM_LOAD, LoadCommand},
    {IDC_LOAD, LoadCommand},
    {IDM_SAVE_SELECTED, SaveSelectedCommand},
    {IDC_SAVE, SaveSelectedCommand},
    {IDM_SAVE_ALL, SaveAllCommand},
    {IDM_ADD, AddCommand},
    {IDC_ADD, AddCommand},
    {IDM_EDIT, EditCommand},
    {IDC_EDIT, EditCommand},
    {IDM_DELETE, DeleteCommand},
    {IDC_DELETE, DeleteCommand},
    {IDM_ENABLE_SELECTED, EnableSelectedCommand},
    {IDM_DISABLE_SELECTED, DisableSelectedCommand},
    {IDM_INVERT_SELECTED, InvertSelectedCommand},
    {IDM_SORT_BY_CHECK, SortByCheckCommand},
    {IDM_MOVE_UP, MoveUpCommand},
    {IDC_MOVE_UP, MoveUpCommand},
    {IDM_MOVE_DOWN, MoveDownCommand},
    {IDC_MOVE_DOWN, MoveDownCommand},
    {IDM_SELECT_ALL, SelectAllCommand},
    {IDM_GENERAL_SETTINGS, GeneralSettingsCommand},
    {IDM_HELP, HelpCommand},
    {IDM_ABOUT, OpenAboutDialog},
};

void EnableMenuCommand(HMENU menu, int id, bool enabled) {
    // Items that are not in this popup are left alone (EnableMenuItem answers -1).
    EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

bool HelpFileExists() {
    char path[MAX_PATH];
    return ProgramFilePath(kHelpFileName, path) && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

BOOL OnCommand(HWND dialog, int id) {
    for (const Command& command : kCommands) {
        if (command.id != id) continue;
        command.run(dialog);
        return TRUE;
    }
    return FALSE;
}

// The accelerator translation sends this for the popup of a shortcut's item before it acts
// and drops the command of a grey item, so these rules govern the shortcut keys as well.
BOOL OnInitMenuPopup(HWND dialog, HMENU menu) {
    int selected = entryListView.SelectedCount();
    int rows = entryList.Count();
    EnableMenuCommand(menu, IDM_EDIT, selected == 1);
    const int kNeedSelection[] = {IDM_SAVE_SELECTED,   IDM_DELETE,  IDM_ENABLE_SELECTED, IDM_DISABLE_SELECTED,
                                  IDM_INVERT_SELECTED, IDM_MOVE_UP, IDM_MOVE_DOWN};
    for (int id : kNeedSelection) EnableMenuCommand(menu, id, selected >= 1);
    EnableMenuCommand(menu, IDM_SORT_BY_CHECK, rows >= 2 && !mainWindow.options.DisBottom);
    EnableMenuCommand(menu, IDM_SELECT_ALL, rows >= 1);
    EnableMenuCommand(menu, IDM_UPDATE, mainWindow.listChanged != 0);
    EnableMenuCommand(menu, IDM_HELP, HelpFileExists());
    return TRUE;
}

BOOL OnDropFiles(HWND dialog, HDROP drop) {
    DropFiles(dialog, drop);
    return FALSE;
}

BOOL OnMouseWheel(HWND dialog, WPARAM wParam) {
    // Windows 95 passes the delta as the whole wParam, later systems in its high word.
    int delta = mainWindow.wheelDeltaInWParam ? static_cast<int>(static_cast<int32_t>(wParam))
                                              : static_cast<int>(static_cast<short>(HIWORD(wParam)));
    if (!IsKeyHeld(VK_CONTROL)) return FALSE;
    SendMessageA(dialog, WM_COMMAND, delta >= 0 ? IDM_MOVE_UP : IDM_MOVE_DOWN, 0);
    return TRUE;
}
