// What the entry list's notifications do in the real main dialog: check boxes, header sorts,
// the buttons that follow the selection and the context menu.
#include "mainwindow/header_sort.h"
#include "tests/mainwindow/command_fixture.h"

namespace {

using ListNotifyTest = CommandTest;

TEST_F(ListNotifyTest, CheckBoxesSetTheEntryMarkTheListAndMoveDownOnlyWithDisBottom) {
    struct {
        int disBottom, row;
        bool tick;
        const char* after;
    } const kCases[] = {
        {1, 3, false, "A+ B+ C+ E+ D-"},
        {0, 3, false, "A+ B+ C+ D- E+"},
        {1, 4, true, "A+ B+ C+ D+ E+"},  // a ticked entry stays where it is
    };
    for (const auto& c : kCases) {
        TearDown();
        SetUp();
        OpenWith(c.tick ? "A+ B+ C+ D+ E-" : "A+ B+ C+ D+ E+");
        mainWindow.DisBottom = c.disBottom;
        ListView_SetCheckState(list_, c.row, c.tick);
        EXPECT_EQ(Entries(), c.after);
        MenuExtEntry e;
        entryList.GetEntryAt(entryList.FindEntryByName(c.tick ? "E" : "D"), &e);
        EXPECT_EQ(e.enabled, c.tick ? 1 : 0);
        EXPECT_TRUE(mainWindow.listChanged && Enabled(IDC_UPDATE));
    }
}

void ClickHeader(HWND dialog, HWND list, int column) {
    NMLISTVIEW click = {};
    click.hdr = {list, static_cast<UINT_PTR>(IDC_ENTRY_LIST), static_cast<UINT>(LVN_COLUMNCLICK)};
    click.iItem = -1;
    click.iSubItem = column;
    SendMessageA(dialog, WM_NOTIFY, IDC_ENTRY_LIST, reinterpret_cast<LPARAM>(&click));
}

TEST_F(ListNotifyTest, HeaderClicksSortTheRowsThatTakePart) {
    std::string forty, fortySorted;
    for (int i = 39; i >= 0; --i) forty += "N" + std::to_string(10 + i) + "+ ";
    for (int i = 8; i < 40; ++i) fortySorted += "N" + std::to_string(10 + i) + "+ ";
    for (int i = 7; i >= 0; --i) fortySorted += "N" + std::to_string(10 + i) + "+ ";
    fortySorted.pop_back();
    struct {
        const char* entries;
        int disBottom;
        bool ctrl;
        std::vector<int> columns;
        std::string after;
        int changed;
    } const kCases[] = {
        {"C+ B+ A+ D+", 0, false, {0}, "A+ B+ C+ D+", 1},
        {"C+ B+ A+ D+", 0, false, {0, 0}, "D+ C+ B+ A+", 1},
        {"C+ B+ A+ D+", 0, false, {0, 0, 2}, "D+ A+ C+ B+", 1},  // Flags as text: 0, 1, 10, 2
        {"C+ B+ A+ D+", 0, false, {1}, "D+ B+ C+ A+", 1},        // Contexts 3, 1, 2, 0
        {forty.c_str(), 0, true, {0}, fortySorted, 1},
        {"E+ D+ C+ B+ A+ Z- Y- X-", 1, false, {0}, "A+ B+ C+ D+ E+ Z- Y- X-", 1},
        {"Z- B+ A+", 1, false, {0}, "Z- B+ A+", 1},
        {"A+", 0, false, {0, 0}, "A+", 0},
    };
    const uint32_t kContexts[] = {2, 1, 0, 3}, kFlags[] = {0x10, 2, 1, 0};  // of C, B, A, D
    for (const auto& c : kCases) {
        TearDown();
        SetUp();
        OpenWith(c.entries);
        for (int row = 0; row < 4 && entryList.Count() == 4; ++row) {
            MenuExtEntry e;
            entryList.GetEntryAt(row, &e);
            e.contexts = kContexts[row];
            e.flags = kFlags[row];
            entryList.ReplaceEntryAt(row, &e);
        }
        mainWindow.listChanged = 0;
        mainWindow.DisBottom = c.disBottom;
        if (c.ctrl) Hold(VK_CONTROL);
        for (int column : c.columns) ClickHeader(dialog_, list_, column);
        EXPECT_EQ(Entries(), c.after) << c.entries;
        EXPECT_EQ(mainWindow.listChanged, c.changed) << c.entries;
    }
    EXPECT_EQ(CompareContexts(0x04, 0x04), 0);
}

TEST_F(ListNotifyTest, ButtonsFollowTheSelection) {
    OpenWith("P+ Q+ R+");
    const int kButtons[] = {IDC_EDIT, IDC_MOVE_UP, IDC_MOVE_DOWN, IDC_SAVE, IDC_DELETE};
    const bool kExpected[][5] = {{false, false, false, false, false},
                                 {true, true, true, true, true},
                                 {false, true, true, true, true}};
    for (int selected = 0; selected < 3; ++selected) {
        Select(selected == 0 ? std::initializer_list<int>{} : selected == 1 ? std::initializer_list<int>{2}
                                                                              : std::initializer_list<int>{0, 2});
        for (int i = 0; i < 5; ++i) EXPECT_EQ(Enabled(kButtons[i]), kExpected[selected][i]) << selected << " " << i;
    }
}

// Taken from inside the menu's own loop, then the menu is closed.
struct OpenMenu {
    RECT rect;
    UINT editState;
} g_menu;

void CALLBACK ReadOpenMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND menu = FindWindowA("#32768", nullptr);
    if (!menu || !IsWindowVisible(menu)) return;
    KillTimer(nullptr, timer);
    GetWindowRect(menu, &g_menu.rect);
    g_menu.editState = GetMenuState(reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0)), IDM_EDIT,
                                    MF_BYCOMMAND);
    EndMenu();
}

TEST_F(ListNotifyTest, AppsKeyOpensTheMenuUnderTheHeadersWithEditGreyForTwoRows) {
    OpenWith("P+ Q+ R+");
    Select({0, 1});
    g_menu = {};
    SetTimer(nullptr, 0, 50, ReadOpenMenu);
    SendMessageA(list_, WM_KEYDOWN, VK_APPS, 0);
    RECT header;
    GetWindowRect(ListView_GetHeader(list_), &header);
    EXPECT_EQ(g_menu.rect.left, header.left);
    EXPECT_EQ(g_menu.rect.top, header.bottom);
    EXPECT_TRUE(g_menu.editState & MF_GRAYED);
}

}  // namespace
