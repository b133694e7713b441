// The main dialog as it reaches the screen: which entry rows are hatched, read back pixel by
// pixel, the controls following a size change, and the program icon as a link to the version
// dialog.
#include <map>

#include "mainwindow/layout.h"
#include "tests/mainwindow/main_dialog_harness.h"
#include "tests/support/modal_script.h"

namespace {

const COLORREF kHatch = RGB(255, 128, 128);

using DrawingTest = MainDialogTest;

TEST_F(DrawingTest, RowsPastThe32ndEnabledEntryAndWithDisSlashAllDisabledRowsAreHatched) {
    for (int i = 100; i < 133; ++i) {
        std::string name = "E" + std::to_string(i);
        RegistryKeyGuard::CreateSubkey(name.c_str(), ("C:\\" + name + ".htm").c_str());
    }
    SetSetting("Main", "WindowWidth", "760");
    SetSetting("Main", "WindowHeight", "960");  // tall enough to show all 33 rows
    Open();
    auto hatched = [&] {  // as a user would see them once pending paints are done
        UpdateWindow(list_);
        HDC dc = GetDC(list_);
        std::vector<int> rows;
        for (int row = 0; row < ListView_GetItemCount(list_); ++row) {
            RECT r;
            ListView_GetItemRect(list_, row, &r, LVIR_BOUNDS);
            bool any = false;
            for (LONG y = r.top; y < r.bottom && !any; ++y)
                for (LONG x = r.left; x < r.right && !any; ++x) any = GetPixel(dc, x, y) == kHatch;
            if (any) rows.push_back(row);
        }
        ReleaseDC(list_, dc);
        return rows;
    };
    EXPECT_EQ(hatched(), std::vector<int>{32});
    ListView_SetCheckState(list_, 0, FALSE);  // DisBottom is off: the row stays where it is
    EXPECT_EQ(hatched(), std::vector<int>{});
    ListView_SetCheckState(list_, 0, TRUE);
    ListView_SetCheckState(list_, 32, FALSE);  // behind 32 enabled ones, left out all the same
    EXPECT_EQ(hatched(), std::vector<int>{32});
    mainWindow.options.DisSlash = 1;
    ListView_SetCheckState(list_, 5, FALSE);  // row 32 is now within the limit
    EXPECT_EQ(hatched(), (std::vector<int>{5, 32}));
}

// Each control keeps its distance to the edges it belongs to, through growing and through
// minimizing and restoring; the grip answers in the last sixteen pixels only.
TEST_F(MainDialogTest, ControlsFollowTheEdgesTheyBelongToAndTheGripTheCorner) {
    Open();
    auto controls = [&](int dx, int dy) {  // edges less the move each control should make
        std::map<int, std::vector<LONG>> edges;
        auto add = [&](int id, int left, int top, int right, int bottom) {
            RECT r;
            GetWindowRect(GetDlgItem(dialog_, id), &r);
            MapWindowPoints(HWND_DESKTOP, dialog_, reinterpret_cast<POINT*>(&r), 2);
            edges[id] = {r.left - left, r.top - top, r.right - right, r.bottom - bottom};
        };
        for (int id : {IDOK, IDCANCEL, IDC_UPDATE}) add(id, dx, dy, dx, dy);
        for (int id = IDC_MOVE_UP; id <= IDC_SUBTITLE_TEXT; ++id) add(id, 0, dy, 0, dy);
        add(IDC_ENTRY_LIST, 0, 0, dx, dy);
        return edges;
    };
    const auto before = controls(0, 0);
    RECT window, client;
    GetWindowRect(dialog_, &window);
    SetWindowPos(dialog_, nullptr, 0, 0, window.right - window.left + 120, window.bottom - window.top + 60,
                 SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(controls(120, 60), before);
    GetClientRect(dialog_, &client);
    for (POINT p : {POINT{client.right - 1, client.bottom - 1}, POINT{client.right - kGripSize - 1, client.bottom - 1}}) {
        bool inGrip = p.x >= client.right - kGripSize;
        ClientToScreen(dialog_, &p);
        EXPECT_EQ(SendMessageA(dialog_, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)), inGrip ? HTBOTTOMRIGHT : HTCLIENT);
    }
    ShowWindow(dialog_, SW_MINIMIZE);
    ShowWindow(dialog_, SW_RESTORE);
    Pump();
    EXPECT_EQ(controls(120, 60), before);
}

TEST_F(MainDialogTest, TheIconAndTheMenuItemOpenTheVersionDialog) {
    Open();
    // The owner of the version dialog the message opened (closed at once), or nullptr.
    auto opened = [&](UINT message, WPARAM wParam, POINT point) {
        HWND owner = nullptr;
        ModalScript script("バージョン情報", {[&](HWND about) {
                               owner = GetWindow(about, GW_OWNER);
                               return PostMessageA(about, WM_COMMAND, IDCANCEL, 0), true;
                           }});
        SendMessageA(dialog_, message, wParam, MAKELPARAM(point.x, point.y));
        return owner;
    };
    RECT icon;
    GetWindowRect(GetDlgItem(dialog_, IDC_ICON_LINK), &icon);
    POINT on = {(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2};
    ScreenToClient(dialog_, &on);
    EXPECT_EQ(opened(WM_LBUTTONDOWN, MK_LBUTTON, {200, 20}), nullptr);
    EXPECT_EQ(opened(WM_LBUTTONDOWN, MK_LBUTTON, on), dialog_);  // the first click, no hover before it
    EXPECT_EQ(opened(WM_COMMAND, IDM_ABOUT, {0, 0}), dialog_);
}

}  // namespace
