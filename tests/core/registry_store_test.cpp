// Loading from and saving to the MenuExt key of the test prefix's registry.
#include <windows.h>

#include <string>

#include "core/registry_store.h"
#include "tests/support/list_view_fixture.h"
#include "tests/support/registry_fixture.h"

namespace {

class RegistryStoreTest : public ListViewTest {
protected:
    RegistryKeyGuard guard_;
};

using KeyNames = std::vector<std::string>;

TEST_F(RegistryStoreTest, MissingKeyLoadsNothingAndSaysSo) {
    int keyFlag = -1;
    EXPECT_EQ(LoadFromRegistry(list_, &keyFlag), 0);
    EXPECT_EQ(keyFlag, 0);
    EXPECT_EQ(list_.Count(), 0);
    EXPECT_EQ(LoadFromRegistry(list_, nullptr), 0);
}

TEST_F(RegistryStoreTest, LoadsEverySubkeyWithMissingValuesAsZero) {
    DWORD contexts = 0x21, flags = 1;
    RegistryKeyGuard::CreateSubkey("Full", "C:\\full.htm", &contexts, &flags);
    RegistryKeyGuard::CreateSubkey("Bare", "C:\\bare.htm");
    RegistryKeyGuard::CreateSubkey("表示", "C:\\表\\run.htm");
    int keyFlag = -1;
    EXPECT_EQ(LoadFromRegistry(list_, &keyFlag), 1);
    EXPECT_EQ(keyFlag, 1);
    ASSERT_EQ(list_.Count(), 3);
    int full = list_.FindEntryByName("Full"), bare = list_.FindEntryByName("Bare");
    MenuExtEntry e;
    list_.GetEntryAt(full, &e);
    EXPECT_EQ(e.contexts, 0x21u);
    EXPECT_EQ(e.flags, 1u);
    EXPECT_EQ(e.enabled, 1);
    list_.GetEntryAt(bare, &e);
    EXPECT_EQ(e.contexts, 0u);
    EXPECT_EQ(e.flags, 0u);
    list_.GetEntryAt(list_.FindEntryByName("表示"), &e);
    EXPECT_STREQ(e.target, "C:\\表\\run.htm");
    ExpectRowsMirrorEntries(list_);
}

TEST_F(RegistryStoreTest, EmptyDefaultValueIsLeftOutWithoutAnError) {
    RegistryKeyGuard::CreateSubkey("Empty", "");
    RegistryKeyGuard::CreateSubkey("Good", "C:\\g.htm");
    EXPECT_EQ(LoadFromRegistry(list_, nullptr), 1);
    EXPECT_EQ(Names(), "Good");
}

TEST_F(RegistryStoreTest, DefaultValueOf259BytesLoadsAnd260IsSkipped) {
    std::string fits(259, 'a'), tooLong(260, 'b');
    RegistryKeyGuard::CreateSubkey("Fits", fits.c_str());
    RegistryKeyGuard::CreateSubkey("TooLong", tooLong.c_str());
    RegistryKeyGuard::CreateSubkey("NoDefault", nullptr);
    EXPECT_EQ(LoadFromRegistry(list_, nullptr), 0);
    EXPECT_EQ(Names(), "Fits");
    MenuExtEntry e;
    list_.GetEntryAt(0, &e);
    EXPECT_EQ(std::string(e.target), fits);
}

TEST_F(RegistryStoreTest, ALongSubkeyNameDoesNotHideTheEntriesAfterIt) {
    std::string longName(65, 'L');
    RegistryKeyGuard::CreateSubkey("A", "C:\\a.htm");
    RegistryKeyGuard::CreateSubkey(longName.c_str(), "C:\\long.htm");
    RegistryKeyGuard::CreateSubkey("Z", "C:\\z.htm");
    EXPECT_EQ(LoadFromRegistry(list_, nullptr), 0);
    EXPECT_EQ(Names(), "A Z");
}

TEST_F(RegistryStoreTest, SavingWritesEnabledEntriesInListOrder) {
    MenuExtEntry r = MakeEntry("R", "\\\\server\\share\\表.htm", 0x80000021, 0xFFFFFFFF, 1);
    MenuExtEntry q = MakeEntry("Q", nullptr, 1, 0, 0);
    MenuExtEntry p = MakeEntry("P", "C:\\p.htm", 0x7F, 1, 1);
    ASSERT_EQ(list_.AddEntry(&r), kOk);
    ASSERT_EQ(list_.AddEntry(&q), kOk);
    ASSERT_EQ(list_.AddEntry(&p), kOk);
    RegistryKeyGuard::CreateSubkey("Old", "C:\\old.htm");
    ASSERT_EQ(SaveToRegistry(list_), 1);
    EXPECT_EQ(RegistryKeyGuard::SubkeyNames(), (KeyNames{"P", "R"}));  // enumerated in name order
    std::string target;
    DWORD contexts, flags;
    ASSERT_TRUE(RegistryKeyGuard::ReadSubkey("R", &target, &contexts, &flags));
    EXPECT_EQ(target, r.target);
    EXPECT_EQ(contexts, 0x80000021u);
    EXPECT_EQ(flags, 0xFFFFFFFFu);

    EntryList reloaded;
    HWND lv = listView_;
    list_.Clear();
    reloaded.listView = lv;
    EXPECT_EQ(LoadFromRegistry(reloaded, nullptr), 1);
    EXPECT_EQ(reloaded.Count(), 2);
    ExpectRowsMirrorEntries(reloaded);
    reloaded.Clear();
}

TEST_F(RegistryStoreTest, AnAllDisabledListLeavesAnEmptyKey) {
    Fill("P- Q-");
    RegistryKeyGuard::CreateSubkey("Old", "C:\\old.htm");
    ASSERT_EQ(SaveToRegistry(list_), 1);
    EXPECT_TRUE(RegistryKeyGuard::MenuExtKeyExists());
    EXPECT_TRUE(RegistryKeyGuard::SubkeyNames().empty());
}

TEST_F(RegistryStoreTest, SavingKeepsSubkeysTheListCouldNotShow) {
    std::string longName(70, 'L');
    RegistryKeyGuard::CreateSubkey(longName.c_str(), "C:\\long.htm");
    RegistryKeyGuard::CreateSubkey("NoDefault", nullptr);
    RegistryKeyGuard::CreateSubkey("Empty", "");
    RegistryKeyGuard::CreateSubkey("TooLong", std::string(300, 'x').c_str());
    RegistryKeyGuard::CreateSubkey("Shown", "C:\\shown.htm");
    RegistryKeyGuard::CreateSubkey("Shown\\Child", "C:\\child.htm");
    Fill("P");
    ASSERT_EQ(SaveToRegistry(list_), 1);
    EXPECT_EQ(RegistryKeyGuard::SubkeyNames(), (KeyNames{"Empty", longName, "NoDefault", "P", "TooLong"}));
}

}  // namespace
