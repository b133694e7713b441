// The path edit on a real window: what its browse dialogs are asked and how its button answers
// the mouse (a link's click is in the version dialog's tests, and the BMP check behind the
// button's picture has a fuzz harness).
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "controls/path_edit.h"

namespace {

// Each browse dialog asked, as "dialog|initial directory or folder|file name|flags"; the
// fakes answer with g_choice (nullptr: cancel).
std::vector<std::string> g_asked;
const char* g_choice = nullptr;

void Ask(const char* dialog, const char* directory, const char* file, DWORD flags) {
    char flagText[16];
    snprintf(flagText, sizeof(flagText), "%lx", flags);
    g_asked.push_back(std::string(dialog) + "|" + (directory ? directory : "-") + "|" + file + "|" + flagText);
}
BOOL WINAPI FakeOpen(LPOPENFILENAMEA request) {
    Ask("open", request->lpstrInitialDir, request->lpstrFile, request->Flags);
    if (g_choice) lstrcpynA(request->lpstrFile, g_choice, request->nMaxFile);
    return g_choice != nullptr;
}
LPITEMIDLIST WINAPI FakeFolder(LPBROWSEINFOA request) {
    Ask("folder", reinterpret_cast<const char*>(request->lParam), "", request->ulFlags);
    LPITEMIDLIST item = nullptr;
    if (g_choice && !strcmp(g_choice, "<printers>")) SHGetSpecialFolderLocation(nullptr, CSIDL_PRINTERS, &item);
    else if (g_choice) item = ILCreateFromPathA(g_choice);
    return item;
}

// The edit's own procedure, behind the control, logs the mouse messages that reach it, each by
// its letter.
const UINT kMouse[] = {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONUP, WM_CONTEXTMENU};
const char kMouseLetters[] = "mducrx";
std::string g_reached;
WNDPROC g_editProc = nullptr;
LRESULT CALLBACK LoggingEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    for (int i = 0; i < 6; ++i)
        if (message == kMouse[i]) g_reached += kMouseLetters[i];
    if (message == WM_CONTEXTMENU) return 0;  // no menu left open
    return CallWindowProcA(g_editProc, edit, message, wParam, lParam);
}

class PathEditTest : public testing::Test {
protected:
    void SetUp() override {
        parent_ = CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 100, nullptr, nullptr, nullptr, nullptr);
        edit_ = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE, 10, 10, 200, 20, parent_, nullptr, nullptr, nullptr);
        g_editProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LoggingEditProc)));
        control_.dialogs = {FakeOpen, nullptr, FakeFolder};  // the program browses for files to open only
    }
    void TearDown() override { DestroyWindow(parent_); }

    // The middle of the button ('B') or of the text part ('T').
    LPARAM At(char place) const {
        RECT r = place == 'B' ? control_.ButtonRect() : control_.TextRect();
        return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }

    HWND parent_ = nullptr, edit_ = nullptr;
    PathEditControl control_;
};

TEST_F(PathEditTest, BrowseDialogsStartFromTheFieldAndPutTheChoiceIntoIt) {
    // `after`: the field afterwards; nullptr: unchanged.
    struct Case { PathEditMode mode; const char *field, *choice, *asked, *after = nullptr; } kCases[] = {
        {PathEditMode::OpenFile, "D:\\Scripts\\menu.htm", "C:\\x.htm", "open|D:\\Scripts|menu.htm|1804", "C:\\x.htm"},
        {PathEditMode::OpenFile, "D:\\menu.htm", nullptr, "open|D:\\|menu.htm|1804"},
        {PathEditMode::OpenFile, " \"D:/Program Files/a.js\" ", nullptr, "open|D:\\Program Files|a.js|1804"},
        {PathEditMode::OpenFile, "menu.htm", nullptr, "open|-|menu.htm|1804"},
        // The second byte of 表 is a backslash.
        {PathEditMode::OpenFile, "C:\\表\\a表.htm", nullptr, "open|C:\\表|a表.htm|1804"},
        {PathEditMode::Folder, "C:\\windows\\", "C:\\windows\\system32", "folder|C:\\windows||0", "C:\\windows\\system32"},
        {PathEditMode::Folder, "C:\\表", "<printers>", "folder|C:\\表||0"},  // a folder with no path
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.field);
        ASSERT_EQ(control_.Attach(edit_, c.mode), 0);
        SetWindowTextA(edit_, c.field);
        g_asked.clear();
        g_choice = c.choice;
        int result = c.mode == PathEditMode::Folder ? control_.BrowseFolder() : control_.BrowseOpenFile();
        EXPECT_EQ(result, c.after ? 0 : 1);
        EXPECT_EQ(g_asked, std::vector<std::string>{c.asked});
        char text[MAX_PATH] = "";
        control_.GetText(text, sizeof(text));
        EXPECT_STREQ(text, c.after ? c.after : c.field);
        control_.Detach();
    }
}

TEST_F(PathEditTest, ButtonOpensTheDialogOnlyWhenPressedAndReleasedOnIt) {
    // Message letters and places ("mB dB uB"), the dialogs opened, what the edit itself saw.
    const struct { const char* events; size_t dialogs; const char* reached; } kCases[] = {
        {"mB dB uB", 1, "mu"},  {"mB dB mT uT", 0, "mmu"}, {"mB dB mT mB uB", 1, "mmmu"},
        {"dT mB uT", 0, "dmu"}, {"cB rB", 0, ""},          {"cT uT rT", 0, "curx"}};
    ASSERT_EQ(control_.Attach(edit_, PathEditMode::OpenFile), 0);
    g_choice = nullptr;
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.events);
        g_asked.clear();
        g_reached.clear();
        for (const char* e = c.events; e[0] && e[1]; e += e[2] ? 3 : 2) {
            UINT message = kMouse[strchr(kMouseLetters, e[0]) - kMouseLetters];
            SendMessageA(edit_, message, message == WM_MOUSEMOVE ? 0 : MK_LBUTTON, At(e[1]));
            // While armed, the button is drawn pushed in exactly when the pointer is on it.
            if (control_.State() & PathEditControl::kArmed) {
                EXPECT_EQ((control_.State() & PathEditControl::kPressed) != 0, e[1] == 'B') << e[0];
            }
        }
        EXPECT_EQ(g_asked.size(), c.dialogs);
        EXPECT_EQ(g_reached, c.reached);
        EXPECT_EQ(control_.State() & ~(PathEditControl::kFocused | PathEditControl::kIconsOwned), 0u);
        EXPECT_EQ(GetCapture(), nullptr);
    }
}

}  // namespace
