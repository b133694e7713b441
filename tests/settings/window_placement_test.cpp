// SaveWindowPlacement on real windows, with a stand-in taskbar window of class "Shell_TrayWnd".
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "settings/settings_store.h"
#include "tests/support/temp_dir.h"

namespace {

HWND MakeTaskbar(const RECT& r) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "Shell_TrayWnd";
        registered = RegisterClassA(&wc) != 0;
    }
    // Topmost and newest, so it is found ahead of any tray window the system keeps.
    return CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "Shell_TrayWnd", "", WS_POPUP | WS_VISIBLE, r.left,
                           r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr, GetModuleHandleA(nullptr),
                           nullptr);
}

// The window's normal rectangle is given in work-area coordinates; with the stand-in taskbar
// the work area does not move, so they equal screen coordinates here.
TEST(SaveWindowPlacementTest, TaskbarEdgeAndShowState) {
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    ASSERT_EQ(work.left, 0);
    ASSERT_EQ(work.top, 0);
    struct Case {
        RECT bar;  // empty: no stand-in taskbar
        POINT at;
        int show;
        DWORD exStyle;
        std::vector<int> stored;  // left, top, width, height, ShowWindow, TopMost
    } cases[] = {
        {{0, 0, 1280, 30}, {0, 0}, SW_SHOWNORMAL, 0, {0, 30, 400, 300, 1, 0}},
        {{0, 0, 60, 1024}, {10, 40}, SW_SHOWNORMAL, 0, {70, 40, 400, 300, 1, 0}},
        {{0, 994, 1280, 1024}, {10, 40}, SW_SHOWNORMAL, 0, {10, 40, 400, 300, 1, 0}},
        {{1220, 0, 1280, 1024}, {10, 40}, SW_SHOWNORMAL, 0, {10, 40, 400, 300, 1, 0}},
        {{}, {20, 30}, SW_MINIMIZE, 0, {20, 30, 400, 300, 1, 0}},
        {{}, {20, 30}, SW_MAXIMIZE, WS_EX_TOPMOST, {20, 30, 400, 300, 3, 1}},
    };
    for (const Case& c : cases) {
        TempDir dir;
        SettingsStore store;
        store.SetIniPath(dir.File(kIniFileName).c_str());
        HWND taskbar = IsRectEmpty(&c.bar) ? nullptr : MakeTaskbar(c.bar);
        HWND window = CreateWindowExA(c.exStyle, "STATIC", "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, c.at.x, c.at.y,
                                      400, 300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ShowWindow(window, c.show);
        EXPECT_EQ(store.SaveWindowPlacement(window), 1);
        std::vector<int> stored(6);
        store.LoadWindowPlacement(stored.data(), &stored[4], &stored[5]);
        EXPECT_EQ(stored, c.stored) << "taskbar " << c.bar.left << "," << c.bar.top << " show " << c.show;
        DestroyWindow(window);
        if (taskbar) DestroyWindow(taskbar);
    }
}

}  // namespace
