// The entry rows as they reach the screen: hatching, selection tints, check boxes and the
// Contexts cells, read back pixel by pixel.
#include "tests/mainwindow/main_dialog_harness.h"

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

TEST_F(DrawingTest, RowsPastThe32ndEnabledEntryAndWithDisSlashAllDisabledRowsAreHatched) {
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
}

TEST_F(DrawingTest, SelectedMarkedRowIsTintedByWhereTheFocusIs) {
    OpenTall(33);
    ListView_SetItemState(list_, -1, 0, LVIS_SELECTED);
    ListView_SetItemState(list_, 32, LVIS_SELECTED, LVIS_SELECTED);
    // A point at the far right of the row, where the file column holds no text, and the text
    // of the Flags and file columns, clear of the check box's own black and white.
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

}  // namespace
