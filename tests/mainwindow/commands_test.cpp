// The commands of the real main dialog: what they ask, and what the registry, the files and
// the rows hold afterwards.
#include <shlobj.h>

#include "core/registry_store.h"
#include "mainwindow/messages.h"
#include "settings/edit_entry_dialog.h"
#include "settings/options_dialog.h"
#include "tests/mainwindow/command_fixture.h"

namespace {

std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : " ") + name;
    return text;
}

// Registry P, Q, R; then Q unticked, or the selected P moved down; the registry or the folder
// of Disable.dat made unwritable.
enum Setup { kUntickQ = 1, kMoveP = 2, kBrokenRegistry = 4, kBrokenFolder = 8 };

struct ExitCase {
    const char* name;
    int setup, command;
    std::vector<int> answers;
    std::vector<std::string> boxes;
    bool closed;
    const char* registry;
    bool disabledWritten;
    int listChanged;
};

class ExitTest : public CommandTest, public testing::WithParamInterface<ExitCase> {};

const std::string kQuestion = kUpdateQuestion;
const ExitCase kExitCases[] = {
    {"UpdateUnchanged", 0, IDC_UPDATE, {}, {}, false, "P Q R", false, 0},
    {"UpdateOk", kUntickQ, IDC_UPDATE, {IDOK}, {kQuestion}, false, "P R", true, 0},
    {"UpdateCancelled", kUntickQ, IDM_UPDATE, {IDCANCEL}, {kQuestion}, false, "P Q R", false, 1},
    {"OkUnchanged", 0, IDOK, {}, {}, true, "P Q R", true, 0},
    {"OkYes", kUntickQ, IDOK, {IDYES}, {kQuestion}, true, "P R", true, 1},
    {"ExitNo", kUntickQ, IDM_EXIT, {IDNO}, {kQuestion}, true, "P Q R", false, 1},
    {"OkCancelled", kUntickQ, IDOK, {IDCANCEL}, {kQuestion}, false, "P Q R", false, 1},
    {"Cancel", kUntickQ, IDCANCEL, {}, {}, true, "P Q R", false, 1},
    {"ExitWithoutUpdate", kUntickQ, IDM_EXIT_WITHOUT_UPDATE, {}, {}, true, "P Q R", false, 1},
    {"UpdateRegistryFails", kUntickQ | kBrokenRegistry, IDC_UPDATE, {IDOK}, {kQuestion, kRegistryUpdateFailed},
     false, "", false, 1},
    {"OkRegistryFails", kUntickQ | kBrokenRegistry, IDOK, {IDYES}, {kQuestion, kRegistryUpdateFailed}, false,
     "", false, 1},
    {"UpdateDisabledNotSaved", kUntickQ | kBrokenFolder, IDC_UPDATE, {IDOK}, {kQuestion, kDisabledNotSaved}, false,
     "P R", false, 1},
    {"OkDisabledNotSaved", kUntickQ | kBrokenFolder, IDOK, {IDYES}, {kQuestion, kDisabledNotSaved}, false, "P R",
     false, 1},
    {"NothingDisabledToLose", kMoveP | kBrokenFolder, IDC_UPDATE, {IDOK}, {kQuestion}, false, "P Q R", false, 0},
};

TEST_P(ExitTest, AsksWritesAndClosesAsTheAnswersSay) {
    const ExitCase& c = GetParam();
    for (const char* name : {"P", "Q", "R"}) RegistryKeyGuard::CreateSubkey(name, "C:\\x.htm");
    Open();
    if (c.setup & kBrokenRegistry) {
        // An empty volatile key: the save cannot create its lasting subkeys there.
        RegistryKeyGuard::DeleteMenuExtKey();
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kMenuExtKeyPath, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
    if (c.setup & kUntickQ) ListView_SetCheckState(list_, 1, FALSE);
    if (c.setup & kMoveP) Command(IDM_MOVE_DOWN);
    std::string missing = folder_.File("missing\\");
    if (c.setup & kBrokenFolder) lstrcpynA(mainWindow.dataFolder, missing.c_str(), MAX_PATH);
    for (int answer : c.answers) boxes_.Answer(answer);
    Command(c.command);

    std::vector<std::string> texts;
    for (const InterceptedBox& box : boxes_.Boxes()) texts.push_back(box.text);
    EXPECT_EQ(texts, c.boxes);
    bool update = c.command == IDC_UPDATE || c.command == IDM_UPDATE;
    const UINT kStyles[] = {(update ? UINT{MB_OKCANCEL} : UINT{MB_YESNOCANCEL}) | MB_ICONQUESTION,
                            (c.setup & kBrokenRegistry) ? MB_ICONERROR : UINT{MB_ICONWARNING}};
    for (size_t i = 0; i < boxes_.Boxes().size() && i < 2; ++i) EXPECT_EQ(boxes_.Boxes()[i].style, kStyles[i]) << i;
    EXPECT_EQ(!IsWindow(dialog_), c.closed);
    EXPECT_EQ(Joined(RegistryKeyGuard::SubkeyNames()), c.registry);
    std::string disabled;
    EXPECT_EQ(TempDir::ReadFile(folder_.File("Disable.dat"), &disabled), c.disabledWritten);
    if (c.disabledWritten) {
        EXPECT_EQ(disabled.find("\\Q]") != std::string::npos, c.setup == kUntickQ) << disabled;
    }
    // Every way out saves the window settings, and only that.
    EXPECT_EQ(ReadSetting("List", "DisBottom") == "0", c.closed);
    if (!c.closed) {
        EXPECT_EQ(mainWindow.listChanged, c.listChanged);
        EXPECT_EQ(Enabled(IDC_UPDATE), c.listChanged != 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, ExitTest, testing::ValuesIn(kExitCases),
                         [](const testing::TestParamInfo<ExitCase>& info) { return std::string(info.param.name); });

TEST_F(CommandTest, SaveAppendsTheTypeOnlyToAPathWithoutADotAndReportsWhatItCouldNotWrite) {
    OpenWith("P+ Q- R+");
    CreateDirectoryA(folder_.File("plain").c_str(), nullptr);
    CreateDirectoryA(folder_.File("my.dir").c_str(), nullptr);
    ASSERT_TRUE(TempDir::WriteFile(folder_.File("kept.csv"), "old"));
    struct {
        const char* typed;
        int filter, command, answer;
        const char* written;
        const char* box;
    } const kCases[] = {
        {"plain\\out", 1, IDC_SAVE, 0, "plain\\out.csv", nullptr},
        {"plain\\out", 2, IDM_SAVE_ALL, 0, "plain\\out.reg", nullptr},
        {"my.dir\\out", 1, IDM_SAVE_SELECTED, 0, "my.dir\\out", nullptr},
        {"kept.csv", 1, IDM_SAVE_ALL, IDNO, nullptr, kOverwriteQuestion},
        {"missing\\out.csv", 1, IDM_SAVE_ALL, 0, nullptr, kFileNotSaved},
    };
    Select({1});
    for (const auto& c : kCases) {
        AnswerPrompts(folder_.File(c.typed), c.filter);
        if (c.answer) boxes_.Answer(c.answer);
        size_t before = boxes_.Boxes().size();
        Command(c.command);
        ASSERT_EQ(boxes_.Boxes().size(), before + (c.box ? 1 : 0)) << c.typed;
        if (c.box) {
            EXPECT_EQ(boxes_.Boxes().back().text, c.box);
        }
        std::string bytes;
        if (c.written) {
            ASSERT_TRUE(TempDir::ReadFile(folder_.File(c.written), &bytes)) << c.written;
            EXPECT_EQ(bytes.find("P.htm") != std::string::npos, c.command == IDM_SAVE_ALL) << c.written;
        }
    }
    std::string kept;
    ASSERT_TRUE(TempDir::ReadFile(folder_.File("kept.csv"), &kept));
    EXPECT_EQ(kept, "old");
    EXPECT_EQ(boxes_.Boxes()[0].style, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(mainWindow.listChanged, 0);
}

std::string RegText(const std::vector<std::string>& names) {
    const std::string key = "[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\MenuExt";
    std::string text = "REGEDIT4\r\n\r\n";
    for (const std::string& name : names) text += key + "\\" + name + "]\r\n@=\"C:\\\\" + name + ".htm\"\r\n\r\n";
    return text;
}

std::string ManyEntries(int count) {
    std::string entries;
    for (int i = 0; i < count; ++i) entries += "E" + std::to_string(i) + "+ ";
    return entries;
}

// Loading picks the reader by the filter, whatever the extension; a drop by the extension.
TEST_F(CommandTest, LoadAndDropImportWarnOnceAndCountTo32) {
    ASSERT_TRUE(TempDir::WriteFile(folder_.File("list.txt"), RegText({"X", "E0"})));
    ASSERT_TRUE(TempDir::WriteFile(folder_.File("drop.reg"), RegText({"Y"})));
    OpenWith(ManyEntries(30).c_str());
    AnswerPrompts(folder_.File("list.txt"), 2);
    Command(IDC_LOAD);  // 31 entries: no count warning
    EXPECT_EQ(entryList.Count(), 31);
    EXPECT_TRUE(mainWindow.listChanged && Enabled(IDC_UPDATE));

    // Dropped together with a .txt that holds entries too: only the .reg is read.
    const std::string files[] = {folder_.File("list.txt"), folder_.File("drop.reg")};
    std::string names;
    for (const std::string& file : files) names += file + '\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() + 1);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    memcpy(drop + 1, names.data(), names.size());
    GlobalUnlock(memory);
    SendMessageA(dialog_, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    EXPECT_EQ(entryList.Count(), 32);
    EXPECT_EQ(entryList.FindEntryByName("Y"), 31);

    AnswerPrompts(folder_.File("gone.reg"), 2);
    Command(IDM_LOAD);
    const char* const kBoxes[][2] = {{kDuplicatesNotLoaded, kReadFileCaption},
                                     {kTooManyEntries, kAppCaption},
                                     {kFileNotRead, kAppCaption}};
    ASSERT_EQ(boxes_.Boxes().size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(boxes_.Boxes()[i].text, kBoxes[i][0]);
        EXPECT_EQ(boxes_.Boxes()[i].caption, kBoxes[i][1]);
        EXPECT_EQ(boxes_.Boxes()[i].style, static_cast<UINT>(MB_OK | MB_ICONWARNING));
    }
}

// Internet Explorer shows only 32 entries: Add says so first, and still adds.
TEST_F(CommandTest, AddWarnsFirstFrom32EntriesEditReplacesAndTheOptionsRegroup) {
    for (int count : {31, 32}) {
        TearDown();
        SetUp();
        OpenWith(ManyEntries(count).c_str());
        size_t boxesWhenShown = 99;
        CommandWithDialog(IDC_ADD, EditEntryDialog, [&](HWND edit) {
            boxesWhenShown = boxes_.Boxes().size();
            SetDlgItemTextA(edit, IDC_ENTRY_NAME, "New");
            SetDlgItemTextA(edit, IDC_ENTRY_FILE, "C:\\new.htm");
            PostMessageA(edit, WM_COMMAND, IDOK, 0);
        });
        EXPECT_EQ(boxesWhenShown, count == 32 ? 1u : 0u);
        EXPECT_EQ(boxes_.Boxes().size(), boxesWhenShown);
        if (!boxes_.Boxes().empty()) {
            EXPECT_EQ(boxes_.Boxes()[0].text, kTooManyEntries);
        }
        EXPECT_EQ(entryList.FindEntryByName("New"), count);
        EXPECT_TRUE(mainWindow.listChanged && Enabled(IDC_UPDATE));
    }
    TearDown();
    SetUp();
    OpenWith("P+ Q- R+");
    Select({1});
    CommandWithDialog(IDM_EDIT, EditEntryDialog, [](HWND edit) {
        SetDlgItemTextA(edit, IDC_ENTRY_NAME, "Q2");
        PostMessageA(edit, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(Entries(), "P+ Q2- R+");
    EXPECT_EQ(mainWindow.editIndex, -1);
    EXPECT_TRUE(mainWindow.listChanged);
    CommandWithDialog(IDM_GENERAL_SETTINGS, OptionsDialog, [](HWND options) {
        CheckDlgButton(options, IDC_DIS_BOTTOM, BST_CHECKED);
        PostMessageA(options, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(Entries(), "P+ R+ Q2-");
}

TEST_F(CommandTest, DeleteAsksUnlessShiftIsHeldAndTheKeyDoesNothingWithoutASelection) {
    struct {
        std::initializer_list<int> selected;
        bool shift;
        int answer;
        const char* entries;
        size_t boxes;
    } const kCases[] = {
        {{1}, false, IDNO, "P+ Q- R+ S+", 1},
        {{1}, false, IDYES, "P+ R+ S+", 1},
        {{0, 2}, true, 0, "R+", 0},
    };
    OpenWith("P+ Q- R+ S+");
    for (const auto& c : kCases) {
        Select(c.selected);
        if (c.shift) Hold(VK_SHIFT);
        if (c.answer) boxes_.Answer(c.answer);
        size_t before = boxes_.Boxes().size();
        Command(IDC_DELETE);
        EXPECT_EQ(Entries(), c.entries);
        EXPECT_EQ(boxes_.Boxes().size() - before, c.boxes);
    }
    EXPECT_EQ(boxes_.Boxes()[0].style, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_FALSE(Enabled(IDC_DELETE) || Enabled(IDC_EDIT));  // nothing is selected any more
    // Del with nothing selected: its item is grey, so the shortcut sends no command.
    Select({});
    MSG key = {dialog_, WM_KEYDOWN, VK_DELETE, 0x00530001, 0, {0, 0}};
    SetKeyStateReader(nullptr);
    TranslateAcceleratorA(dialog_, LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ACCELERATORS)),
                          &key);
    Pump();
    EXPECT_EQ(Entries(), "R+");
    EXPECT_EQ(boxes_.Boxes().size(), 1u + 1u);
}

TEST_F(CommandTest, SelectionCommandsFollowTheBoxesAndDisBottom) {
    struct {
        const char* entries;
        int disBottom, command;
        std::initializer_list<int> selected;
        const char* after;
    } const kCases[] = {
        {"A+ B+ C+ D+ E+", 1, IDM_DISABLE_SELECTED, {0, 1, 3}, "C+ E+ A- B- D-"},
        {"A+ B+ C+ D+ E+", 0, IDM_DISABLE_SELECTED, {0, 1, 3}, "A- B- C+ D- E+"},
        {"A+ B- C+ D+", 1, IDM_INVERT_SELECTED, {0, 1, 2}, "B+ D+ A- C-"},
        {"A+ B- C+ D+", 0, IDM_INVERT_SELECTED, {0, 1, 2}, "A- B+ C- D+"},
        {"A- B- C-", 0, IDM_ENABLE_SELECTED, {0, 2}, "A+ B- C+"},
        {"A- B- C-", 0, IDM_SELECT_ALL, {}, "A- B- C-"},
    };
    for (const auto& c : kCases) {
        TearDown();
        SetUp();
        OpenWith(c.entries);
        mainWindow.DisBottom = c.disBottom;
        Select(c.selected);
        Command(c.command);
        EXPECT_EQ(Entries(), c.after) << c.entries << " " << c.command;
        for (int i = 0; i < entryList.Count(); ++i) {
            MenuExtEntry e;
            entryList.GetEntryAt(i, &e);
            EXPECT_EQ(e.enabled != 0, ListView_GetCheckState(list_, i) != 0) << i;
        }
    }
    EXPECT_EQ(ListView_GetSelectedCount(list_), 3u);
    EXPECT_EQ(ListView_GetNextItem(list_, -1, LVNI_FOCUSED), 2);
}

TEST_F(CommandTest, CheckStateSortTogglesWithoutMarkingAndCtrlLimitsItTo32Rows) {
    OpenWith("A+ B- C+ D-");
    const char* const kOrders[] = {"A+ C+ B- D-", "B- D- A+ C+", "A+ C+ B- D-"};
    for (const char* order : kOrders) {
        Command(IDM_SORT_BY_CHECK);
        EXPECT_EQ(Entries(), order);
    }
    EXPECT_EQ(mainWindow.listChanged, 0);
    TearDown();
    SetUp();
    OpenWith(("Z- " + ManyEntries(32) + "Y-").c_str());
    Hold(VK_CONTROL);
    Command(IDM_SORT_BY_CHECK);
    EXPECT_EQ(entryList.FindEntryByName("Z"), 31);
    EXPECT_EQ(entryList.FindEntryByName("Y"), 33);
}

TEST_F(CommandTest, CtrlWheelMovesTheSelectionOneRowPerMessage) {
    struct {
        bool ctrl;
        int win95;
        WPARAM wParam;
        const char* entries;
    } const kCases[] = {
        {true, 0, MAKEWPARAM(MK_CONTROL, static_cast<WORD>(-240)), "P+ R+ Q+"},
        {true, 0, MAKEWPARAM(MK_CONTROL, 120), "Q+ P+ R+"},
        {true, 1, static_cast<WPARAM>(-120), "P+ R+ Q+"},
        {false, 0, MAKEWPARAM(0, 120), "P+ Q+ R+"},
    };
    for (const auto& c : kCases) {
        TearDown();
        SetUp();
        OpenWith("P+ Q+ R+");
        mainWindow.wheelDeltaInWParam = c.win95;
        if (c.ctrl) Hold(VK_CONTROL);
        Select({1});
        SendMessageA(dialog_, WM_MOUSEWHEEL, c.wParam, 0);
        EXPECT_EQ(Entries(), c.entries);
        EXPECT_EQ(mainWindow.listChanged, c.ctrl ? 1 : 0);
    }
}

TEST_F(CommandTest, MenuItemsFollowTheSelectionTheChangeMarkAndTheHelpFile) {
    OpenWith("P+ Q+");
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAIN_MENU));
    auto enabled = [&](int id) {
        for (int popup = 0; popup < 4; ++popup)
            SendMessageA(dialog_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(menu, popup)), popup);
        return !(GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED);
    };
    EXPECT_FALSE(enabled(IDM_EDIT) || enabled(IDM_DELETE) || enabled(IDM_UPDATE) || enabled(IDM_HELP));
    EXPECT_TRUE(enabled(IDM_SORT_BY_CHECK) && enabled(IDM_SELECT_ALL) && enabled(IDM_LOAD));
    Select({0, 1});
    ListView_SetCheckState(list_, 0, FALSE);
    mainWindow.DisBottom = 1;
    ASSERT_TRUE(TempDir::WriteFile(folder_.File("Quorvil.chm"), "help"));
    EXPECT_FALSE(enabled(IDM_EDIT) || enabled(IDM_SORT_BY_CHECK));
    EXPECT_TRUE(enabled(IDM_DELETE) && enabled(IDM_MOVE_DOWN) && enabled(IDM_UPDATE) && enabled(IDM_HELP));
    DestroyMenu(menu);
}

}  // namespace
