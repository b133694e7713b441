// Creates the real main dialog in-process, from a prepared registry, Disable.dat and
// settings file in a folder of its own, gives tests its MainWindow state, holds keys down,
// answers the file prompts, and reads back the colours it shows.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "mainwindow/commands.h"
#include "mainwindow/main_state.h"
#include "mainwindow/main_window.h"
#include "mainwindow/modifier_keys.h"
#include "resources/resource.h"
#include "tests/support/entry_fixture.h"
#include "tests/support/message_box_interceptor.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/temp_dir.h"

// A REGEDIT4 file of entries with targets C:\<name>.htm.
inline std::string RegText(const std::vector<std::string>& names) {
    const std::string key = "[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\MenuExt";
    std::string text = "REGEDIT4\r\n\r\n" + key + "]\r\n\r\n";
    for (const std::string& name : names) text += key + "\\" + name + "]\r\n@=\"C:\\\\" + name + ".htm\"\r\n\r\n";
    return text;
}

class MainDialogTest : public testing::Test {
public:
    HWND List() const { return list_; }
    void Hold(int key) { held_.push_back(key), SetKeyStateReader(HeldKeyState); }

protected:
    void SetUp() override {
        entryListView.Unbind();
        entryList.Clear();
        ResetMainWindowState();
        lstrcpynA(mainWindow.dataFolder, folder_.Path().c_str(), sizeof(mainWindow.dataFolder));
    }

    void TearDown() override {
        if (IsWindow(dialog_)) DestroyWindow(dialog_);
        Pump();
        SetKeyStateReader(nullptr);
        SetFilePrompts(nullptr, nullptr);
        held_.clear();
    }

    // Sets or reads key=value in the user's section "<user>/<suffix>" of Quorvil.ini; a
    // missing key reads as "<none>".
    void SetSetting(const char* suffix, const char* key, const char* value) {
        ASSERT_TRUE(WritePrivateProfileStringA(Section(suffix).c_str(), key, value, Ini().c_str()));
    }
    std::string ReadSetting(const char* suffix, const char* key) const {
        char value[256];
        GetPrivateProfileStringA(Section(suffix).c_str(), key, "<none>", value, sizeof(value), Ini().c_str());
        return value;
    }

    // Creates dialog 4000 with MainDialogProc, as the entry point does, and lets it settle.
    void Open() {
        dialog_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc, 0);
        ASSERT_NE(dialog_, nullptr);
        list_ = GetDlgItem(dialog_, IDC_ENTRY_LIST);
        Pump();
    }

    // Dispatches whatever is queued for this thread; a WM_QUIT posted by the dialog is dropped.
    void Pump() {
        MSG message;
        for (int i = 0; i < 10000 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i)
            if (message.message != WM_QUIT) DispatchMessageA(&message);
    }

    // Opens the dialog and appends the entries ("P+ Q- R+": + enabled, - disabled; each with
    // the target C:\<name>.htm), leaving the list unchanged and nothing selected.
    void OpenWith(const std::string& entries) {
        Open();
        FillList(entryList, entries.c_str());
        Select({});
        mainWindow.listChanged = 0;
        EnableWindow(GetDlgItem(dialog_, IDC_UPDATE), FALSE);
    }

    void Select(const std::vector<int>& rows) {
        ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        for (int row : rows) ListView_SetItemState(list_, row, LVIS_SELECTED, LVIS_SELECTED);
    }

    void Command(int id) { SendMessageA(dialog_, WM_COMMAND, id, 0), Pump(); }

    // The open and save prompts answer with this path and filter index.
    static void AnswerPrompts(const std::string& path, int filterIndex) {
        prompt_ = path;
        promptIndex_ = filterIndex;
        SetFilePrompts(Prompt, Prompt);
    }

    bool Enabled(int id) const { return IsWindowEnabled(GetDlgItem(dialog_, id)) != FALSE; }

    std::string Names() const { return NamesOf(entryList); }
    // The rows' names and check boxes, a selected row marked ("*P+ Q- R+"), and after them the
    // entries' own where they differ.
    std::string Entries() const {
        std::string rows, plain;
        for (int i = 0; i < ListView_GetItemCount(list_); ++i) {
            std::string row = Cell(i, 0) + (ListView_GetCheckState(list_, i) ? "+" : "-");
            rows += (i ? " " : "") + std::string(ListView_GetItemState(list_, i, LVIS_SELECTED) ? "*" : "") + row;
            plain += (i ? " " : "") + row;
        }
        return plain == StatesOf(entryList) ? rows : rows + " | entries " + StatesOf(entryList);
    }
    std::string Cell(int row, int column) const {
        char text[512] = {};
        ListView_GetItemText(list_, row, column, text, sizeof(text));
        return text;
    }

    RegistryKeyGuard registry_;
    TempDir folder_;
    MessageBoxInterceptor boxes_;
    HWND dialog_ = nullptr;
    HWND list_ = nullptr;

private:
    static SHORT WINAPI HeldKeyState(int key) {
        return std::count(held_.begin(), held_.end(), key) ? static_cast<SHORT>(0x8000) : 0;
    }
    static int Prompt(HWND, char* buffer, const char*, int) {
        lstrcpynA(buffer, prompt_.c_str(), MAX_PATH);
        return promptIndex_;
    }
    static inline std::vector<int> held_;
    static inline std::string prompt_;
    static inline int promptIndex_ = -1;
    std::string Ini() const { return folder_.File("Quorvil.ini"); }
    static std::string Section(const char* suffix) { return std::string(settingsStore.userName) + "/" + suffix; }
};
