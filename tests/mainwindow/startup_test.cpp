// Start-up and shut-down of the real main dialog against a prepared registry, Disable.dat
// and settings file.
#include <cstdlib>
#include <string>
#include <vector>

#include "stores/registry_store.h"
#include "common/texts.h"
#include "tests/mainwindow/main_dialog_harness.h"

namespace {

const int kSelectionButtons[] = {IDC_MOVE_UP, IDC_MOVE_DOWN, IDC_EDIT, IDC_DELETE, IDC_SAVE};

using StartupTest = MainDialogTest;

TEST_F(StartupTest, AnEmptyKeyGivesAnEmptyListWithoutAWordAndNothingToActOn) {
    HKEY key;  // the key itself, as Update leaves it after the last entry is disabled
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kMenuExtKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              0);
    RegCloseKey(key);
    Open();
    EXPECT_EQ(ListView_GetItemCount(list_), 0);
    EXPECT_TRUE(boxes_.Boxes().empty());
    for (int id : kSelectionButtons) EXPECT_FALSE(Enabled(id)) << id;
}

TEST_F(StartupTest, UnreadableSubkeyAndTakenNamesEachWarnOnceAndTheRestIsShown) {
    RegistryKeyGuard::CreateSubkey("Good", "C:\\Good.htm");
    RegistryKeyGuard::CreateSubkey("NoTarget", nullptr);
    ASSERT_TRUE(TempDir::WriteFile(folder_.File("Disable.dat"), RegText({"good", "Q", "Good"})));
    SetSetting("List", "DisNoSavePos", "1");  // restored entries go to the end
    Open();
    EXPECT_EQ(Names(), "Good Q");
    const UINT kWarning = MB_OK | MB_ICONWARNING;
    EXPECT_EQ(boxes_.Shown(), (std::vector<std::string>{Box(kRegistryReadFailed, "Quorvil", kWarning),
                                                        Box(kDuplicatesNotLoaded, "無効アイテムの復元", kWarning)}));
    for (const InterceptedBox& box : boxes_.Boxes()) EXPECT_EQ(box.owner, dialog_);
}

TEST_F(StartupTest, SettingsShapeTheWindowAndAreSavedAtClose) {
    const DWORD contexts = 0x21, flags = 0x11;
    RegistryKeyGuard::CreateSubkey("P", "C:\\P.htm", &contexts, &flags);
    RegistryKeyGuard::CreateSubkey("R", "C:\\R.htm");
    ASSERT_TRUE(TempDir::WriteFile(folder_.File("Disable.dat"), RegText({"Q"})));
    SetSetting("List", "DisableItemPos", "0");
    const char* const kSettings[][3] = {
        {"List", "DisSlash", "1"}, {"List", "DisBottom", "1"}, {"Main", "ColOrder", "3,2,1,0"}, {"Main", "Grid", "1"}};
    for (const auto& setting : kSettings) SetSetting(setting[0], setting[1], setting[2]);
    Open();
    EXPECT_TRUE(mainWindow.options.DisSlash);
    EXPECT_TRUE(mainWindow.options.DisBottom);
    EXPECT_TRUE(ListView_GetExtendedListViewStyle(list_) & LVS_EX_GRIDLINES);
    EXPECT_EQ(Entries(), "*P+ R+ Q-");  // DisBottom gathers the restored entries at the end
    // The contexts as letters, the flags in hexadecimal.
    EXPECT_EQ(Cell(0, 0) + "|" + Cell(0, 1) + "|" + Cell(0, 2) + "|" + Cell(0, 3), "P|常リ|11|C:\\P.htm");
    // The first row is selected and has the focus; loading ticked the boxes of P and R, which
    // is no change of the user's.
    EXPECT_EQ(ListView_GetItemState(list_, 0, LVIS_SELECTED | LVIS_FOCUSED), LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(GetFocus(), list_);
    EXPECT_FALSE(Enabled(IDC_UPDATE));
    for (int id : kSelectionButtons) EXPECT_TRUE(Enabled(id)) << id;
    std::vector<int> order(4);
    ListView_GetColumnOrderArray(list_, 4, order.data());
    EXPECT_EQ(order, (std::vector<int>{3, 2, 1, 0}));
    order = {1, 0, 2, 3};
    ListView_SetColumnOrderArray(list_, 4, order.data());
    ListView_SetColumnWidth(list_, 3, 234);
    mainWindow.options.DisSlash = mainWindow.options.DisBottom = 0;
    mainWindow.options.DisNoSavePos = 1;
    SendMessageA(dialog_, WM_CLOSE, 0, 0);
    Pump();
    // What changed is saved, and Grid stays as set by hand.
    const char* const kSaved[][3] = {{"List", "DisableItemPos", "0"}, {"Main", "ColOrder", "1,0,2,3"},
                                     {"Main", "ColWidth3", "234"},
                                     {"List", "DisSlash", "0"},       {"List", "DisBottom", "0"},
                                     {"List", "DisNoSavePos", "1"},   {"Main", "Grid", "1"}};
    for (const auto& saved : kSaved) EXPECT_EQ(ReadSetting(saved[0], saved[1]), saved[2]) << saved[1];
}

// Hand-edited values that would lose the window or its columns, beside valid ones at the edge:
// where and how the window shows, and what the close stores. Each case gives the Main section
// for the work area and what it expects from the work area and the window as the system
// centres the template (left, top, width, height): the place, the show command and the four
// column widths, which the close stores as well.
struct PlaceCase {
    const char* name;
    std::string (*ini)(const RECT& work);
    std::vector<int> (*expected)(const RECT& work, const RECT& centred);
};

std::string At(LONG x, LONG y, LONG width, LONG height, const char* more = "") {
    return "WindowLeft=" + std::to_string(x) + "\nWindowTop=" + std::to_string(y) + "\nWindowWidth=" +
           std::to_string(width) + (height ? "\nWindowHeight=" + std::to_string(height) : std::string()) + "\n" + more;
}
// A window of `width` x `height` centred in the work area.
std::vector<int> Centred(const RECT& w, int width, int height, std::vector<int> rest) {
    std::vector<int> place = {w.left + (w.right - w.left - width) / 2, w.top + (w.bottom - w.top - height) / 2, width,
                              height};
    place.insert(place.end(), rest.begin(), rest.end());
    return place;
}

const PlaceCase kPlaceCases[] = {
    {"NothingStored", [](const RECT&) { return std::string(); },
     [](const RECT&, const RECT& t) { return std::vector<int>{t.left, t.top, t.right - t.left, t.bottom - t.top, 1, 180,
                                                              120, 40, 320}; }},
    {"FarOffAndHiddenWithBadWidths", [](const RECT&) { return At(3000, -2000, 700, 500, "ShowWindow=0\nColWidth0=-100\nColWidth1=0"); },
     [](const RECT& w, const RECT&) { return Centred(w, 700, 500, {1, 180, 0, 40, 320}); }},
    {"JustPastTheRightEdge", [](const RECT& w) { return At(w.right, w.top, 700, 500, "ShowWindow=x\nColWidth2=-1\nColWidth3=-2147483647"); },
     [](const RECT& w, const RECT&) { return Centred(w, 700, 500, {1, 180, 120, 40, 320}); }},
    {"LastPixelInsideTheRightEdge", [](const RECT& w) { return At(w.right - 1, w.top, 700, 500, "ShowWindow=-1\nColWidth0=75"); },
     [](const RECT& w, const RECT&) { return std::vector<int>{w.right - 1, w.top, 700, 500, 1, 75, 120, 40, 320}; }},
    {"LastPixelInsideTheTopLeft", [](const RECT& w) { return At(w.left - 699, w.top - 499, 700, 500, "ShowWindow=12"); },
     [](const RECT& w, const RECT&) { return std::vector<int>{w.left - 699, w.top - 499, 700, 500, 1, 180, 120, 40, 320}; }},
    {"OffAndAsWideAsTheWorkArea", [](const RECT& w) { return At(-9000, w.top, w.right - w.left, w.bottom - w.top - 1); },
     [](const RECT& w, const RECT&) { return Centred(w, w.right - w.left, w.bottom - w.top - 1, {1, 180, 120, 40, 320}); }},
    {"OffAndWiderThanTheWorkArea", [](const RECT& w) { return At(-9000, w.top, w.right - w.left + 1, w.bottom - w.top + 1); },
     [](const RECT& w, const RECT&) { return Centred(w, w.right - w.left, w.bottom - w.top, {1, 180, 120, 40, 320}); }},
    {"OffWithoutAHeight", [](const RECT& w) { return At(w.left - 700, w.top, 700, 0, "ShowWindow=3"); },
     [](const RECT& w, const RECT& t) { return Centred(w, t.right - t.left, t.bottom - t.top, {SW_SHOWMAXIMIZED, 180, 120, 40, 320}); }},
};

class PlaceTest : public MainDialogTest, public testing::WithParamInterface<PlaceCase> {};

TEST_P(PlaceTest, StoredValuesThatWouldLoseTheWindowOrItsColumnsAreReplaced) {
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    // Where the system centres the template, with nothing stored.
    Open();
    RECT centred;
    GetWindowRect(dialog_, &centred);
    DestroyWindow(dialog_);
    Pump();
    const std::string section = "[" + std::string(settingsStore.userName) + "/Main]\n";
    ASSERT_TRUE(TempDir::WriteFile(folder_.File("Quorvil.ini"), section + GetParam().ini(work)));
    Open();
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    GetWindowPlacement(dialog_, &placement);
    const RECT& n = placement.rcNormalPosition;
    std::vector<int> shown = {n.left, n.top, n.right - n.left, n.bottom - n.top, int(placement.showCmd)}, saved;
    for (int column = 0; column < 4; ++column) shown.push_back(ListView_GetColumnWidth(list_, column));
    const std::vector<int> expected = GetParam().expected(work, centred);
    EXPECT_TRUE(IsWindowVisible(dialog_));
    EXPECT_EQ(shown, expected);
    SendMessageA(dialog_, WM_CLOSE, 0, 0);
    Pump();
    for (const char* key : {"WindowLeft", "WindowTop", "WindowWidth", "WindowHeight", "ShowWindow", "ColWidth0",
                            "ColWidth1", "ColWidth2", "ColWidth3"})
        saved.push_back(atoi(ReadSetting("Main", key).c_str()));
    EXPECT_EQ(saved, expected);
}

INSTANTIATE_TEST_SUITE_P(Settings, PlaceTest, testing::ValuesIn(kPlaceCases),
                         [](const testing::TestParamInfo<PlaceCase>& info) { return std::string(info.param.name); });

}  // namespace
