// Start-up of the main dialog: settings, the list view, placement and show, then the entries
// from the registry and Disable.dat.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <climits>
#include <optional>

#include "stores/disabled_store.h"
#include "stores/registry_store.h"
#include "mainwindow/entry_list_view.h"
#include "mainwindow/handlers.h"
#include "mainwindow/layout.h"
#include "mainwindow/list_columns.h"
#include "mainwindow/main_state.h"
#include "common/texts.h"
#include "resources/resource.h"
#include "shell/window_utils.h"

namespace {

constexpr DWORD kListExStyle = LVS_EX_CHECKBOXES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT;

// Buttons that act on selected rows; they start disabled when there is nothing to select.
const int kSelectionButtons[] = {IDC_MOVE_UP, IDC_MOVE_DOWN, IDC_EDIT, IDC_SAVE, IDC_DELETE};

void KeepControlHandles(HWND dialog) {
    for (int id = IDC_ENTRY_LIST; id <= IDC_UPDATE; ++id) mainWindow.controls[id - IDD_MAIN] = GetDlgItem(dialog, id);
}

void InsertColumns(HWND listView) {
    static const char* const kHeaders[kColumnCount] = {kColumnName, kColumnContexts, kColumnFlags, kColumnFile};
    int widths[kColumnCount];
    settingsStore.LoadColumnWidths(widths, kColumnCount);
    for (int column = 0; column < kColumnCount; ++column) {
        LVCOLUMNA item = {};
        item.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        item.fmt = column == kFlagsColumn ? LVCFMT_RIGHT : LVCFMT_LEFT;
        item.cx = widths[column];
        item.pszText = const_cast<char*>(kHeaders[column]);
        item.iSubItem = column;
        SendMessageA(listView, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&item));
    }
}

void SetUpListView(HWND listView) {
    DWORD exStyle = kListExStyle;
    if (settingsStore.ReadGridLines()) exStyle |= LVS_EX_GRIDLINES;
    SendMessageA(listView, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, exStyle);
    InsertColumns(listView);
    int order[kColumnCount];
    settingsStore.LoadColumnOrder(order, kColumnCount);
    SendMessageA(listView, LVM_SETCOLUMNORDERARRAY, kColumnCount, reinterpret_cast<LPARAM>(order));
    mainWindow.listViewProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(listView, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListViewKeyProc)));
}

// A hidden window could only be ended by killing the process, so neither a hand-edited
// ShowWindow nor a caller's start-up state may hide it; a number that is no show command at
// all is treated the same way.
int VisibleShowCommand(int showCommand) {
    return showCommand > SW_HIDE && showCommand <= SW_MAX ? showCommand : SW_SHOWNORMAL;
}

int ChooseShowCommand(int savedShowCommand) {
    // A shortcut set to start minimized or maximized wins over the saved state.
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    GetStartupInfoA(&startup);
    if ((startup.dwFlags & STARTF_USESHOWWINDOW) && startup.wShowWindow != SW_SHOWNORMAL)
        return VisibleShowCommand(startup.wShowWindow);
    return VisibleShowCommand(savedShowCommand);
}

// The stored place as a rectangle; a missing size is the window's present one. 64-bit sums,
// held to the 32-bit range: a hand-edited value must not wrap around.
RECT StoredRect(HWND dialog, const int* placement) {
    RECT current;
    GetWindowRect(dialog, &current);
    bool sized = placement[2] != kNotStored && placement[3] != kNotStored;
    long long width = sized ? placement[2] : current.right - current.left;
    long long height = sized ? placement[3] : current.bottom - current.top;
    auto clamp = [](long long value) {
        return static_cast<LONG>(value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : value);
    };
    return {placement[0], placement[1], clamp(placement[0] + width), clamp(placement[1] + height)};
}

// A stored place off every screen, as after a monitor was unplugged, would keep the window lost
// for good, since closing stores that place again. It comes back whole instead: centred in the
// work area of the nearest monitor, at its stored size shrunk to that work area where it is
// larger (never below the window's minimum size), or at its present size when none is stored.
void BringOnScreen(HWND dialog, int* placement) {
    RECT stored = StoredRect(dialog, placement);
    if (MeetsAnyWorkArea(stored)) return;
    RECT work;
    NearestWorkArea(stored, &work);
    long long width = static_cast<long long>(stored.right) - stored.left;
    long long height = static_cast<long long>(stored.bottom) - stored.top;
    if (placement[2] != kNotStored && placement[3] != kNotStored) {
        width = std::max(std::min(width, static_cast<long long>(work.right - work.left)),
                         static_cast<long long>(mainWindow.minTrackSize.cx));
        height = std::max(std::min(height, static_cast<long long>(work.bottom - work.top)),
                          static_cast<long long>(mainWindow.minTrackSize.cy));
        placement[2] = static_cast<int>(width);
        placement[3] = static_cast<int>(height);
    }
    placement[0] = static_cast<int>(work.left + (work.right - work.left - width) / 2);
    placement[1] = static_cast<int>(work.top + (work.bottom - work.top - height) / 2);
}

void SetWindowIcons(HWND dialog) {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
    HICON big = LoadIconA(instance, MAKEINTRESOURCEA(IDI_QUORVIL));
    HICON small = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_QUORVIL), IMAGE_ICON, 16, 16, 0));
    SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

void PlaceAndShow(HWND dialog) {
    // The WM_SIZE that a saved size causes moves the controls by the difference between the
    // template's size and the saved one.
    RecordClientSize(dialog);
    int placement[4];
    int showCommand = SW_SHOWDEFAULT;
    int topMost = 0;
    settingsStore.LoadWindowPlacement(placement, &showCommand, &topMost);
    UINT flags = SWP_FRAMECHANGED;
    if (placement[0] == kNotStored || placement[1] == kNotStored)
        flags |= SWP_NOMOVE;
    else
        BringOnScreen(dialog, placement);
    if (placement[2] == kNotStored || placement[3] == kNotStored) flags |= SWP_NOSIZE;
    SetWindowPos(dialog, topMost ? HWND_TOPMOST : HWND_TOP, placement[0], placement[1], placement[2], placement[3],
                 flags);
    ShowWindow(dialog, ChooseShowCommand(showCommand));
    UpdateGripRect(dialog);
    SetWindowIcons(dialog);
    UpdateIconRect(dialog);
}

bool IsWindows95() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    if (!GetVersionExA(&version)) return false;
    return version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && version.dwMinorVersion == 0;
}

// Whether loading can add any row at all: the MenuExt key has subkeys, or there is a
// Disable.dat. Switching the list's redrawing back on costs the list view a layout pass of
// its own (some 10 ms under Wine), which a load that adds nothing need not pay.
bool RowsMayArrive(const char* disabledPath) {
    if (disabledPath[0] != '\0' && GetFileAttributesA(disabledPath) != INVALID_FILE_ATTRIBUTES) return true;
    return RegistryMayHoldEntries();
}

// Loads the registry's entries; false when a part of the key could not be read and the
// user is to be warned.
bool LoadRegistryEntries(HWND dialog) {
    int keyFlag = 0;
    if (LoadFromRegistry(entryList, &keyFlag)) return true;
    for (int id : kSelectionButtons) SetButtonEnabled(dialog, id, false);
    return keyFlag != 1;
}

// Returns the number of disabled entries left out because their names were taken.
int RestoreDisabledEntries(const char* path) {
    if (path[0] == '\0') return 0;
    int duplicates = 0;
    // A missing Disable.dat restores nothing and says nothing.
    RestoreDisabled(entryList, settingsStore, path, mainWindow.options.DisNoSavePos, &duplicates);
    return duplicates;
}

void SelectFirstRow(HWND dialog) {
    if (entryList.Count() == 0) {
        // An existing but empty key loads without an error, and no row reports a selection
        // change that would set the buttons: nothing can be selected, so they start disabled.
        for (int id : kSelectionButtons) SetButtonEnabled(dialog, id, false);
        return;
    }
    entryListView.SelectOnly(0);
}

}  // namespace

BOOL OnInitDialog(HWND dialog) {
    mainWindow.dialog = dialog;
    KeepControlHandles(dialog);
    ComputeMinTrackSize(dialog);

    char iniPath[MAX_PATH];
    ProgramFilePath(kIniFileName, iniPath);
    settingsStore.SetIniPath(iniPath);
    settingsStore.LoadOptions(&mainWindow.options);

    HWND listView = GetDlgItem(dialog, IDC_ENTRY_LIST);
    if (listView) {
        SetUpListView(listView);
        entryListView.Bind(listView, &entryList);
    }
    SetWindowLongPtrA(dialog, GWL_STYLE, GetWindowLongPtrA(dialog, GWL_STYLE) | WS_CLIPCHILDREN);

    PlaceAndShow(dialog);
    DragAcceptFiles(dialog, TRUE);
    mainWindow.wheelDeltaInWParam = IsWindows95() ? 1 : 0;

    char disabledPath[MAX_PATH];
    if (!ProgramFilePath(kDisabledFileName, disabledPath)) disabledPath[0] = '\0';
    // Inserting rows into a visible list view repaints it row by row.
    std::optional<RedrawPause> pause;
    if (RowsMayArrive(disabledPath)) pause.emplace(entryListView);
    if (!LoadRegistryEntries(dialog)) {
        // The entries read so far are on show while the warning is up.
        bool paused = pause.has_value();
        pause.reset();
        ShowMessage(dialog, kRegistryReadFailed, kAppCaption, MB_OK | MB_ICONWARNING);
        if (paused) pause.emplace(entryListView);
    }
    int duplicates = RestoreDisabledEntries(disabledPath);
    if (mainWindow.options.DisBottom) entryList.MoveDisabledToBottom();
    pause.reset();
    if (duplicates != 0)
        ShowMessage(dialog, kDuplicatesNotLoaded, kRestoreDisabledCaption, MB_OK | MB_ICONWARNING);

    SelectFirstRow(dialog);
    SetFocus(listView);
    // The program always starts unchanged.
    MarkListUnchanged(dialog);
    return FALSE;
}
