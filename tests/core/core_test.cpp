// The entry list on its own, and loading it from and saving it to the MenuExt key of the test
// prefix's registry.
#include <algorithm>
#include <cstring>
#include <functional>
#include <sstream>

#include "core/registry_store.h"
#include "tests/support/entry_fixture.h"
#include "tests/support/registry_fixture.h"

namespace {

using Ints = std::vector<int>;

TEST_F(EntryListTest, NamesAreUniqueInAnyLetterCaseAndDoubleByteNamesStayWhole) {
    // 表 (0x95 0x5C) and ソ (0x83 0x5C) end in a backslash byte: they must neither collide nor split.
    Fill("ABC 表 ソ 表ソ");
    for (const char* taken : {"abc", "表", "表ソ"}) {
        MenuExtEntry e = MakeEntry(taken);
        EXPECT_EQ(list_.AddEntry(&e), kDuplicateName) << taken;
        EXPECT_EQ(list_.InsertEntryAt(0, &e), kDuplicateName) << taken;
    }
    EXPECT_EQ((Ints{list_.FindEntryByName("aBc"), list_.FindEntryByName("ソ"), list_.FindEntryByName(nullptr)}),
              (Ints{0, 2, -1}));
    EXPECT_EQ(Names(), "ABC 表 ソ 表ソ");
}

TEST_F(EntryListTest, RecordsTheListCannotKeepAreRefusedWithTheirOwnCodesAndFarPositionsAppend) {
    Fill("P");
    // A name beginning with a backslash, no target, no name, and line breaks that every file
    // the list is written to would cut.
    const MenuExtEntry refused[] = {MakeEntry("\\x"), MakeEntry("E", ""), MakeEntry(""), MakeEntry("a\nb"),
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
        {"swap in place", [&] { return list_.SwapEntries(2, 2); }, true, "R+ Q- P+", ""},
        {"move past the end", [&] { return list_.MoveEntry(0, 3); }, false, "R+ Q- P+", ""},
        {"swap before the start", [&] { return list_.SwapEntries(-1, 0); }, false, "R+ Q- P+", ""},
        {"replace", [&] { return list_.ReplaceEntryAt(2, &x); }, true, "R+ Q- X-", "changed 2\n"},
        {"replace past the end", [&] { return list_.ReplaceEntryAt(3, &x); }, false, "R+ Q- X-", ""},
        {"enable", [&] { return list_.SetEnabled(1, true); }, true, "R+ Q+ X-", "changed 1\n"},
        {"enable again", [&] { return list_.SetEnabled(1, true); }, true, "R+ Q+ X-", ""},
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

class RegistryStoreTest : public EntryListTest {
protected:
    RegistryKeyGuard guard_;
};

using KeyNames = std::vector<std::string>;

TEST_F(RegistryStoreTest, LoadsWhatFitsSkipsTheRestAndGoesOnPastALongName) {
    int keyFlag = -1;
    EXPECT_EQ(LoadFromRegistry(list_, &keyFlag), 0);  // no key: nothing, and it says so
    EXPECT_EQ(keyFlag, 0);
    RegistryKeyGuard::CreateSubkey("Good", "C:\\g.htm");
    RegistryKeyGuard::CreateSubkey("Empty", "");  // left out without an error
    EXPECT_EQ(LoadFromRegistry(list_, nullptr), 1);
    EXPECT_EQ(Names(), "Good");
    list_.Clear();

    DWORD contexts = 0x21, flags = 1;
    const std::string fits(259, 'a');
    RegistryKeyGuard::CreateSubkey("Full", "C:\\full.htm", &contexts, &flags);
    RegistryKeyGuard::CreateSubkey("表示", "C:\\表\\run.htm");  // no Contexts, no Flags: both 0
    RegistryKeyGuard::CreateSubkey("Fits", fits.c_str());
    RegistryKeyGuard::CreateSubkey("TooLong", std::string(260, 'b').c_str());
    RegistryKeyGuard::CreateSubkey("NoDefault", nullptr);
    // A name too long for the list must not hide the subkeys enumerated after it.
    RegistryKeyGuard::CreateSubkey(std::string(65, 'L').c_str(), "C:\\long.htm");
    RegistryKeyGuard::CreateSubkey("Z", "C:\\z.htm");
    EXPECT_EQ(LoadFromRegistry(list_, &keyFlag), 0);
    EXPECT_EQ(keyFlag, 1);
    EXPECT_EQ(Describe(list_), "Fits|" + fits + "|0|0|1\nFull|C:\\full.htm|21|1|1\nGood|C:\\g.htm|0|0|1\nZ|C:\\z.htm|0|0|1\n"
                               "表示|C:\\表\\run.htm|0|0|1\n");
}

TEST_F(RegistryStoreTest, SavingWritesTheEnabledEntriesAndKeepsSubkeysTheListCouldNotShow) {
    const std::string longName(70, 'L');
    // An empty default value is no entry, and the list's own to remove.
    for (const char* name : {longName.c_str(), "Empty", "Shown", "Shown\\Child"})
        RegistryKeyGuard::CreateSubkey(name, *name == 'E' ? "" : "C:\\x.htm");
    RegistryKeyGuard::CreateSubkey("NoDefault", nullptr);
    RegistryKeyGuard::CreateSubkey("TooLong", std::string(300, 'x').c_str());
    const MenuExtEntry entries[] = {MakeEntry("R", "\\\\server\\share\\表.htm", 0x80000021, 0xFFFFFFFF, 1),
                                    MakeEntry("Q", nullptr, 1, 0, 0), MakeEntry("P", "C:\\p.htm", 0x7F, 1, 1)};
    for (const MenuExtEntry& e : entries) ASSERT_EQ(list_.AddEntry(&e), kOk);
    ASSERT_EQ(SaveToRegistry(list_), 1);
    EXPECT_EQ(RegistryKeyGuard::SubkeyNames(), (KeyNames{longName, "NoDefault", "P", "R", "TooLong"}));
    EXPECT_EQ(RegistryKeyGuard::ReadSubkey("R"), "\\\\server\\share\\表.htm|80000021|ffffffff");
    EXPECT_EQ(RegistryKeyGuard::ReadSubkey("P"), "C:\\p.htm|7f|1");

    list_.Clear();  // an all-disabled list leaves the key, empty of entries
    Fill("P- Q-");
    ASSERT_EQ(SaveToRegistry(list_), 1);
    EXPECT_EQ(RegistryKeyGuard::SubkeyNames(), (KeyNames{longName, "NoDefault", "TooLong"}));
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
              (KeyNames{"Binary long", "Binary no end", "Bytes 260", "Multi over"}));
}

// Subkeys the list cannot show whole, written as other tools write them. Update must leave them
// byte for byte, and no entry may take their names; of two names that lstrcmpiA calls equal
// and the registry does not (ー and ―, ゛ and ﾞ), the list shows the first.
TEST_F(RegistryStoreTest, SubkeysTheListCannotShowStayUntouchedAndKeepTheirNames) {
    const std::wstring key = L"Software\\Microsoft\\Internet Explorer\\MenuExt\\";
    const std::wstring subkeys[][2] = {
        {L"P", L"C:\\p.htm"}, {L"検索ー", L"C:\\a.htm"}, {L"検索―", L"C:\\b.htm"}, {L"濁゛", L"C:\\c.htm"},
        {L"濁ﾞ", L"C:\\d.htm"}, {std::wstring(65, L'L'), L"C:\\long.htm"},
        // The ANSI functions would give these with "?" or, for ¥, the backslash as best fit.
        {L"한글", L"C:\\x"}, {L"Q", L"C:\\한"}, {L"a\u00A5b", L"y"}, {L"Yen", L"C:\\\u00A5"}, {L"\U00020BB7", L"z"},
        {L"Lone", L"C:\\\xD800"}, {L"Cafe", L"C:\\caf\u00E9.htm"},
        // Every file the list is written to would cut these at the break.
        {L"Name\nwith break", L"C:\\n.htm"}, {L"Break", L"C:\\a.htm\r\n\"quoted\""}};
    for (const auto& s : subkeys) {
        HKEY sub;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (key + s[0]).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub,
                                  nullptr), 0);
        RegSetValueExW(sub, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(s[1].c_str()), DWORD(s[1].size() * 2 + 2));
        RegCloseKey(sub);
    }
    int keyFlag = -1;
    EXPECT_EQ(LoadFromRegistry(list_, &keyFlag), 0);  // the start-up warning tells of them
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
    ASSERT_EQ(SaveToRegistry(list_), 1);
    for (const auto& s : subkeys) {
        wchar_t value[64] = {};
        DWORD size = sizeof(value);
        LONG read = RegGetValueW(HKEY_CURRENT_USER, (key + s[0]).c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &size);
        wchar_t deleted[kNameSize] = {};
        MultiByteToWideChar(932, 0, first.name, -1, deleted, kNameSize);
        if (s[0] == deleted) {
            EXPECT_NE(read, 0) << first.name;
            continue;
        }
        ASSERT_EQ(read, 0) << "subkey " << &s - subkeys;
        EXPECT_EQ(std::wstring(value, size / 2), s[1] + L'\0') << "subkey " << &s - subkeys;  // byte for byte
    }
    EXPECT_EQ(RegistryKeyGuard::SubkeyNames().size(), std::size(subkeys));  // R in, the deleted twin out
}

}  // namespace
