// The window and shell utilities on real windows and monitors made up.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "shell/window_utils.h"

namespace {

using Ints = std::vector<int>;

HWND Popup(RECT r) {
    return CreateWindowExA(0, "STATIC", "", WS_POPUP, r.left, r.top, r.right - r.left, r.bottom - r.top, 0, 0, 0, 0);
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
    RECT w;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &w, 0);
    // Every dialog of the program has an owner.
    struct { const MonitorFunctions* monitors; RECT owner; SIZE size; POINT at; } cases[] = {
        {nullptr, {w.left + 300, w.top + 200, w.left + 501, w.top + 301}, {100, 50}, {w.left + 350, w.top + 225}},
        {nullptr, {w.left - 300, w.top - 280, w.left - 100, w.top - 80}, {400, 300}, {w.left, w.top}},
        {nullptr, {w.right - 100, w.bottom - 100, w.right + 100, w.bottom + 100}, {400, 300}, {w.right - 400, w.bottom - 300}},
        // Too wide for the work area on both sides: its left edge wins.
        {nullptr, {w.left + 300, w.top + 200, w.left + 501, w.top + 301}, {3 * (w.right - w.left), 101}, {w.left, w.top + 200}},
        {&left, {-250, 300, -50, 400}, {400, 300}, {-400, 200}}, {&left, {-1300, 800, -1100, 900}, {400, 300}, {-1280, 694}},
        {&none, {-250, 300, -50, 400}, {400, 300}, {w.left, 200}}};
    for (const auto& c : cases) {
        UseMonitorFunctions(c.monitors);
        HWND owner = Popup(c.owner), window = Popup({0, 0, c.size.cx, c.size.cy});
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
        char path[MAX_PATH] = "left over";
        EXPECT_EQ(HelpViewerPath(path, StubWindowsDirectory), c.fits ? 1 : 0) << c.length;
        EXPECT_EQ(path, c.fits ? windowsDirectory + "\\winhlp32.exe" : "") << c.length;
    }
}

// A path the system cannot make long is cut at its last separator, not at the second byte of 表
// (0x5C).
TEST(ModuleFolderTest, APathThatCannotBeMadeLongIsCutAtItsLastSeparator) {
    const std::string gone = "C:\\消えた表\\表";
    char buffer[MAX_PATH];
    EXPECT_EQ(DirectoryOfModulePath((gone + "\\表.exe").c_str(), buffer, 0), static_cast<int>(gone.size()));
    EXPECT_EQ(buffer, gone);
}

}  // namespace
