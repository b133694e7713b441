// Keeps the main dialog's controls in place while it is resized, and draws its size grip.
#include "mainwindow/layout.h"

#include <windowsx.h>

#include "mainwindow/main_state.h"
#include "resources/resource.h"

namespace {

// Controls that keep their x and size and follow the bottom edge, in tab order.
const int kBottomLeftControls[] = {IDC_MOVE_UP, IDC_MOVE_DOWN, IDC_ADD,       IDC_EDIT,         IDC_DELETE,
                                   IDC_SAVE,    IDC_LOAD,      IDC_ICON_LINK, IDC_VERSION_TEXT, IDC_SUBTITLE_TEXT};
// Controls that follow the bottom-right corner.
const int kBottomRightControls[] = {IDOK, IDCANCEL, IDC_UPDATE};

RECT ChildRectInClient(HWND dialog, HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void MoveChildBy(HWND dialog, int id, int dx, int dy) {
    HWND child = GetDlgItem(dialog, id);
    if (!child) return;
    RECT rect = ChildRectInClient(dialog, child);
    MoveWindow(child, rect.left + dx, rect.top + dy, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    InvalidateRect(child, nullptr, FALSE);
}

}  // namespace

void ComputeMinTrackSize(HWND dialog) {
    RECT units = {0, 0, 259, 195};
    MapDialogRect(dialog, &units);
    // The menu bar is deliberately not counted: the dialog may wrap it to a second line.
    mainWindow.minTrackSize.cx = units.right + 2 * GetSystemMetrics(SM_CXFRAME);
    mainWindow.minTrackSize.cy = units.bottom + 2 * GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION);
}

void UpdateGripRect(HWND dialog) {
    RECT client;
    GetClientRect(dialog, &client);
    client.left = client.right - kGripSize;
    client.top = client.bottom - kGripSize;
    mainWindow.gripRect = client;
}

void UpdateIconRect(HWND dialog) {
    HWND icon = GetDlgItem(dialog, IDC_ICON_LINK);
    if (icon) mainWindow.iconRect = ChildRectInClient(dialog, icon);
}

void RecordClientSize(HWND dialog) {
    RECT client;
    GetClientRect(dialog, &client);
    mainWindow.lastClientSize.cx = client.right - client.left;
    mainWindow.lastClientSize.cy = client.bottom - client.top;
}

BOOL OnGetMinMaxInfo(MINMAXINFO* info) {
    info->ptMinTrackSize.x = mainWindow.minTrackSize.cx;
    info->ptMinTrackSize.y = mainWindow.minTrackSize.cy;
    return TRUE;
}

BOOL OnSize(HWND dialog, UINT sizeType, int width, int height) {
    // Minimizing reports a zero client; keeping the old size means restoring moves nothing.
    if (sizeType == SIZE_MINIMIZED) return TRUE;
    int dx = width - mainWindow.lastClientSize.cx;
    int dy = height - mainWindow.lastClientSize.cy;
    mainWindow.lastClientSize.cx = width;
    mainWindow.lastClientSize.cy = height;

    HWND list = GetDlgItem(dialog, IDC_ENTRY_LIST);
    if (list) {
        RECT rect = ChildRectInClient(dialog, list);
        MoveWindow(list, rect.left, rect.top, rect.right - rect.left + dx, rect.bottom - rect.top + dy, TRUE);
    }
    for (int id : kBottomRightControls) MoveChildBy(dialog, id, dx, dy);
    for (int id : kBottomLeftControls) MoveChildBy(dialog, id, 0, dy);

    UpdateGripRect(dialog);
    UpdateIconRect(dialog);
    InvalidateRect(dialog, nullptr, TRUE);
    return FALSE;
}

BOOL OnExitSizeMove(HWND dialog) {
    UpdateIconRect(dialog);
    return TRUE;
}

BOOL OnPaint(HWND dialog) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    if (dc) {
        RECT grip = mainWindow.gripRect;
        DrawFrameControl(dc, &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
        EndPaint(dialog, &paint);
    }
    return TRUE;
}

LRESULT GripHitTest(HWND dialog, LPARAM lParam) {
    POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(dialog, &point);
    return PtInRect(&mainWindow.gripRect, point) ? HTBOTTOMRIGHT : HTNOWHERE;
}
