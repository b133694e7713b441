// The commands and buttons of the real main dialog: what they ask, and what the registry, the
// files and the rows hold afterwards.
#include <shlobj.h>

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
    {"OkCancelled", kUntickQ, IDOK, {IDCANCEL}, {kAsk}, false, "P Q R", false, 1},
    {"Cancel", kUntickQ, IDCANCEL, {}, {}, true, "P Q R", false, 1},
    {"ExitWithoutUpdate", kUntickQ, IDM_EXIT_WITHOUT_UPDATE, {}, {}, true, "P Q R", false, 1},
    {"UpdateFails", kUntickQ | kBrokenRegistry, IDC_UPDATE, {IDOK}, {kAsk, kRegistryUpdateFailed}, false, "", false, 1},
    {"OkFails", kUntickQ | kBrokenRegistry, IDOK, {IDYES}, {kAsk, kRegistryUpdateFailed}, false, "", false, 1},
    {"UpdateLosesDisabled", kUntickQ | kBrokenFolder, IDC_UPDATE, {IDOK}, {kAsk, kDisabledNotSaved}, false, "P R",
     false, 1},
    {"OkLosesDisabled", kUntickQ | kBrokenFolder, IDOK, {IDYES}, {kAsk, kDisabledNotSaved}, false, "P R", false, 1},
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
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
    if (c.setup & kUntickQ) ListView_SetCheckState(list_, 1, FALSE);
    if (c.setup & kMoveP) Command(IDM_MOVE_DOWN);
    if (c.setup & kBrokenFolder) lstrcpynA(mainWindow.dataFolder, folder_.File("missing\\").c_str(), MAX_PATH);
    for (int answer : c.answers) boxes_.Answer(answer);
    Command(c.command);

    std::vector<std::string> texts;
    for (const InterceptedBox& box : boxes_.Boxes()) texts.push_back(box.text);
    EXPECT_EQ(texts, c.boxes);
    bool update = c.command == IDC_UPDATE || c.command == IDM_UPDATE;
    const UINT kStyles[] = {(update ? UINT{MB_OKCANCEL} : UINT{MB_YESNOCANCEL}) | MB_ICONQUESTION,
                            (c.setup & kBrokenRegistry) ? MB_ICONERROR : UINT{MB_ICONWARNING}};
    for (size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(boxes_.Boxes()[i].style, kStyles[i]) << i;
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

void ClickHeader(HWND dialog, HWND list, int column) {
    NMLISTVIEW click = {};
    click.hdr = {list, static_cast<UINT_PTR>(IDC_ENTRY_LIST), static_cast<UINT>(LVN_COLUMNCLICK)};
    click.iItem = -1;
    click.iSubItem = column;
    SendMessageA(dialog, WM_NOTIFY, IDC_ENTRY_LIST, reinterpret_cast<LPARAM>(&click));
}

std::string Series(const char* prefix, int first, int last) {
    std::string names;
    for (int i = first; first <= last ? i <= last : i >= last; i += first <= last ? 1 : -1)
        names += prefix + std::to_string(i) + "+ ";
    return names;
}

// Steps: c<command>, u<row>/t<row> clear/tick a box, h<column> header click, w<delta> wheel,
// W<delta> wheel in the Windows 95 form. Held: S Shift, C Ctrl.
TEST_F(CommandTest, RowsFollowTheCommandsBoxesHeadersAndWheel) {
    const std::string forty = Series("N", 49, 10), sortedForty = Series("N", 18, 49) + Series("N", 17, 10);
    struct {
        std::string entries;
        int disBottom;
        const char* held;
        std::initializer_list<int> selected;
        const char* steps;
        std::string after;
        int changed;
    } const kCases[] = {
        {"A+ B+ C+ D+ E+", 1, "", {0, 1, 3}, "c1404", "C+ E+ A- B- D-", 1},
        {"A+ B+ C+ D+ E+", 0, "", {0, 1, 3}, "c1404", "A- B- C+ D- E+", 1},
        {"A+ B- C+ D+", 1, "", {0, 1, 2}, "c1405", "B+ D+ A- C-", 1},
        {"A+ B- C+ D+", 0, "", {0, 1, 2}, "c1405", "A- B+ C- D+", 1},
        {"A- B- C-", 0, "", {0, 2}, "c1403", "A+ B- C+", 1},
        // A selected disabled row above selected enabled ones, as Move up leaves it.
        {"B- A+ C+", 1, "", {0, 1, 2}, "c1404", "B- A- C-", 1},
        {"B- A+ C+ D+", 1, "", {0, 1, 3}, "c1405", "B+ C+ A- D-", 1},
        {"A+ B- C+ D-", 0, "", {}, "c1406 c1406", "B- D- A+ C+", 0},
        {"A+ B- C+ D-", 0, "", {}, "c1406 c1406 c1406", "A+ C+ B- D-", 0},
        {"P+ Q+ R+", 0, "S", {0, 2}, "c1402", "Q+", 1},
        {"P+ Q+ R+", 0, "C", {1}, "w-240", "P+ R+ Q+", 1},
        {"P+ Q+ R+", 0, "C", {1}, "w120", "Q+ P+ R+", 1},
        {"P+ Q+ R+", 0, "C", {1}, "W-120", "P+ R+ Q+", 1},
        {"P+ Q+ R+", 0, "", {1}, "w120", "P+ Q+ R+", 0},
        {"A+ B+ C+ D+ E+", 1, "", {}, "u3", "A+ B+ C+ E+ D-", 1},
        {"A+ B+ C+ D+ E+", 0, "", {}, "u3", "A+ B+ C+ D- E+", 1},
        {"A+ B+ C+ D+ E-", 1, "", {}, "t4", "A+ B+ C+ D+ E+", 1},  // a ticked entry stays put
        {"C+ B+ A+ D+", 0, "", {}, "h0 h0", "D+ C+ B+ A+", 1},
        {"C+ B+ A+ D+", 0, "", {}, "h0 h0 h2", "A+ D+ B+ C+", 1},  // flags as text: 0, 15, 7, E
        {"A+ B+ C+ D+", 0, "", {}, "h1", "D+ B+ C+ A+", 1},        // contexts 3, 1, 2, 0
        {forty, 0, "C", {}, "h0", sortedForty, 1},
        {"X- " + Series("E", 1, 31) + "Y+", 0, "C", {}, "c1406", Series("E", 1, 31) + "X- Y+", 0},  // the first 32
        {"E+ D+ C+ B+ A+ Z- Y- X-", 1, "", {}, "h0", "A+ B+ C+ D+ E+ Z- Y- X-", 1},
        {"Z- B+ A+", 1, "", {}, "h0", "Z- B+ A+", 1},
        {"A+", 0, "", {}, "h0 h0", "A+", 0},
    };
    for (const auto& c : kCases) {
        TearDown();
        SetUp();
        OpenWith(c.entries);
        mainWindow.options.DisBottom = c.disBottom;
        for (const char* key = c.held; *key; ++key) Hold(*key == 'S' ? VK_SHIFT : VK_CONTROL);
        Select(c.selected);
        std::istringstream steps(c.steps);
        for (std::string step; steps >> step;) {
            int value = std::stoi(step.substr(1));
            switch (step[0]) {
            case 'c': Command(value); break;
            case 'u':
            case 't': ListView_SetCheckState(list_, value, step[0] == 't'); break;
            case 'h': ClickHeader(dialog_, list_, value); break;
            default:
                mainWindow.wheelDeltaInWParam = step[0] == 'W';
                SendMessageA(dialog_, WM_MOUSEWHEEL, step[0] == 'W' ? value : MAKEWPARAM(0, value), 0);
            }
        }
        std::string after = c.after;
        if (after.back() == ' ') after.pop_back();
        EXPECT_EQ(Entries(), after) << c.entries << " / " << c.steps;
        EXPECT_EQ(mainWindow.listChanged, c.changed) << c.entries << " / " << c.steps;
        ExpectRowsMirrorEntries();
    }
}

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
    struct { const char *typed, *written, *box; int filter, command; } const kCases[] = {
        {"plain\\out", "plain\\out.csv", nullptr, 1, IDC_SAVE},
        {"plain\\out", "plain\\out.reg", nullptr, 2, IDM_SAVE_ALL},
        {"my.dir\\out", "my.dir\\out", nullptr, 1, IDM_SAVE_SELECTED},
        {"kept.csv", "kept.csv", kOverwriteQuestion, 1, IDM_SAVE_ALL},  // answered No
        {"missing\\out.csv", nullptr, kFileNotSaved, 1, IDM_SAVE_ALL},
    };
    Select({1});
    boxes_.Answer(IDNO);
    for (const auto& c : kCases) {
        AnswerPrompts(folder_.File(c.typed), c.filter);
        size_t before = boxes_.Boxes().size();
        Command(c.command);
        ASSERT_EQ(boxes_.Boxes().size(), before + (c.box ? 1 : 0)) << c.typed;
        EXPECT_TRUE(!c.box || boxes_.Boxes().back().text == c.box);
        std::string bytes;
        EXPECT_EQ(c.written && TempDir::ReadFile(folder_.File(c.written), &bytes), c.written != nullptr);
        // Save selected writes Q alone; the file answered No keeps its old bytes.
        EXPECT_EQ(bytes.find("P.htm") != std::string::npos, c.written && c.command == IDM_SAVE_ALL && !c.box);
    }
    EXPECT_EQ(boxes_.Boxes()[0].style, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(mainWindow.listChanged, 0);
}

// Loading picks the reader by the filter, whatever the extension; a drop by the extension.
TEST_F(CommandTest, LoadAndDropImportWarnOnceAndCountTo32) {
    ASSERT_TRUE(TempDir::WriteFile(folder_.File("list.txt"), RegText({"X", "E1"})));
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
    EXPECT_TRUE(mainWindow.listChanged && Enabled(IDC_UPDATE));
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
    const char* const kBoxes[][2] = {{kDuplicatesNotLoaded, kReadFileCaption},
                                     {kDuplicatesNotLoaded, kReadFileCaption},
                                     {kUnrepresentableNotLoaded, kReadFileCaption},
                                     {kTooManyEntries, kAppCaption},
                                     {kFileNotRead, kAppCaption}};
    ASSERT_EQ(boxes_.Boxes().size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(boxes_.Boxes()[i].text + boxes_.Boxes()[i].caption, std::string(kBoxes[i][0]) + kBoxes[i][1]);
        EXPECT_EQ(boxes_.Boxes()[i].style, static_cast<UINT>(MB_OK | MB_ICONWARNING));
    }
}

// Internet Explorer shows only 32 entries: Add says so first, and still adds.
TEST_F(CommandTest, AddWarnsFirstFrom32EntriesAndStillAdds) {
    for (int count : {31, 32}) {
        TearDown();
        SetUp();
        OpenWith(Series("E", 1, count));
        ModalScript script("編集", {[&](HWND edit) {
                               EXPECT_EQ(boxes_.Boxes().size(), count == 32 ? 1u : 0u);
                               SetDlgItemTextA(edit, IDC_ENTRY_NAME, "New");
                               SetDlgItemTextA(edit, IDC_ENTRY_FILE, "C:\\new.htm");
                               return PostMessageA(edit, WM_COMMAND, IDOK, 0), true;
                           }});
        Command(IDC_ADD);
        EXPECT_EQ(entryList.FindEntryByName("New"), count);
        EXPECT_TRUE(mainWindow.listChanged && Enabled(IDC_UPDATE));
    }
    EXPECT_EQ(boxes_.Boxes()[0].text, kTooManyEntries);
}

TEST_F(CommandTest, MenuItemsAndTheirKeysFollowTheSelectionAndTheMark) {
    OpenWith("P+ Q+");
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAIN_MENU));
    auto enabled = [&](int id) {
        for (int popup = 0; popup < 4; ++popup)
            SendMessageA(dialog_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(menu, popup)), popup);
        return !(GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED);
    };
    EXPECT_FALSE(enabled(IDM_EDIT) || enabled(IDM_DELETE) || enabled(IDM_UPDATE));
    EXPECT_TRUE(enabled(IDM_SORT_BY_CHECK) && enabled(IDM_SELECT_ALL) && enabled(IDM_LOAD));
    // Del with nothing selected: its item is grey, so the shortcut sends nothing and asks nothing.
    MSG key = {dialog_, WM_KEYDOWN, VK_DELETE, 0x00530001, 0, {0, 0}};
    TranslateAcceleratorA(dialog_, LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ACCELERATORS)),
                          &key);
    Pump();
    EXPECT_TRUE(boxes_.Boxes().empty());
    Command(IDM_SELECT_ALL);
    ListView_SetCheckState(list_, 0, FALSE);
    mainWindow.options.DisBottom = 1;
    EXPECT_FALSE(enabled(IDM_EDIT) || enabled(IDM_SORT_BY_CHECK));
    EXPECT_TRUE(enabled(IDM_DELETE) && enabled(IDM_MOVE_DOWN) && enabled(IDM_UPDATE));
    for (int id : {IDC_MOVE_UP, IDC_MOVE_DOWN, IDC_SAVE, IDC_DELETE, IDC_EDIT}) EXPECT_EQ(Enabled(id), id != IDC_EDIT) << id;
    DestroyMenu(menu);
}

}  // namespace
