// Loading from and saving to the MenuExt key of the test prefix's registry.
#include <windows.h>

#include <algorithm>
#include <cstring>
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

// Where the ANSI code page is 932 the default value is taken from the wide reading; for every
// type and length it must be what RegQueryValueExA hands over, and Update must delete exactly
// the subkeys that load.
TEST_F(RegistryStoreTest, DefaultValuesOfEveryTypeLoadAsTheAnsiFunctionReadsThem) {
    const std::wstring kanji129(129, L'\u8868');  // 表: 258 bytes in code page 932
    const struct { const char* name; DWORD type; std::wstring text; std::string bytes; } cases[] = {
        {"Sz", REG_SZ, L"C:\\表\\a.htm", ""}, {"Expand", REG_EXPAND_SZ, L"%WINDIR%\\b.htm", ""},
        {"Multi", REG_MULTI_SZ, std::wstring(L"first\0second\0", 14), ""},
        {"Multi over", REG_MULTI_SZ, L"x" + std::wstring(1, L'\0') + kanji129 + L'\0', ""},
        {"Unterminated", REG_SZ, std::wstring(L"abc", 3), ""}, {"Bytes 259", REG_SZ, kanji129 + L"x", ""},
        {"Bytes 260", REG_SZ, kanji129 + L"xy", ""}, {"Empty", REG_SZ, L"", ""},
        {"Binary", REG_BINARY, L"", std::string("bin\0", 4)}, {"Dword", REG_DWORD, L"", std::string("\x41\x42\0\0", 4)},
        {"Binary no end", REG_BINARY, L"", std::string(260, 'n')}, {"Binary long", REG_BINARY, L"", std::string(261, 'm')}};
    HKEY parent;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kMenuExtKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &parent,
                              nullptr), 0);
    for (const auto& c : cases) {
        HKEY sub;
        ASSERT_EQ(RegCreateKeyExA(parent, c.name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr), 0);
        if (c.bytes.empty())
            RegSetValueExW(sub, nullptr, 0, c.type, reinterpret_cast<const BYTE*>(c.text.data()),
                           static_cast<DWORD>((c.text.size() + (c.type != REG_MULTI_SZ && c.name[0] != 'U')) * 2));
        else
            RegSetValueExA(sub, nullptr, 0, c.type, reinterpret_cast<const BYTE*>(c.bytes.data()),
                           static_cast<DWORD>(c.bytes.size()));
        RegCloseKey(sub);
    }
    EXPECT_EQ(LoadFromRegistry(list_, nullptr), 0);  // some do not fit
    std::string loaded;
    for (const auto& c : cases) {
        HKEY sub;
        ASSERT_EQ(RegOpenKeyExA(parent, c.name, 0, KEY_READ, &sub), 0);
        char value[kTargetSize + 1] = {};
        DWORD size = kTargetSize;
        bool fits = RegQueryValueExA(sub, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) == 0 &&
                    memchr(value, 0, kTargetSize) && value[0];
        RegCloseKey(sub);
        int index = list_.FindEntryByName(c.name);
        EXPECT_EQ(index >= 0, fits) << c.name;
        MenuExtEntry e;
        if (!fits || !list_.GetEntryAt(index, &e)) continue;
        EXPECT_STREQ(e.target, value) << c.name;
        loaded += std::string(loaded.empty() ? "" : " ") + c.name;
    }
    RegCloseKey(parent);
    EXPECT_EQ(loaded, "Sz Expand Multi Unterminated Bytes 259 Binary Dword");
    list_.Clear();
    ASSERT_EQ(SaveToRegistry(list_), 1);
    EXPECT_EQ(RegistryKeyGuard::SubkeyNames(),
              (KeyNames{"Binary long", "Binary no end", "Bytes 260", "Empty", "Multi over"}));
}

TEST_F(RegistryStoreTest, SubkeysCodePage932CannotHoldAreNeitherListedNorTouchedByUpdate) {
    // The ANSI functions would give them with "?" or, for ¥, the backslash as best fit.
    const std::wstring key = L"Software\\Microsoft\\Internet Explorer\\MenuExt\\", lost[][2] = {{L"한글", L"C:\\x"},
        {L"Q", L"C:\\한"}, {L"a\u00A5b", L"y"}, {L"Yen", L"C:\\\u00A5"}, {L"\U00020BB7", L"z"}, {L"Lone", L"C:\\\xD800"}};
    RegistryKeyGuard::CreateSubkey("P", "C:\\p.htm");
    for (const auto& s : lost) ASSERT_EQ(_wsystem((L"reg.exe add \"HKCU\\" + key + s[0] + L"\" /ve /d \"" + s[1] + L"\" /f").c_str()), 0);
    int keyFlag = -1;
    EXPECT_EQ(LoadFromRegistry(list_, &keyFlag), 0);  // the start-up warning tells of them
    EXPECT_EQ(keyFlag, 1);
    EXPECT_EQ(Names(), "P");
    Fill("R");
    ASSERT_EQ(SaveToRegistry(list_), 1);
    for (const auto& s : lost) {
        HKEY sub;
        wchar_t value[16] = {};
        DWORD size = sizeof(value);
        ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, (key + s[0]).c_str(), 0, KEY_READ, &sub), 0) << s[0];
        RegQueryValueExW(sub, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
        RegCloseKey(sub);
        EXPECT_EQ(std::wstring(value, size / 2), s[1] + L'\0') << s[0];  // byte for byte
    }
    KeyNames names = RegistryKeyGuard::SubkeyNames();  // and no second key under a made-up name
    EXPECT_EQ(std::count(names.begin(), names.end(), "P") + std::count(names.begin(), names.end(), "R"), 2);
    EXPECT_EQ(names.size(), std::size(lost) + 2);
}

}  // namespace
