// The entry list against a real list view: every operation keeps row i showing entry i.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <sstream>
#include <string>

#include "core/entry_list.h"
#include "tests/support/list_view_fixture.h"

namespace {

using EntryListTest = ListViewTest;

TEST_F(EntryListTest, NamesAreUniqueInAnyLetterCaseAndDoubleByteNamesStayWhole) {
    // 表 (0x95 0x5C) and ソ (0x83 0x5C) end in a backslash byte: they must neither collide nor split.
    Fill("ABC 表 ソ 表ソ");
    for (const char* taken : {"abc", "表", "表ソ"}) {
        MenuExtEntry e = MakeEntry(taken);
        EXPECT_EQ(list_.AddEntry(&e), kDuplicateName) << taken;
        EXPECT_EQ(list_.InsertEntryAt(0, &e), kDuplicateName) << taken;
    }
    EXPECT_EQ(list_.FindEntryByName("aBc"), 0);
    EXPECT_EQ(list_.FindEntryByName("ソ"), 2);
    EXPECT_EQ(list_.FindEntryByName(nullptr), -1);
    EXPECT_EQ(RowText(1, 3), "C:\\表.htm");
    EXPECT_EQ(Names(), "ABC 表 ソ 表ソ");
    ExpectRowsMirrorEntries(list_);
}

TEST_F(EntryListTest, InvalidRecordsAreRefusedWithTheirOwnCodesAndFarPositionsAppend) {
    Fill("P");
    const struct { const char* name; const char* target; int added, inserted; } cases[] = {
        {"\\x", nullptr, kNotMade, kInvalid}, {"E", "", kNotMade, kInvalid}, {"", nullptr, kNotMade, kInvalid}};
    for (const auto& c : cases) {
        MenuExtEntry e = MakeEntry(c.name, c.target);
        EXPECT_EQ(list_.AddEntry(&e), c.added) << c.name;
        EXPECT_EQ(list_.InsertEntryAt(0, &e), c.inserted) << c.name;
    }
    MenuExtEntry q = MakeEntry("Q"), r = MakeEntry("R"), s = MakeEntry("S");
    EXPECT_EQ(list_.AddEntry(nullptr), kInvalid);
    EXPECT_EQ(list_.InsertEntryAt(-2, &q), kInvalid);
    EXPECT_EQ(list_.InsertEntryAt(99, &q), kOk);
    EXPECT_EQ(list_.InsertEntryAt(-1, &r), kOk);
    EXPECT_EQ(list_.InsertEntryAt(1, &s), kOk);
    EXPECT_EQ(Names(), "P S Q R");
    ExpectRowsMirrorEntries(list_);
}

TEST_F(EntryListTest, RowTextsShowFlagsInHexAndContextLetters) {
    MenuExtEntry a = MakeEntry("A", nullptr, 0x21, 0x11, 1);
    MenuExtEntry b = MakeEntry("B", nullptr, 0x80, 0, 0);
    MenuExtEntry c = MakeEntry("C", nullptr, 0x7F, 0xFFFFFFFF, 1);
    ASSERT_EQ(list_.AddEntry(&a), kOk);
    ASSERT_EQ(list_.AddEntry(&b), kOk);
    ASSERT_EQ(list_.AddEntry(&c), kOk);
    EXPECT_EQ(RowText(0, 1), "常リ");
    EXPECT_EQ(RowText(0, 2), "11");
    EXPECT_EQ(RowText(1, 1), "");
    EXPECT_EQ(RowText(1, 2), "0");
    EXPECT_EQ(RowText(2, 1), "常絵コ表選リ？");
    EXPECT_EQ(RowText(2, 2), "FFFFFFFF");
    EXPECT_EQ(StateImage(0), 2);
    EXPECT_EQ(StateImage(1), 1);
}

TEST_F(EntryListTest, MovesAndSwapsKeepTextsSelectionAndCheckBoxes) {
    Fill("P+ Q- R+");
    Select(0);
    ASSERT_EQ(list_.MoveEntry(0, 2), 1);
    EXPECT_EQ(Names(), "Q R P");
    EXPECT_TRUE(IsSelected(2));
    EXPECT_FALSE(IsSelected(0));
    EXPECT_EQ(StateImage(2), 2);
    EXPECT_EQ(StateImage(0), 1);
    ExpectRowsMirrorEntries(list_);

    ASSERT_EQ(list_.MoveEntry(2, 0), 1);
    EXPECT_EQ(Names(), "P Q R");
    EXPECT_TRUE(IsSelected(0));
    ASSERT_EQ(list_.MoveEntry(2, 0), 1);
    EXPECT_EQ(Names(), "R P Q");
    ExpectRowsMirrorEntries(list_);

    ASSERT_EQ(list_.SwapEntries(0, 2), 1);
    EXPECT_EQ(Names(), "Q P R");
    EXPECT_TRUE(IsSelected(1));
    ExpectRowsMirrorEntries(list_);

    EXPECT_EQ(list_.MoveEntry(1, 1), 1);
    EXPECT_EQ(list_.SwapEntries(2, 2), 1);
    EXPECT_EQ(list_.MoveEntry(0, 3), 0);
    EXPECT_EQ(list_.SwapEntries(-1, 0), 0);
    EXPECT_EQ(Names(), "Q P R");
    EXPECT_FALSE(RowMoveInProgress);
}

TEST_F(EntryListTest, MoveKeepsAnOuterRowMoveFlagSet) {
    Fill("P Q");
    RowMoveInProgress = true;
    list_.MoveEntry(0, 1);
    list_.SwapEntries(0, 1);
    EXPECT_TRUE(RowMoveInProgress);
    RowMoveInProgress = false;
}

TEST_F(EntryListTest, ReplaceAndDeleteKeepRowsInStep) {
    Fill("P Q R");
    MenuExtEntry x = MakeEntry("X", "http://example.invalid/x", 0x3, 1, 0);
    EXPECT_EQ(list_.ReplaceEntryAt(1, &x), 1);
    EXPECT_EQ(Names(), "P X R");
    ExpectRowsMirrorEntries(list_);
    MenuExtEntry bad = MakeEntry("", "t");
    EXPECT_EQ(list_.ReplaceEntryAt(1, &bad), 0);
    EXPECT_EQ(list_.ReplaceEntryAt(3, &x), 0);
    EXPECT_EQ(list_.DeleteEntryAt(0), 1);
    EXPECT_EQ(list_.DeleteEntryAt(2), 0);
    EXPECT_EQ(list_.DeleteEntryAt(-1), 0);
    EXPECT_EQ(Names(), "X R");
    MenuExtEntry out;
    EXPECT_EQ(list_.GetEntryAt(0, &out), 1);
    EXPECT_EQ(out.contexts, 0x3u);
    EXPECT_EQ(list_.GetEntryAt(0, nullptr), 0);
    EXPECT_EQ(list_.GetEntryAt(2, &out), 0);
    ExpectRowsMirrorEntries(list_);
}

TEST_F(EntryListTest, SelectedRunsMoveByOneAndRunsAtTheEdgeStay) {
    // Rows selected before the move, and the names and selected rows after it ("PQRST" at start).
    const struct { bool up; const char* selected; const char* names; const char* selectedAfter; } cases[] = {
        {true, "013", "P Q S R T", "012"}, {true, "2", "P R Q S T", "1"}, {false, "34", "P Q R S T", "34"},
        {false, "023", "Q P T R S", "134"}, {false, "", "P Q R S T", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.selected);
        list_.Clear();
        Fill("P Q R S T");
        for (const char* row = c.selected; *row; ++row) Select(*row - '0');
        EXPECT_EQ(c.up ? list_.MoveSelectedUp() : list_.MoveSelectedDown(), c.selected[0] ? 1 : 0);
        EXPECT_EQ(Names(), c.names);
        std::string selectedAfter;
        for (int row = 0; row < 5; ++row)
            if (IsSelected(row)) selectedAfter += char('0' + row);
        EXPECT_EQ(selectedAfter, c.selectedAfter);
        ExpectRowsMirrorEntries(list_);
    }
}

TEST_F(EntryListTest, PartitionByCheckIsStableAndHonoursTheLimit) {
    const int enabledFirst = MakeSortWord(kDirectionEnabledFirst, kCheckSortColumn);
    const int disabledFirst = MakeSortWord(kDirectionDisabledFirst, kCheckSortColumn);
    Fill("P+ Q- R+ S-");
    list_.PartitionByCheck(listView_, enabledFirst, -1);
    EXPECT_EQ(Names(), "P R Q S");
    ExpectRowsMirrorEntries(list_);
    list_.PartitionByCheck(listView_, disabledFirst, -1);
    EXPECT_EQ(Names(), "Q S P R");
    ExpectRowsMirrorEntries(list_);
    list_.PartitionByCheck(listView_, enabledFirst, 1);
    EXPECT_EQ(Names(), "Q S P R");
    list_.PartitionByCheck(listView_, enabledFirst, 3);
    EXPECT_EQ(Names(), "P Q S R");
    list_.MoveDisabledToBottom(listView_);
    EXPECT_EQ(Names(), "P R Q S");
    ExpectRowsMirrorEntries(list_);
}

// The duplicate check keeps an index of the names beside the chain; after every kind of change
// it must still say what a walk over the chain says.
TEST_F(EntryListTest, TheDuplicateCheckFollowsMovesRenamesAndDeletes) {
    Fill("Abc Def Ghi ｘｙｚ");
    // Added and taken out again when it is free, so the probe itself goes through the index.
    auto taken = [&](const std::string& name) {
        MenuExtEntry e = MakeEntry(name.c_str());
        int added = list_.AddEntry(&e);
        if (added == kOk) list_.DeleteEntryAt(list_.Count() - 1);
        return added == kDuplicateName;
    };
    MenuExtEntry renamed = MakeEntry("New"), twin = MakeEntry("ABC");
    const struct {
        const char* step;
        std::function<void()> run;
        const char* taken;
        const char* free;
    } steps[] = {
        {"start", [] {}, "aBC DEF ghi", "New"},
        {"moves", [&] { list_.MoveEntry(0, 3), list_.SwapEntries(0, 1); }, "abc def ghi", "new"},
        {"rename", [&] { list_.ReplaceEntryAt(list_.FindEntryByName("def"), &renamed); }, "NEW abc", "Def"},
        {"delete", [&] { list_.DeleteEntryAt(list_.FindEntryByName("ghi")); }, "new", "GHI"},
        // Two entries of one name (a rename the list itself does not refuse); one goes.
        {"twins", [&] { list_.ReplaceEntryAt(list_.FindEntryByName("new"), &twin), list_.DeleteEntryAt(0); }, "abc",
         "new"},
        {"clear", [&] { list_.Clear(); }, "", "abc ｘｙｚ"},
    };
    for (const auto& s : steps) {
        s.run();
        std::istringstream takenNames(s.taken), freeNames(s.free);
        for (std::string name; takenNames >> name;) EXPECT_TRUE(taken(name)) << s.step << ": " << name;
        for (std::string name; freeNames >> name;) EXPECT_FALSE(taken(name)) << s.step << ": " << name;
        // Double-byte letters in both cases and widths: whatever lstrcmpiA holds equal is taken.
        for (const char* name : {"ｘｙｚ", "ＸＹＺ", "xyz", "ＡＢＣ"})
            EXPECT_EQ(taken(name), list_.FindEntryByName(name) >= 0) << s.step << ": " << name;
        ExpectRowsMirrorEntries(list_);
    }
}

void* FailingAllocator(size_t) { return nullptr; }

TEST_F(EntryListTest, AFailedNodeAllocationLeavesChainAndRowsAsTheyWere) {
    Fill("P Q");
    MenuExtEntry r = MakeEntry("R");
    EntryList::SetNodeAllocator(FailingAllocator);
    EXPECT_EQ(list_.AddEntry(&r), kOutOfMemory);
    EXPECT_EQ(list_.InsertEntryAt(0, &r), kOutOfMemory);
    EXPECT_EQ(list_.ReplaceEntryAt(0, &r), 0);
    EntryList::SetNodeAllocator(nullptr);
    EXPECT_EQ(Names(), "P Q");
    ExpectRowsMirrorEntries(list_);
    EXPECT_EQ(list_.AddEntry(&r), kOk);
}

}  // namespace
