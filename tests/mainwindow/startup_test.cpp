// Start-up and shut-down of the real main dialog against a prepared registry, Disable.dat
// and settings file.
#include <climits>
#include <cstdlib>
#include <utility>

#include "stores/registry_store.h"
#include "common/texts.h"
#include "tests/mainwindow/main_dialog_harness.h"

namespace {

const int kSelectionButtons[] = {IDC_MOVE_UP, IDC_MOVE_DOWN, IDC_EDIT, IDC_DELETE, IDC_SAVE};

using StartupTest = MainDialogTest;

TEST_F(StartupTest, AMissingOrEmptyKeyGivesAnEmptyListWithoutAWordAndNothingToActOn) {
    for (bool empty : {false, true}) {
        HKEY key;
        if (empty) RegCreateKeyExA(HKEY_CURRENT_USER, kMenuExtKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        if (empty) RegCloseKey(key);
        Open();
        EXPECT_EQ(ListView_GetItemCount(list_), 0);
        EXPECT_TRUE(boxes_.Boxes().empty());
        for (int id : kSelectionButtons) EXPECT_FALSE(Enabled(id)) << id;
        TearDown();
    }
}

TEST_F(StartupTest, UnreadableSubkeyAndTakenNamesEachWarnOnceAndTheRestIsShown) {
    RegistryKeyGuard::CreateSubkey("Good", "C:\\Good.htm");
    RegistryKeyGuard::CreateSubkey("NoTarget", nullptr);
    WriteDisabledFile({"good", "Q", "Good"}, "0,0,0");
    SetSetting("List", "DisNoSavePos", "1");  // restored entries go to the end, saved places or not
    Open();
    EXPECT_EQ(Names(), "Good Q");
    const char* const kWarnings[][2] = {{kRegistryReadFailed, "Quorvil"}, {kDuplicatesNotLoaded, "無効アイテムの復元"}};
    ASSERT_EQ(boxes_.Boxes().size(), 2u);
    for (int i = 0; i < 2; ++i) {
        const InterceptedBox& box = boxes_.Boxes()[i];
        EXPECT_EQ(box.text, kWarnings[i][0]);
        EXPECT_EQ(box.caption, kWarnings[i][1]);
        EXPECT_EQ(box.style, static_cast<UINT>(MB_OK | MB_ICONWARNING));
        EXPECT_EQ(box.owner, dialog_);
    }
}

TEST_F(StartupTest, SettingsShapeTheWindowAndAreSavedAtClose) {
    RegistryKeyGuard::CreateSubkey("P", "C:\\P.htm");
    RegistryKeyGuard::CreateSubkey("R", "C:\\R.htm");
    WriteDisabledFile({"Q"}, "0");
    const char* const kSettings[][3] = {
        {"List", "DisSlash", "1"},   {"List", "DisBottom", "1"}, {"Main", "ColWidth0", "111"}, {"Main", "ColWidth1", "99"},
        {"Main", "ColWidth2", "55"}, {"Main", "ColWidth3", "222"}, {"Main", "ColOrder", "3,2,1,0"}, {"Main", "Grid", "1"}};
    for (const auto& setting : kSettings) SetSetting(setting[0], setting[1], setting[2]);
    Open();
    EXPECT_TRUE(mainWindow.options.DisSlash && mainWindow.options.DisBottom);
    EXPECT_TRUE(ListView_GetExtendedListViewStyle(list_) & LVS_EX_GRIDLINES);
    EXPECT_EQ(Entries(), "P+ R+ Q-");  // DisBottom gathers the restored entries at the end
    // The first row is selected and has the focus; loading ticked the boxes of P and R, which
    // is no change of the user's.
    EXPECT_EQ(ListView_GetItemState(list_, 0, LVIS_SELECTED | LVIS_FOCUSED), LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_TRUE(ListView_GetSelectedCount(list_) == 1 && GetFocus() == list_);
    EXPECT_TRUE(mainWindow.listChanged == 0 && !Enabled(IDC_UPDATE));
    for (int id : kSelectionButtons) EXPECT_TRUE(Enabled(id)) << id;
    std::vector<int> order(4);  // the widths come back in the saved settings below
    ListView_GetColumnOrderArray(list_, 4, order.data());
    EXPECT_EQ(order, (std::vector<int>{3, 2, 1, 0}));
    ListView_SetCheckState(list_, 0, FALSE);  // a change the registry does not have
    EXPECT_TRUE(Enabled(IDC_UPDATE));
    ListView_SetColumnWidth(list_, 3, 234);
    order = {1, 0, 2, 3};
    ListView_SetColumnOrderArray(list_, 4, order.data());
    mainWindow.options.DisSlash = mainWindow.options.DisBottom = 0;
    mainWindow.options.DisNoSavePos = 1;
    SetWindowPos(dialog_, nullptr, 50, 60, 640, 480, SWP_NOZORDER);
    SendMessageA(dialog_, WM_CLOSE, 0, 0);
    Pump();
    // Widths read at start come back, what changed is saved, and Grid stays as set by hand.
    const char* const kSaved[][3] = {
        {"List", "DisableItemPos", "0"}, {"Main", "ColWidth0", "111"},   {"Main", "ColWidth1", "99"},
        {"Main", "ColWidth2", "55"},     {"Main", "ColWidth3", "234"},   {"Main", "ColOrder", "1,0,2,3"},
        {"List", "DisSlash", "0"},       {"List", "DisBottom", "0"},     {"List", "DisNoSavePos", "1"},
        {"Main", "WindowWidth", "640"},  {"Main", "WindowHeight", "480"}, {"Main", "Grid", "1"}};
    for (const auto& saved : kSaved) EXPECT_EQ(ReadSetting(saved[0], saved[1]), saved[2]) << saved[1];
}

// Hand-edited values that would lose the window or its columns, beside valid ones: where and how
// the window shows and what the close stores (left, top, width, height, show, the four widths).
TEST_F(StartupTest, StoredValuesThatWouldLoseTheWindowOrItsColumnsAreReplaced) {
    RECT w;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &w, 0);
    const int c = INT_MIN;  // as the first row shows: the template, centred by the system
    auto at = [](LONG x, LONG y, int width = 700) {
        return "WindowLeft=" + std::to_string(x) + "\nWindowTop=" + std::to_string(y) + "\nWindowWidth=" +
               std::to_string(width) + "\n";
    };
    // Off every screen: centred in the work area at the stored size, shrunk to the work area.
    const LONG workWidth = w.right - w.left, workHeight = w.bottom - w.top;
    const int centredX = w.left + (workWidth - 700) / 2, centredY = w.top + (workHeight - 500) / 2;
    const std::pair<std::string, std::vector<int>> cases[] = {
        {"", {c, c, c, c, SW_SHOWNORMAL, 180, 120, 40, 320}},
        {at(3000, -2000) + "WindowHeight=500\nShowWindow=0\nColWidth0=-100\nColWidth1=0",
         {centredX, centredY, 700, 500, 1, 180, 0, 40, 320}},
        {at(w.right, w.top) + "WindowHeight=500\nShowWindow=x\nColWidth2=-1\nColWidth3=-2147483647",
         {centredX, centredY, 700, 500, 1, 180, 120, 40, 320}},
        {at(-9000, w.top, workWidth + 1) + "WindowHeight=" + std::to_string(workHeight - 1),
         {w.left, w.top, workWidth, workHeight - 1, 1, 180, 120, 40, 320}},
        {at(w.right - 1, w.top) + "WindowHeight=500\nShowWindow=-1\nColWidth0=75",
         {w.right - 1, w.top, 700, 500, 1, 75, 120, 40, 320}},
        {at(w.left - 699, w.top - 499) + "WindowHeight=500\nShowWindow=12",
         {w.left - 699, w.top - 499, 700, 500, 1, 180, 120, 40, 320}},
        {at(w.left - 700, w.top) + "ShowWindow=3", {c, c, c, c, SW_SHOWMAXIMIZED, 180, 120, 40, 320}}};  // no height
    const char* const kKeys[] = {"WindowLeft", "WindowTop", "WindowWidth", "WindowHeight", "ShowWindow",
                                 "ColWidth0",  "ColWidth1", "ColWidth2",   "ColWidth3"};
    std::vector<int> first;
    for (const auto& row : cases) {
        SetUp();
        const std::string section = "[" + std::string(settingsStore.userName) + "/Main]\n";
        ASSERT_TRUE(TempDir::WriteFile(folder_.File("Quorvil.ini"), section + row.first));
        Open();
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof(placement);
        GetWindowPlacement(dialog_, &placement);
        const RECT& n = placement.rcNormalPosition;
        std::vector<int> shown = {n.left, n.top, n.right - n.left, n.bottom - n.top, int(placement.showCmd)}, saved;
        for (int column = 0; column < 4; ++column) shown.push_back(ListView_GetColumnWidth(list_, column));
        if (first.empty()) first = shown;
        std::vector<int> expected = row.second;
        for (int i = 0; i < 4; ++i) expected[i] = expected[i] == c ? first[i] : expected[i];
        EXPECT_TRUE(IsWindowVisible(dialog_)) << row.first;
        EXPECT_EQ(shown, expected) << row.first;
        SendMessageA(dialog_, WM_CLOSE, 0, 0);
        Pump();
        for (const char* key : kKeys) saved.push_back(atoi(ReadSetting("Main", key).c_str()));
        EXPECT_EQ(saved, expected) << row.first;
    }
}

TEST_F(StartupTest, InsertingAnEnabledEntryLeavesTheDisplacedEntryAsItWas) {
    WriteDisabledFile({"Q"}, "0");
    Open();
    MenuExtEntry p = MakeEntry("P");
    ASSERT_EQ(entryList.InsertEntryAt(0, &p), kOk);
    EXPECT_EQ(Entries(), "P+ Q-");
    ExpectRowsMirrorEntries();
}

}  // namespace
