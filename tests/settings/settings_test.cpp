// The settings store, window helpers and disabled-entry store on real windows, files and dialogs.
#include <windows.h>
#include <dlgs.h>

#include <cstring>

#include "core/disabled_store.h"
#include "settings/settings_store.h"
#include "settings/window_utils.h"
#include "tests/support/entry_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

using Ints = std::vector<int>;

std::string Bytes(const std::string& path) { std::string bytes; TempDir::ReadFile(path, &bytes); return bytes; }

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
    Ints Placement() { Ints p(6, 7); store_.LoadWindowPlacement(p.data(), &p[4], &p[5]); return p; }
    TempDir dir_;
    std::string path_ = dir_.File(kIniFileName);
    SettingsStore store_;
};

// Two users share one file, each writing only sections of their own (named in Shift_JIS).
TEST_F(SettingsStoreTest, FileBytesAfterTheWritesOfTwoUsers) {
    const int placement[4] = {-8, 20, 640, 480}, widths[4] = {200, 100, 45, 300}, order[4] = {3, 0, 1, 2};
    EXPECT_EQ(store_.WriteWindowPlacement(placement, SW_SHOWMAXIMIZED, 5), 1);
    EXPECT_EQ(store_.SaveColumnWidths(widths, 4), 1);
    EXPECT_EQ(store_.SaveColumnOrder(order, 4), 1);
    EXPECT_EQ(store_.SaveDisabledPositions(order, 3), 1);
    const std::string alice =
        "[Alice/Main]\r\nWindowLeft=-8\r\nWindowTop=20\r\nWindowWidth=640\r\nWindowHeight=480\r\nShowWindow=3\r\n"
        "TopMost=1\r\nColWidth0=200\r\nColWidth1=100\r\nColWidth2=45\r\nColWidth3=300\r\nColOrder=3,0,1,2\r\n"
        "[Alice/List]\r\nDisableItemPos=3,0,1\r\n";
    EXPECT_EQ(Bytes(path_), alice);
    strcpy(store_.userName, "山田");
    EXPECT_EQ(store_.ReadInt(kMainSection, "ColWidth0", -5), -5);
    EXPECT_EQ(store_.WriteInt(kListSection, "DisSlash", -1), 1);
    EXPECT_EQ(Bytes(path_), alice + "[\x8e\x52\x93\x63/List]\r\nDisSlash=-1\r\n");
}

TEST_F(SettingsStoreTest, ReadsDefaultsWithoutAFileAndNumberListsAsStoredByHand) {
    Ints widths(5);
    EXPECT_EQ(Placement(), (Ints{kNotStored, kNotStored, kNotStored, kNotStored, SW_SHOWDEFAULT, 0}));
    store_.LoadColumnWidths(widths.data(), 5);  // a fifth column takes the fourth one's default
    EXPECT_EQ(widths, (Ints{180, 120, 40, 320, 320}));
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
    RegisterClassA(&tray);  // stand-ins are topmost and newest: found before any taskbar the system keeps
    struct { RECT bar; int show; DWORD exStyle; Ints stored; } cases[] = {  // stored: placement, show, topmost
        {{0, 0, 1280, 30}, SW_SHOWNORMAL, 0, {10, 70, 400, 300, 1, 0}},
        {{0, 0, 60, 1024}, SW_SHOWNORMAL, 0, {70, 40, 400, 300, 1, 0}},
        {{0, 994, 1280, 1024}, SW_SHOWNORMAL, 0, {10, 40, 400, 300, 1, 0}},
        {{1220, 0, 1280, 1024}, SW_SHOWNORMAL, 0, {10, 40, 400, 300, 1, 0}},
        {{}, SW_MINIMIZE, 0, {10, 40, 400, 300, 1, 0}},
        {{}, SW_MAXIMIZE, WS_EX_TOPMOST, {10, 40, 400, 300, 3, 1}}};
    for (const auto& c : cases) {
        HWND taskbar = IsRectEmpty(&c.bar) ? nullptr : MakeWindow("Shell_TrayWnd", c.bar, WS_POPUP | WS_VISIBLE,
                                                                  WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
        HWND window = MakeWindow("STATIC", {10, 40, 410, 340}, WS_OVERLAPPEDWINDOW | WS_VISIBLE, c.exStyle);
        ShowWindow(window, c.show);
        EXPECT_EQ(store_.SaveWindowPlacement(window), 1);
        EXPECT_EQ(Placement(), c.stored) << "taskbar " << c.bar.left << "," << c.bar.top << " show " << c.show;
        DestroyWindow(window);
        DestroyWindow(taskbar);
    }
}

// A second monitor left of the primary one (Wine has one screen), its taskbar along the bottom.
const RECT kLeftMonitor = {-1280, 0, 0, 1024};
HMONITOR WINAPI StubFromRect(LPCRECT rect, DWORD) {
    RECT common;
    return IntersectRect(&common, rect, &kLeftMonitor) ? reinterpret_cast<HMONITOR>(2) : nullptr;
}
HMONITOR WINAPI StubFromWindow(HWND window, DWORD flags) {
    RECT r;
    GetWindowRect(window, &r);
    return StubFromRect(&r, flags);
}
BOOL WINAPI StubGetInfo(HMONITOR, LPMONITORINFO info) { return SetRect(&info->rcWork, -1280, 0, 0, 994); }

TEST(CenterWindowTest, CentresOverTheOwnerAndStaysInItsMonitorsWorkArea) {
    const MonitorFunctions left = {StubFromWindow, StubFromRect, StubGetInfo}, none = {};
    RECT w, desk;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &w, 0);
    GetWindowRect(GetDesktopWindow(), &desk);
    struct { const MonitorFunctions* monitors; RECT owner; SIZE size; POINT at; } cases[] = {  // no owner: the desktop
        {nullptr, {w.left + 300, w.top + 200, w.left + 501, w.top + 301}, {100, 50}, {w.left + 350, w.top + 225}},
        {nullptr, {w.left - 300, w.top - 280, w.left - 100, w.top - 80}, {400, 300}, {w.left, w.top}},
        {nullptr, {w.right - 100, w.bottom - 100, w.right + 100, w.bottom + 100}, {400, 300}, {w.right - 400, w.bottom - 300}},
        {nullptr, {}, {300, 200}, {(desk.left + desk.right - 300) / 2, (desk.top + desk.bottom - 200) / 2}},
        {nullptr, {}, {w.right - w.left + 200, 100}, {w.left, (desk.top + desk.bottom - 100) / 2}},  // too wide: left wins
        {&left, {-250, 300, -50, 400}, {400, 300}, {-400, 200}}, {&left, {-1300, 800, -1100, 900}, {400, 300}, {-1280, 694}},
        {&none, {-250, 300, -50, 400}, {400, 300}, {w.left, 200}}};
    for (const auto& c : cases) {
        UseMonitorFunctions(c.monitors);
        HWND owner = IsRectEmpty(&c.owner) ? nullptr : MakeWindow("STATIC", c.owner);
        HWND window = MakeWindow("STATIC", {0, 0, c.size.cx, c.size.cy});
        CenterWindow(window, owner);
        RECT r;
        GetWindowRect(window, &r);
        EXPECT_EQ((Ints{r.left, r.top, r.right - r.left}), (Ints{c.at.x, c.at.y, c.size.cx})) << c.owner.left;
        DestroyWindow(window);
        DestroyWindow(owner);
    }
    UseMonitorFunctions(&left);  // a pixel of its work area will do; its taskbar will not
    EXPECT_EQ((Ints{MeetsAnyWorkArea({-1281, 993, -1279, 995}), MeetsAnyWorkArea({-700, 994, 0, 1400}),
                    MeetsAnyWorkArea({-1980, 0, -1280, 500})}), (Ints{1, 0, 0}));
    UseMonitorFunctions(&none);  // the virtual screen
    LONG right = GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    EXPECT_EQ((Ints{MeetsAnyWorkArea({right - 1, 0, 3000, 500}), MeetsAnyWorkArea({right, 0, 3000, 500})}),
              (Ints{1, 0}));
    UseMonitorFunctions(nullptr);
}

std::string windowsDirectory;  // what the stand-in reports, the way GetWindowsDirectoryA does
UINT WINAPI StubWindowsDirectory(LPSTR buffer, UINT size) {
    UINT length = static_cast<UINT>(windowsDirectory.size());
    if (length < size) memcpy(buffer, windowsDirectory.c_str(), length + 1);
    return length < size ? length : length + 1;
}

TEST(HelpViewerPathTest, TheDirectoryAndNameFitIn260BytesOrNothingIsWritten) {
    struct { size_t length; bool fits; } cases[] = {  // 246 + "\winhlp32.exe" + terminator = 260
        {0, false}, {10, true}, {246, true}, {247, false}, {259, false}, {300, false}};
    for (const auto& c : cases) {
        windowsDirectory = c.length ? "C:\\" + std::string(c.length - 3, 'W') : "";
        char path[MAX_PATH + 8];
        memset(path, 'x', sizeof(path));
        EXPECT_EQ(HelpViewerPath(path, StubWindowsDirectory), c.fits ? 1 : 0) << c.length;
        EXPECT_EQ(std::string(path, strnlen(path, sizeof(path))) + std::string(path + MAX_PATH, 8),
                  (c.fits ? windowsDirectory + "\\winhlp32.exe" : "") + "xxxxxxxx") << c.length;
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

// Answers the next file dialog once it shows: picks filter g_filter (0 keeps its own) and
// confirms g_name, or cancels (g_filter -1).
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

TEST(FilePromptTest, CancelGivesMinusOneElseTheFilterSelectedAtConfirmation) {
    TempDir dir;
    const std::string existing = dir.File("menu.reg"), fresh = dir.File("exported.csv");
    ASSERT_TRUE(TempDir::WriteFile(existing, "REGEDIT4\r\n"));
    const struct { bool save; int initial, filter; std::string name, result; } cases[] = {
        {false, kCsvFilterIndex, -1, existing, "-1|"}, {false, kRegFilterIndex, 0, existing, "2|" + existing},
        {true, kCsvFilterIndex, kRegFilterIndex, fresh, "2|" + fresh}};
    for (const auto& c : cases) {
        char buffer[MAX_PATH] = "left over";
        g_filter = c.filter;
        g_name = c.name;
        UINT_PTR timer = SetTimer(nullptr, 0, 50, AnswerDialog);
        int result = (c.save ? PromptSaveFile : PromptOpenFile)(nullptr, buffer, kFileFilter, c.initial);
        KillTimer(nullptr, timer);
        EXPECT_EQ(std::to_string(result) + "|" + buffer, c.result);
    }
}

// Disable.dat and DisableItemPos; a restart is a list refilled with the enabled entries only.
class DisabledStoreTest : public EntryListTest {
protected:
    void SetUp() override {
        settings_.SetIniPath(dir_.File(kIniFileName).c_str());
        strcpy(settings_.userName, "Alice");
    }
    int Save() { return SaveDisabled(list_, settings_, path_.c_str()); }
    int Restart(const char* enabled, int noSavePos = 0, int* duplicates = nullptr) {
        list_.Clear();
        Fill(enabled);
        return RestoreDisabled(list_, settings_, path_.c_str(), noSavePos, duplicates);
    }
    TempDir dir_;
    SettingsStore settings_;
    std::string path_ = dir_.File(kDisabledFileName);
};

// Saved from "P+ Q- R+ S-" (Q at 1, S at 3), then restored into a list of enabled entries:
// at their places, or at the end in file order with DisNoSavePos, without positions, or with
// positions past the end or negative; a name the list holds in any case is counted, not added.
TEST_F(DisabledStoreTest, DisabledEntriesComeBackAtTheirPlacesOrAtTheEnd) {
    const struct { const char* positions; int noSavePos; const char* enabled; const char* names; int duplicates; } cases[] = {
        {nullptr, 0, "P R", "P+ Q- R+ S-", 0}, {nullptr, 1, "P R", "P+ R+ Q- S-", 0}, {"", 0, "P R", "P+ R+ Q- S-", 0},
        {"9,1", 0, "A B s", "A+ B+ s+ Q-", 1}, {"-4,1", 0, "A B", "A+ S- B+ Q-", 0}};
    for (const auto& c : cases) {
        list_.Clear();
        Fill("P+ Q- R+ S-");
        EXPECT_EQ(Save(), 1);
        EXPECT_NE(Bytes(settings_.iniPath).find("DisableItemPos=1,3\r\n"), std::string::npos);
        if (c.positions) WritePrivateProfileStringA("Alice/List", "DisableItemPos", *c.positions ? c.positions : nullptr,
                                                    settings_.iniPath);
        int duplicates = -1;
        EXPECT_EQ(Restart(c.enabled, c.noSavePos, &duplicates), 2 - c.duplicates) << c.names;
        EXPECT_EQ(duplicates, c.duplicates) << c.names;
        std::string shown;
        MenuExtEntry e;
        for (int i = 0; list_.GetEntryAt(i, &e); ++i) shown += (i ? " " : "") + std::string(e.name) + "-+"[e.enabled];
        EXPECT_EQ(shown, c.names);
    }
}

// Disable.dat is the only copy of the disabled entries: a save that cannot finish keeps the
// previous file byte for byte and the positions that belong to it.
TEST_F(DisabledStoreTest, AFailedSaveKeepsThePreviousFile) {
    Fill("P+ Q- R+ S-");
    ASSERT_EQ(Save(), 1);
    const std::string before = Bytes(path_);
    list_.SetEnabled(0, false);
    const std::string pending = path_ + ".tmp";
    ASSERT_TRUE(CreateDirectoryA(pending.c_str(), nullptr));  // the new file cannot be written
    EXPECT_EQ(Save(), 0);
    RemoveDirectoryA(pending.c_str());
    HANDLE held = CreateFileA(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(Save(), 0);  // the new file cannot take the old one's place
    CloseHandle(held);
    EXPECT_EQ(Bytes(path_), before);
    EXPECT_EQ(GetFileAttributesA(pending.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(settings_.CountDisabledPositions(), 2);  // those of the file kept
}

// DisableItemPos holds 255 characters: positions that do not fit are left out whole, and their
// entries come back at the end.
TEST_F(DisabledStoreTest, PositionsBeyondTheTextLimitAppendTheirEntries) {
    std::string all, enabled, expected, appended;
    for (int i = 0; i < 200; ++i) {
        const std::string name = "E" + std::to_string(1000 + i);
        all += name + (i % 2 ? "- " : "+ ");
        if (i % 2 == 0) enabled += name + " ";
        (i % 2 && i > 153 ? appended : expected) += name + " ";
    }
    Fill(all.c_str());
    list_.SetEnabled(10, false);  // 1,3,5,7,9,10,11,13,...,153 take all 255
    ASSERT_EQ(Save(), 1);
    EXPECT_EQ(settings_.CountDisabledPositions(), 78);
    list_.SetEnabled(10, true);  // 1,3,...,153 take 252, and 155 would need 256
    ASSERT_EQ(Save(), 1);
    EXPECT_EQ(Restart(enabled.c_str()), 100);
    EXPECT_EQ(Names() + " ", expected + appended);
}

}  // namespace
