// The edit-entry and options dialogs, run modally over the real main dialog and driven from
// inside their own message loops.
#include <functional>

#include "settings/edit_entry_dialog.h"
#include "settings/options_dialog.h"
#include "tests/mainwindow/main_dialog_harness.h"
#include "tests/support/modal_script.h"

namespace {

// Runs dialog `id` over the main dialog; `drive` works it from inside its loop.
class DialogTest : public MainDialogTest {
protected:
    INT_PTR Run(int id, DLGPROC procedure, const char* caption, std::function<void(HWND)> drive) {
        ModalScript script(caption, {[&](HWND dialog) { return drive(dialog), true; }});
        return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), dialog_, procedure, 0);
    }
};

std::string Field(HWND dialog, int id) {
    char text[1024] = {};
    GetDlgItemTextA(dialog, id, text, sizeof(text));
    return text;
}

TEST_F(DialogTest, EditEntryValidatesInOrderAndFillsTheBufferFromTheFields) {
    RegistryKeyGuard::CreateSubkey("Abc", "C:\\Abc.htm");
    RegistryKeyGuard::CreateSubkey("Other", "C:\\Other.htm");
    Open();
    const MenuExtEntry kNew = MakeEntry("", "C:\\old.htm", 0x13, 1, 0), kAbc = MakeEntry("Abc", nullptr, 0x1FF, 5, 0);
    auto repeat = [](const char* text, int times) { std::string s; while (times-- > 0) s += text; return s; };
    struct Case {
        MenuExtEntry start;
        int editIndex;
        std::string name, target;  // typed into 5001 and 5002
        uint32_t tick;             // boxes 5003 + bit ticked before OK
        const char* refusal;       // nullptr: accepted, and then the buffer holds:
        uint32_t contexts = 0, flags = 0;
        int enabled = 0;
    } kCases[] = {
        {kNew, -1, "", "", 0, kNameEmpty},
        {kNew, -1, "\\abc", "C:\\x.htm", 0, kNameStartsWithBackslash},
        {kNew, -1, "a\\b", "C:\\x.htm", 0x41, nullptr, 0x41, 0, 1},
        {kNew, -1, "  ", "C:\\x.htm", 0x80, nullptr, 0, 1, 1},
        {kNew, -1, "ABC", "C:\\x.htm", 0, kNameExists},
        {kNew, -1, "New", "", 0, kTargetEmpty},
        {kNew, -1, repeat("表", 32), "C:\\x.htm", 0, nullptr, 0, 0, 1},
        {kNew, -1, repeat("表", 33), "C:\\x.htm", 0, kNameTooLong},
        {kNew, -1, "New", repeat("ソ", 130), 0, kTargetTooLong},
        {kAbc, 0, "ABC", "C:\\Abc.htm", 0, nullptr, 0x7F, 1, 0},
        {kAbc, 0, "other", "C:\\Abc.htm", 0, kNameExists},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        mainWindow.editBuffer = c.start;
        mainWindow.editIndex = c.editIndex;
        const size_t boxes = boxes_.Boxes().size();
        INT_PTR result = Run(IDD_EDIT_ENTRY, EditEntryDialog, "編集", [&](HWND dialog) {
            EXPECT_EQ(pathEditControl.Window(), GetDlgItem(dialog, IDC_ENTRY_FILE));
            EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_ENTRY_NAME, EM_GETLIMITTEXT, 0, 0), 64);
            EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_ENTRY_FILE, EM_GETLIMITTEXT, 0, 0), 258);
            EXPECT_EQ(Field(dialog, IDC_ENTRY_FILE), c.editIndex < 0 ? "" : c.start.target);
            for (int bit = 0; bit < 8; ++bit) {
                bool shown = c.editIndex >= 0 && (bit < 7 ? (c.start.contexts >> bit) & 1 : c.start.flags != 0);
                EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_CONTEXT_DEFAULT + bit), shown ? 1u : 0u) << bit;
                if ((c.tick >> bit) & 1) CheckDlgButton(dialog, IDC_CONTEXT_DEFAULT + bit, BST_CHECKED);
            }
            SetDlgItemTextA(dialog, IDC_ENTRY_NAME, c.name.c_str());
            SetDlgItemTextA(dialog, IDC_ENTRY_FILE, c.target.c_str());
            SendMessageA(dialog, WM_COMMAND, IDOK, 0);
            if (!IsWindowVisible(dialog)) return;
            EXPECT_EQ(Field(dialog, IDC_ENTRY_NAME) + Field(dialog, IDC_ENTRY_FILE), c.name + c.target);
            SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        EXPECT_EQ(pathEditControl.Window(), nullptr);  // came loose with the dialog
        const MenuExtEntry& got = mainWindow.editBuffer;
        EXPECT_EQ(result, c.refusal ? IDCANCEL : IDOK);
        ASSERT_EQ(boxes_.Boxes().size(), boxes + (c.refusal ? 1 : 0));
        if (c.refusal) {
            const InterceptedBox& box = boxes_.Boxes().back();
            EXPECT_EQ(box.text + box.caption, std::string(c.refusal) + "Quorvil");
            EXPECT_EQ(box.style, static_cast<UINT>(MB_OK | MB_ICONWARNING));
            // Nothing is ever cut into the buffer.
            EXPECT_TRUE(c.name.size() < 65 || got.name == std::string(c.start.name));
            EXPECT_TRUE(c.target.size() < 260 || got.target == std::string(c.start.target));
            continue;
        }
        EXPECT_EQ(got.name + std::string("|") + got.target, c.name + "|" + c.target);
        EXPECT_EQ(got.contexts, c.contexts);
        EXPECT_EQ(got.flags, c.flags);
        EXPECT_EQ(got.enabled, c.enabled);
    }
}

TEST_F(DialogTest, OptionsShowAnyNonZeroAsTickedAndStoreZeroOrOne) {
    Open();
    const int kBoxes[] = {IDC_DIS_SLASH, IDC_DIS_BOTTOM, IDC_DIS_NO_SAVE_POS};
    for (int command : {IDOK, IDCANCEL}) {
        mainWindow.DisSlash = 7;  // as set by hand in the ini file
        mainWindow.DisBottom = 0;
        mainWindow.DisNoSavePos = 1;
        EXPECT_EQ(Run(IDD_OPTIONS, OptionsDialog, "設定", [&](HWND dialog) {
            for (int i = 0; i < 3; ++i) EXPECT_EQ(IsDlgButtonChecked(dialog, kBoxes[i]), i == 1 ? 0u : 1u) << i;
            CheckDlgButton(dialog, IDC_DIS_BOTTOM, BST_CHECKED);
            CheckDlgButton(dialog, IDC_DIS_NO_SAVE_POS, BST_UNCHECKED);
            SendMessageA(dialog, WM_COMMAND, command, 0);
        }), command);
        const int32_t expected[] = {command == IDOK ? 1 : 7, command == IDOK ? 1 : 0, command == IDOK ? 0 : 1};
        EXPECT_EQ(std::vector<int32_t>({mainWindow.DisSlash, mainWindow.DisBottom, mainWindow.DisNoSavePos}),
                  std::vector<int32_t>(expected, expected + 3)) << command;
    }
}

}  // namespace
