// The real main dialog with entries added after start-up, keys held down and file prompts
// answered by the test.
#pragma once

#include <algorithm>
#include <initializer_list>
#include <sstream>

#include "mainwindow/commands.h"
#include "mainwindow/modifier_keys.h"
#include "tests/mainwindow/main_dialog_harness.h"
#include "tests/support/list_view_fixture.h"
#include "tests/support/modal_script.h"

class CommandTest : public MainDialogTest {
protected:
    void TearDown() override {
        SetKeyStateReader(nullptr);
        SetFilePrompts(nullptr, nullptr);
        held_.clear();
        MainDialogTest::TearDown();
    }

    // Opens the dialog and appends "P+ Q- R+" (+ ticked), leaving the list unchanged and
    // nothing selected. A name's first letter sets contexts (letter - 'A') & 3 and flags
    // (letter - 'A') * 7, so flags read as text ("E", "15") sort apart from their values.
    void OpenWith(const std::string& entries) {
        Open();
        std::istringstream words(entries);
        for (std::string word; words >> word;) {
            unsigned letter = static_cast<unsigned>(word[0] - 'A');
            MenuExtEntry e =
                MakeEntry(word.substr(0, word.size() - 1).c_str(), nullptr, letter & 3, letter * 7, word.back() == '+');
            ASSERT_EQ(entryList.AddEntry(&e), 0) << word;
        }
        Select({});
        mainWindow.listChanged = 0;
        EnableWindow(GetDlgItem(dialog_, IDC_UPDATE), FALSE);
    }

    void Select(std::initializer_list<int> rows) {
        ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        for (int row : rows) ListView_SetItemState(list_, row, LVIS_SELECTED, LVIS_SELECTED);
    }

    void Command(int id) {
        SendMessageA(dialog_, WM_COMMAND, id, 0);
        Pump();
    }

    void Hold(int key) {
        held_.push_back(key);
        SetKeyStateReader(HeldKeyState);
    }

    // The open and save prompts answer with this path and filter index.
    static void AnswerPrompts(const std::string& path, int filterIndex) {
        prompt_ = path;
        promptIndex_ = filterIndex;
        SetFilePrompts(Prompt, Prompt);
    }

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
};
