// The three stores: the MenuExt key of the test prefix's registry, Disable.dat with its
// positions, and the settings file as a hand may have left it.
#include <windows.h>

#include <cstring>

#include "stores/disabled_store.h"
#include "stores/registry_store.h"
#include "stores/settings_store.h"
#include "tests/support/entry_fixture.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

using Ints = std::vector<int>;

std::string Bytes(const std::string& path) { std::string bytes; TempDir::ReadFile(path, &bytes); return bytes; }

class SettingsStoreTest : public testing::Test {
protected:
    void SetUp() override {
        store_.SetIniPath(path_.c_str());
        strcpy(store_.userName, "Alice");
    }
    Ints Placement() { Ints p(6, 7); store_.LoadWindowPlacement(p.data(), &p[4], &p[5]); return p; }
    TempDir dir_;
    std::string path_ = dir_.File(kIniFileName);
    SettingsStore store_;
};

TEST_F(SettingsStoreTest, ReadsDefaultsWithoutAFileAndNumberListsAsStoredByHand) {
    Ints widths(5);
    EXPECT_EQ(Placement(), (Ints{kNotStored, kNotStored, kNotStored, kNotStored, SW_SHOWDEFAULT, 0}));
    store_.LoadColumnWidths(widths.data(), 5);  // a fifth column takes the fourth one's default
    EXPECT_EQ(widths, (Ints{180, 120, 40, 320, 320}));
    struct { const char* stored; Ints order; } cases[] = {
        {"3,2,1,0", {3, 2, 1, 0}}, {"1,2", {0, 1, 2, 3}}, {"2,0,1,3,9", {2, 0, 1, 3}},
        {",3,,2,1,0,", {3, 2, 1, 0}}, {" -1,x,+2,3", {-1, 0, 2, 3}}};
    for (const auto& c : cases) {
        TempDir::WriteFile(path_, std::string("[Alice/Main]\r\nColOrder=") + c.stored + "\r\n");
        Ints order(4);
        store_.LoadColumnOrder(order.data(), 4);
        EXPECT_EQ(order, c.order) << c.stored;
    }
    TempDir::WriteFile(path_, "[Alice/List]\r\nDisableItemPos=3,,7\r\n");
    EXPECT_EQ(store_.CountDisabledPositions(), 2);
    Ints positions(4, 99);
    store_.LoadDisabledPositions(positions.data(), 4);
    EXPECT_EQ(positions, (Ints{3, 7, -1, -1}));
}

// Disable.dat and DisableItemPos; a restart is a list refilled with the enabled entries only.
class DisabledStoreTest : public EntryListTest {
protected:
    void SetUp() override {
        settings_.SetIniPath(dir_.File(kIniFileName).c_str());
        strcpy(settings_.userName, "Alice");
    }
    int Save() { return SaveDisabled(list_, settings_, path_.c_str()); }
    int Restart(const char* enabled, int noSavePos = 0, int* duplicates = nullptr) {
        list_.Clear();
        Fill(enabled);
        return RestoreDisabled(list_, settings_, path_.c_str(), noSavePos, duplicates);
    }
    TempDir dir_;
    SettingsStore settings_;
    std::string path_ = dir_.File(kDisabledFileName);
};

// Saved from "P+ Q- R+ S-" (Q at 1, S at 3), then restored into a list of enabled entries:
// at their places, or at the end in file order with DisNoSavePos, without positions, or with
// positions past the end or negative; a name the list holds in any case is counted, not added.
TEST_F(DisabledStoreTest, DisabledEntriesComeBackAtTheirPlacesOrAtTheEnd) {
    const struct { const char* positions; int noSavePos; const char* enabled; const char* names; int duplicates; } cases[] = {
        {nullptr, 0, "P R", "P+ Q- R+ S-", 0}, {nullptr, 1, "P R", "P+ R+ Q- S-", 0}, {"", 0, "P R", "P+ R+ Q- S-", 0},
        {"9,1", 0, "A B s", "A+ B+ s+ Q-", 1}, {"-4,1", 0, "A B", "A+ S- B+ Q-", 0}};
    for (const auto& c : cases) {
        list_.Clear();
        Fill("P+ Q- R+ S-");
        EXPECT_EQ(Save(), 1);
        EXPECT_NE(Bytes(settings_.iniPath).find("DisableItemPos=1,3\r\n"), std::string::npos);
        if (c.positions) WritePrivateProfileStringA("Alice/List", "DisableItemPos", *c.positions ? c.positions : nullptr,
                                                    settings_.iniPath);
        int duplicates = -1;
        EXPECT_EQ(Restart(c.enabled, c.noSavePos, &duplicates), 2 - c.duplicates) << c.names;
        EXPECT_EQ(duplicates, c.duplicates) << c.names;
        std::string shown;
        MenuExtEntry e;
        for (int i = 0; list_.GetEntryAt(i, &e); ++i) shown += (i ? " " : "") + std::string(e.name) + "-+"[e.enabled];
        EXPECT_EQ(shown, c.names);
    }
}

// Disable.dat is the only copy of the disabled entries: a save that cannot finish keeps the
// previous file byte for byte and the positions that belong to it.
TEST_F(DisabledStoreTest, AFailedSaveKeepsThePreviousFile) {
    Fill("P+ Q- R+ S-");
    ASSERT_EQ(Save(), 1);
    const std::string before = Bytes(path_);
    list_.SetEnabled(0, false);
    const std::string pending = path_ + ".tmp";
    ASSERT_TRUE(CreateDirectoryA(pending.c_str(), nullptr));  // the new file cannot be written
    EXPECT_EQ(Save(), 0);
    RemoveDirectoryA(pending.c_str());
    HANDLE held = CreateFileA(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(Save(), 0);  // the new file cannot take the old one's place
    CloseHandle(held);
    EXPECT_EQ(Bytes(path_), before);
    EXPECT_EQ(GetFileAttributesA(pending.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(settings_.CountDisabledPositions(), 2);  // those of the file kept
}

// DisableItemPos holds 255 characters: positions that do not fit are left out whole, and their
// entries come back at the end.
TEST_F(DisabledStoreTest, PositionsBeyondTheTextLimitAppendTheirEntries) {
    std::string all, enabled, expected, appended;
    for (int i = 0; i < 200; ++i) {
        const std::string name = "E" + std::to_string(1000 + i);
        all += name + (i % 2 ? "- " : "+ ");
        if (i % 2 == 0) enabled += name + " ";
        (i % 2 && i > 153 ? appended : expected) += name + " ";
    }
    Fill(all.c_str());
    list_.SetEnabled(10, false);  // 1,3,5,7,9,10,11,13,...,153 take all 255
    ASSERT_EQ(Save(), 1);
    EXPECT_EQ(settings_.CountDisabledPositions(), 78);
    list_.SetEnabled(10, true);  // 1,3,...,153 take 252, and 155 would need 256
    ASSERT_EQ(Save(), 1);
    EXPECT_EQ(Restart(enabled.c_str()), 100);
    EXPECT_EQ(Names() + " ", expected + appended);
}

class RegistryStoreTest : public EntryListTest {
protected:
    RegistryKeyGuard guard_;
};

using KeyNames = std::vector<std::string>;

TEST_F(RegistryStoreTest, LoadsWhatFitsAndUpdateKeepsWhatTheListCouldNotShow) {
    int keyFlag = -1;
    EXPECT_FALSE(LoadFromRegistry(list_, &keyFlag));  // no key: nothing, and it says so
    EXPECT_EQ(keyFlag, 0);
    RegistryKeyGuard::CreateSubkey("Good", "C:\\g.htm");
    RegistryKeyGuard::CreateSubkey("Good\\Child", "C:\\c.htm");
    RegistryKeyGuard::CreateSubkey("Empty", "");  // left out without an error
    EXPECT_TRUE(LoadFromRegistry(list_, nullptr));
    EXPECT_EQ(Names(), "Good");
    list_.Clear();

    DWORD contexts = 0x21, flags = 1;
    const std::string longName(65, 'L');
    RegistryKeyGuard::CreateSubkey("Full", "C:\\full.htm", &contexts, &flags);
    RegistryKeyGuard::CreateSubkey("表示", "C:\\表\\run.htm");  // no Contexts, no Flags: both 0
    RegistryKeyGuard::CreateSubkey("NoDefault", nullptr);
    // A name too long for the list must not hide the subkeys enumerated after it.
    RegistryKeyGuard::CreateSubkey(longName.c_str(), "C:\\long.htm");
    RegistryKeyGuard::CreateSubkey(std::string(64, 'M').c_str(), "C:\\m.htm");
    EXPECT_FALSE(LoadFromRegistry(list_, &keyFlag));
    EXPECT_EQ(keyFlag, 1);
    EXPECT_EQ(Describe(list_), "Full|C:\\full.htm|21|1|1\nGood|C:\\g.htm|0|0|1\n" +
                                   std::string(64, 'M') + "|C:\\m.htm|0|0|1\n表示|C:\\表\\run.htm|0|0|1\n");

    // Update writes the enabled entries, removes the rest, Empty and Good's child with them, and
    // leaves what the list could not show.
    list_.Clear();
    const MenuExtEntry entries[] = {MakeEntry("R", "\\\\server\\share\\表.htm", 0x80000021, 0xFFFFFFFF, 1),
                                    MakeEntry("Q", nullptr, 1, 0, 0), MakeEntry("P", "C:\\p.htm", 0x7F, 1, 1)};
    for (const MenuExtEntry& e : entries) ASSERT_EQ(list_.AddEntry(&e), kOk);
    ASSERT_TRUE(SaveToRegistry(list_));
    EXPECT_EQ(RegistryKeyGuard::SubkeyNames(), (KeyNames{longName, "NoDefault", "P", "R"}));
    EXPECT_EQ(RegistryKeyGuard::ReadSubkey("R"), "\\\\server\\share\\表.htm|80000021|ffffffff");
    EXPECT_EQ(RegistryKeyGuard::ReadSubkey("P"), "C:\\p.htm|7f|1");
    list_.Clear();  // an all-disabled list leaves the key, empty of entries
    Fill("P- Q-");
    ASSERT_TRUE(SaveToRegistry(list_));
    EXPECT_EQ(RegistryKeyGuard::SubkeyNames(), (KeyNames{longName, "NoDefault"}));
}

// Where the ANSI code page is 932 the default value is taken from the wide reading; for every
// type and length it must be what the ANSI reading gives, 259 bytes taken and 260 not, and
// Update must delete exactly the subkeys that load or are empty.
TEST_F(RegistryStoreTest, DefaultValuesOfEveryTypeLoadAsTheAnsiFunctionReadsThem) {
    const std::wstring kanji129(129, L'\u8868');  // 表: 258 bytes in code page 932
    std::string kanji129Bytes;
    while (kanji129Bytes.size() < 258) kanji129Bytes += "表";
    auto sz = RegistryKeyGuard::Utf16;
    // Each default value as another tool writes it, and the target it loads as; none when the
    // subkey is no entry (all but Empty stay for the next Update).
    const struct { const char* name; DWORD type; std::string bytes, target; } cases[] = {
        {"Sz", REG_SZ, sz(L"C:\\表\\a.htm"), "C:\\表\\a.htm"},
        {"Expand", REG_EXPAND_SZ, sz(L"%WINDIR%\\b.htm"), "%WINDIR%\\b.htm"},
        {"Multi", REG_MULTI_SZ, sz(std::wstring(L"first\0second\0", 13)), "first"},
        {"Multi over", REG_MULTI_SZ, sz(L"x" + std::wstring(1, L'\0') + kanji129), ""},
        {"Unterminated", REG_SZ, sz(L"abc").substr(0, 6), "abc"},
        {"Bytes 259", REG_SZ, sz(kanji129 + L"x"), kanji129Bytes + "x"},
        {"Bytes 260", REG_SZ, sz(kanji129 + L"xy"), ""},
        {"Empty", REG_SZ, sz(L""), ""},
        {"Binary", REG_BINARY, std::string("bin\0", 4), "bin"},
        {"Dword", REG_DWORD, std::string("\x41\x42\0\0", 4), "AB"},
        {"Binary no end", REG_BINARY, std::string(260, 'n'), ""},
        {"Binary long", REG_BINARY, std::string(261, 'm'), ""}};
    for (const auto& c : cases)
        RegistryKeyGuard::CreateSubkeyW(std::wstring(c.name, c.name + strlen(c.name)), c.type, c.bytes);
    EXPECT_FALSE(LoadFromRegistry(list_, nullptr));  // some do not fit
    for (const auto& c : cases) {
        MenuExtEntry e = {};
        list_.GetEntryAt(list_.FindEntryByName(c.name), &e);
        EXPECT_EQ(e.target, c.target) << c.name;
    }
    list_.Clear();
    ASSERT_TRUE(SaveToRegistry(list_));
    EXPECT_EQ(RegistryKeyGuard::SubkeyNames(),
              (KeyNames{"Binary long", "Binary no end", "Bytes 260", "Multi over"}));
}

// Subkeys the list cannot show whole, written as other tools write them. Update must leave them
// byte for byte, and no entry may take their names; of two names that lstrcmpiA calls equal
// and the registry does not (ー and ―, ゛ and ﾞ), the list shows the first.
TEST_F(RegistryStoreTest, SubkeysTheListCannotShowStayUntouchedAndKeepTheirNames) {
    const std::wstring subkeys[][2] = {
        {L"P", L"C:\\p.htm"}, {L"検索ー", L"C:\\a.htm"}, {L"検索―", L"C:\\b.htm"}, {L"濁゛", L"C:\\c.htm"},
        {L"濁ﾞ", L"C:\\d.htm"}, {std::wstring(65, L'L'), L"C:\\long.htm"},
        // The ANSI functions would give these with "?" or, for ¥, the backslash as best fit.
        {L"한글", L"C:\\x"}, {L"Q", L"C:\\한"}, {L"a\u00A5b", L"y"}, {L"Yen", L"C:\\\u00A5"}, {L"\U00020BB7", L"z"},
        {L"Lone", L"C:\\\xD800"}, {L"Cafe", L"C:\\caf\u00E9.htm"},
        // Every file the list is written to would cut these at the break.
        {L"Name\nwith break", L"C:\\n.htm"}, {L"Break", L"C:\\a.htm\r\n\"quoted\""}};
    for (const auto& s : subkeys) RegistryKeyGuard::CreateSubkeyW(s[0], REG_SZ, RegistryKeyGuard::Utf16(s[1]));
    int keyFlag = -1;
    EXPECT_FALSE(LoadFromRegistry(list_, &keyFlag));  // the start-up warning tells of them
    EXPECT_EQ(keyFlag, 1);
    ASSERT_EQ(list_.Count(), 3) << Names();
    MenuExtEntry first, cafe = MakeEntry("cafe", "C:\\mine.htm"), twin = MakeEntry("検索―");
    ASSERT_TRUE(list_.GetEntryAt(list_.FindEntryByName("検索ー"), &first));
    EXPECT_EQ(list_.AddEntry(&twin), kDuplicateName);
    EXPECT_EQ(list_.AddEntry(&cafe), kDuplicateName);  // Update would write into Cafe
    EXPECT_TRUE(list_.IsNameTaken("CAFE", -1));
    EXPECT_TRUE(list_.IsNameTaken("Lone", -1));
    EXPECT_FALSE(list_.IsNameTaken("Cafe2", -1));
    EXPECT_EQ(list_.InsertEntryAt(0, &cafe), kDuplicateName);

    list_.DeleteEntryAt(list_.FindEntryByName(first.name));  // its twin stays out of sight
    Fill("R");
    ASSERT_TRUE(SaveToRegistry(list_));
    wchar_t deleted[kNameSize] = {};
    MultiByteToWideChar(932, 0, first.name, -1, deleted, kNameSize);
    for (const auto& s : subkeys)  // byte for byte
        EXPECT_EQ(RegistryKeyGuard::ReadSubkeyW(s[0]), s[0] == deleted ? L"<missing>" : s[1] + L'\0') << &s - subkeys;
    EXPECT_EQ(RegistryKeyGuard::SubkeyNames().size(), std::size(subkeys));  // R in, the deleted twin out
}

}  // namespace
