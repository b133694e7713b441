// The options dialog: three check boxes over the main window's options.
#include "settings/options_dialog.h"

#include <cstdint>

#include "mainwindow/main_window.h"
#include "resources/resource.h"
#include "settings/window_utils.h"

namespace {

struct OptionBox {
    int id;
    int32_t MainWindow::*option;
};

const OptionBox kOptionBoxes[] = {
    {IDC_DIS_SLASH, &MainWindow::DisSlash},
    {IDC_DIS_BOTTOM, &MainWindow::DisBottom},
    {IDC_DIS_NO_SAVE_POS, &MainWindow::DisNoSavePos},
};

BOOL OnInitDialog(HWND dialog) {
    CenterWindow(dialog, GetWindow(dialog, GW_OWNER));
    for (const OptionBox& box : kOptionBoxes)
        CheckDlgButton(dialog, box.id, mainWindow.*box.option ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

BOOL OnOk(HWND dialog) {
    for (const OptionBox& box : kOptionBoxes)
        mainWindow.*box.option = IsDlgButtonChecked(dialog, box.id) == BST_CHECKED ? 1 : 0;
    EndDialog(dialog, IDOK);
    return TRUE;
}

BOOL OnCommand(HWND dialog, int id) {
    switch (id) {
    case IDOK: return OnOk(dialog);
    case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
    default: return FALSE;
    }
}

}  // namespace

INT_PTR CALLBACK OptionsDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam));
    default: return FALSE;
    }
}
