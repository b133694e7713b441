// Start-up and shut-down of the real main dialog against a prepared registry, Disable.dat
// and settings file.
#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "mainwindow/messages.h"
#include "resources/resource.h"
#include "tests/mainwindow/main_dialog_harness.h"

namespace {

const int kSelectionButtons[] = {IDC_MOVE_UP, IDC_MOVE_DOWN, IDC_EDIT, IDC_DELETE, IDC_SAVE};

using StartupTest = MainDialogTest;

TEST_F(StartupTest, DisabledEntriesReturnToTheirPlacesAndTheListStartsUnchanged) {
    RegistryKeyGuard::CreateSubkey("P", "C:\\P.htm");
    RegistryKeyGuard::CreateSubkey("R", "C:\\R.htm");
    WriteDisabledFile({DisabledEntry("Q"), DisabledEntry("S")}, "1,3");
    Open();

    EXPECT_TRUE(IsWindowVisible(dialog_));
    EXPECT_EQ(Names(), "P Q R S");
    EXPECT_EQ(StateImage(0), 2);
    EXPECT_EQ(StateImage(1), 1);
    EXPECT_EQ(StateImage(2), 2);
    EXPECT_EQ(StateImage(3), 1);
    EXPECT_EQ(SendMessageA(list_, LVM_GETITEMSTATE, 0, LVIS_SELECTED | LVIS_FOCUSED), LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(SendMessageA(list_, LVM_GETSELECTEDCOUNT, 0, 0), 1);
    EXPECT_EQ(GetFocus(), list_);
    // Loading ticked the boxes of P and R; that is no change of the user's.
    EXPECT_EQ(mainWindow.listChanged, 0);
    EXPECT_FALSE(Enabled(IDC_UPDATE));
    for (int id : kSelectionButtons) EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_TRUE(boxes_.Boxes().empty());
    EXPECT_EQ(entryList.listView, list_);
    EXPECT_EQ(mainWindow.editIndex, -1);
}

TEST_F(StartupTest, MissingKeyAndNoDisabledFileGiveAnEmptyListWithoutAWord) {
    Open();
    EXPECT_EQ(RowCount(), 0);
    EXPECT_TRUE(boxes_.Boxes().empty());
    for (int id : kSelectionButtons) EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_FALSE(Enabled(IDC_UPDATE));
    EXPECT_TRUE(Enabled(IDC_ADD));
    EXPECT_TRUE(Enabled(IDC_LOAD));
    EXPECT_EQ(GetFocus(), list_);
}

TEST_F(StartupTest, OnlyDisabledEntriesStillSelectRowZero) {
    WriteDisabledFile({DisabledEntry("Q")}, "0");
    Open();
    EXPECT_EQ(Names(), "Q");
    EXPECT_EQ(StateImage(0), 1);
    EXPECT_TRUE(Enabled(IDC_EDIT));
    EXPECT_FALSE(Enabled(IDC_UPDATE));
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(StartupTest, UnreadableSubkeyWarnsOnceAndShowsWhatCouldBeRead) {
    RegistryKeyGuard::CreateSubkey("Good", "C:\\Good.htm");
    RegistryKeyGuard::CreateSubkey("NoTarget", nullptr);
    Open();
    ASSERT_EQ(boxes_.Boxes().size(), 1u);
    const InterceptedBox& box = boxes_.Boxes()[0];
    EXPECT_EQ(box.text, kRegistryReadFailed);
    EXPECT_EQ(box.caption, "Quorvil");
    EXPECT_EQ(box.style, static_cast<UINT>(MB_OK | MB_ICONWARNING));
    EXPECT_EQ(box.owner, dialog_);
    EXPECT_EQ(Names(), "Good");
    // Row 0 selected after the warning enables the buttons again.
    EXPECT_TRUE(Enabled(IDC_EDIT));
    EXPECT_FALSE(Enabled(IDC_UPDATE));
}

TEST_F(StartupTest, EmptyKeyIsNoReasonToWarn) {
    RegistryKeyGuard::CreateSubkey("Gone", "C:\\Gone.htm");
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\MenuExt", 0, KEY_ALL_ACCESS,
                            &key),
              ERROR_SUCCESS);
    RegDeleteKeyA(key, "Gone");
    RegCloseKey(key);
    Open();
    EXPECT_TRUE(boxes_.Boxes().empty());
    EXPECT_EQ(RowCount(), 0);
}

TEST_F(StartupTest, DisabledEntryWhoseNameIsTakenIsDroppedWithOneWarning) {
    RegistryKeyGuard::CreateSubkey("P", "C:\\P.htm");
    WriteDisabledFile({DisabledEntry("p"), DisabledEntry("Q"), DisabledEntry("P")}, "0,1,2");
    Open();
    EXPECT_EQ(Names(), "P Q");
    ASSERT_EQ(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(boxes_.Count(kDuplicatesNotLoaded, "無効アイテムの復元"), 1);
    EXPECT_EQ(boxes_.Boxes()[0].style, static_cast<UINT>(MB_OK | MB_ICONWARNING));
    EXPECT_EQ(boxes_.Boxes()[0].owner, dialog_);
}

TEST_F(StartupTest, DisBottomGathersRestoredEntriesAtTheEnd) {
    RegistryKeyGuard::CreateSubkey("P", "C:\\P.htm");
    RegistryKeyGuard::CreateSubkey("R", "C:\\R.htm");
    WriteDisabledFile({DisabledEntry("Q")}, "0");
    SetSetting("List", "DisBottom", "1");
    Open();
    EXPECT_EQ(mainWindow.DisBottom, 1);
    EXPECT_EQ(Names(), "P R Q");
    EXPECT_EQ(StateImage(2), 1);
    EXPECT_EQ(mainWindow.listChanged, 0);
}

TEST_F(StartupTest, OptionsColumnsAndGridComeFromTheSettings) {
    SetSetting("List", "DisSlash", "1");
    SetSetting("List", "DisNoSavePos", "1");
    SetSetting("Main", "Grid", "1");
    SetSetting("Main", "ColWidth0", "111");
    SetSetting("Main", "ColWidth1", "99");
    SetSetting("Main", "ColWidth2", "55");
    SetSetting("Main", "ColWidth3", "222");
    SetSetting("Main", "ColOrder", "3,2,1,0");
    Open();
    EXPECT_EQ(mainWindow.DisSlash, 1);
    EXPECT_EQ(mainWindow.DisBottom, 0);
    EXPECT_EQ(mainWindow.DisNoSavePos, 1);
    DWORD exStyle = static_cast<DWORD>(SendMessageA(list_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    EXPECT_EQ(exStyle & 0x3F, static_cast<DWORD>(LVS_EX_CHECKBOXES | LVS_EX_HEADERDRAGDROP |
                                                  LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES));
    const int widths[] = {111, 99, 55, 222};
    for (int column = 0; column < 4; ++column)
        EXPECT_EQ(SendMessageA(list_, LVM_GETCOLUMNWIDTH, column, 0), widths[column]) << column;
    int order[4] = {};
    SendMessageA(list_, LVM_GETCOLUMNORDERARRAY, 4, reinterpret_cast<LPARAM>(order));
    EXPECT_EQ(order[0], 3);
    EXPECT_EQ(order[3], 0);
    Close();
    // Grid is only ever read.
    EXPECT_EQ(ReadSetting("Main", "Grid"), "1");
}

TEST_F(StartupTest, FirstStartHasDefaultColumnsNoGridAndIsCentred) {
    Open();
    DWORD exStyle = static_cast<DWORD>(SendMessageA(list_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    EXPECT_EQ(exStyle & LVS_EX_GRIDLINES, 0u);
    const int widths[] = {180, 120, 40, 320};
    for (int column = 0; column < 4; ++column)
        EXPECT_EQ(SendMessageA(list_, LVM_GETCOLUMNWIDTH, column, 0), widths[column]) << column;
    LVCOLUMNA flags = {};
    flags.mask = LVCF_FMT;
    SendMessageA(list_, LVM_GETCOLUMNA, 2, reinterpret_cast<LPARAM>(&flags));
    EXPECT_EQ(flags.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_RIGHT);
    // DS_CENTER: the middle of the window is the middle of the work area, give or take.
    RECT window, work;
    GetWindowRect(dialog_, &window);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR((window.left + window.right) / 2, (work.left + work.right) / 2, 2);
    Close();
    EXPECT_EQ(ReadSetting("Main", "Grid"), "<none>");
    EXPECT_EQ(ReadSetting("Main", "ColOrder"), "0,1,2,3");
}

TEST_F(StartupTest, SavedPlacementIsAppliedAndTheControlsFollowIt) {
    SetSetting("Main", "WindowLeft", "40");
    SetSetting("Main", "WindowTop", "30");
    SetSetting("Main", "WindowWidth", "700");
    SetSetting("Main", "WindowHeight", "500");
    Open();
    RECT window;
    GetWindowRect(dialog_, &window);
    EXPECT_EQ(window.left, 40);
    EXPECT_EQ(window.top, 30);
    EXPECT_EQ(window.right - window.left, 700);
    EXPECT_EQ(window.bottom - window.top, 500);
    RECT client, update, list;
    GetClientRect(dialog_, &client);
    GetWindowRect(Item(IDC_UPDATE), &update);
    GetWindowRect(list_, &list);
    MapWindowPoints(HWND_DESKTOP, dialog_, reinterpret_cast<POINT*>(&update), 2);
    MapWindowPoints(HWND_DESKTOP, dialog_, reinterpret_cast<POINT*>(&list), 2);
    // Update's right edge stays as far from the client's as in the template (254 and 258 units).
    RECT units = {254, 0, 258, 0};
    MapDialogRect(dialog_, &units);
    EXPECT_EQ(client.right - update.right, units.right - units.left);
    EXPECT_EQ(update.right, list.right);
    EXPECT_EQ(mainWindow.lastClientSize.cx, client.right);
    EXPECT_EQ(mainWindow.lastClientSize.cy, client.bottom);
}

TEST_F(StartupTest, CloseSavesWindowColumnsAndOptionsButNeverTheEntries) {
    RegistryKeyGuard::CreateSubkey("P", "C:\\P.htm");
    RegistryKeyGuard::CreateSubkey("R", "C:\\R.htm");
    WriteDisabledFile({DisabledEntry("Q")}, "1");
    std::string disabledBefore;
    ASSERT_TRUE(TempDir::ReadFile(DisabledPath(), &disabledBefore));
    Open();
    SetStateImage(0, 1);  // the user clears P's box
    EXPECT_EQ(mainWindow.listChanged, 1);
    EXPECT_TRUE(Enabled(IDC_UPDATE));
    SendMessageA(list_, LVM_SETCOLUMNWIDTH, 3, 234);
    int order[4] = {1, 0, 2, 3};
    SendMessageA(list_, LVM_SETCOLUMNORDERARRAY, 4, reinterpret_cast<LPARAM>(order));
    mainWindow.DisSlash = 1;
    mainWindow.DisBottom = 1;
    SetWindowPos(dialog_, nullptr, 50, 60, 640, 480, SWP_NOZORDER);

    Close();
    EXPECT_TRUE(boxes_.Boxes().empty());
    EXPECT_EQ(RegistryKeyGuard::SubkeyNames(), (std::vector<std::string>{"P", "R"}));
    std::string disabledAfter;
    ASSERT_TRUE(TempDir::ReadFile(DisabledPath(), &disabledAfter));
    EXPECT_EQ(disabledAfter, disabledBefore);
    EXPECT_EQ(ReadSetting("List", "DisableItemPos"), "1");

    EXPECT_EQ(ReadSetting("Main", "ColWidth3"), "234");
    EXPECT_EQ(ReadSetting("Main", "ColWidth0"), "180");
    EXPECT_EQ(ReadSetting("Main", "ColOrder"), "1,0,2,3");
    EXPECT_EQ(ReadSetting("List", "DisSlash"), "1");
    EXPECT_EQ(ReadSetting("List", "DisBottom"), "1");
    EXPECT_EQ(ReadSetting("List", "DisNoSavePos"), "0");
    EXPECT_EQ(ReadSetting("Main", "WindowWidth"), "640");
    EXPECT_EQ(ReadSetting("Main", "WindowHeight"), "480");
    EXPECT_NE(ReadSetting("Main", "WindowLeft"), "<none>");
    EXPECT_NE(ReadSetting("Main", "ShowWindow"), "<none>");
}

TEST_F(StartupTest, CancelAndEscCloseWithoutTouchingTheRegistry) {
    for (int command : {IDCANCEL, IDM_EXIT_WITHOUT_UPDATE}) {
        SCOPED_TRACE(command);
        RegistryKeyGuard::CreateSubkey("P", "C:\\P.htm");
        Open();
        SetStateImage(0, 1);
        SendMessageA(dialog_, WM_COMMAND, command, 0);
        Pump();
        EXPECT_FALSE(IsWindow(dialog_));
        EXPECT_EQ(RegistryKeyGuard::SubkeyNames(), std::vector<std::string>{"P"});
        EXPECT_FALSE(GetFileAttributesA(DisabledPath().c_str()) != INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(ReadSetting("List", "DisSlash"), "0");
        TearDown();
        SetUp();
    }
}

TEST_F(StartupTest, DestroyPostsQuitAndGivesTheListItsProcedureBack) {
    Open();
    WNDPROC original = mainWindow.listViewProc;
    ASSERT_NE(original, nullptr);
    EXPECT_NE(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(list_, GWLP_WNDPROC)), original);
    SendMessageA(dialog_, WM_DESTROY, 0, 0);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(list_, GWLP_WNDPROC)), original);
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
}

}  // namespace

namespace {

TEST_F(StartupTest, InsertingAnEnabledEntryLeavesTheDisplacedEntryAsItWas) {
    WriteDisabledFile({DisabledEntry("Q")}, "0");
    Open();
    MenuExtEntry p = {};
    strcpy(p.name, "P");
    strcpy(p.target, "C:\\P.htm");
    p.enabled = 1;
    ASSERT_EQ(entryList.InsertEntryAt(0, &p), kOk);
    MenuExtEntry q;
    ASSERT_EQ(entryList.GetEntryAt(1, &q), 1);
    EXPECT_STREQ(q.name, "Q");
    EXPECT_EQ(q.enabled, 0);
    EXPECT_EQ(StateImage(1), 1);
    EXPECT_EQ(StateImage(0), 2);
}

}  // namespace
