// The program icon of the main dialog as a link to the version dialog, and command 1801.
#include "tests/mainwindow/main_dialog_harness.h"
#include "tests/support/modal_script.h"

namespace {

constexpr char kAboutCaption[] = "バージョン情報";

class IconLinkTest : public MainDialogTest {
protected:
    void Mouse(UINT message, POINT point) {
        SendMessageA(dialog_, message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(point.x, point.y));
    }
    // Sends `message` and reports the owner of the version dialog it opened, closed again
    // with Esc; nullptr when none opened.
    HWND OwnerOfDialogOpenedBy(UINT message, WPARAM wParam, LPARAM lParam) {
        HWND owner = nullptr;
        ModalScript script(kAboutCaption, {[&](HWND about) {
                               owner = GetWindow(about, GW_OWNER);
                               return PostMessageA(about, WM_COMMAND, IDCANCEL, 0), true;
                           }});
        SendMessageA(dialog_, message, wParam, lParam);
        return owner;
    }
};

TEST_F(IconLinkTest, TheIconShowsTheHandAndOpensTheVersionDialogAlsoAfterAResize) {
    Open();
    ASSERT_NE(mainWindow.handCursor, nullptr);
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    for (int grow : {0, 150}) {
        SCOPED_TRACE(grow);
        RECT window;
        GetWindowRect(dialog_, &window);
        SetWindowPos(dialog_, nullptr, 0, 0, window.right - window.left + grow, window.bottom - window.top + grow,
                     SWP_NOMOVE | SWP_NOZORDER);
        RECT icon;
        GetWindowRect(GetDlgItem(dialog_, IDC_ICON_LINK), &icon);
        POINT on = {(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2}, off = {200, 20};
        ScreenToClient(dialog_, &on);
        SetCursor(arrow);
        Mouse(WM_MOUSEMOVE, on);
        EXPECT_EQ(GetCursor(), mainWindow.handCursor);
        EXPECT_EQ(GetCapture(), dialog_);
        Mouse(WM_MOUSEMOVE, off);
        EXPECT_EQ(GetCursor(), arrow);
        EXPECT_EQ(GetCapture(), nullptr);

        EXPECT_EQ(OwnerOfDialogOpenedBy(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(off.x, off.y)), nullptr);
        Mouse(WM_MOUSEMOVE, on);
        EXPECT_EQ(OwnerOfDialogOpenedBy(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(on.x, on.y)), dialog_);
        EXPECT_EQ(GetCursor(), arrow);
        EXPECT_EQ(GetCapture(), nullptr);
        EXPECT_EQ(mainWindow.iconHover, 0);
    }
    EXPECT_EQ(OwnerOfDialogOpenedBy(WM_COMMAND, IDM_ABOUT, 0), dialog_);
}

}  // namespace
