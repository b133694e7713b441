// The link control on real statics of a real parent: fitting, the shared parent hook, hover,
// deactivation and the click.
#include "controls/hyperlink.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/mainwindow/main_dialog_harness.h"

namespace {

std::vector<std::string> g_opened;

HINSTANCE WINAPI RecordOpen(HWND, LPCSTR, LPCSTR file, LPCSTR, LPCSTR, INT) {
    g_opened.push_back(file);
    return reinterpret_cast<HINSTANCE>(42);
}

class HyperLinkTest : public testing::Test {
protected:
    void SetUp() override {
        linkShellExecute = RecordOpen;
        parent_ = CreateWindowExA(0, "#32770", "", WS_POPUP | WS_VISIBLE, 100, 100, 400, 200, 0, 0, 0, 0);
    }
    void TearDown() override {
        DestroyWindow(parent_);
        linkShellExecute = ShellExecuteA;
    }
    HWND Static(DWORD style, int y) {
        HWND control = CreateWindowExA(0, "Static", "Quorvil.chm", WS_CHILD | WS_VISIBLE | style, 20, y, 300, 40,
                                       parent_, 0, 0, 0);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        return control;
    }
    RECT Rect(HWND control) const {
        RECT rect;
        GetWindowRect(control, &rect);
        MapWindowPoints(HWND_DESKTOP, parent_, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    void Mouse(UINT message, POINT point) { SendMessageA(parent_, message, 0, MAKELPARAM(point.x, point.y)); }

    HWND parent_ = nullptr;
};

TEST_F(HyperLinkTest, FittingKeepsTheLeftEdgeTheCentreOrTheRightEdgeAsAligned) {
    const DWORD kStyles[] = {SS_LEFT, SS_CENTER, SS_RIGHT};  // anchored at 20, 170, 320
    for (int anchor = 0; anchor < 3; ++anchor) {
        HyperLinkControl link;
        ASSERT_EQ(link.Attach(Static(kStyles[anchor], 20), 1), kLinkOk);
        RECT fitted = Rect(link.Detach());
        LONG kept[] = {fitted.left, (fitted.left + fitted.right) / 2, fitted.right};
        EXPECT_LE(std::abs(kept[anchor] - (20 + 150 * anchor)), 1) << anchor;
        EXPECT_LT(fitted.right - fitted.left, 150);
    }
}

TEST_F(HyperLinkTest, LinksShareOneParentHookUntilTheLastIsGone) {
    LONG_PTR original = GetWindowLongPtrA(parent_, GWLP_WNDPROC);
    HyperLinkControl first, second;
    HWND a = Static(SS_LEFT, 10), b = Static(SS_LEFT, 60);
    EXPECT_EQ(first.Attach(nullptr, 1), kLinkMissingArgument);
    EXPECT_EQ(first.SetColors(0, 0, 0), kLinkNotAttached);
    ASSERT_EQ(first.Attach(a, 1) + second.Attach(b, 0), kLinkOk);
    EXPECT_EQ(first.Attach(b, 1), kLinkAlreadyAttached);
    EXPECT_TRUE(first.Detach() == a && !GetPropA(a, kLinkInstanceProperty));
    EXPECT_NE(GetWindowLongPtrA(parent_, GWLP_WNDPROC), original);
    // Destroying its control detaches a link by itself; the last one unhooks the parent.
    DestroyWindow(b);
    EXPECT_TRUE(!second.GetHoverCursor() && GetWindowLongPtrA(parent_, GWLP_WNDPROC) == original);
}

TEST_F(HyperLinkTest, HoverDeactivationAndClickChangeCursorCaptureAndColours) {
    HWND control = Static(SS_LEFT, 10);
    HyperLinkControl link;
    ASSERT_EQ(link.Attach(control, 1), kLinkOk);
    const COLORREF kHover = RGB(0, 160, 0);
    EXPECT_EQ(link.SetColors(kKeepColour, kKeepColour, kHover), kLinkOk);
    RECT client, rect = Rect(control);
    GetClientRect(control, &client);
    auto shows = [&](COLORREF colour) { return CountPixels(control, client, colour) > 0; };
    POINT on = {rect.left + 3, (rect.top + rect.bottom) / 2}, off = {300, 150};
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    ASSERT_NE(link.GetHoverCursor(), nullptr);
    for (bool deactivate : {false, true}) {
        SetCursor(arrow);
        Mouse(WM_MOUSEMOVE, on);
        EXPECT_TRUE(GetCursor() == link.GetHoverCursor() && GetCapture() == parent_);
        EXPECT_TRUE(shows(kHover) && !shows(kLinkNormalColour));
        if (deactivate) SendMessageA(parent_, WM_ACTIVATE, WA_INACTIVE, 0);
        else Mouse(WM_MOUSEMOVE, off);
        EXPECT_TRUE(GetCursor() == arrow && !GetCapture() && shows(kLinkNormalColour)) << deactivate;
    }

    Mouse(WM_LBUTTONDOWN, on);
    EXPECT_EQ(g_opened, std::vector<std::string>{"Quorvil.chm"});
    EXPECT_TRUE(shows(kLinkVisitedColour) && !shows(kLinkNormalColour));
}

}  // namespace
