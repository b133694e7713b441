// Resizing the main dialog: what moves, what grows, the minimum size and the size grip.
#include <windows.h>

#include <map>

#include "mainwindow/layout.h"
#include "resources/resource.h"
#include "tests/mainwindow/main_dialog_harness.h"

namespace {

const int kBottomLeft[] = {IDC_MOVE_UP, IDC_MOVE_DOWN, IDC_ADD,       IDC_EDIT,         IDC_DELETE,
                           IDC_SAVE,    IDC_LOAD,      IDC_ICON_LINK, IDC_VERSION_TEXT, IDC_SUBTITLE_TEXT};
const int kBottomRight[] = {IDOK, IDCANCEL, IDC_UPDATE};

class LayoutTest : public MainDialogTest {
protected:
    RECT ClientRectOf(int id) {
        RECT rect;
        GetWindowRect(Item(id), &rect);
        MapWindowPoints(HWND_DESKTOP, dialog_, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    std::map<int, RECT> AllControls() {
        std::map<int, RECT> rects;
        for (int id : kBottomLeft) rects[id] = ClientRectOf(id);
        for (int id : kBottomRight) rects[id] = ClientRectOf(id);
        rects[IDC_ENTRY_LIST] = ClientRectOf(IDC_ENTRY_LIST);
        return rects;
    }

    void GrowBy(int dx, int dy) {
        RECT window;
        GetWindowRect(dialog_, &window);
        SetWindowPos(dialog_, nullptr, 0, 0, window.right - window.left + dx, window.bottom - window.top + dy,
                     SWP_NOMOVE | SWP_NOZORDER);
    }

    LRESULT HitTestClient(int x, int y) {
        POINT point = {x, y};
        ClientToScreen(dialog_, &point);
        return SendMessageA(dialog_, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
    }
};

#define ExpectMovedBy(before, after, dx, dy)                       \
    do {                                                           \
        EXPECT_EQ((after).left, (before).left + (dx));             \
        EXPECT_EQ((after).top, (before).top + (dy));               \
        EXPECT_EQ((after).right, (before).right + (dx));           \
        EXPECT_EQ((after).bottom, (before).bottom + (dy));         \
    } while (0)

TEST_F(LayoutTest, ControlsFollowTheEdgesTheyBelongTo) {
    Open();
    std::map<int, RECT> before = AllControls();
    GrowBy(100, 50);
    std::map<int, RECT> after = AllControls();
    for (int id : kBottomRight) {
        SCOPED_TRACE(id);
        ExpectMovedBy(before[id], after[id], 100, 50);
    }
    for (int id : kBottomLeft) {
        SCOPED_TRACE(id);
        ExpectMovedBy(before[id], after[id], 0, 50);
    }
    RECT list = after[IDC_ENTRY_LIST], old = before[IDC_ENTRY_LIST];
    EXPECT_EQ(list.left, old.left);
    EXPECT_EQ(list.top, old.top);
    EXPECT_EQ(list.right, old.right + 100);
    EXPECT_EQ(list.bottom, old.bottom + 50);
    EXPECT_EQ(mainWindow.iconRect.left, after[IDC_ICON_LINK].left);
    EXPECT_EQ(mainWindow.iconRect.bottom, after[IDC_ICON_LINK].bottom);
}

TEST_F(LayoutTest, MinimizeAndRestoreMoveNothing) {
    Open();
    // The template is one dialog unit narrower than the minimum width, so a window still at
    // the template size is widened to the minimum when it is restored; start above both.
    GrowBy(40, 30);
    std::map<int, RECT> before = AllControls();
    RECT windowBefore, windowAfter;
    GetWindowRect(dialog_, &windowBefore);
    ShowWindow(dialog_, SW_MINIMIZE);
    Pump();
    ShowWindow(dialog_, SW_RESTORE);
    Pump();
    GetWindowRect(dialog_, &windowAfter);
    EXPECT_EQ(windowAfter.right - windowAfter.left, windowBefore.right - windowBefore.left);
    EXPECT_EQ(windowAfter.bottom - windowAfter.top, windowBefore.bottom - windowBefore.top);
    std::map<int, RECT> after = AllControls();
    for (const auto& control : before) {
        SCOPED_TRACE(control.first);
        ExpectMovedBy(control.second, after[control.first], 0, 0);
    }
}

TEST_F(LayoutTest, MinimumTrackSizeIsTheDialogUnitsPlusTheFrame) {
    Open();
    RECT units = {0, 0, 259, 195};
    MapDialogRect(dialog_, &units);
    MINMAXINFO info = {};
    info.ptMaxTrackSize.x = 12345;
    SendMessageA(dialog_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, units.right + 2 * GetSystemMetrics(SM_CXFRAME));
    EXPECT_EQ(info.ptMinTrackSize.y,
              units.bottom + 2 * GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION));
    EXPECT_EQ(info.ptMaxTrackSize.x, 12345);
}

TEST_F(LayoutTest, GripAnswersInTheLastSixteenPixelsOnly) {
    Open();
    for (int grow : {0, 120}) {
        SCOPED_TRACE(grow);
        GrowBy(grow, grow);
        RECT client;
        GetClientRect(dialog_, &client);
        int w = client.right, h = client.bottom;
        EXPECT_EQ(HitTestClient(w - 1, h - 1), HTBOTTOMRIGHT);
        EXPECT_EQ(HitTestClient(w - kGripSize, h - kGripSize), HTBOTTOMRIGHT);
        EXPECT_EQ(HitTestClient(w - kGripSize - 1, h - 1), HTCLIENT);
        EXPECT_EQ(HitTestClient(w - 1, h - kGripSize - 1), HTCLIENT);
        EXPECT_EQ(HitTestClient(w / 2, h / 2), HTCLIENT);
    }
}

// Pixels of `rect` (client coordinates of the dialog) that are not the dialog's face colour,
// as they reach the screen.
int MarksIn(HWND dialog, RECT rect) {
    UpdateWindow(dialog);
    HDC screen = GetDC(dialog);
    int marks = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            if (GetPixel(screen, x, y) != GetSysColor(COLOR_BTNFACE)) ++marks;
    ReleaseDC(dialog, screen);
    return marks;
}

TEST_F(LayoutTest, GripIsDrawnInTheCornerAfterEachSizeChange) {
    Open();
    for (int grow : {0, 90}) {
        SCOPED_TRACE(grow);
        GrowBy(grow, grow / 2);
        RECT client;
        GetClientRect(dialog_, &client);
        RECT grip = {client.right - kGripSize, client.bottom - kGripSize, client.right, client.bottom};
        // The grip's lines reach into the corner below and right of the Update button.
        RECT corner = {client.right - 5, client.bottom - 5, client.right, client.bottom};
        EXPECT_GT(MarksIn(dialog_, corner), 2);
        EXPECT_EQ(mainWindow.gripRect.left, grip.left);
        EXPECT_EQ(mainWindow.gripRect.bottom, grip.bottom);
    }
}

}  // namespace
