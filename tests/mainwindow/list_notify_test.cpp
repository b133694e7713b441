// The entry list's buttons and context menu in the real main dialog.
#include "tests/mainwindow/command_fixture.h"

namespace {

using ListNotifyTest = CommandTest;

TEST_F(ListNotifyTest, ButtonsFollowTheSelection) {
    OpenWith("P+ Q+ R+");
    const int kButtons[] = {IDC_EDIT, IDC_MOVE_UP, IDC_MOVE_DOWN, IDC_SAVE, IDC_DELETE};
    const std::initializer_list<int> kSelections[] = {{}, {2}, {0, 2}};
    for (int selected = 0; selected < 3; ++selected) {
        Select(kSelections[selected]);
        for (int id : kButtons) EXPECT_EQ(Enabled(id), selected == 1 || (selected == 2 && id != IDC_EDIT)) << id;
    }
}

// Taken from inside the menu's own loop, then the menu is closed.
RECT g_menuRect;
UINT g_editState;

void CALLBACK ReadOpenMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND menu = FindWindowA("#32768", nullptr);
    if (!menu || !IsWindowVisible(menu)) return;
    KillTimer(nullptr, timer);
    GetWindowRect(menu, &g_menuRect);
    g_editState = GetMenuState(reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0)), IDM_EDIT, MF_BYCOMMAND);
    EndMenu();
}

TEST_F(ListNotifyTest, AppsKeyOpensTheMenuUnderTheHeadersWithEditGreyForTwoRows) {
    OpenWith("P+ Q+ R+");
    Select({0, 1});
    SetTimer(nullptr, 0, 50, ReadOpenMenu);
    SendMessageA(list_, WM_KEYDOWN, VK_APPS, 0);
    RECT header;
    GetWindowRect(ListView_GetHeader(list_), &header);
    EXPECT_EQ(g_menuRect.left, header.left);
    EXPECT_EQ(g_menuRect.top, header.bottom);
    EXPECT_TRUE(g_editState & MF_GRAYED);
}

}  // namespace
