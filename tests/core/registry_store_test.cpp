// Loading from and saving to the MenuExt key of the test prefix's registry.
#include <windows.h>

#include <algorithm>
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

// A subkey's default value as the registry holds it in Unicode, byte for byte.
std::string StoredDefaultValue(const std::wstring& name) {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, (L"Software\\Microsoft\\Internet Explorer\\MenuExt\\" + name).c_str(), 0,
                      KEY_READ, &key) != ERROR_SUCCESS)
        return "<no key>";
    char value[1024];
    DWORD size = sizeof(value);
    LONG queried = RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    return queried == ERROR_SUCCESS ? std::string(value, size) : "<no value>";
}

TEST_F(RegistryStoreTest, MissingKeyLoadsNothingAndSaysSo) {
    int keyFlag = -1;
    EXPECT_EQ(LoadFromRegistry(list_, &keyFlag), 0);
    EXPECT_EQ(keyFlag, 0);
    EXPECT_EQ(list_.Count(), 0);
    EXPECT_EQ(LoadFromRegistry(list_, nullptr), 0);
}

TEST_F(RegistryStoreTest, LoadsWhatFitsSkipsTheRestAndGoesOnPastALongName) {
    DWORD contexts = 0x21, flags = 1;
    const std::string fits(259, 'a'), longName(65, 'L');
    RegistryKeyGuard::CreateSubkey("Full", "C:\\full.htm", &contexts, &flags);
    RegistryKeyGuard::CreateSubkey("Bare", "C:\\bare.htm");  // no Contexts, no Flags: both 0
    RegistryKeyGuard::CreateSubkey("表示", "C:\\表\\run.htm");
    RegistryKeyGuard::CreateSubkey("Empty", "");               // left out without an error
    RegistryKeyGuard::CreateSubkey("Fits", fits.c_str());
    RegistryKeyGuard::CreateSubkey("TooLong", std::string(260, 'b').c_str());
    RegistryKeyGuard::CreateSubkey("NoDefault", nullptr);
    // A name too long for the list must not hide the subkeys enumerated after it.
    RegistryKeyGuard::CreateSubkey(longName.c_str(), "C:\\long.htm");
    RegistryKeyGuard::CreateSubkey("Z", "C:\\z.htm");
    int keyFlag = -1;
    EXPECT_EQ(LoadFromRegistry(list_, &keyFlag), 0);
    EXPECT_EQ(keyFlag, 1);
    EXPECT_EQ(Names(), "Bare Fits Full Z 表示");
    const struct { const char* name; const std::string target; uint32_t contexts, flags; } expected[] = {
        {"Full", "C:\\full.htm", 0x21, 1}, {"Bare", "C:\\bare.htm", 0, 0}, {"表示", "C:\\表\\run.htm", 0, 0},
        {"Fits", fits, 0, 0}};
    for (const auto& x : expected) {
        MenuExtEntry e;
        ASSERT_EQ(list_.GetEntryAt(list_.FindEntryByName(x.name), &e), 1) << x.name;
        EXPECT_EQ(e.target, x.target) << x.name;
        EXPECT_EQ(e.contexts, x.contexts) << x.name;
        EXPECT_EQ(e.flags, x.flags) << x.name;
        EXPECT_EQ(e.enabled, 1) << x.name;
    }
    ExpectRowsMirrorEntries(list_);
}

TEST_F(RegistryStoreTest, AKeyWithOnlyLoadableSubkeysLoadsWithoutError) {
    RegistryKeyGuard::CreateSubkey("Good", "C:\\g.htm");
    RegistryKeyGuard::CreateSubkey("Empty", "");
    EXPECT_EQ(LoadFromRegistry(list_, nullptr), 1);
    EXPECT_EQ(Names(), "Good");
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

TEST_F(RegistryStoreTest, SubkeysCodePage932CannotHoldAreNeitherListedNorTouchedByUpdate) {
    // The ANSI functions would hand these over with "?" or, for the yen sign, a backslash.
    const struct { std::wstring name, target; } lost[] = {
        {L"한글", L"C:\\x.htm"}, {L"Q", L"C:\\한.htm"}, {L"a\u00A5b", L"C:\\y.htm"},
        {L"Yen", L"C:\\\u00A5.htm"}, {L"\U00020BB7", L"C:\\z.htm"}, {L"Lone", L"C:\\\xD800.htm"}};
    RegistryKeyGuard::CreateSubkey("P", "C:\\p.htm");
    for (const auto& s : lost)
        ASSERT_EQ(RegistryKeyGuard::RunTool(L"reg.exe add \"HKCU\\Software\\Microsoft\\Internet Explorer\\MenuExt\\" +
                                            s.name + L"\" /ve /d \"" + s.target + L"\" /f"),
                  0);
    int keyFlag = -1;
    EXPECT_EQ(LoadFromRegistry(list_, &keyFlag), 0);  // the start-up warning tells of them
    EXPECT_EQ(keyFlag, 1);
    EXPECT_EQ(Names(), "P");
    Fill("R");
    ASSERT_EQ(SaveToRegistry(list_), 1);
    for (const auto& s : lost)
        EXPECT_EQ(StoredDefaultValue(s.name),
                  std::string(reinterpret_cast<const char*>(s.target.c_str()), (s.target.size() + 1) * sizeof(wchar_t)))
            << s.name;
    KeyNames names = RegistryKeyGuard::SubkeyNames();
    EXPECT_EQ(names.size(), std::size(lost) + 2) << "no second key under a name the ANSI functions made up";
    for (const char* name : {"P", "R"}) EXPECT_EQ(std::count(names.begin(), names.end(), name), 1) << name;
}

}  // namespace
