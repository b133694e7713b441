// Resizing the main dialog: what moves, what grows, and the size grip.
#include <map>

#include "mainwindow/layout.h"
#include "tests/mainwindow/main_dialog_harness.h"

namespace {

using Edges = std::vector<LONG>;  // left, top, right, bottom

class LayoutTest : public MainDialogTest {
protected:
    // Every control's edges in client coordinates, less how it should follow a size change of
    // (dx, dy): when the layout is right the result is the same before and after the change.
    std::map<int, Edges> Controls(int dx, int dy) {
        std::map<int, Edges> controls;
        auto add = [&](int id, int left, int top, int right, int bottom) {
            RECT rect;
            GetWindowRect(GetDlgItem(dialog_, id), &rect);
            MapWindowPoints(HWND_DESKTOP, dialog_, reinterpret_cast<POINT*>(&rect), 2);
            controls[id] = {rect.left - left, rect.top - top, rect.right - right, rect.bottom - bottom};
        };
        for (int id : {IDOK, IDCANCEL, IDC_UPDATE}) add(id, dx, dy, dx, dy);
        // The buttons below the list, the icon and the two lines of text.
        for (int id = IDC_MOVE_UP; id <= IDC_SUBTITLE_TEXT; ++id) add(id, 0, dy, 0, dy);
        add(IDC_ENTRY_LIST, 0, 0, dx, dy);
        return controls;
    }

    void GrowBy(int dx, int dy) {
        RECT window;
        GetWindowRect(dialog_, &window);
        SetWindowPos(dialog_, nullptr, 0, 0, window.right - window.left + dx, window.bottom - window.top + dy,
                     SWP_NOMOVE | SWP_NOZORDER);
    }
};

TEST_F(LayoutTest, ControlsFollowTheEdgesTheyBelongTo) {
    Open();
    std::map<int, Edges> before = Controls(0, 0);
    GrowBy(100, 50);
    EXPECT_EQ(Controls(100, 50), before);
}

TEST_F(LayoutTest, MinimizeAndRestoreMoveNothing) {
    Open();
    // The template is one dialog unit narrower than the minimum width, so a window still at
    // the template size is widened to the minimum when it is restored; start above both.
    GrowBy(40, 30);
    std::map<int, Edges> before = Controls(0, 0);
    ShowWindow(dialog_, SW_MINIMIZE);
    Pump();
    ShowWindow(dialog_, SW_RESTORE);
    Pump();
    EXPECT_EQ(Controls(0, 0), before);
}

TEST_F(LayoutTest, GripAnswersAndIsDrawnInTheLastSixteenPixelsOnly) {
    Open();
    RECT corner = {};
    for (int grow : {0, 120}) {
        SCOPED_TRACE(grow);
        GrowBy(grow, grow / 2);
        RECT client;
        GetClientRect(dialog_, &client);
        int w = client.right, h = client.bottom;
        auto hit = [this](int x, int y) {
            POINT point = {x, y};
            ClientToScreen(dialog_, &point);
            return SendMessageA(dialog_, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
        };
        EXPECT_EQ(hit(w - 1, h - 1), HTBOTTOMRIGHT);
        EXPECT_EQ(hit(w - kGripSize, h - kGripSize), HTBOTTOMRIGHT);
        EXPECT_EQ(hit(w - kGripSize - 1, h - 1), HTCLIENT);
        EXPECT_EQ(hit(w - 1, h - kGripSize - 1), HTCLIENT);
        EXPECT_EQ(hit(w / 2, h / 2), HTCLIENT);
        // The grip's lines reach into the corner below and right of the Update button, and
        // leave the corner it had before.
        if (grow) EXPECT_EQ(CountPixels(dialog_, corner, GetSysColor(COLOR_BTNFACE), false), 0);
        corner = {w - 5, h - 5, w, h};
        EXPECT_GT(CountPixels(dialog_, corner, GetSysColor(COLOR_BTNFACE), false), 2);
    }
}

}  // namespace
