// The path edit control on real edits: what its browse dialogs are asked, how the button
// answers the mouse, its pictures, and the BMP images it refuses.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "controls/path_edit.h"
#include "resources/path_edit_button.h"

namespace {

// What a browse dialog was asked; the fakes answer with `g_choice` (nullptr: cancel).
struct Asked {
    std::string dialog, directory, file;
    DWORD flags;
};
std::vector<Asked> g_asked;
const char* g_choice = nullptr;

BOOL Answer(const char* dialog, LPOPENFILENAMEA request) {
    const char* directory = request->lpstrInitialDir;
    g_asked.push_back({dialog, directory ? directory : "<none>", request->lpstrFile, request->Flags});
    if (g_choice) lstrcpynA(request->lpstrFile, g_choice, request->nMaxFile);
    return g_choice != nullptr;
}
BOOL WINAPI FakeOpen(LPOPENFILENAMEA request) { return Answer("open", request); }
BOOL WINAPI FakeSave(LPOPENFILENAMEA request) { return Answer("save", request); }
LPITEMIDLIST WINAPI FakeFolder(LPBROWSEINFOA request) {
    g_asked.push_back({"folder", reinterpret_cast<const char*>(request->lParam), "", request->ulFlags});
    LPITEMIDLIST item = nullptr;
    if (g_choice && std::string(g_choice) == "<printers>") SHGetSpecialFolderLocation(nullptr, CSIDL_PRINTERS, &item);
    else if (g_choice) item = ILCreateFromPathA(g_choice);
    return item;
}

// The edit's own procedure behind the control logs the mouse messages that reach it.
std::string g_reached;
WNDPROC g_editProc = nullptr;
LRESULT CALLBACK LoggingEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    char tag = message == WM_MOUSEMOVE ? 'm' : message == WM_LBUTTONDOWN ? 'd' : message == WM_LBUTTONUP ? 'u'
             : message == WM_LBUTTONDBLCLK ? 'c' : message == WM_RBUTTONUP ? 'r' : message == WM_CONTEXTMENU ? 'x' : 0;
    if (tag) g_reached += tag;
    if (message == WM_CONTEXTMENU) return 0;  // no menu left open
    return CallWindowProcA(g_editProc, edit, message, wParam, lParam);
}

class PathEditTest : public testing::Test {
protected:
    void SetUp() override {
        g_asked.clear();
        g_choice = nullptr;
        parent_ = CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 100, nullptr, nullptr, nullptr, nullptr);
        edit_ = MakeEdit(10);
        g_editProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LoggingEditProc)));
        control_.dialogs = {FakeOpen, FakeSave, FakeFolder};
    }
    void TearDown() override { DestroyWindow(parent_); }

    HWND MakeEdit(int y) {
        return CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, y, 200, 20, parent_, nullptr,
                               nullptr, nullptr);
    }
    // A point on the button ('B') or in the text ('T').
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
        const char* directory;  // asked as the initial directory, or the folder to preselect
        const char* file;
        int result;
        const char* after;
    } kCases[] = {
        {PathEditMode::OpenFile, "D:\\Scripts\\menu.htm", "C:\\x.htm", "D:\\Scripts", "menu.htm", 0, "C:\\x.htm"},
        {PathEditMode::OpenFile, "D:\\menu.htm", nullptr, "D:\\", "menu.htm", 1, "D:\\menu.htm"},
        {PathEditMode::SaveFile, " \"D:/Program Files/a.js\" ", nullptr, "D:\\Program Files", "a.js", 1, nullptr},
        {PathEditMode::OpenFile, "menu.htm", nullptr, "<none>", "menu.htm", 1, nullptr},
        {PathEditMode::OpenFile, "   ", nullptr, "<none>", "", 1, nullptr},
        // The second byte of 表 is a backslash.
        {PathEditMode::OpenFile, "C:\\表\\a表.htm", nullptr, "C:\\表", "a表.htm", 1, nullptr},
        {PathEditMode::Folder, "C:\\windows\\", "C:\\windows\\system32", "C:\\windows", "", 0, "C:\\windows\\system32"},
        {PathEditMode::Folder, "C:\\表", "<printers>", "C:\\表", "", 1, "C:\\表"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.field);
        ASSERT_EQ(control_.Attach(edit_, c.mode), 0);
        SetWindowTextA(edit_, c.field);
        g_asked.clear();
        g_choice = c.choice;
        int result = c.mode == PathEditMode::OpenFile ? control_.BrowseOpenFile()
                   : c.mode == PathEditMode::SaveFile ? control_.BrowseSaveFile() : control_.BrowseFolder();
        EXPECT_EQ(result, c.result);
        ASSERT_EQ(g_asked.size(), 1u);
        EXPECT_EQ(g_asked[0].directory, c.directory);
        EXPECT_EQ(g_asked[0].file, c.file);
        DWORD flags = c.mode == PathEditMode::OpenFile ? 0x1804 : c.mode == PathEditMode::SaveFile ? 0x804 : 0;
        EXPECT_EQ(g_asked[0].flags, flags);
        char text[MAX_PATH];
        EXPECT_EQ(control_.GetText(text, sizeof(text)), static_cast<int>(strlen(c.after ? c.after : c.field)));
        EXPECT_STREQ(text, c.after ? c.after : c.field);
        control_.Detach();
    }
    char directory[MAX_PATH], name[MAX_PATH];
    EXPECT_EQ(SplitPath("", directory, name, false), -1);
    EXPECT_EQ(SplitPath("\"C:\\dir\\a.js\"", directory, name, true), 4);
    EXPECT_STREQ(directory, "C:\\dir\\");
}

TEST_F(PathEditTest, ButtonOpensTheDialogOnlyWhenPressedAndReleasedOnIt) {
    const UINT kMessages[] = {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONUP};
    const char kTags[] = "mducr";
    struct Case {
        const char* events;  // message tag and place, as "mB dB uB"
        size_t dialogs;
        const char* reached;  // the tags the edit itself saw
    } kCases[] = {
        {"mB dB uB", 1, "mu"},
        {"mB dB mT uT", 0, "mmu"},
        {"mB dB mT mB uB", 1, "mmmu"},
        {"dT mB uT", 0, "dmu"},
        {"cB rB", 0, ""},
        {"cT uT rT", 0, "curx"},
    };
    ASSERT_EQ(control_.Attach(edit_, PathEditMode::SaveFile), 0);
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.events);
        g_asked.clear();
        g_reached.clear();
        for (const char* e = c.events; *e; e += 3) {
            UINT message = kMessages[strchr(kTags, e[0]) - kTags];
            SendMessageA(edit_, message, message == WM_MOUSEMOVE ? 0 : MK_LBUTTON, At(e[1]));
            if (e[0] == 'd') {
                EXPECT_EQ((control_.State() & PathEditControl::kPressed) != 0, e[1] == 'B');
            }
            if (!e[2]) break;
        }
        EXPECT_EQ(g_asked.size(), c.dialogs);
        if (c.dialogs) {
            EXPECT_EQ(g_asked[0].dialog, "save");
        }
        EXPECT_EQ(g_reached, c.reached);
        EXPECT_EQ(control_.State() & ~(PathEditControl::kFocused | PathEditControl::kIconsOwned), 0u);
        EXPECT_EQ(GetCapture(), nullptr);
    }
}

TEST_F(PathEditTest, ResultCodesGeometryAndStateBelongToEachAttachedEdit) {
    char text[8];
    EXPECT_EQ(control_.SetText("x"), -2);
    EXPECT_EQ(control_.GetText(text, sizeof(text)), 0);
    EXPECT_EQ(control_.SetFilter(), -2);
    EXPECT_EQ(control_.Attach(nullptr, PathEditMode::OpenFile), -3);
    EXPECT_EQ(control_.Attach(edit_, static_cast<PathEditMode>(0)), -3);
    ASSERT_EQ(control_.Attach(edit_, PathEditMode::OpenFile), 0);
    EXPECT_EQ(control_.Attach(edit_, PathEditMode::OpenFile), -4);
    EXPECT_EQ(control_.SetFilter("Text\0*.txt\0"), 0);
    EXPECT_EQ(GetPropA(edit_, "CPathEditInst"), &control_);

    PathEditControl folder;
    HWND other = MakeEdit(40);
    ASSERT_EQ(folder.Attach(other, PathEditMode::Folder), 0);
    EXPECT_EQ(folder.SetFilter(), -2);
    SendMessageA(edit_, WM_LBUTTONDOWN, MK_LBUTTON, At('B'));
    EXPECT_TRUE(control_.State() & PathEditControl::kPressed);
    EXPECT_FALSE(folder.State() & PathEditControl::kPressed);
    SendMessageA(edit_, WM_LBUTTONUP, 0, MAKELPARAM(0, 0));

    for (int width : {200, 120}) {
        MoveWindow(edit_, 10, 10, width, 24, TRUE);
        RECT client, button = control_.ButtonRect();
        GetClientRect(edit_, &client);
        EXPECT_EQ(button.right, client.right);
        EXPECT_EQ(button.right - button.left, client.bottom);
        EXPECT_EQ(button.bottom, client.bottom);
        EXPECT_EQ(control_.TextRect().right, button.left);
        EXPECT_EQ(HIWORD(SendMessageA(edit_, EM_GETMARGINS, 0, 0)), client.bottom);
    }

    DestroyWindow(edit_);
    EXPECT_EQ(control_.Window(), nullptr);
    EXPECT_EQ(control_.Attach(MakeEdit(70), PathEditMode::OpenFile), 0);
}

// Pixels of `rect` in `colour`, as `window` shows them.
int CountPixels(HWND window, RECT rect, COLORREF colour) {
    UpdateWindow(window);
    HDC dc = GetDC(window);
    int count = 0;
    for (LONG y = rect.top; y < rect.bottom; ++y)
        for (LONG x = rect.left; x < rect.right; ++x) count += GetPixel(dc, x, y) == colour;
    ReleaseDC(window, dc);
    return count;
}

TEST_F(PathEditTest, DisabledPictureIsEmbossedGreyOpaquePixelsWithHighlightsBelowRight) {
    const COLORREF grey = GetSysColor(COLOR_GRAYTEXT), light = GetSysColor(COLOR_BTNHIGHLIGHT);
    // '#' opaque in the mask; expected: G grey, H highlight (made opaque), '.' still transparent.
    const char* const kCases[][2] = {
        {"#... .#.. ..#. ....", "G... .G.. ..G. ...H"},
        {"##.. ##.. .... ....", "GG.. GGH. .HH. ...."},
    };
    HDC screen = GetDC(nullptr);
    for (const auto& c : kCases) {
        SCOPED_TRACE(c[0]);
        BYTE maskBits[8] = {};  // rows of 16 bits, a set bit transparent
        for (int i = 0; i < 16; ++i)
            if (c[0][i / 4 * 5 + i % 4] != '#') maskBits[i / 4 * 2] |= 0x80 >> (i % 4);
        ICONINFO source = {TRUE, 0, 0, CreateBitmap(4, 4, 1, 1, maskBits), CreateCompatibleBitmap(screen, 4, 4)};
        HICON icon = CreateIconIndirect(&source);
        HICON disabled = MakeDisabledIcon(icon);
        ICONINFO made = {};
        ASSERT_TRUE(GetIconInfo(disabled, &made));
        HDC colourDc = CreateCompatibleDC(screen), maskDc = CreateCompatibleDC(screen);
        HGDIOBJ oldColour = SelectObject(colourDc, made.hbmColor), oldMask = SelectObject(maskDc, made.hbmMask);
        for (int i = 0; i < 16; ++i) {
            const int x = i % 4, y = i / 4;
            const char want = c[1][y * 5 + x];
            EXPECT_EQ(GetPixel(maskDc, x, y), want == '.' ? RGB(255, 255, 255) : RGB(0, 0, 0)) << x << "," << y;
            if (want != '.') {
                EXPECT_EQ(GetPixel(colourDc, x, y), want == 'G' ? grey : light) << x << "," << y;
            }
        }
        SelectObject(colourDc, oldColour);
        SelectObject(maskDc, oldMask);
        DeleteDC(colourDc);
        DeleteDC(maskDc);
        for (HBITMAP bitmap : {source.hbmMask, source.hbmColor, made.hbmMask, made.hbmColor}) DeleteObject(bitmap);
        DestroyIcon(icon);
        DestroyIcon(disabled);
    }
    ReleaseDC(nullptr, screen);

    // The button shows the yellow folder while the edit is enabled, only grey when it is not.
    ASSERT_EQ(control_.Attach(edit_, PathEditMode::OpenFile), 0);
    ASSERT_NE(control_.DisabledIcon(), nullptr);
    EXPECT_GT(CountPixels(edit_, control_.ButtonRect(), RGB(255, 255, 0)), 20);
    EnableWindow(edit_, FALSE);
    InvalidateRect(edit_, nullptr, TRUE);
    EXPECT_EQ(CountPixels(edit_, control_.ButtonRect(), RGB(255, 255, 0)), 0);
    EXPECT_GT(CountPixels(edit_, control_.ButtonRect(), grey), 20);
}

TEST(BitmapFromBmpImageTest, RefusesImagesWhoseFieldsPointOutsideTheirData) {
    struct Case {
        const char* what;
        size_t offset;  // of a 32-bit field set to `value`; 0 leaves the image intact
        uint32_t value;
        size_t length;
        bool made;
    } kCases[] = {
        {"intact", 0, 0, 222, true},
        {"shorter than its size field", 0, 0, 221, false},
        {"no BM", 0, 0x4D58, 222, false},
        {"size field beyond the data", 2, 300, 222, false},
        {"pixels past the end", 10, 119, 222, false},
        {"bits offset past the end", 10, 0xFFFFFFF0, 222, false},
        {"info header past the end", 14, 209, 222, false},
        {"wider than the rows", 18, 17, 222, false},
        {"taller than the rows", 22, 14, 222, false},
        {"huge top-down", 22, 0x80000000, 222, false},
        {"more colours than the bits allow", 46, 17, 222, false},
        {"no bit count, no compressed data", 28, 0x00000000 | (1 << 16), 222, false},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        std::vector<BYTE> image(kFolderPictureBmp, kFolderPictureBmp + sizeof(kFolderPictureBmp));
        image.resize(c.length);
        if (c.value) memcpy(&image[c.offset], &c.value, c.offset == 0 ? 2 : 4);
        HBITMAP bitmap = BitmapFromBmpImage(image.data(), c.length);
        EXPECT_EQ(bitmap != nullptr, c.made);
        BITMAP size = {};
        GetObjectA(bitmap, sizeof(size), &size);
        EXPECT_EQ(size.bmWidth * 100 + size.bmHeight, c.made ? 1313 : 0);
        DeleteObject(bitmap);
    }
    EXPECT_EQ(BitmapFromBmpImage(nullptr, 222), nullptr);
    HBITMAP mask = BitmapFromBmpImage(kFolderMaskBmp, sizeof(kFolderMaskBmp));
    BITMAP size = {};
    ASSERT_TRUE(GetObjectA(mask, sizeof(size), &size));
    EXPECT_EQ(size.bmBitsPixel, 1);
    DeleteObject(mask);
}

}  // namespace
