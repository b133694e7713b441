// The main dialog as it reaches the screen: the entry rows (hatching, selection tints, check
// boxes and the Contexts cells, read back pixel by pixel), resizing and the size grip, and the
// program icon as a link to the version dialog.
#include <map>

#include "mainwindow/layout.h"
#include "tests/mainwindow/main_dialog_harness.h"
#include "tests/support/modal_script.h"

namespace {

const COLORREF kHatch = RGB(255, 128, 128);
const COLORREF kInactiveTint = RGB(255, 192, 192);

class DrawingTest : public MainDialogTest {
protected:
    // Adds entries E100, E101 ... and opens a window tall enough to show 33 rows.
    void OpenTall(int entries) {
        for (int i = 100; i < 100 + entries; ++i) {
            std::string name = "E" + std::to_string(i);
            RegistryKeyGuard::CreateSubkey(name.c_str(), ("C:\\" + name + ".htm").c_str());
        }
        SetSetting("Main", "WindowWidth", "760");
        SetSetting("Main", "WindowHeight", "960");
        Open();
    }

    // The label of one cell, or with column -1 the whole row.
    RECT Cell(int row, int column) {
        RECT rect;
        if (column < 0)
            ListView_GetItemRect(list_, row, &rect, LVIR_BOUNDS);
        else
            ListView_GetSubItemRect(list_, row, column, LVIR_LABEL, &rect);
        return rect;
    }

    std::vector<int> HatchedRows() {
        std::vector<int> rows;
        for (int row = 0; row < ListView_GetItemCount(list_); ++row)
            if (CountPixels(list_, Cell(row, -1), kHatch) > 0) rows.push_back(row);
        return rows;
    }

    // Ink (pixels other than the window colour) in each of the seven Contexts cells of row 1,
    // which are as wide as the widest character of the list's font.
    std::vector<int> ContextCellInk(const TEXTMETRICA& font) {
        RECT label = Cell(1, 1);
        std::vector<int> ink;
        for (int left = label.left + font.tmAveCharWidth; ink.size() < 7; left += font.tmMaxCharWidth) {
            RECT cell = {left, label.top, left + font.tmMaxCharWidth, label.bottom};
            ink.push_back(CountPixels(list_, cell, GetSysColor(COLOR_WINDOW), false));
        }
        return ink;
    }
};

TEST_F(DrawingTest, RowsPastThe32ndEnabledEntryAndWithDisSlashAllDisabledRowsAreHatchedAndTinted) {
    OpenTall(33);
    EXPECT_EQ(HatchedRows(), std::vector<int>{32});
    ListView_SetCheckState(list_, 0, FALSE);  // DisBottom is off: the row stays where it is
    EXPECT_EQ(HatchedRows(), std::vector<int>{});
    ListView_SetCheckState(list_, 0, TRUE);
    EXPECT_EQ(HatchedRows(), std::vector<int>{32});
    ListView_SetCheckState(list_, 32, FALSE);  // behind 32 enabled ones, left out all the same
    EXPECT_EQ(HatchedRows(), std::vector<int>{32});
    for (int row : {31, 32}) {  // inside the check box, clear of its frame: a tick or nothing
        RECT label = Cell(row, 0), inside = {label.left - 12, label.top + 3, label.left - 3, label.bottom - 3};
        EXPECT_EQ(CountPixels(list_, inside, GetSysColor(COLOR_WINDOW), false) > 4, row == 31) << row;
    }
    mainWindow.DisSlash = 1;
    ListView_SetCheckState(list_, 5, FALSE);  // row 32 is now within the limit
    EXPECT_EQ(HatchedRows(), (std::vector<int>{5, 32}));
    // Selected, the marked row is tinted by where the focus is. A point at the far right of the
    // row, where the file column holds no text, and the text of the Flags and file columns,
    // clear of the check box's own black and white.
    ListView_SetItemState(list_, -1, 0, LVIS_SELECTED);
    ListView_SetItemState(list_, 32, LVIS_SELECTED, LVIS_SELECTED);
    RECT row = Cell(32, -1), text = row, spot = {row.right - 5, row.top + 8, row.right - 4, row.top + 9};
    text.left = Cell(32, 1).left;
    const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0);
    for (bool focused : {true, false}) {
        SetFocus(focused ? list_ : GetDlgItem(dialog_, IDOK));
        EXPECT_EQ(CountPixels(list_, spot, focused ? kHatch : kInactiveTint), 1);
        EXPECT_EQ(CountPixels(list_, row, focused ? kInactiveTint : kHatch), 0);
        EXPECT_GT(CountPixels(list_, text, focused ? white : black), 0);
        EXPECT_EQ(CountPixels(list_, text, focused ? black : white), 0);
    }
}

TEST_F(DrawingTest, ContextsCellsKeepTheirColumnsAndEndInAnEllipsisWhenNarrow) {
    DWORD contexts = 0x21;
    RegistryKeyGuard::CreateSubkey("A", "C:\\A.htm");
    RegistryKeyGuard::CreateSubkey("B", "C:\\B.htm", &contexts);
    OpenTall(0);
    TEXTMETRICA font = {};
    HDC dc = GetDC(list_);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(list_, WM_GETFONT, 0, 0)));
    GetTextMetricsA(dc, &font);
    SelectObject(dc, old);
    ReleaseDC(list_, dc);
    ListView_SetColumnWidth(list_, 1, 300);
    // 常 in the first cell and リ in the sixth; the others keep their place empty.
    std::vector<int> ink = ContextCellInk(font);
    for (int cell = 0; cell < 7; ++cell) EXPECT_EQ(ink[cell] > 0, cell == 0 || cell == 5) << cell;
    // Room for three and a half cells: cells 0 to 2 are drawn, cell 3 shows "...".
    RECT label = Cell(1, 1);
    ListView_SetColumnWidth(list_, 1, 300 - (label.right - label.left) + 2 * font.tmAveCharWidth +
                                          3 * font.tmMaxCharWidth + font.tmMaxCharWidth / 2);
    ink = ContextCellInk(font);
    for (int cell = 0; cell < 3; ++cell) EXPECT_EQ(ink[cell] > 0, cell == 0) << cell;
    EXPECT_GT(ink[3], 0) << "...";
}

using Edges = std::vector<LONG>;  // left, top, right, bottom

class LayoutTest : public MainDialogTest {
protected:
    // Every control's edges in client coordinates, less how it should follow a size change of
    // (dx, dy): when the layout is right the result is the same before and after the change.
    std::map<int, Edges> Controls(int dx, int dy) {
        std::map<int, Edges> controls;
        auto add = [&](int id, int left, int top, int right, int bottom) {
            RECT rect;
            GetWindowRect(GetDlgItem(dialog_, id), &rect);
            MapWindowPoints(HWND_DESKTOP, dialog_, reinterpret_cast<POINT*>(&rect), 2);
            controls[id] = {rect.left - left, rect.top - top, rect.right - right, rect.bottom - bottom};
        };
        for (int id : {IDOK, IDCANCEL, IDC_UPDATE}) add(id, dx, dy, dx, dy);
        // The buttons below the list, the icon and the two lines of text.
        for (int id = IDC_MOVE_UP; id <= IDC_SUBTITLE_TEXT; ++id) add(id, 0, dy, 0, dy);
        add(IDC_ENTRY_LIST, 0, 0, dx, dy);
        return controls;
    }

    LPARAM Screen(POINT point) const {
        ClientToScreen(dialog_, &point);
        return MAKELPARAM(point.x, point.y);
    }
    void GrowBy(int dx, int dy) {
        RECT window;
        GetWindowRect(dialog_, &window);
        SetWindowPos(dialog_, nullptr, 0, 0, window.right - window.left + dx, window.bottom - window.top + dy,
                     SWP_NOMOVE | SWP_NOZORDER);
    }
};

// The grip answers and is drawn in the last sixteen pixels only; minimizing and restoring
// moves nothing.
TEST_F(LayoutTest, ControlsFollowTheEdgesTheyBelongToAndTheGripTheCorner) {
    Open();
    std::map<int, Edges> before;
    RECT corner = {};
    for (int grow : {0, 120}) {
        SCOPED_TRACE(grow);
        GrowBy(grow, grow / 2);  // at first only to the minimum width, a unit above the template's
        if (!grow) before = Controls(0, 0);
        EXPECT_EQ(Controls(grow, grow / 2), before);
        RECT client;
        GetClientRect(dialog_, &client);
        int w = client.right, h = client.bottom;
        const POINT kGrip[] = {{w - 1, h - 1}, {w - kGripSize, h - kGripSize}}, kClient[] = {
            {w - kGripSize - 1, h - 1}, {w - 1, h - kGripSize - 1}, {w / 2, h / 2}};
        for (POINT point : kGrip) EXPECT_EQ(SendMessageA(dialog_, WM_NCHITTEST, 0, Screen(point)), HTBOTTOMRIGHT);
        for (POINT point : kClient) EXPECT_EQ(SendMessageA(dialog_, WM_NCHITTEST, 0, Screen(point)), HTCLIENT);
        // The grip's lines reach into the corner below and right of the Update button, and
        // leave the corner it had before.
        if (grow) { EXPECT_EQ(CountPixels(dialog_, corner, GetSysColor(COLOR_BTNFACE), false), 0); }
        corner = {w - 5, h - 5, w, h};
        EXPECT_GT(CountPixels(dialog_, corner, GetSysColor(COLOR_BTNFACE), false), 2);
    }
    ShowWindow(dialog_, SW_MINIMIZE);
    Pump();
    ShowWindow(dialog_, SW_RESTORE);
    Pump();
    EXPECT_EQ(Controls(120, 60), before);
}

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
