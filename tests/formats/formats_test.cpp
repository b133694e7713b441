// REGEDIT4 and CSV exchange files: the readers' rules, exports and imports.
#include <cstdlib>

#include "formats/csv_file.h"
#include "formats/text_file.h"
#include "formats/reg_file.h"
#include "tests/support/entry_fixture.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

const std::string kParent = "[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\MenuExt";
const std::string kHeader = "REGEDIT4\r\n\r\n" + kParent + "]\r\n\r\n";

template <void (*parse)(char*, EntrySequence&)>
std::string Read(std::string text) {
    EntrySequence out;
    parse(&text[0], out);
    return Describe(out);
}

std::string Block(const std::string& name, const std::string& value) {
    return kParent + "\\" + name + "]\r\n@=\"" + value + "\"\r\n\"Contexts\"=dword:00000021\r\n\r\n";
}

// The code page 932 `text` and then `tail` as a UTF-16LE file, or a UTF-8 one, with the byte-order mark.
std::string Unicode(UINT codePage, const std::string& text, const std::wstring& tail = L"") {
    std::wstring wide(text.size(), L'\0');
    wide.resize(MultiByteToWideChar(932, 0, text.data(), int(text.size()), &wide[0], int(wide.size()))), wide += tail;
    if (codePage != CP_UTF8) return "\xFF\xFE" + std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
    std::string utf8(wide.size() * 3, '\0');
    utf8.resize(WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), &utf8[0], int(utf8.size()), 0, 0));
    return "\xEF\xBB\xBF" + utf8;
}

const struct Format {
    const char* name;
    bool (*write)(const EntryList&, const char*, const EntryIndexes*);
    std::unique_ptr<EntrySequence> (*parse)(const char*);
} kFormats[] = {{"reg", ExportRegFile, ParseRegFile}, {"csv", ExportCsvFile, ParseCsvFile}};

// Passes `g_writesLeft` writes, then fails like a full disk; while it is negative, each is a byte short.
int g_writesLeft = 0;
BOOL WINAPI FailingWrite(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
    if (g_writesLeft < 0) return WriteFile(file, data, size - (size > 1), written, overlapped);
    return g_writesLeft-- > 0 && WriteFile(file, data, size, written, overlapped);
}

class ExchangeFileTest : public EntryListTest {
protected:
    std::string Exported(const Format& f, const EntryIndexes* chosen = nullptr) {
        std::string bytes;
        EXPECT_TRUE(f.write(list_, path_.c_str(), chosen));
        EXPECT_TRUE(TempDir::ReadFile(path_, &bytes));
        return bytes;
    }
    std::string ExportedNames(const Format& f, const EntryIndexes* chosen) {
        Exported(f, chosen);
        std::string names;
        std::unique_ptr<EntrySequence> entries = f.parse(path_.c_str());
        for (const MenuExtEntry& e : *entries) names += std::string(e.name) + " ";
        return names;
    }

    TempDir dir_;
    std::string path_ = dir_.File("export.reg");
};

// Wine's own registry editor as the peer: it merges an export of ours into exactly the entries.
TEST_F(ExchangeFileTest, TheRegistryEditorMergesOurExportIntoExactlyTheEntries) {
    RegistryKeyGuard registry;
    const MenuExtEntry entries[] = {MakeEntry("表\"q\"", "\"\\\\srv\\表\\a,b\" ソ", 0x7F, 1), MakeEntry("S", "D:\\表\\r.htm", 0x21)};
    for (const MenuExtEntry& e : entries) ASSERT_EQ(list_.AddEntry(&e), 0) << e.name;
    ASSERT_TRUE(ExportRegFile(list_, path_.c_str(), nullptr));
    const std::wstring file = L"\"" + std::wstring(path_.begin(), path_.end()) + L"\"";
    ASSERT_EQ(_wsystem((L"regedit.exe /s " + file).c_str()), 0);
    EXPECT_EQ(RegistryKeyGuard::SubkeyNames(), (std::vector<std::string>{"S", "表\"q\""}));
    EXPECT_EQ(RegistryKeyGuard::ReadSubkey("表\"q\"") + RegistryKeyGuard::ReadSubkey("S"),
              "\"\\\\srv\\表\\a,b\" ソ|7f|1D:\\表\\r.htm|21|0");
}

}  // namespace

TEST(RegText, ReadsEntriesOnlyFromKeysBelowThePrefixAfterTheExactHeader) {
    const std::string name64(64, 'n');
    const struct { std::string text, entries; int keyLines; } cases[] = {
        {"regedit4\r\n" + Block("A", "x"), "", 0}, {"REGEDIT4 \r\n" + Block("A", "x"), "", 0},
        {"Windows Registry Editor Version 5.00\r\n" + Block("A", "x"), "", 0},  // imports only, not Disable.dat
        // Lines end at CR or LF alone or at any run of them, the last one also at the end of the text.
        {"REGEDIT4\r" + kParent + "\\A]\n@=\"a\"\r\n\n\r" + kParent + "\\B]\r\"Flags\"=dword:1", "A|a|0|0|0\nB||0|1|0\n", 2},
        // Other keys, the parent key, a sibling named like it and a key cut off give no entry;
        // key lines below the prefix all count. Low, with no "@=" line, is refused when added.
        {"REGEDIT4\r\n" + kParent + "]\r\n@=\"parent\"\r\n[HKEY_CURRENT_USER\\Software\\Other\\X]\r\n@=\"other\"\r\n"
         "\"Flags\"=dword:1\r\n[hkey_current_user\\software\\microsoft\\internet explorer\\menuext\\Low]\r\n"
         "\"contexts\"=DWORD:00000007\r\n" + kParent + "\\A\\B]\r\n@=\"two\"\r\n" + kParent + "\\]\r\n"
         "[HKEY_CURRENT_USER\\Software\\Other\\Y]\r\n\"Contexts\"=dword:5\r\n" + kParent + "\r\n" + kParent +
         "ension\\Foo]\r\n@=\"sibling\"\r\n",
         "Low||7|0|0\nA\\B|two|0|0|0\n", 3},
        // Numbers only from "dword:" values; a default value without quotes, or with one, or none.
        {"REGEDIT4\r\n" + kParent + "\\A]\r\n@=C:\\\\raw\r\n\"Contexts\"=\"21\"\r\n\"Flags\"=dword:21\r\n" + kParent +
         "\\B]\r\n@=\"C:\\\\open\r\n\"Contexts\" = dword:21\r\n\"Flags\"=hex:01\r\n" + kParent +
         "\\C]\r\n@\r\n\"Contexts\"\r\n", "A|C:\\raw|0|21|0\nB|\"C:\\open|0|0|0\nC||0|0|0\n", 3},
        // Only the last eight characters of a dword count, any that is not a digit as 0.
        {"REGEDIT4\r\n" + kParent + "\\A]\r\n\"Contexts\"=dword:123456789\r\n\"Flags\"=dword:FfFfFfFf\r\n" + kParent +
         "\\B]\r\n\"Contexts\"=dword:21 \r\n\"Flags\"=dword:8000007f\r\n", "A||23456789|ffffffff|0\nB||210|8000007f|0\n", 2},
        // Older writers also doubled the 0x5C second byte of 表 and ソ, and left quotes as they were.
        {"REGEDIT4\r\n" + Block("A", "D:\\\\\x95\x5C\x5C\\\\r.htm") + Block("B", "C:\\\\\x83\x5C\x5C") +
         Block("C", "\x95\x5C\x5C\"x\"") + Block("D", "a\"b\\\\\"c") + Block("E", "\\x\\") + Block("F", "十\\\"能\\\\"),
         "A|D:\\表\\r.htm|21|0|0\nB|C:\\ソ|21|0|0\nC|表\"x\"|21|0|0\nD|a\"b\\\"c|21|0|0\nE|\\x\\|21|0|0\nF|十\"能\\|21|0|0\n", 6},
        // Too long for the record: eight backslashes in the file are four in the value.
        {"REGEDIT4\r\n" + Block(name64 + "x", "x") + Block(name64, "x") + Block("LongTarget", std::string(260, 't')) +
         Block("FitTarget", std::string(255, 't') + "\\\\\\\\\\\\\\\\"),
         name64 + "|x|21|0|0\nFitTarget|" + std::string(255, 't') + "\\\\\\\\|21|0|0\n", 4}};
    for (const auto& c : cases) {
        EXPECT_EQ(Read<ParseRegText>(c.text), c.entries) << c.text;
        std::string text = c.text;
        EXPECT_EQ(CountRegEntryLines(&text[0]), c.keyLines) << c.text;
    }
}

TEST(CsvText, ReadsTheFirstFiveFieldsOfLinesWhoseFieldsFitTheirBuffers) {
    // A header-like line is an entry like any other; a comma in an unquoted target shifts the
    // fields after it; a lone quote reads as an empty field; 66 quotes make a name of 32.
    const std::string name64(64, 'n'), target259(259, 't');
    EXPECT_EQ(Read<ParseCsvText>("P,C:\\p.htm,33,1,1\rshort,C:\\s.htm,1,1\nsix,C:\\6.htm,-2147483647,-1,0,x\r\n"
                                 ",C:\\noname.htm,1,1,1\r\nname,target,contexts,flags,enabled\n\n\"a,\"\"b\"\"\",T,"
                                 " -5,+7x,2\r\ng\"h,\"x\"\",y\",1,1,1\r\nS,D:\\a,b.htm,33,1,1\nq,t,1,1,\"\n" +
                                 name64 + "x,t,1,1,1\r\n" + name64 + "," + target259 + ",1,1,1\r\nT," + target259 +
                                 "x,1,1,1\r\nN,t,000000000000001,1,1\r\nM,t,0000000000000001,1,1\r\n" +
                                 std::string(66, '"') + ",t,1,1,1"),
              "P|C:\\p.htm|21|1|1\nsix|C:\\6.htm|80000001|ffffffff|0\nname|target|0|0|0\na,\"b\"|T|fffffffb|7|1\n"
              "g\"h|x\",y|1|1|1\nS|D:\\a|0|21|1\nq|t|1|1|0\n" + name64 + "|" + target259 + "|1|1|1\nN|t|1|1|1\n" +
                  std::string(32, '"') + "|t|1|1|1\n");
}

TEST_F(ExchangeFileTest, ExportsWriteTheExactBytes) {
    EXPECT_EQ(Exported(kFormats[0]), kHeader);
    EXPECT_EQ(Exported(kFormats[1]), "");
    MenuExtEntry entries[] = {MakeEntry("表\"q\"", "\"\\\\srv\\表\\a,b\" ソ", 0x8000007F, 1, 0), MakeEntry("S", "D:\\a,b", 0x21)};
    for (const MenuExtEntry& e : entries) ASSERT_EQ(list_.AddEntry(&e), 0);
    EXPECT_EQ(Exported(kFormats[0]), kHeader + kParent + "\\表\"q\"]\r\n@=\"\\\"\\\\\\\\srv\\\\表\\\\a,b\\\" ソ\"\r\n"
              "\"Contexts\"=dword:8000007f\r\n\"Flags\"=dword:00000001\r\n\r\n" + kParent + "\\S]\r\n@=\"D:\\\\a,b\"\r\n"
              "\"Contexts\"=dword:00000021\r\n\"Flags\"=dword:00000000\r\n\r\n");
    EXPECT_EQ(Exported(kFormats[1]),
              "\"表\"\"q\"\"\",\"\"\"\\\\srv\\表\\a,b\"\" ソ\",-2147483521,1,0\r\nS,\"D:\\a,b\",33,0,1\r\n");
}

TEST_F(ExchangeFileTest, ExportsWriteOnlyTheChosenRowsAndReportEveryFailedWriteLeavingNoCutOffFile) {
    Fill("P+ Q- R+ S-");
    const EntryIndexes middle = {1, 2}, ends = {0, 3}, none = {};
    for (const Format& f : kFormats) {
        SCOPED_TRACE(f.name);
        EXPECT_EQ(ExportedNames(f, &middle), "Q R ");
        EXPECT_EQ(ExportedNames(f, &ends), "P S ");
        EXPECT_EQ(ExportedNames(f, &none), "");
        ExportFile::SetWriteCall(FailingWrite);
        g_writesLeft = 100;
        EXPECT_TRUE(f.write(list_, path_.c_str(), nullptr));
        for (int writes = 100 - g_writesLeft, left = -1; left < writes; ++left) {  // -1: each write a byte short
            SCOPED_TRACE("after " + std::to_string(left));
            g_writesLeft = left;
            EXPECT_FALSE(f.write(list_, path_.c_str(), nullptr));
            EXPECT_EQ(GetFileAttributesA(path_.c_str()), INVALID_FILE_ATTRIBUTES);
        }
        ExportFile::SetWriteCall(nullptr);
        EXPECT_FALSE(f.write(list_, dir_.File("missing\\export").c_str(), nullptr));
    }
}

TEST_F(ExchangeFileTest, ImportsReadUnicodeAndVersion5FilesAsTheSameCodePage932Text) {
    // 表 ends in a 0x5C byte once converted; the target holds escaped backslashes and quotes.
    const std::string v5 = "Windows Registry Editor Version 5.00\r\n", entries = "表示|D:\\表\\\"q\".htm|21|0|1\nU|x|21|0|1\n",
                      body = "\r\n" + kParent + "]\r\n" + Block("表示", "D:\\\\表\\\\\\\"q\\\".htm") + Block("U", "x");
    ASSERT_TRUE(TempDir::WriteFile(path_, "REGEDIT4" + body));
    ASSERT_EQ(ImportRegFile(list_, path_.c_str(), 1, nullptr), 2);
    ASSERT_EQ(Describe(list_), entries);  // what the other files must give
    // Names and targets code page 932 cannot hold (¥ has the backslash as best fit); elsewhere they cost nothing.
    const std::wstring key = L"\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\MenuExt\\", lost = key +
        L"한글]\r\n@=\"x\"" + key + L"Yen]\r\n@=\"C:\\\\\u00A5\"" + key + L"\U00020BB7野家]\r\n@=\"x\"" + key +
        L"O]\r\n@=\"o\"\r\n\"Note\"=\"한\"\r\n[HKEY_CURRENT_USER\\한]\r\n@=\"한\"";
    // CSV as spreadsheet programs save it ("CSV UTF-8"), and in UTF-16.
    const std::string csv = "表示,D:\\表\\\"q\".htm,33,0,1\r\nU,x,33,0,0\r\n",
                      csvEntries = "表示|D:\\表\\\"q\".htm|21|0|1\nU|x|21|0|0\n";
    const std::wstring lostRows = L"한,y,1,1,1\r\nZ,C:\\한,1,1,1\r\nshort,x";
    const struct { std::string bytes, entries; int lost; bool csv = false; } cases[] = {
        {Unicode(1200, v5 + body), entries, 0}, {Unicode(CP_UTF8, "REGEDIT4" + body), entries, 0}, {v5 + body, entries, 0},
        {Unicode(1200, v5 + body, lost), entries + "O|o|0|0|1\n", 3}, {Unicode(CP_UTF8, v5 + body, lost), entries + "O|o|0|0|1\n", 3},
        // Malformed: half a character at the end (a quote if read with the zero after it), a lone surrogate,
        // a zero character, bytes that are no UTF-8, the mark alone, a header without a line end.
        {Unicode(1200, v5 + body + "@=\"y") + "\"", "表示|D:\\表\\\"q\".htm|21|0|1\nU|\"y|21|0|1\n", 0},
        {Unicode(1200, v5 + body, key + L"L]\r\n@=\"\xD800\""), entries, 1},
        {Unicode(1200, v5 + body, std::wstring(L"\0@=\"z\"", 6)), entries, 0},
        {Unicode(CP_UTF8, v5 + body) + kParent + "\\B]\r\n@=\"\xC3\"", entries, 1},
        {"\xFF\xFE", "", 0}, {"\xEF\xBB\xBF", "", 0}, {Unicode(1200, "Windows Registry Editor Version 5.00"), "", 0},
        {Unicode(1200, csv, lostRows), csvEntries, 2, true}, {Unicode(CP_UTF8, csv, lostRows), csvEntries, 2, true},
        // A zero byte ends 8-bit text as well; an empty file holds nothing.
        {std::string("P,t,1,1,1\r\n\0Q,t,1,1,1\r\n", 22), "P|t|1|1|1\n", 0, true}, {"", "", 0, true}, {"", "", 0}};
    for (const auto& c : cases) {
        list_.Clear();
        ASSERT_TRUE(TempDir::WriteFile(path_, c.bytes));
        int lost = -1;
        int added = c.csv ? ImportCsvFile(list_, path_.c_str(), nullptr, &lost)
                          : ImportRegFile(list_, path_.c_str(), 1, nullptr, &lost);
        EXPECT_EQ(Describe(list_) + std::to_string(lost), c.entries + std::to_string(c.lost)) << c.bytes;
        EXPECT_EQ(added, list_.Count());
        EXPECT_EQ(CountRegEntries(path_.c_str()), 0);  // Disable.dat stays REGEDIT4 in code page 932
    }
    // No file at all, which the load command reports, is not an empty one.
    EXPECT_EQ(ImportRegFile(list_, dir_.File("missing").c_str(), 1, nullptr), -1);
    EXPECT_EQ(ImportCsvFile(list_, dir_.File("missing").c_str(), nullptr), -1);
}
