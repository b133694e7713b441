// The open and save prompts driven through the real common dialog: a thread timer finds the
// dialog, picks a filter, types a name and confirms, or cancels.
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

DialogScript* g_script = nullptr;

BOOL CALLBACK FindFileDialog(HWND window, LPARAM found) {
    char className[32];
    GetClassNameA(window, className, sizeof(className));
    if (strcmp(className, "#32770") == 0 && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void PressButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void CALLBACK DriveDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindFileDialog, reinterpret_cast<LPARAM>(&dialog));
    // Nobody will ever answer a dialog that did not appear in time; give up rather than hang.
    if (!dialog && ++g_script->ticks < 200) return;
    KillTimer(nullptr, timer);
    if (!dialog) return;
    g_script->acted = true;
    if (g_script->cancel) {
        PressButton(dialog, IDCANCEL);
        return;
    }
    if (g_script->filterIndex > 0) {
        HWND types = GetDlgItem(dialog, cmb1);
        SendMessageA(types, CB_SETCURSEL, g_script->filterIndex - 1, 0);
        // A choice made with the mouse notifies the change and then its confirmation.
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELCHANGE), reinterpret_cast<LPARAM>(types));
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELENDOK), reinterpret_cast<LPARAM>(types));
    }
    HWND name = GetDlgItem(dialog, edt1);
    if (!name) name = GetDlgItem(dialog, cmb13);
    SetWindowTextA(name, g_script->fileName.c_str());
    PressButton(dialog, IDOK);
}

class FilePromptTest : public testing::Test {
protected:
    void SetUp() override {
        owner_ = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(owner_, nullptr);
        memset(buffer_, 'x', sizeof(buffer_) - 1);
        buffer_[sizeof(buffer_) - 1] = '\0';
    }
    void TearDown() override {
        g_script = nullptr;
        DestroyWindow(owner_);
    }

    // Runs a prompt while the script answers it.
    int Run(int (*prompt)(HWND, char*, const char*, int), int initialIndex) {
        g_script = &script_;
        SetTimer(nullptr, 0, 50, DriveDialog);
        int result = prompt(owner_, buffer_, kFileFilter, initialIndex);
        EXPECT_TRUE(script_.acted) << "no file dialog appeared";
        return result;
    }

    HWND owner_ = nullptr;
    char buffer_[MAX_PATH];
    DialogScript script_;
    TempDir dir_;
};

TEST_F(FilePromptTest, CancelEmptiesTheBuffer) {
    script_.cancel = true;
    EXPECT_EQ(Run(PromptOpenFile, kCsvFilterIndex), -1);
    EXPECT_STREQ(buffer_, "");

    memset(buffer_, 'x', 10);
    script_ = DialogScript();
    script_.cancel = true;
    EXPECT_EQ(Run(PromptSaveFile, kCsvFilterIndex), -1);
    EXPECT_STREQ(buffer_, "");
}

TEST_F(FilePromptTest, SaveReturnsTheChosenFilterWhateverTheTypedExtension) {
    std::string path = dir_.File("exported.csv");
    script_.filterIndex = kRegFilterIndex;
    script_.fileName = path;
    EXPECT_EQ(Run(PromptSaveFile, kCsvFilterIndex), kRegFilterIndex);
    EXPECT_EQ(buffer_, path);
    // The prompt only names the file; it neither creates it nor asks about overwriting.
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(FilePromptTest, OpenReturnsTheFilterSelectedAtConfirmation) {
    std::string path = dir_.File("menu.reg");
    ASSERT_TRUE(TempDir::WriteFile(path, "REGEDIT4\r\n"));
    script_.fileName = path;
    EXPECT_EQ(Run(PromptOpenFile, kRegFilterIndex), kRegFilterIndex);
    EXPECT_EQ(buffer_, path);

    script_ = DialogScript();
    script_.filterIndex = kCsvFilterIndex;
    script_.fileName = path;
    EXPECT_EQ(Run(PromptOpenFile, kRegFilterIndex), kCsvFilterIndex);
    EXPECT_EQ(buffer_, path);
}

}  // namespace
