// The program icon of the main dialog as a link to the version dialog, and command 1801.
#include "tests/mainwindow/main_dialog_harness.h"
#include "tests/support/modal_script.h"

namespace {

class IconLinkTest : public MainDialogTest {
protected:
    // Sends the message and returns the owner of the version dialog it opened (closed at once
    // with Esc), or nullptr when none opened.
    HWND OpenedBy(UINT message, WPARAM wParam, POINT point) {
        HWND owner = nullptr;
        ModalScript script("バージョン情報", {[&](HWND about) {
                               owner = GetWindow(about, GW_OWNER);
                               return PostMessageA(about, WM_COMMAND, IDCANCEL, 0), true;
                           }});
        SendMessageA(dialog_, message, wParam, MAKELPARAM(point.x, point.y));
        return owner;
    }
};

TEST_F(IconLinkTest, TheIconShowsTheHandAndOpensTheVersionDialogAlsoAfterAResize) {
    Open();
    ASSERT_NE(mainWindow.handCursor, nullptr);
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    for (int size : {0, 700}) {
        if (size) SetWindowPos(dialog_, nullptr, 0, 0, size, size, SWP_NOMOVE | SWP_NOZORDER);
        RECT icon;
        GetWindowRect(GetDlgItem(dialog_, IDC_ICON_LINK), &icon);
        POINT on = {(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2}, off = {200, 20};
        ScreenToClient(dialog_, &on);
        SetCursor(arrow);
        // A click with no hover before it, the first after start-up, leaves the pointer alone.
        EXPECT_TRUE(size || (OpenedBy(WM_LBUTTONDOWN, MK_LBUTTON, on) == dialog_ && GetCursor() == arrow));
        SendMessageA(dialog_, WM_MOUSEMOVE, 0, MAKELPARAM(on.x, on.y));
        EXPECT_TRUE(GetCursor() == mainWindow.handCursor && GetCapture() == dialog_) << size;
        SendMessageA(dialog_, WM_MOUSEMOVE, 0, MAKELPARAM(off.x, off.y));
        EXPECT_TRUE(GetCursor() == arrow && GetCapture() == nullptr) << size;
        EXPECT_EQ(OpenedBy(WM_LBUTTONDOWN, MK_LBUTTON, off), nullptr);
        SendMessageA(dialog_, WM_MOUSEMOVE, 0, MAKELPARAM(on.x, on.y));
        EXPECT_EQ(OpenedBy(WM_LBUTTONDOWN, MK_LBUTTON, on), dialog_);
        EXPECT_TRUE(GetCursor() == arrow && GetCapture() == nullptr && !mainWindow.iconHover) << size;
    }
    EXPECT_EQ(OpenedBy(WM_COMMAND, IDM_ABOUT, {0, 0}), dialog_);
}

}  // namespace
