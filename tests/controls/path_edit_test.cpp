// The path edit control on real edits: what its browse dialogs are asked, how the button
// answers the mouse, its pictures, and the BMP images it refuses.
#include <cstring>
#include <string>
#include <vector>

#include "controls/path_edit.h"
#include "resources/path_edit_button.h"
#include "tests/mainwindow/main_dialog_harness.h"

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
BOOL FakeFile(const char* dialog, LPOPENFILENAMEA request) {
    Ask(dialog, request->lpstrInitialDir, request->lpstrFile, request->Flags);
    if (g_choice) lstrcpynA(request->lpstrFile, g_choice, request->nMaxFile);
    return g_choice != nullptr;
}
BOOL WINAPI FakeOpen(LPOPENFILENAMEA request) { return FakeFile("open", request); }
BOOL WINAPI FakeSave(LPOPENFILENAMEA request) { return FakeFile("save", request); }
LPITEMIDLIST WINAPI FakeFolder(LPBROWSEINFOA request) {
    Ask("folder", reinterpret_cast<const char*>(request->lParam), "", request->ulFlags);
    LPITEMIDLIST item = nullptr;
    if (g_choice && !strcmp(g_choice, "<printers>")) SHGetSpecialFolderLocation(nullptr, CSIDL_PRINTERS, &item);
    else if (g_choice) item = ILCreateFromPathA(g_choice);
    return item;
}

// The edit's own procedure, behind the control, logs the mouse messages that reach it.
std::string g_reached;
WNDPROC g_editProc = nullptr;
LRESULT CALLBACK LoggingEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    const UINT kLogged[] = {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONUP, WM_CONTEXTMENU};
    for (int i = 0; i < 6; ++i)
        if (message == kLogged[i]) g_reached += "mducrx"[i];
    if (message == WM_CONTEXTMENU) return 0;  // no menu left open
    return CallWindowProcA(g_editProc, edit, message, wParam, lParam);
}

class PathEditTest : public testing::Test {
protected:
    void SetUp() override {
        g_asked.clear();
        parent_ = CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 100, nullptr, nullptr, nullptr, nullptr);
        edit_ = MakeEdit(10);
        g_editProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LoggingEditProc)));
        control_.dialogs = {FakeOpen, FakeSave, FakeFolder};
    }
    void TearDown() override { DestroyWindow(parent_); }

    HWND MakeEdit(int y) {
        return CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE, 10, y, 200, 20, parent_, nullptr, nullptr, nullptr);
    }
    // The middle of the button ('B') or of the text part ('T').
    LPARAM At(char place) const {
        RECT r = place == 'B' ? control_.ButtonRect() : control_.TextRect();
        return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }

    HWND parent_ = nullptr, edit_ = nullptr;
    PathEditControl control_;
};

TEST_F(PathEditTest, BrowseDialogsStartFromTheFieldAndPutTheChoiceIntoIt) {
    struct Case {
        PathEditMode mode;
        const char* field;
        const char* choice;
        const char* asked;
        const char* after = nullptr;  // the field afterwards; nullptr: unchanged
    } kCases[] = {
        {PathEditMode::OpenFile, "D:\\Scripts\\menu.htm", "C:\\x.htm", "open|D:\\Scripts|menu.htm|1804", "C:\\x.htm"},
        {PathEditMode::OpenFile, "D:\\menu.htm", nullptr, "open|D:\\|menu.htm|1804"},
        {PathEditMode::SaveFile, " \"D:/Program Files/a.js\" ", nullptr, "save|D:\\Program Files|a.js|804"},
        {PathEditMode::OpenFile, "menu.htm", nullptr, "open|-|menu.htm|1804"},
        {PathEditMode::OpenFile, "   ", nullptr, "open|-||1804"},
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
        int result = c.mode == PathEditMode::OpenFile ? control_.BrowseOpenFile()
                   : c.mode == PathEditMode::SaveFile ? control_.BrowseSaveFile() : control_.BrowseFolder();
        EXPECT_EQ(result, c.after ? 0 : 1);
        EXPECT_EQ(g_asked, std::vector<std::string>{c.asked});
        char text[MAX_PATH];
        EXPECT_EQ(control_.GetText(text, sizeof(text)), static_cast<int>(strlen(c.after ? c.after : c.field)));
        EXPECT_STREQ(text, c.after ? c.after : c.field);
        control_.Detach();
    }
}

TEST_F(PathEditTest, ButtonOpensTheDialogOnlyWhenPressedAndReleasedOnIt) {
    const UINT kMessages[] = {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONUP};
    struct Case {
        const char* events;  // message letter (as logged) and place: "mB dB uB"
        size_t dialogs;
        const char* reached;  // what the edit itself saw
    } kCases[] = {
        {"mB dB uB", 1, "mu"},       {"mB dB mT uT", 0, "mmu"}, {"mB dB mT mB uB", 1, "mmmu"},
        {"dT mB uT", 0, "dmu"},      {"cB rB", 0, ""},          {"cT uT rT", 0, "curx"},
    };
    ASSERT_EQ(control_.Attach(edit_, PathEditMode::SaveFile), 0);
    g_choice = nullptr;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.events);
        g_asked.clear();
        g_reached.clear();
        for (const char* e = c.events; e[0] && e[1]; e += e[2] ? 3 : 2) {
            UINT message = kMessages[strchr("mducr", e[0]) - "mducr"];
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

TEST_F(PathEditTest, AttachesOncePerEditStaysSquareAndComesLooseWithTheWindow) {
    EXPECT_EQ(control_.Attach(nullptr, PathEditMode::OpenFile), -3);
    ASSERT_EQ(control_.Attach(edit_, PathEditMode::OpenFile), 0);
    EXPECT_EQ(control_.Attach(edit_, PathEditMode::OpenFile), -4);
    PathEditControl other;
    ASSERT_EQ(other.Attach(MakeEdit(40), PathEditMode::Folder), 0);
    EXPECT_EQ(other.SetFilter(), -2);
    SendMessageA(edit_, WM_LBUTTONDOWN, MK_LBUTTON, At('B'));
    EXPECT_EQ(other.State() & PathEditControl::kPressed, 0u);  // each edit finds its own instance
    SendMessageA(edit_, WM_LBUTTONUP, 0, 0);
    for (int width : {200, 120}) {
        MoveWindow(edit_, 10, 10, width, 24, TRUE);
        RECT client, button = control_.ButtonRect();
        GetClientRect(edit_, &client);
        EXPECT_EQ(std::vector<LONG>({button.left, button.top, button.right, button.bottom, control_.TextRect().right}),
                  std::vector<LONG>({client.right - client.bottom, 0, client.right, client.bottom, button.left}));
        EXPECT_EQ(HIWORD(SendMessageA(edit_, EM_GETMARGINS, 0, 0)), client.bottom);
    }
    DestroyWindow(edit_);
    EXPECT_EQ(control_.Window(), nullptr);
    EXPECT_EQ(control_.Attach(MakeEdit(70), PathEditMode::OpenFile), 0);
}

TEST_F(PathEditTest, DisabledPictureTurnsOpaquePixelsGreyWithHighlightsBelowRight) {
    // Mask '#' opaque; expected G grey, H highlight (now opaque), '.' still transparent.
    const char kMask[] = "##.. ##.. .... ....", kExpected[] = "GG.. GGH. .HH. ....";
    BYTE maskBits[8] = {};  // rows of 16 bits, a set bit transparent
    for (int i = 0; i < 16; ++i)
        if (kMask[i / 4 * 5 + i % 4] != '#') maskBits[i / 4 * 2] |= 0x80 >> (i % 4);
    HDC screen = GetDC(nullptr);
    ICONINFO source = {TRUE, 0, 0, CreateBitmap(4, 4, 1, 1, maskBits), CreateCompatibleBitmap(screen, 4, 4)};
    HICON icon = CreateIconIndirect(&source), disabled = MakeDisabledIcon(icon);
    ICONINFO made = {};
    ASSERT_TRUE(GetIconInfo(disabled, &made));
    HDC colourDc = CreateCompatibleDC(screen), maskDc = CreateCompatibleDC(screen);
    SelectObject(colourDc, made.hbmColor);
    SelectObject(maskDc, made.hbmMask);
    std::string seen;
    for (int i = 0; i < 16; ++i) {
        COLORREF colour = GetPixel(colourDc, i % 4, i / 4);
        seen += GetPixel(maskDc, i % 4, i / 4) ? '.' : colour == GetSysColor(COLOR_GRAYTEXT) ? 'G'
              : colour == GetSysColor(COLOR_BTNHIGHLIGHT) ? 'H' : '?';
        if (i % 4 == 3 && i < 15) seen += ' ';
    }
    EXPECT_EQ(seen, kExpected);
    DeleteDC(colourDc);
    DeleteDC(maskDc);
    for (HBITMAP bitmap : {source.hbmMask, source.hbmColor, made.hbmMask, made.hbmColor}) DeleteObject(bitmap);
    DestroyIcon(icon);
    DestroyIcon(disabled);
    ReleaseDC(nullptr, screen);

    // On screen: the yellow folder while the edit is enabled, none of its yellow when not.
    ASSERT_EQ(control_.Attach(edit_, PathEditMode::OpenFile), 0);
    EXPECT_GT(CountPixels(edit_, control_.ButtonRect(), RGB(255, 255, 0)), 20);
    EnableWindow(edit_, FALSE);
    EXPECT_EQ(CountPixels(edit_, control_.ButtonRect(), RGB(255, 255, 0)), 0);
    EXPECT_GT(CountPixels(edit_, control_.ButtonRect(), GetSysColor(COLOR_GRAYTEXT)), 20);
}

TEST(BitmapFromBmpImageTest, RefusesImagesWhoseFieldsPointOutsideTheirData) {
    struct Case {
        size_t field;    // offset of a 32-bit field set to `value`; 0 leaves the image intact
        uint32_t value;
        size_t length;
        bool made;
    } kCases[] = {
        {0, 0, 222, true},           {0, 0, 221, false},         {0, 0x4D58, 222, false},  // not "BM"
        {10, 119, 222, false},       {14, 209, 222, false},      {18, 17, 222, false},
        {22, 0x80000000, 222, false}, {46, 17, 222, false},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.field * 1000 + c.length);
        std::vector<BYTE> image(kFolderPictureBmp, kFolderPictureBmp + sizeof(kFolderPictureBmp));
        if (c.value) memcpy(&image[c.field], &c.value, c.field ? 4 : 2);
        HBITMAP bitmap = BitmapFromBmpImage(image.data(), c.length);
        BITMAP size = {};
        GetObjectA(bitmap, sizeof(size), &size);
        EXPECT_EQ(size.bmWidth * 100 + size.bmHeight, c.made ? 1313 : 0);
        DeleteObject(bitmap);
    }
}

}  // namespace
