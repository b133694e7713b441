// The options dialog: one check box per option.
#include "dialogs/options_dialog.h"

#include "resources/resource.h"
#include "shell/window_utils.h"

namespace {

Options* OptionsOf(HWND dialog) { return reinterpret_cast<Options*>(GetWindowLongPtrA(dialog, DWLP_USER)); }

BOOL OnInitDialog(HWND dialog, Options* options) {
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(options));
    CenterWindow(dialog, GetWindow(dialog, GW_OWNER));
    for (const OptionRow& row : kOptionRows)
        CheckDlgButton(dialog, row.box, options->*row.value ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

BOOL OnOk(HWND dialog) {
    Options* options = OptionsOf(dialog);
    for (const OptionRow& row : kOptionRows)
        options->*row.value = IsDlgButtonChecked(dialog, row.box) == BST_CHECKED ? 1 : 0;
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

INT_PTR RunOptionsDialog(HWND owner, Options* options) {
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_OPTIONS), owner, OptionsDialog,
                           reinterpret_cast<LPARAM>(options));
}

INT_PTR CALLBACK OptionsDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog, reinterpret_cast<Options*>(lParam));
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam));
    default: return FALSE;
    }
}
