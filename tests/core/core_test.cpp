// The entry list on its own: its refusals, its order, and what it tells a view.
#include <cstring>
#include <functional>
#include <sstream>

#include "tests/support/entry_fixture.h"

namespace {

using Ints = std::vector<int>;

TEST_F(EntryListTest, RecordsTheListCannotKeepAreRefusedWithTheirOwnCodesAndFarPositionsAppend) {
    Fill("P");
    // A name beginning with a backslash, no target, no name, and line breaks that every file
    // the list is written to would cut.
    const MenuExtEntry refused[] = {MakeEntry("\\x"), MakeEntry("E", ""), MakeEntry(""), MakeEntry("a\nb", "C:\\ab.htm"),
                                    MakeEntry("T", "C:\\a.htm\r\"b\"")};
    for (const MenuExtEntry& e : refused) {
        EXPECT_EQ(list_.AddEntry(&e), kNotMade) << e.name;
        EXPECT_EQ(list_.InsertEntryAt(0, &e), kInvalid) << e.name;
        EXPECT_FALSE(list_.ReplaceEntryAt(0, &e)) << e.name;
    }
    MenuExtEntry q = MakeEntry("Q"), r = MakeEntry("R"), s = MakeEntry("S");
    EXPECT_EQ(list_.AddEntry(nullptr), kInvalid);
    EXPECT_EQ(list_.InsertEntryAt(-2, &q), kInvalid);
    EXPECT_EQ((Ints{list_.InsertEntryAt(99, &q), list_.InsertEntryAt(-1, &r), list_.InsertEntryAt(1, &s)}),
              (Ints{kOk, kOk, kOk}));
    EXPECT_EQ(Names(), "P S Q R");
}

// What a view is told, one line per change.
class RecordingObserver : public EntryListObserver {
public:
    std::string told;
    void EntryInserted(int index) override { told += "inserted " + std::to_string(index) + "\n"; }
    void EntryRemoved(int index) override { told += "removed " + std::to_string(index) + "\n"; }
    void EntryMoved(int from, int to) override { told += "moved " + std::to_string(from) + ">" + std::to_string(to) + "\n"; }
    void EntriesSwapped(int a, int b) override { told += "swapped " + std::to_string(a) + "," + std::to_string(b) + "\n"; }
    void EntryChanged(int index) override { told += "changed " + std::to_string(index) + "\n"; }
    void EntriesCleared() override { told += "cleared\n"; }
};

// One list changed step by step: what each change gives, and that a view hears of exactly the
// changes made, so that its rows can follow.
TEST_F(EntryListTest, EveryChangeIsToldAndRefusalsChangeNothing) {
    Fill("P+ Q- R+");
    RecordingObserver view;
    list_.SetObserver(&view);
    MenuExtEntry x = MakeEntry("X", "http://example.invalid/x", 0x3, 1, 0), y = MakeEntry("Y"), bad = MakeEntry("", "t");
    const struct {
        const char* step;
        std::function<bool()> change;
        bool done;
        const char* entries;
        const char* told;
    } steps[] = {
        {"first to the end", [&] { return list_.MoveEntry(0, 2); }, true, "Q- R+ P+", "moved 0>2\n"},
        {"last to the front", [&] { return list_.MoveEntry(2, 0); }, true, "P+ Q- R+", "moved 2>0\n"},
        {"swap the ends", [&] { return list_.SwapEntries(0, 2); }, true, "R+ Q- P+", "swapped 0,2\n"},
        {"move in place", [&] { return list_.MoveEntry(1, 1); }, true, "R+ Q- P+", ""},
        {"move past the end", [&] { return list_.MoveEntry(0, 3); }, false, "R+ Q- P+", ""},
        {"replace", [&] { return list_.ReplaceEntryAt(2, &x); }, true, "R+ Q- X-", "changed 2\n"},
        {"replace past the end", [&] { return list_.ReplaceEntryAt(3, &x); }, false, "R+ Q- X-", ""},
        {"enable", [&] { return list_.SetEnabled(1, true); }, true, "R+ Q+ X-", "changed 1\n"},
        {"enable past the end", [&] { return list_.SetEnabled(3, true); }, false, "R+ Q+ X-", ""},
        {"delete the first", [&] { return list_.DeleteEntryAt(0); }, true, "Q+ X-", "removed 0\n"},
        {"delete past the end", [&] { return list_.DeleteEntryAt(2); }, false, "Q+ X-", ""},
        {"delete before the start", [&] { return list_.DeleteEntryAt(-1); }, false, "Q+ X-", ""},
        {"insert in between", [&] { return list_.InsertEntryAt(1, &y) == kOk; }, true, "Q+ Y+ X-", "inserted 1\n"},
        {"add a nameless one", [&] { return list_.AddEntry(&bad) == kOk; }, false, "Q+ Y+ X-", ""},
        {"clear", [&] { return list_.Clear(), true; }, true, "", "cleared\n"},
    };
    for (const auto& s : steps) {
        view.told.clear();
        EXPECT_EQ(s.change(), s.done) << s.step;
        EXPECT_EQ(StatesOf(list_), s.entries) << s.step;
        EXPECT_EQ(view.told, s.told) << s.step;
    }
    list_.SetObserver(nullptr);
}

TEST_F(EntryListTest, SelectedRunsMoveByOneAndRunsAtTheEdgeStay) {
    // The selected indexes, the order afterwards ("P Q R S T" at start) and the row to show.
    const struct { bool up; Ints selected; const char* names; int shown; } cases[] = {
        {true, {0, 1, 3}, "P Q S R T", 0}, {true, {2}, "P R Q S T", 1},     {false, {3, 4}, "P Q R S T", 4},
        {false, {0, 2, 3}, "Q P T R S", 4}, {false, {0}, "Q P R S T", 1},    {true, {}, "P Q R S T", -1}};
    for (const auto& c : cases) {
        list_.Clear();
        Fill("P Q R S T");
        EXPECT_EQ(c.up ? list_.MoveRunsUp(c.selected) : list_.MoveRunsDown(c.selected), c.shown) << c.names;
        EXPECT_EQ(Names(), c.names);
    }
}

// The duplicate check keeps an index of the names beside the chain; after every kind of change
// it must still say what a walk over the chain says. 表 (0x95 0x5C) and ソ (0x83 0x5C) end in a
// backslash byte: they must neither collide nor split.
TEST_F(EntryListTest, TheDuplicateCheckFollowsMovesRenamesAndDeletes) {
    Fill("Abc Def Ghi ｘｙｚ 表 ソ 表ソ");
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
        {"start", [] {}, "aBC DEF ghi 表 ソ 表ソ", "New ソ表"},
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
    }
}

void* FailingAllocator(size_t) { return nullptr; }

TEST_F(EntryListTest, AFailedNodeAllocationLeavesTheListAsItWasAndTellsNothing) {
    Fill("P Q");
    RecordingObserver view;
    list_.SetObserver(&view);
    MenuExtEntry r = MakeEntry("R");
    EntryList::SetNodeAllocator(FailingAllocator);
    EXPECT_EQ(list_.AddEntry(&r), kOutOfMemory);
    EXPECT_EQ(list_.InsertEntryAt(0, &r), kOutOfMemory);
    EntryList::SetNodeAllocator(nullptr);
    list_.SetObserver(nullptr);
    EXPECT_EQ(Names(), "P Q");
    EXPECT_EQ(view.told, "");
}

}  // namespace
