// Drives a running Quorvil for scripts/screenshots, from inside the same Wine desktop:
//   edit   opens the edit dialog on the selected row (command 1401) and waits until it shows
//   about  opens the version dialog (command 1801), clicks its icon and waits until the
//          system information is filled in
//   close  closes the open dialog (Cancel)
//   main   waits until the main window shows
// Each writes the screen rectangle of the window it acted on, as WxH+X+Y, to the file
// "helper-rect.txt" beside itself (programs started into a Wine desktop have no standard
// output to speak of), and exits 0; or 1 when the window did not appear within 30 seconds.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <initializer_list>

#include "resources/resource.h"

namespace {

HWND WaitForWindow(const wchar_t* caption) {
    for (int i = 0; i < 300; ++i) {
        HWND window = FindWindowW(L"#32770", caption);
        if (window && IsWindowVisible(window)) return window;
        Sleep(100);
    }
    fwprintf(stderr, L"screenshot-helper: no window \"%ls\"\n", caption);
    return nullptr;
}

int PrintRect(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    char* slash = strrchr(path, '\\');
    if (length == 0 || length >= MAX_PATH || !slash) return 1;
    strcpy(slash + 1, "helper-rect.txt");
    FILE* file = fopen(path, "w");
    if (!file) return 1;
    fprintf(file, "%ldx%ld+%ld+%ld\n", rect.right - rect.left, rect.bottom - rect.top, rect.left, rect.top);
    return fclose(file) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    HWND main = WaitForWindow(L"Quorvil");
    if (!main) return 1;
    if (strcmp(argv[1], "main") == 0) return PrintRect(main);
    if (strcmp(argv[1], "edit") == 0) {
        PostMessageW(main, WM_COMMAND, IDM_EDIT, 0);
        HWND edit = WaitForWindow(L"編集");
        return edit ? PrintRect(edit) : 1;
    }
    if (strcmp(argv[1], "about") == 0) {
        PostMessageW(main, WM_COMMAND, IDM_ABOUT, 0);
        HWND about = WaitForWindow(L"バージョン情報");
        if (!about) return 1;
        Sleep(500);
        // The dialog unfolds on a left click on its icon, in its own client coordinates.
        RECT icon;
        GetWindowRect(GetDlgItem(about, IDC_ABOUT_ICON), &icon);
        POINT centre = {(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2};
        ScreenToClient(about, &centre);
        PostMessageW(about, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(centre.x, centre.y));
        PostMessageW(about, WM_LBUTTONUP, 0, MAKELPARAM(centre.x, centre.y));
        // A single line says the information is being gathered; the probes replace it.
        HWND list = GetDlgItem(about, IDC_ABOUT_SYSTEM_LIST);
        for (int i = 0; i < 300 && SendMessageW(list, LB_GETCOUNT, 0, 0) < 2; ++i) Sleep(100);
        if (SendMessageW(list, LB_GETCOUNT, 0, 0) < 2) return 1;
        return PrintRect(about);
    }
    if (strcmp(argv[1], "close") == 0) {
        for (const wchar_t* caption : {L"編集", L"バージョン情報"}) {
            HWND dialog = FindWindowW(L"#32770", caption);
            if (dialog) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        }
        return PrintRect(main);
    }
    return 2;
}
