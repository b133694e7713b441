// The entry list against a real list view: every operation keeps row i showing entry i.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <cstring>

#include "core/entry_list.h"
#include "tests/support/list_view_fixture.h"

namespace {

using EntryListTest = ListViewTest;

TEST_F(EntryListTest, DuplicateNamesAreRefusedInAnyLetterCase) {
    Fill("ABC");
    MenuExtEntry lower = MakeEntry("abc");
    EXPECT_EQ(list_.AddEntry(&lower), kDuplicateName);
    EXPECT_EQ(list_.InsertEntryAt(0, &lower), kDuplicateName);
    EXPECT_EQ(Names(), "ABC");
    ExpectRowsMirrorEntries(list_);
}

}  // namespace
