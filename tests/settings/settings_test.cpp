// The settings store and the window helpers on real windows, files and common dialogs.
#include <windows.h>
#include <dlgs.h>

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "settings/settings_store.h"
#include "settings/window_utils.h"
#include "tests/support/temp_dir.h"

namespace {

using Ints = std::vector<int>;

HWND MakeWindow(const char* className, RECT r, DWORD style = WS_POPUP, DWORD exStyle = 0) {
    return CreateWindowExA(exStyle, className, "", style, r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

class SettingsStoreTest : public testing::Test {
protected:
    void SetUp() override {
        store_.SetIniPath(path_.c_str());
        strcpy(store_.userName, "Alice");
    }
    std::string FileBytes() const { std::string bytes; TempDir::ReadFile(path_, &bytes); return bytes; }

    TempDir dir_;
    std::string path_ = dir_.File(kIniFileName);
    SettingsStore store_;
};

TEST_F(SettingsStoreTest, WithoutFileEveryReadGivesItsDefault) {
    Ints placement(6, 7), widths(5);
    store_.LoadWindowPlacement(placement.data(), &placement[4], &placement[5]);
    EXPECT_EQ(placement, (Ints{kNotStored, kNotStored, kNotStored, kNotStored, SW_SHOWDEFAULT, 0}));
    store_.LoadColumnWidths(widths.data(), 5);  // a fifth column takes the fourth one's default
    EXPECT_EQ(widths, (Ints{180, 120, 40, 320, 320}));
}

// Two users share one file, each writing only sections of their own (named in Shift_JIS).
TEST_F(SettingsStoreTest, FileBytesAfterTheWritesOfTwoUsers) {
    const int placement[4] = {-8, 20, 640, 480}, widths[4] = {200, 100, 45, 300}, theirs[4] = {50, 60, 70, 80};
    const int order[4] = {3, 0, 1, 2}, positions[3] = {2, 5, 9};
    EXPECT_EQ(store_.WriteWindowPlacement(placement, SW_SHOWMAXIMIZED, 5), 1);
    EXPECT_EQ(store_.SaveColumnWidths(widths, 4), 1);
    EXPECT_EQ(store_.SaveColumnOrder(order, 4), 1);
    EXPECT_EQ(store_.SaveDisabledPositions(positions, 3), 1);
    const std::string alice =
        "[Alice/Main]\r\nWindowLeft=-8\r\nWindowTop=20\r\nWindowWidth=640\r\nWindowHeight=480\r\nShowWindow=3\r\n"
        "TopMost=1\r\nColWidth0=200\r\nColWidth1=100\r\nColWidth2=45\r\nColWidth3=300\r\nColOrder=3,0,1,2\r\n"
        "[Alice/List]\r\nDisableItemPos=2,5,9\r\n";
    EXPECT_EQ(FileBytes(), alice);

    SettingsStore yamada;
    yamada.SetIniPath(path_.c_str());
    strcpy(yamada.userName, "山田");
    EXPECT_EQ(yamada.ReadInt(kMainSection, "ColWidth0", -5), -5);
    yamada.WriteWindowPlacement(theirs, SW_SHOWNORMAL, 0);
    yamada.WriteInt(kListSection, "DisSlash", -1);
    EXPECT_EQ(FileBytes(), alice + "[\x8e\x52\x93\x63/Main]\r\nWindowLeft=50\r\nWindowTop=60\r\nWindowWidth=70\r\n"
                                   "WindowHeight=80\r\nShowWindow=1\r\nTopMost=0\r\n[\x8e\x52\x93\x63/List]\r\nDisSlash=-1\r\n");
}

TEST_F(SettingsStoreTest, NumberListsAsStoredByHand) {
    struct { const char* stored; Ints order; } cases[] = {
        {"3,2,1,0", {3, 2, 1, 0}}, {"1,2", {0, 1, 2, 3}}, {"2,0,1,3,9", {2, 0, 1, 3}},
        {",3,,2,1,0,", {3, 2, 1, 0}}, {" -1,x,+2,3", {-1, 0, 2, 3}}};
    for (const auto& c : cases) {
        TempDir::WriteFile(path_, std::string("[Alice/Main]\r\nColOrder=") + c.stored + "\r\n");
        Ints order(4);
        store_.LoadColumnOrder(order.data(), 4);
        EXPECT_EQ(order, c.order) << c.stored;
    }
    TempDir::WriteFile(path_, "[Alice/List]\r\nDisableItemPos=3,,7\r\n");
    EXPECT_EQ(store_.CountDisabledPositions(), 2);
    Ints positions(4, 99);
    store_.LoadDisabledPositions(positions.data(), 4);
    EXPECT_EQ(positions, (Ints{3, 7, -1, -1}));
}

// The normal rectangle is measured from the work area, which a stand-in taskbar does not move.
TEST_F(SettingsStoreTest, SavedPlacementFollowsTheTaskbarEdgeAndShowState) {
    WNDCLASSA tray = {0, DefWindowProcA, 0, 0, GetModuleHandleA(nullptr), 0, 0, 0, 0, "Shell_TrayWnd"};
    RegisterClassA(&tray);
    struct { RECT bar; int show; DWORD exStyle; Ints stored; } cases[] = {  // stored: placement, show, topmost
        {{0, 0, 1280, 30}, SW_SHOWNORMAL, 0, {10, 70, 400, 300, 1, 0}},
        {{0, 0, 60, 1024}, SW_SHOWNORMAL, 0, {70, 40, 400, 300, 1, 0}},
        {{0, 994, 1280, 1024}, SW_SHOWNORMAL, 0, {10, 40, 400, 300, 1, 0}},
        {{1220, 0, 1280, 1024}, SW_SHOWNORMAL, 0, {10, 40, 400, 300, 1, 0}},
        {{}, SW_MINIMIZE, 0, {10, 40, 400, 300, 1, 0}},
        {{}, SW_MAXIMIZE, WS_EX_TOPMOST, {10, 40, 400, 300, 3, 1}}};
    for (const auto& c : cases) {
        // Topmost and newest, so it is found ahead of any tray window the system keeps.
        HWND taskbar = IsRectEmpty(&c.bar) ? nullptr : MakeWindow("Shell_TrayWnd", c.bar, WS_POPUP | WS_VISIBLE,
                                                                  WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
        HWND window = MakeWindow("STATIC", {10, 40, 410, 340}, WS_OVERLAPPEDWINDOW | WS_VISIBLE, c.exStyle);
        ShowWindow(window, c.show);
        EXPECT_EQ(store_.SaveWindowPlacement(window), 1);
        Ints stored(6);
        store_.LoadWindowPlacement(stored.data(), &stored[4], &stored[5]);
        EXPECT_EQ(stored, c.stored) << "taskbar " << c.bar.left << "," << c.bar.top << " show " << c.show;
        DestroyWindow(window);
        DestroyWindow(taskbar);
    }
}

TEST(CenterWindowTest, CentresOverTheOwnerAndClampsToTheWorkArea) {
    RECT w, desk;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &w, 0);
    GetWindowRect(GetDesktopWindow(), &desk);
    struct { RECT owner; SIZE size; POINT expected; } cases[] = {  // no owner: the desktop's centre
        {{w.left + 300, w.top + 200, w.left + 501, w.top + 301}, {100, 50}, {w.left + 350, w.top + 225}},
        {{w.left - 300, w.top - 280, w.left - 100, w.top - 80}, {400, 300}, {w.left, w.top}},
        {{w.right - 100, w.bottom - 100, w.right + 100, w.bottom + 100}, {400, 300}, {w.right - 400, w.bottom - 300}},
        {{}, {300, 200}, {(desk.left + desk.right - 300) / 2, (desk.top + desk.bottom - 200) / 2}},
        // Larger than the work area: the left edge wins and the rest hangs out.
        {{}, {w.right - w.left + 200, 100}, {w.left, (desk.top + desk.bottom - 100) / 2}}};
    for (const auto& c : cases) {
        HWND owner = IsRectEmpty(&c.owner) ? nullptr : MakeWindow("STATIC", c.owner);
        HWND window = MakeWindow("STATIC", {0, 0, c.size.cx, c.size.cy});
        CenterWindow(window, owner);
        RECT r;
        GetWindowRect(window, &r);
        EXPECT_EQ((Ints{r.left, r.top, r.right - r.left}), (Ints{c.expected.x, c.expected.y, c.size.cx}))
            << "owner left " << c.owner.left;
        DestroyWindow(window);
        DestroyWindow(owner);
    }
}

// The system may give paths, the executable's among them, in short (8.3) names.
TEST(LongPathTest, ShortNamesBecomeLong) {
    TempDir dir;
    char buffer[MAX_PATH], shortFile[MAX_PATH] = "";
    ASSERT_GT(GetLongPathNameA(dir.Path().c_str(), buffer, sizeof(buffer)), 0u);
    const std::string folder = std::string(buffer) + "Quorvil Long Folder", file = folder + "\\Quorvil Program.exe";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr) && TempDir::WriteFile(file, "MZ"));
    GetShortPathNameA(file.c_str(), shortFile, sizeof(shortFile));
    ASSERT_EQ(strchr(shortFile, ' '), nullptr) << "no short name for " << file;
    const int length = static_cast<int>(file.size());
    memset(buffer, '#', sizeof(buffer));
    EXPECT_EQ(GetLongPathForm(shortFile, buffer, length), length + 1);
    EXPECT_EQ(std::string(buffer, sizeof(buffer)), std::string(sizeof(buffer), '#'));
    EXPECT_EQ(DirectoryOfModulePath(shortFile, buffer, 1), static_cast<int>(folder.size() + 1));
    EXPECT_EQ(buffer, folder + "\\");
    // An unparsable path is cut at its last separator, not at the second byte of 表 (0x5C).
    const std::string gone = dir.Path() + "消えた表";
    EXPECT_EQ(DirectoryOfModulePath((gone + "\\表.exe").c_str(), buffer, 0), static_cast<int>(gone.size()));
    EXPECT_EQ(buffer, gone);
    ASSERT_GT(GetModuleDirectory(buffer, 1), 0);
    EXPECT_EQ(GetFileAttributesA(buffer), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY)) << buffer;
}

// Answers the next file dialog: picks the filter (0 keeps the dialog's own), types the name
// and confirms, or cancels when the filter is -1.
int g_filter;
std::string g_name;

void CALLBACK AnswerDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = FindWindowA("#32770", nullptr);
    if (!dialog || !IsWindowVisible(dialog)) return;
    KillTimer(nullptr, timer);
    if (g_filter > 0) {  // as a choice with the mouse: the change, then its confirmation
        SendDlgItemMessageA(dialog, cmb1, CB_SETCURSEL, g_filter - 1, 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELCHANGE), 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELENDOK), 0);
    }
    SetDlgItemTextA(dialog, GetDlgItem(dialog, edt1) ? edt1 : cmb13, g_name.c_str());
    SendMessageA(dialog, WM_COMMAND, g_filter < 0 ? IDCANCEL : IDOK, 0);
}

int Answer(int (*prompt)(HWND, char*, const char*, int), int initial, int filter, const std::string& name,
           char* buffer) {
    g_filter = filter;
    g_name = name;
    strcpy(buffer, "left over");
    UINT_PTR timer = SetTimer(nullptr, 0, 50, AnswerDialog);
    int result = prompt(nullptr, buffer, kFileFilter, initial);
    KillTimer(nullptr, timer);
    return result;
}

TEST(FilePromptTest, CancelGivesMinusOneElseTheFilterSelectedAtConfirmation) {
    TempDir dir;
    const std::string existing = dir.File("menu.reg"), fresh = dir.File("exported.csv");
    ASSERT_TRUE(TempDir::WriteFile(existing, "REGEDIT4\r\n"));
    char buffer[MAX_PATH];
    EXPECT_EQ(Answer(PromptOpenFile, kCsvFilterIndex, -1, existing, buffer), -1);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(Answer(PromptOpenFile, kRegFilterIndex, 0, existing, buffer), kRegFilterIndex);
    EXPECT_EQ(buffer, existing);
    EXPECT_EQ(Answer(PromptSaveFile, kCsvFilterIndex, kRegFilterIndex, fresh, buffer), kRegFilterIndex);
    EXPECT_EQ(buffer, fresh);
}

}  // namespace
