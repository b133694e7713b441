// SaveWindowPlacement on real windows, with a stand-in taskbar window of class "Shell_TrayWnd".
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "settings/settings_store.h"
#include "tests/support/temp_dir.h"

namespace {

const char kTaskbarClass[] = "Shell_TrayWnd";

void RegisterTaskbarClass() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kTaskbarClass;
    registered = RegisterClassA(&wc) != 0;
}

class WindowPlacementTest : public testing::Test {
protected:
    void SetUp() override {
        RegisterTaskbarClass();
        store_.SetIniPath(dir_.File(kIniFileName).c_str());
        strcpy(store_.userName, "Alice");
        RECT work;
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        // The stand-in taskbar does not move the work area; the normal rectangles below are
        // written in work-area coordinates, which then equal screen coordinates.
        ASSERT_EQ(work.left, 0);
        ASSERT_EQ(work.top, 0);
    }
    void TearDown() override {
        if (window_) DestroyWindow(window_);
        if (taskbar_) DestroyWindow(taskbar_);
    }

    void MakeTaskbar(int x, int y, int width, int height) {
        // Topmost and newest, so it is found ahead of any tray window the system keeps.
        taskbar_ = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kTaskbarClass, "", WS_POPUP | WS_VISIBLE, x, y,
                                   width, height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(taskbar_, nullptr);
    }
    void MakeWindow(int x, int y, int width, int height, DWORD exStyle = 0) {
        window_ = CreateWindowExA(exStyle, "STATIC", "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, width, height,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
    }
    void ExpectStored(int left, int top, int width, int height, int show, int topMost) {
        int placement[4];
        int storedShow = 0;
        int storedTopMost = 0;
        store_.LoadWindowPlacement(placement, &storedShow, &storedTopMost);
        EXPECT_EQ(placement[0], left);
        EXPECT_EQ(placement[1], top);
        EXPECT_EQ(placement[2], width);
        EXPECT_EQ(placement[3], height);
        EXPECT_EQ(storedShow, show);
        EXPECT_EQ(storedTopMost, topMost);
    }

    TempDir dir_;
    SettingsStore store_;
    HWND taskbar_ = nullptr;
    HWND window_ = nullptr;
};

TEST_F(WindowPlacementTest, TaskbarEdgeFollowsTheTrayWindowsShape) {
    struct Case {
        RECT bar;
        int edge;
    } cases[] = {
        {{0, 0, 1280, 30}, kTaskbarTop},
        {{0, -2, 1280, 28}, kTaskbarTop},
        {{0, 994, 1280, 1024}, kTaskbarBottom},
        {{0, 0, 60, 1024}, kTaskbarLeft},
        {{1220, 0, 1280, 1024}, kTaskbarRight},
        {{0, 0, 100, 100}, kTaskbarLeft},
        {{500, 500, 600, 600}, kTaskbarRight},
    };
    for (const Case& c : cases) {
        MakeTaskbar(c.bar.left, c.bar.top, c.bar.right - c.bar.left, c.bar.bottom - c.bar.top);
        RECT found = {};
        EXPECT_EQ(TaskbarEdge(&found), c.edge) << c.bar.left << "," << c.bar.top;
        EXPECT_TRUE(EqualRect(&found, &c.bar));
        EXPECT_EQ(TaskbarEdge(nullptr), c.edge);
        DestroyWindow(taskbar_);
        taskbar_ = nullptr;
    }
}

TEST_F(WindowPlacementTest, TaskbarAtTheTopShiftsTheTopEdge) {
    MakeTaskbar(0, 0, 1280, 30);
    MakeWindow(0, 0, 400, 300);
    EXPECT_EQ(store_.SaveWindowPlacement(window_), 1);
    ExpectStored(0, 30, 400, 300, SW_SHOWNORMAL, 0);
}

TEST_F(WindowPlacementTest, TaskbarAtTheLeftShiftsTheLeftEdge) {
    MakeTaskbar(0, 0, 60, 1024);
    MakeWindow(10, 40, 400, 300);
    store_.SaveWindowPlacement(window_);
    ExpectStored(70, 40, 400, 300, SW_SHOWNORMAL, 0);
}

TEST_F(WindowPlacementTest, TaskbarAtTheBottomOrRightChangesNothing) {
    MakeTaskbar(0, 994, 1280, 30);
    MakeWindow(10, 40, 400, 300);
    store_.SaveWindowPlacement(window_);
    ExpectStored(10, 40, 400, 300, SW_SHOWNORMAL, 0);
    DestroyWindow(taskbar_);

    MakeTaskbar(1220, 0, 60, 1024);
    store_.SaveWindowPlacement(window_);
    ExpectStored(10, 40, 400, 300, SW_SHOWNORMAL, 0);
}

TEST_F(WindowPlacementTest, MinimisedIsStoredAsNormal) {
    MakeWindow(20, 30, 400, 300);
    ShowWindow(window_, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(window_));
    store_.SaveWindowPlacement(window_);
    ExpectStored(20, 30, 400, 300, SW_SHOWNORMAL, 0);
}

TEST_F(WindowPlacementTest, MaximisedKeepsItsNormalRectangle) {
    MakeWindow(20, 30, 400, 300, WS_EX_TOPMOST);
    ShowWindow(window_, SW_MAXIMIZE);
    ASSERT_TRUE(IsZoomed(window_));
    store_.SaveWindowPlacement(window_);
    ExpectStored(20, 30, 400, 300, SW_SHOWMAXIMIZED, 1);
    std::string bytes;
    TempDir::ReadFile(store_.iniPath, &bytes);
    EXPECT_NE(bytes.find("ShowWindow=3\r\nTopMost=1\r\n"), std::string::npos) << bytes;
}

}  // namespace
