// The commands and buttons of the real main dialog: what they ask, and what the registry, the
// files and the rows hold afterwards.
#include <shlobj.h>

#include <functional>

#include "stores/registry_store.h"
#include "common/texts.h"
#include "tests/mainwindow/main_dialog_harness.h"
#include "tests/support/modal_script.h"

namespace {

using CommandTest = MainDialogTest;

// Registry P, Q, R; then Q unticked or the selected P moved down; the registry (an empty
// volatile key takes no lasting subkeys) or the folder of Disable.dat made unwritable.
enum Setup { kUntickQ = 1, kMoveP = 2, kBrokenRegistry = 4, kBrokenFolder = 8 };

struct ExitCase {
    const char* name;
    int setup, command;
    std::vector<int> answers;
    std::vector<std::string> boxes;
    bool closed;
    const char* registry;  // the subkeys afterwards
    bool disabledWritten;
    int listChanged;
};

class ExitTest : public MainDialogTest, public testing::WithParamInterface<ExitCase> {};

const std::string kAsk = kUpdateQuestion;
const ExitCase kExitCases[] = {
    {"UpdateUnchanged", 0, IDC_UPDATE, {}, {}, false, "P Q R", false, 0},
    {"UpdateCancelled", kUntickQ, IDM_UPDATE, {IDCANCEL}, {kAsk}, false, "P Q R", false, 1},
    {"OkUnchanged", 0, IDOK, {}, {}, true, "P Q R", true, 0},
    {"OkYes", kUntickQ, IDOK, {IDYES}, {kAsk}, true, "P R", true, 1},
    {"ExitNo", kUntickQ, IDM_EXIT, {IDNO}, {kAsk}, true, "P Q R", false, 1},
    {"Cancel", kUntickQ, IDCANCEL, {}, {}, true, "P Q R", false, 1},
    {"ExitWithoutUpdate", kUntickQ, IDM_EXIT_WITHOUT_UPDATE, {}, {}, true, "P Q R", false, 1},
    {"UpdateFails", kUntickQ | kBrokenRegistry, IDC_UPDATE, {IDOK}, {kAsk, kRegistryUpdateFailed}, false, "", false, 1},
    {"OkFails", kUntickQ | kBrokenRegistry, IDOK, {IDYES}, {kAsk, kRegistryUpdateFailed}, false, "", false, 1},
    {"UpdateLosesDisabled", kUntickQ | kBrokenFolder, IDC_UPDATE, {IDOK}, {kAsk, kDisabledNotSaved}, false, "P R",
     false, 1},
    {"NothingDisabledToLose", kMoveP | kBrokenFolder, IDC_UPDATE, {IDOK}, {kAsk}, false, "P Q R", false, 0},
};

TEST_P(ExitTest, AsksWritesAndClosesAsTheAnswersSay) {
    const ExitCase& c = GetParam();
    for (const char* name : {"P", "Q", "R"}) RegistryKeyGuard::CreateSubkey(name, "C:\\x.htm");
    Open();
    if (c.setup & kBrokenRegistry) {
        RegistryKeyGuard::DeleteMenuExtKey();
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kMenuExtKeyPath, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr), ERROR_SUCCESS);
        RegCloseKey(key);
    }
    if (c.setup & kUntickQ) ListView_SetCheckState(list_, 1, FALSE);
    if (c.setup & kMoveP) Command(IDM_MOVE_DOWN);
    if (c.setup & kBrokenFolder) lstrcpynA(mainWindow.dataFolder, folder_.File("missing\\").c_str(), MAX_PATH);
    for (int answer : c.answers) boxes_.Answer(answer);
    Command(c.command);

    bool update = c.command == IDC_UPDATE || c.command == IDM_UPDATE;
    const UINT kStyles[] = {(update ? UINT{MB_OKCANCEL} : UINT{MB_YESNOCANCEL}) | MB_ICONQUESTION,
                            (c.setup & kBrokenRegistry) ? MB_ICONERROR : UINT{MB_ICONWARNING}};
    std::vector<std::string> boxes;
    for (size_t i = 0; i < c.boxes.size(); ++i) boxes.push_back(Box(c.boxes[i], kAppCaption, kStyles[i]));
    EXPECT_EQ(boxes_.Shown(), boxes);
    EXPECT_EQ(!IsWindow(dialog_), c.closed);
    std::string registry;
    for (const std::string& name : RegistryKeyGuard::SubkeyNames()) registry += (registry.empty() ? "" : " ") + name;
    EXPECT_EQ(registry, c.registry);
    std::string disabled;
    EXPECT_EQ(TempDir::ReadFile(folder_.File("Disable.dat"), &disabled), c.disabledWritten);
    EXPECT_EQ(disabled.find("\\Q]") != std::string::npos, c.disabledWritten && c.setup == kUntickQ);
    // Every way out saves the window settings, and only that.
    EXPECT_EQ(ReadSetting("List", "DisBottom") == "0", c.closed);
    if (!c.closed) {
        EXPECT_EQ(Enabled(IDC_UPDATE), c.listChanged != 0);
        EXPECT_EQ(mainWindow.listChanged, c.listChanged);
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, ExitTest, testing::ValuesIn(kExitCases),
                         [](const testing::TestParamInfo<ExitCase>& info) { return std::string(info.param.name); });

// One thing a user does to the list of the main dialog.
using Step = std::function<void(MainDialogTest&)>;

Step Choose(int command) {
    return [=](MainDialogTest& t) { SendMessageA(GetParent(t.List()), WM_COMMAND, command, 0); };
}
Step SetBox(int row, bool ticked) {
    return [=](MainDialogTest& t) { ListView_SetCheckState(t.List(), row, ticked); };
}
Step ClickHeader(int column) {
    return [=](MainDialogTest& t) {
        NMLISTVIEW click = {};
        click.hdr = {t.List(), static_cast<UINT_PTR>(IDC_ENTRY_LIST), static_cast<UINT>(LVN_COLUMNCLICK)};
        click.iItem = -1;
        click.iSubItem = column;
        SendMessageA(GetParent(t.List()), WM_NOTIFY, IDC_ENTRY_LIST, reinterpret_cast<LPARAM>(&click));
    };
}
// A turn of the mouse wheel; Windows 95 passes the delta as the whole wParam.
Step Wheel(int delta, bool windows95 = false) {
    return [=](MainDialogTest& t) {
        mainWindow.wheelDeltaInWParam = windows95;
        SendMessageA(GetParent(t.List()), WM_MOUSEWHEEL, windows95 ? delta : MAKEWPARAM(0, delta), 0);
    };
}
Step Holding(int key) {
    return [=](MainDialogTest& t) { t.Hold(key); };
}
const Step kDisBottom = [](MainDialogTest&) { mainWindow.options.DisBottom = 1; };
// The flags or contexts of the first entries, as edits would leave them.
Step Numbers(uint32_t MenuExtEntry::*field, std::vector<uint32_t> values) {
    return [=](MainDialogTest&) {
        for (int i = 0; i < static_cast<int>(values.size()); ++i) {
            MenuExtEntry entry;
            entryList.GetEntryAt(i, &entry);
            entry.*field = values[i];
            entryList.ReplaceEntryAt(i, &entry);
        }
    };
}

// Windows, unlike Wine, tells of each row inserted into a list view with check boxes as of a box
// changed from none to empty.
WNDPROC g_listViewProc;
LRESULT CALLBACK TellingOfInserts(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT row = CallWindowProcA(g_listViewProc, list, message, wParam, lParam);
    NMLISTVIEW change = {{list, IDC_ENTRY_LIST, static_cast<UINT>(LVN_ITEMCHANGED)}, static_cast<int>(row), 0,
                         INDEXTOSTATEIMAGEMASK(1), 0, LVIF_STATE, {0, 0}, 0};
    if (message == LVM_INSERTITEMA && row >= 0) SendMessageA(GetParent(list), WM_NOTIFY, 0, (LPARAM)&change);
    return row;
}
const Step kAsWindows = [](MainDialogTest& t) {
    g_listViewProc = (WNDPROC)SetWindowLongPtrA(t.List(), GWLP_WNDPROC, (LONG_PTR)TellingOfInserts);
};

// "<prefix><first>+ ... <prefix><last>+", counting up or down.
std::string Series(const char* prefix, int first, int last) {
    std::string names;
    for (int i = first; first <= last ? i <= last : i >= last; i += first <= last ? 1 : -1)
        names += prefix + std::to_string(i) + "+ ";
    return names;
}

struct RowsCase {
    const char* name;
    std::string entries;  // "P+ Q-" as the list starts
    std::vector<int> selected;
    std::vector<Step> steps;
    std::string after;
    bool changed;  // listChanged afterwards
};

class RowsTest : public MainDialogTest, public testing::WithParamInterface<RowsCase> {};

const std::string kForty = Series("N", 49, 10), kFortySortedFirst32 = Series("N", 18, 49) + Series("N", 17, 10);
const RowsCase kRowsCases[] = {
    {"DisableSelectedGoesToTheBottom", "A+ B+ C+ D+ E+", {0, 1, 3}, {kDisBottom, Choose(IDM_DISABLE_SELECTED)},
     "C+ E+ *A- *B- *D-", true},
    {"DisableSelectedStays", "A+ B+ C+ D+ E+", {0, 1, 3}, {Choose(IDM_DISABLE_SELECTED)}, "*A- *B- C+ *D- E+", true},
    // A selected disabled row above selected enabled ones, as Move up leaves it.
    {"DisableSelectedBelowADisabledOne", "B- A+ C+", {0, 1, 2}, {kDisBottom, Choose(IDM_DISABLE_SELECTED)},
     "*B- *A- *C-", true},
    {"InvertSelectedBelowADisabledOne", "B- A+ C+ D+", {0, 1, 3}, {kDisBottom, Choose(IDM_INVERT_SELECTED)},
     "*B+ C+ *A- *D-", true},
    {"EnableSelected", "A- B- C-", {0, 2}, {Choose(IDM_ENABLE_SELECTED)}, "*A+ B- *C+", true},
    // The check-state sort changes the order only: the list is not marked.
    {"SortByCheckThriceEnabledFirst", "A+ B- C+ D-", {},
     {Choose(IDM_SORT_BY_CHECK), Choose(IDM_SORT_BY_CHECK), Choose(IDM_SORT_BY_CHECK)}, "A+ C+ B- D-", false},
    // With Ctrl only the first 32 rows take part: the 32nd moves, the 33rd stays.
    {"SortByCheckWithCtrl", "X- " + Series("E", 1, 31) + "Y-", {}, {Holding(VK_CONTROL), Choose(IDM_SORT_BY_CHECK)},
     Series("E", 1, 31) + "X- Y-", false},
    {"ShiftDeleteAsksNothing", "P+ Q+ R+", {0, 2}, {Holding(VK_SHIFT), Choose(IDM_DELETE)}, "Q+", true},
    {"CtrlWheelAwayMovesUp", "P+ Q+ R+", {1}, {Holding(VK_CONTROL), Wheel(120)}, "*Q+ P+ R+", true},
    {"CtrlWheelOfWindows95", "P+ Q+ R+", {1}, {Holding(VK_CONTROL), Wheel(-120, true)}, "P+ R+ *Q+", true},
    {"WheelWithoutCtrl", "P+ Q+ R+", {1}, {Wheel(120)}, "P+ *Q+ R+", false},
    {"MoveDownAsWindowsTellsOfTheInsertedRow", "P+ Q+ R+", {0}, {kDisBottom, kAsWindows, Choose(IDM_MOVE_DOWN)},
     "Q+ *P+ R+", true},
    {"UntickWithDisBottom", "A+ B+ C+ D+ E+", {}, {kDisBottom, SetBox(3, false)}, "A+ B+ C+ E+ D-", true},
    {"UntickStays", "A+ B+ C+ D+ E+", {}, {SetBox(3, false)}, "A+ B+ C+ D- E+", true},
    {"NameHeaderTwice", "C+ B+ A+ D+", {}, {ClickHeader(0), ClickHeader(0)}, "D+ C+ B+ A+", true},
    // Flags sort as the hexadecimal text the rows show: 0, 15, 7, E.
    {"FlagsHeaderAfterNames", "C+ B+ A+ D+", {},
     {Numbers(&MenuExtEntry::flags, {14, 7, 0, 21}), ClickHeader(0), ClickHeader(0), ClickHeader(2)}, "A+ D+ B+ C+",
     true},
    // Contexts ascending: a set bit before a clear one, from the lowest bit: 3, 1, 2, 0.
    {"ContextsHeader", "A+ B+ C+ D+", {}, {Numbers(&MenuExtEntry::contexts, {0, 1, 2, 3}), ClickHeader(1)},
     "D+ B+ C+ A+", true},
    {"HeaderWithCtrlSortsTheFirst32", kForty, {}, {Holding(VK_CONTROL), ClickHeader(0)}, kFortySortedFirst32, true},
    {"HeaderWithDisBottomSortsTheEnabled", "E+ D+ C+ B+ A+ Z- Y- X-", {}, {kDisBottom, ClickHeader(0)},
     "A+ B+ C+ D+ E+ Z- Y- X-", true},
    {"HeaderWithDisBottomAndADisabledFirstRow", "Z- B+ A+", {}, {kDisBottom, ClickHeader(0)}, "Z- B+ A+", true},
    {"HeaderOfASingleRow", "A+", {}, {ClickHeader(0), ClickHeader(0)}, "A+", false},
};

TEST_P(RowsTest, RowsFollowTheCommandsBoxesHeadersAndWheel) {
    const RowsCase& c = GetParam();
    OpenWith(c.entries);
    Select(c.selected);
    for (const Step& step : c.steps) step(*this), Pump();
    std::string after = c.after;
    if (after.back() == ' ') after.pop_back();
    EXPECT_EQ(Entries(), after);
    EXPECT_EQ(mainWindow.listChanged != 0, c.changed);
}

INSTANTIATE_TEST_SUITE_P(Steps, RowsTest, testing::ValuesIn(kRowsCases),
                         [](const testing::TestParamInfo<RowsCase>& info) { return std::string(info.param.name); });

// A button that goes grey while it has the focus hands it to the list, so that the keys and
// shortcuts still work.
TEST_F(CommandTest, TheFocusMovesToTheListWhenItsButtonGoesGrey) {
    OpenWith("P+ Q+");
    ListView_SetCheckState(list_, 1, FALSE);
    SetFocus(GetDlgItem(dialog_, IDC_UPDATE));
    boxes_.Answer(IDOK);
    Command(IDC_UPDATE);
    EXPECT_FALSE(Enabled(IDC_UPDATE));
    EXPECT_EQ(GetFocus(), list_);
    Select({0, 1});
    SetFocus(GetDlgItem(dialog_, IDC_DELETE));
    Hold(VK_SHIFT);
    Command(IDC_DELETE);
    EXPECT_FALSE(Enabled(IDC_DELETE));
    EXPECT_EQ(GetFocus(), list_);
}

TEST_F(CommandTest, SaveAppendsTheTypeOnlyToAPathWithoutADotAndReportsWhatItCouldNotWrite) {
    OpenWith("P+ Q- R+");
    CreateDirectoryA(folder_.File("plain").c_str(), nullptr);
    CreateDirectoryA(folder_.File("my.dir").c_str(), nullptr);
    ASSERT_TRUE(TempDir::WriteFile(folder_.File("kept.csv"), "old"));
    const std::string kOverwrite = Box(kOverwriteQuestion, kAppCaption, MB_YESNO | MB_ICONQUESTION),
                      kNotSaved = Box(kFileNotSaved, kAppCaption, MB_OK | MB_ICONWARNING);
    struct { const char *typed, *written; std::vector<std::string> boxes; int filter, command; } const kCases[] = {
        {"plain\\out", "plain\\out.csv", {}, 1, IDC_SAVE},
        {"plain\\out", "plain\\out.reg", {}, 2, IDM_SAVE_ALL},
        {"my.dir\\out", "my.dir\\out", {}, 1, IDM_SAVE_SELECTED},
        {"kept.csv", "kept.csv", {kOverwrite}, 1, IDM_SAVE_ALL},  // answered No
        {"missing\\out.csv", nullptr, {kNotSaved}, 1, IDM_SAVE_ALL},
    };
    Select({1});
    boxes_.Answer(IDNO);
    for (const auto& c : kCases) {
        AnswerPrompts(folder_.File(c.typed), c.filter);
        size_t before = boxes_.Boxes().size();
        Command(c.command);
        EXPECT_EQ(boxes_.Shown(before), c.boxes) << c.typed;
        std::string bytes;
        EXPECT_EQ(c.written && TempDir::ReadFile(folder_.File(c.written), &bytes), c.written != nullptr);
        // Save selected writes Q alone; the file answered No keeps its old bytes.
        EXPECT_EQ(bytes.find("P.htm") != std::string::npos, c.written && c.command == IDM_SAVE_ALL && c.boxes.empty());
    }
    EXPECT_EQ(mainWindow.listChanged, 0);
}

// Loading picks the reader by the filter, whatever the extension; a drop by the extension.
TEST_F(CommandTest, LoadAndDropImportWarnOnceAndCountTo32) {
    ASSERT_TRUE(TempDir::WriteFile(folder_.File("list.txt"), RegText({"X", "e1"})));  // E1 in any case is listed
    // A version-5 file in UTF-8 with a name code page 932 cannot hold (Hangul) and one already listed.
    std::string dropped = RegText({"Y", "X", "\xED\x95\x9C"});
    dropped.replace(0, 8, "\xEF\xBB\xBFWindows Registry Editor Version 5.00");
    ASSERT_TRUE(TempDir::WriteFile(folder_.File("drop.reg"), dropped));
    OpenWith("D- " + Series("E", 1, 29));
    mainWindow.options.DisBottom = 1;  // the unticked D goes back below what the load adds
    AnswerPrompts(folder_.File("list.txt"), 2);
    Command(IDC_LOAD);  // 31 entries: no count warning
    EXPECT_EQ(entryList.Count(), 31);
    EXPECT_EQ(entryList.FindEntryByName("D"), 30);
    EXPECT_TRUE(mainWindow.listChanged);
    EXPECT_TRUE(Enabled(IDC_UPDATE));
    // A .txt dropped together with a .reg: only the .reg is read.
    std::string files = folder_.File("list.txt") + '\0' + folder_.File("drop.reg") + '\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + files.size() + 1);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    memcpy(drop + 1, files.data(), files.size());
    GlobalUnlock(memory);
    SendMessageA(dialog_, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    EXPECT_EQ(entryList.FindEntryByName("Y"), 31);  // a drop leaves the disabled where they are
    EXPECT_EQ(entryList.FindEntryByName("D"), 30);
    AnswerPrompts(folder_.File("gone.reg"), 2);
    Command(IDM_LOAD);
    const UINT kWarning = MB_OK | MB_ICONWARNING;
    EXPECT_EQ(boxes_.Shown(), (std::vector<std::string>{Box(kDuplicatesNotLoaded, kReadFileCaption, kWarning),
                                                        Box(kDuplicatesNotLoaded, kReadFileCaption, kWarning),
                                                        Box(kUnrepresentableNotLoaded, kReadFileCaption, kWarning),
                                                        Box(kTooManyEntries, kAppCaption, kWarning),
                                                        Box(kFileNotRead, kAppCaption, kWarning)}));
}

// Internet Explorer shows only 32 entries: Add says so first from 32 on, and still adds.
class AddTest : public MainDialogTest, public testing::WithParamInterface<int> {};

TEST_P(AddTest, WarnsFirstFrom32EntriesAndStillAdds) {
    const int count = GetParam();
    OpenWith(Series("E", 1, count));
    std::vector<std::string> warnedBeforeTheDialog = {"<no dialog>"};
    ModalScript script("編集", {[&](HWND edit) {
                           warnedBeforeTheDialog = boxes_.Shown();
                           SetDlgItemTextA(edit, IDC_ENTRY_NAME, "New");
                           SetDlgItemTextA(edit, IDC_ENTRY_FILE, "C:\\new.htm");
                           return PostMessageA(edit, WM_COMMAND, IDOK, 0), true;
                       }});
    Command(IDC_ADD);
    const std::vector<std::string> kWarning = {Box(kTooManyEntries, kAppCaption, MB_OK | MB_ICONWARNING)};
    EXPECT_EQ(warnedBeforeTheDialog, count >= 32 ? kWarning : std::vector<std::string>{});
    EXPECT_EQ(entryList.FindEntryByName("New"), count);
    EXPECT_TRUE(Enabled(IDC_UPDATE));
}

INSTANTIATE_TEST_SUITE_P(Entries, AddTest, testing::Values(31, 32));

TEST_F(CommandTest, MenuItemsAndTheirKeysFollowTheSelectionAndTheMark) {
    OpenWith("P+ Q+");
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAIN_MENU));
    auto enabled = [&](int id) {
        for (int popup = 0; popup < 4; ++popup)
            SendMessageA(dialog_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(menu, popup)), popup);
        return !(GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED);
    };
    // The items, each enabled (1) or grey (0).
    auto items = [&](std::vector<int> ids) {
        std::string states;
        for (int id : ids) states += enabled(id) ? '1' : '0';
        return states;
    };
    const std::vector<int> kItems = {IDM_EDIT, IDM_DELETE, IDM_MOVE_DOWN, IDM_UPDATE, IDM_SORT_BY_CHECK, IDM_SELECT_ALL,
                                     IDM_LOAD};
    EXPECT_EQ(items(kItems), "0000111");
    // Del with nothing selected: its item is grey, so the shortcut sends nothing and asks nothing.
    MSG key = {dialog_, WM_KEYDOWN, VK_DELETE, 0x00530001, 0, {0, 0}};
    TranslateAcceleratorA(dialog_, LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ACCELERATORS)),
                          &key);
    Pump();
    EXPECT_TRUE(boxes_.Boxes().empty());
    Command(IDM_SELECT_ALL);
    ListView_SetCheckState(list_, 0, FALSE);
    mainWindow.options.DisBottom = 1;
    EXPECT_EQ(items(kItems), "0111011");
    for (int id : {IDC_MOVE_UP, IDC_MOVE_DOWN, IDC_SAVE, IDC_DELETE, IDC_EDIT}) EXPECT_EQ(Enabled(id), id != IDC_EDIT) << id;
    // Help follows the help file: none in the test's folder, one beside the built Quorvil.exe.
    EXPECT_FALSE(enabled(IDM_HELP));
    lstrcpynA(mainWindow.dataFolder, TempDir::BuildPath(QUORVIL_EXE_DIR "/").c_str(), MAX_PATH);
    EXPECT_TRUE(enabled(IDM_HELP));
    DestroyMenu(menu);
}

}  // namespace
