// The edit-entry and options dialogs, run modally over the real main dialog and driven from
// inside their own message loops.
#include <functional>
#include <string>
#include <vector>

#include "settings/edit_entry_dialog.h"
#include "settings/options_dialog.h"
#include "tests/mainwindow/main_dialog_harness.h"

namespace {

const std::function<void(HWND)>* g_drive = nullptr;
DLGPROC g_procedure = nullptr;

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
    if (!IsWindowVisible(window) || GetWindowLongPtrA(window, DWLP_DLGPROC) != reinterpret_cast<LONG_PTR>(g_procedure))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

void CALLBACK DriveWhenShown(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) return;
    KillTimer(nullptr, timer);
    (*g_drive)(dialog);
    // A drive that forgot to close the dialog must not hang the suite.
    if (IsWindow(dialog) && IsWindowVisible(dialog)) EndDialog(dialog, -1);
}

class DialogTest : public MainDialogTest {
protected:
    // Runs dialog `id` over the main dialog as the commands do; `drive` gets the dialog once it
    // is shown and ends it.
    INT_PTR Run(int id, DLGPROC procedure, const std::function<void(HWND)>& drive) {
        g_drive = &drive;
        g_procedure = procedure;
        SetTimer(nullptr, 0, 10, DriveWhenShown);
        return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), dialog_, procedure, 0);
    }
};

std::string Field(HWND dialog, int id) {
    char text[1024] = {};
    GetDlgItemTextA(dialog, id, text, sizeof(text));
    return text;
}

std::string Repeat(const char* text, int times) {
    std::string repeated;
    while (times-- > 0) repeated += text;
    return repeated;
}

MenuExtEntry Entry(const char* name, const char* target, uint32_t contexts, uint32_t flags, int enabled) {
    MenuExtEntry entry = {};
    lstrcpynA(entry.name, name, sizeof(entry.name));
    lstrcpynA(entry.target, target, sizeof(entry.target));
    entry.contexts = contexts;
    entry.flags = flags;
    entry.enabled = enabled;
    return entry;
}

// A 16-bit dialog template with one label of id 0xFFFF, the id of a message box's text, and
// an OK button.
std::vector<WORD> LabelDialogTemplate() {
    std::vector<WORD> words;
    auto dword = [&](DWORD value) { words.push_back(LOWORD(value)); words.push_back(HIWORD(value)); };
    auto item = [&](DWORD style, WORD id, WORD atom, const wchar_t* text) {
        if (words.size() % 2) words.push_back(0);
        dword(WS_CHILD | WS_VISIBLE | style);
        dword(0);
        words.insert(words.end(), {5, 5, 60, 12, id, 0xFFFF, atom});
        for (; *text; ++text) words.push_back(*text);
        words.insert(words.end(), {0, 0});
    };
    dword(WS_POPUP | WS_CAPTION | WS_VISIBLE);
    dword(0);
    words.insert(words.end(), {2, 0, 0, 100, 60, 0, 0, 'L', 0});
    item(SS_LEFT, 0xFFFF, 0x0082, L"Label");
    item(BS_DEFPUSHBUTTON, IDOK, 0x0080, L"OK");
    return words;
}

INT_PTR CALLBACK LabelDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND) SetWindowLongPtrA(dialog, GWLP_USERDATA, LOWORD(wParam));
    return message == WM_INITDIALOG;
}

TEST(MessageBoxInterceptorTest, AnswersMessageBoxesButLeavesDialogsWithLabelsAlone) {
    MessageBoxInterceptor boxes;
    std::vector<WORD> words = LabelDialogTemplate();
    HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<DLGTEMPLATE*>(words.data()),
                                             nullptr, LabelDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(GetWindowLongPtrA(GetDlgItem(dialog, 0xFFFF), GWLP_ID), 0xFFFF);
    SetActiveWindow(dialog);
    EXPECT_EQ(MessageBoxA(dialog, "Text", "Caption", MB_YESNO | MB_ICONQUESTION), IDNO);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Text");
    EXPECT_EQ(boxes.Boxes()[0].caption, "Caption");
    EXPECT_EQ(boxes.Boxes()[0].style, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(GetWindowLongPtrA(dialog, GWLP_USERDATA), 0) << "a command reached the dialog";
    DestroyWindow(dialog);
}

TEST_F(DialogTest, EditEntryValidatesInOrderAndFillsTheBufferFromTheFields) {
    RegistryKeyGuard::CreateSubkey("Abc", "C:\\Abc.htm");
    RegistryKeyGuard::CreateSubkey("Other", "C:\\Other.htm");
    Open();
    const MenuExtEntry kNew = Entry("", "C:\\old.htm", 0x13, 1, 0);
    const MenuExtEntry kAbc = Entry("Abc", "C:\\Abc.htm", 0x1FF, 5, 0);
    const std::string kName33 = Repeat("表", 33), kName32 = Repeat("表", 32), kTarget130 = Repeat("ソ", 130);
    struct Case {
        const char* what;
        MenuExtEntry start;
        int editIndex;
        std::string name, target;  // typed into 5001 and 5002
        uint32_t tick;             // boxes 5003 + bit ticked before OK
        const char* refusal;       // nullptr: accepted
        uint32_t contexts, flags;
        int enabled;
    } kCases[] = {
        {"empty name first", kNew, -1, "", "", 0, kNameEmpty},
        {"leading backslash", kNew, -1, "\\abc", "C:\\x.htm", 0, kNameStartsWithBackslash},
        {"backslash inside", kNew, -1, "a\\b", "C:\\x.htm", 0x41, nullptr, 0x41, 0, 1},
        {"blanks only", kNew, -1, "  ", "C:\\x.htm", 0x80, nullptr, 0, 1, 1},
        {"other letter case", kNew, -1, "ABC", "C:\\x.htm", 0, kNameExists},
        {"empty file", kNew, -1, "New", "", 0, kTargetEmpty},
        {"32 double-byte", kNew, -1, kName32, "C:\\x.htm", 0, nullptr, 0, 0, 1},
        {"33 double-byte", kNew, -1, kName33, "C:\\x.htm", 0, kNameTooLong},
        {"260-byte file", kNew, -1, "New", kTarget130, 0, kTargetTooLong},
        {"own name recased", kAbc, 0, "ABC", "C:\\Abc.htm", 0, nullptr, 0x7F, 1, 0},
        {"another's name", kAbc, 0, "other", "C:\\Abc.htm", 0, kNameExists},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        mainWindow.editBuffer = c.start;
        mainWindow.editIndex = c.editIndex;
        size_t boxesBefore = boxes_.Boxes().size();
        INT_PTR result = Run(IDD_EDIT_ENTRY, EditEntryDialog, [&](HWND dialog) {
            HWND file = GetDlgItem(dialog, IDC_ENTRY_FILE);
            EXPECT_EQ(pathEditControl.Window(), file);
            EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_ENTRY_NAME, EM_GETLIMITTEXT, 0, 0), 64);
            EXPECT_EQ(SendMessageA(file, EM_GETLIMITTEXT, 0, 0), 258);
            EXPECT_EQ(Field(dialog, IDC_ENTRY_NAME), c.start.name);
            EXPECT_EQ(Field(dialog, IDC_ENTRY_FILE), c.editIndex < 0 ? "" : c.start.target);
            for (int bit = 0; bit < 8; ++bit) {
                int id = IDC_CONTEXT_DEFAULT + bit;
                bool shown = c.editIndex < 0 ? false : bit < 7 ? (c.start.contexts >> bit) & 1 : c.start.flags != 0;
                EXPECT_EQ(IsDlgButtonChecked(dialog, id) == BST_CHECKED, shown) << id;
                if ((c.tick >> bit) & 1) CheckDlgButton(dialog, id, BST_CHECKED);
            }
            SetDlgItemTextA(dialog, IDC_ENTRY_NAME, c.name.c_str());
            SetDlgItemTextA(dialog, IDC_ENTRY_FILE, c.target.c_str());
            SendMessageA(dialog, WM_COMMAND, IDOK, 0);
            if (!IsWindowVisible(dialog)) return;
            // Refused: the dialog stays with the typed text whole.
            EXPECT_EQ(Field(dialog, IDC_ENTRY_NAME), c.name);
            EXPECT_EQ(Field(dialog, IDC_ENTRY_FILE), c.target);
            SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        EXPECT_EQ(pathEditControl.Window(), nullptr);
        const MenuExtEntry& got = mainWindow.editBuffer;
        if (c.refusal) {
            EXPECT_EQ(result, IDCANCEL);
            ASSERT_EQ(boxes_.Boxes().size(), boxesBefore + 1);
            const InterceptedBox& box = boxes_.Boxes().back();
            EXPECT_EQ(box.text, c.refusal);
            EXPECT_EQ(box.caption, "Quorvil");
            EXPECT_EQ(box.style, static_cast<UINT>(MB_OK | MB_ICONWARNING));
            // A text too long for its buffer is never cut into it.
            if (c.name.size() > 64) EXPECT_STREQ(got.name, c.start.name);
            if (c.target.size() > 259) EXPECT_STREQ(got.target, c.start.target);
            continue;
        }
        EXPECT_EQ(result, IDOK);
        EXPECT_EQ(boxes_.Boxes().size(), boxesBefore);
        EXPECT_EQ(got.name, c.name);
        EXPECT_EQ(got.target, c.target);
        EXPECT_EQ(got.contexts, c.contexts);
        EXPECT_EQ(got.flags, c.flags);
        EXPECT_EQ(got.enabled, c.enabled);
    }
}

TEST_F(DialogTest, OptionsShowAnyNonZeroAsTickedAndStoreZeroOrOne) {
    Open();
    struct Case {
        int command;
        int32_t after[3];
    } kCases[] = {{IDOK, {1, 1, 0}}, {IDCANCEL, {7, 0, 1}}};
    const int kBoxes[] = {IDC_DIS_SLASH, IDC_DIS_BOTTOM, IDC_DIS_NO_SAVE_POS};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.command);
        mainWindow.DisSlash = 7;  // set by hand in the ini file
        mainWindow.DisBottom = 0;
        mainWindow.DisNoSavePos = 1;
        INT_PTR result = Run(IDD_OPTIONS, OptionsDialog, [&](HWND dialog) {
            for (int i = 0; i < 3; ++i) EXPECT_EQ(IsDlgButtonChecked(dialog, kBoxes[i]), i == 1 ? 0u : 1u) << i;
            CheckDlgButton(dialog, IDC_DIS_BOTTOM, BST_CHECKED);
            CheckDlgButton(dialog, IDC_DIS_NO_SAVE_POS, BST_UNCHECKED);
            SendMessageA(dialog, WM_COMMAND, c.command, 0);
        });
        EXPECT_EQ(result, c.command);
        const int32_t now[] = {mainWindow.DisSlash, mainWindow.DisBottom, mainWindow.DisNoSavePos};
        for (int i = 0; i < 3; ++i) EXPECT_EQ(now[i], c.after[i]) << i;
    }
}

}  // namespace
