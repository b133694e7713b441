// The entry rows as they reach the screen: hatching, selection tints, check boxes and the
// Contexts cells, read back pixel by pixel.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "mainwindow/entry_list_view.h"
#include "resources/resource.h"
#include "tests/mainwindow/list_pixels.h"
#include "tests/mainwindow/main_dialog_harness.h"
#include "tests/support/list_view_fixture.h"

namespace {

const COLORREF kHatch = RGB(255, 128, 128);
const COLORREF kInactiveTint = RGB(255, 192, 192);

class DrawingTest : public MainDialogTest {
protected:
    // Opens the dialog tall enough to show `rows` rows without scrolling.
    void OpenTall() {
        SetSetting("Main", "WindowWidth", "760");
        SetSetting("Main", "WindowHeight", "960");
        Open();
        SetFocus(list_);
    }

    void Deselect(int row) {
        LVITEMA item = {};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(list_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    }

    void SelectOnly(int row) {
        Deselect(-1);
        LVITEMA item = {};
        item.stateMask = item.state = LVIS_SELECTED;
        SendMessageA(list_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    }

    int HatchPixels(const ListPixels& pixels, int row) { return pixels.Count(RowRect(list_, row), kHatch); }

    std::vector<int> HatchedRows() {
        UpdateWindow(list_);
        ListPixels pixels(list_);
        std::vector<int> rows;
        for (int row = 0; row < RowCount(); ++row)
            if (HatchPixels(pixels, row) > 0) rows.push_back(row);
        return rows;
    }

    // Text metrics of the list's font, as the rows are drawn with it.
    TEXTMETRICA ListFontMetrics() {
        HDC dc = GetDC(list_);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(list_, WM_GETFONT, 0, 0)));
        TEXTMETRICA metrics = {};
        GetTextMetricsA(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(list_, dc);
        return metrics;
    }

    // Ink (pixels other than the window colour) in each of the seven Contexts cells of `row`.
    std::vector<int> InkPerContextCell(int row) {
        UpdateWindow(list_);
        ListPixels pixels(list_);
        TEXTMETRICA metrics = ListFontMetrics();
        RECT label = CellRect(list_, row, 1);
        std::vector<int> ink;
        int left = label.left + metrics.tmAveCharWidth;
        for (int cell = 0; cell < 7; ++cell, left += metrics.tmMaxCharWidth) {
            RECT band = {left, label.top, left + metrics.tmMaxCharWidth, label.bottom};
            ink.push_back(pixels.CountOther(band, GetSysColor(COLOR_WINDOW)));
        }
        return ink;
    }
};

TEST_F(DrawingTest, RowsPastThe32ndEnabledEntryAreHatchedUntilOneBeforeThemIsDisabled) {
    AddRegistryEntries(33);
    OpenTall();
    Deselect(0);
    EXPECT_EQ(HatchedRows(), std::vector<int>{32});
    EXPECT_TRUE(RowMarked(list_, 32));
    EXPECT_FALSE(RowMarked(list_, 31));

    SetStateImage(0, 1);  // the user clears the first box; DisBottom is off
    EXPECT_EQ(entryList.Count(), 33);
    EXPECT_EQ(HatchedRows(), std::vector<int>{});
    EXPECT_FALSE(RowMarked(list_, 32));
}

// RowMarked alone, on a plain list view: a disabled row counts as marked only behind 32
// enabled ones.
using RowMarkedTest = ListViewTest;

TEST_F(RowMarkedTest, DisabledRowIsMarkedOnlyBehind32EnabledOnes) {
    ResetMainWindowState();
    std::string spec;
    for (int i = 0; i < 31; ++i) spec += "E" + std::to_string(i) + "+ ";
    Fill((spec + "D-").c_str());
    EXPECT_FALSE(RowMarked(listView_, 31));
    list_.Clear();
    Fill((spec + "E31+ D-").c_str());
    EXPECT_FALSE(RowMarked(listView_, 31));
    EXPECT_TRUE(RowMarked(listView_, 32));
    mainWindow.DisSlash = 1;
    EXPECT_TRUE(RowMarked(listView_, 32));
    EXPECT_FALSE(RowMarked(listView_, 30));
    ResetMainWindowState();
}

TEST_F(DrawingTest, DisabledRowsAreHatchedOnlyWithDisSlashOrPastTheLimit) {
    RegistryKeyGuard::CreateSubkey("A", "C:\\A.htm");
    RegistryKeyGuard::CreateSubkey("C", "C:\\C.htm");
    WriteDisabledFile({DisabledEntry("B")}, "1");
    OpenTall();
    Deselect(0);
    EXPECT_EQ(HatchedRows(), std::vector<int>{});

    mainWindow.DisSlash = 1;
    RedrawAllRows(list_);
    EXPECT_EQ(HatchedRows(), std::vector<int>{1});
}

TEST_F(DrawingTest, SelectedMarkedRowIsTintedByWhereTheFocusIs) {
    AddRegistryEntries(33);
    OpenTall();
    SelectOnly(32);
    SetFocus(list_);
    UpdateWindow(list_);
    RECT row = RowRect(list_, 32);
    // The far right of the row, in the file column, holds no text.
    int x = row.right - 4;
    int y = (row.top + row.bottom) / 2;
    const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0);
    // The text of the Flags and file columns, clear of the check box's own black and white.
    RECT text = row;
    text.left = CellRect(list_, 32, 1).left;
    {
        ListPixels pixels(list_);
        EXPECT_EQ(pixels.At(x, y), kHatch);
        EXPECT_EQ(pixels.Count(row, kInactiveTint), 0);
        EXPECT_GT(pixels.Count(text, white), 0) << "white text";
        EXPECT_EQ(pixels.Count(text, black), 0);
    }
    SetFocus(Item(IDOK));
    UpdateWindow(list_);
    {
        ListPixels pixels(list_);
        EXPECT_EQ(pixels.At(x, y), kInactiveTint);
        EXPECT_EQ(pixels.Count(row, kHatch), 0);
        EXPECT_GT(pixels.Count(text, black), 0) << "black text";
        EXPECT_EQ(pixels.Count(text, white), 0);
    }
}

TEST_F(DrawingTest, ContextsCellsKeepTheirColumnsAndEndInAnEllipsisWhenNarrow) {
    DWORD contexts = 0x21;
    RegistryKeyGuard::CreateSubkey("A", "C:\\A.htm");
    RegistryKeyGuard::CreateSubkey("B", "C:\\B.htm", &contexts);
    OpenTall();
    Deselect(0);
    SendMessageA(list_, LVM_SETCOLUMNWIDTH, 1, 300);
    int row = 1;
    std::vector<int> ink = InkPerContextCell(row);
    EXPECT_GT(ink[0], 0) << "常";
    for (int cell = 1; cell <= 4; ++cell) EXPECT_EQ(ink[cell], 0) << cell;
    EXPECT_GT(ink[5], 0) << "リ";
    EXPECT_EQ(ink[6], 0);

    // Room for three and a half cells: cells 0 to 2 are drawn, cell 3 shows "...".
    TEXTMETRICA metrics = ListFontMetrics();
    RECT label = CellRect(list_, row, 1);
    int column = static_cast<int>(SendMessageA(list_, LVM_GETCOLUMNWIDTH, 1, 0));
    int padding = column - (label.right - label.left);
    SendMessageA(list_, LVM_SETCOLUMNWIDTH, 1,
                 padding + 2 * metrics.tmAveCharWidth + 3 * metrics.tmMaxCharWidth + metrics.tmMaxCharWidth / 2);
    ink = InkPerContextCell(row);
    EXPECT_GT(ink[0], 0);
    EXPECT_EQ(ink[1], 0);
    EXPECT_EQ(ink[2], 0);
    EXPECT_GT(ink[3], 0) << "...";
}

TEST_F(DrawingTest, CheckBoxFollowsTheStateImage) {
    RegistryKeyGuard::CreateSubkey("A", "C:\\A.htm");
    WriteDisabledFile({DisabledEntry("B")}, "1");
    OpenTall();
    Deselect(0);
    UpdateWindow(list_);
    ListPixels pixels(list_);
    auto boxInk = [&](int row) {
        RECT label = CellRect(list_, row, 0);
        // The inside of the box, clear of its frame.
        RECT inside = {label.left - 12, label.top + 3, label.left - 3, label.bottom - 3};
        return pixels.CountOther(inside, GetSysColor(COLOR_WINDOW));
    };
    EXPECT_GT(boxInk(0), 4);  // ticked
    EXPECT_EQ(boxInk(1), 0);  // not ticked
}

}  // namespace
