// The open and save prompts on the real common dialog: a thread timer finds the dialog, picks
// a filter, types a name and confirms, or cancels.
#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "settings/window_utils.h"
#include "tests/support/temp_dir.h"

namespace {

struct DialogScript {
    bool cancel = false;
    int filterIndex = 0;  // 0 keeps the dialog's own choice
    std::string fileName;
    bool acted = false;
    int ticks = 0;
};

DialogScript g_script;

BOOL CALLBACK FindFileDialog(HWND window, LPARAM found) {
    char className[32];
    GetClassNameA(window, className, sizeof(className));
    if (strcmp(className, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

void Press(HWND dialog, int id, int code = BN_CLICKED) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void CALLBACK DriveDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindFileDialog, reinterpret_cast<LPARAM>(&dialog));
    // A dialog that never shows cannot be answered; stop looking rather than spin.
    if (!dialog && ++g_script.ticks < 200) return;
    KillTimer(nullptr, timer);
    if (!dialog) return;
    g_script.acted = true;
    if (g_script.cancel) return Press(dialog, IDCANCEL);
    if (g_script.filterIndex > 0) {
        // A choice made with the mouse notifies the change and then its confirmation.
        SendDlgItemMessageA(dialog, cmb1, CB_SETCURSEL, g_script.filterIndex - 1, 0);
        Press(dialog, cmb1, CBN_SELCHANGE);
        Press(dialog, cmb1, CBN_SELENDOK);
    }
    HWND name = GetDlgItem(dialog, edt1);
    SetWindowTextA(name ? name : GetDlgItem(dialog, cmb13), g_script.fileName.c_str());
    Press(dialog, IDOK);
}

class FilePromptTest : public testing::Test {
protected:
    void SetUp() override {
        owner_ = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(owner_, nullptr);
    }
    void TearDown() override { DestroyWindow(owner_); }

    int Run(int (*prompt)(HWND, char*, const char*, int), int initialIndex, const DialogScript& script) {
        g_script = script;
        strcpy(buffer_, "left over");
        SetTimer(nullptr, 0, 50, DriveDialog);
        int result = prompt(owner_, buffer_, kFileFilter, initialIndex);
        EXPECT_TRUE(g_script.acted) << "no file dialog appeared";
        return result;
    }

    HWND owner_ = nullptr;
    char buffer_[MAX_PATH];
    TempDir dir_;
};

TEST_F(FilePromptTest, CancelEmptiesTheBuffer) {
    DialogScript cancel;
    cancel.cancel = true;
    EXPECT_EQ(Run(PromptOpenFile, kCsvFilterIndex, cancel), -1);
    EXPECT_STREQ(buffer_, "");
    EXPECT_EQ(Run(PromptSaveFile, kCsvFilterIndex, cancel), -1);
    EXPECT_STREQ(buffer_, "");
}

TEST_F(FilePromptTest, ReturnsTheFilterSelectedAtConfirmation) {
    DialogScript save;
    save.filterIndex = kRegFilterIndex;
    save.fileName = dir_.File("exported.csv");
    EXPECT_EQ(Run(PromptSaveFile, kCsvFilterIndex, save), kRegFilterIndex);
    EXPECT_EQ(buffer_, save.fileName);
    // Naming the file neither creates it nor asks about overwriting it.
    EXPECT_EQ(GetFileAttributesA(buffer_), INVALID_FILE_ATTRIBUTES);

    DialogScript open;
    open.fileName = dir_.File("menu.reg");
    ASSERT_TRUE(TempDir::WriteFile(open.fileName, "REGEDIT4\r\n"));
    EXPECT_EQ(Run(PromptOpenFile, kRegFilterIndex, open), kRegFilterIndex);
    EXPECT_EQ(buffer_, open.fileName);
    open.filterIndex = kCsvFilterIndex;
    EXPECT_EQ(Run(PromptOpenFile, kRegFilterIndex, open), kCsvFilterIndex);
    EXPECT_EQ(buffer_, open.fileName);
}

}  // namespace
