// REGEDIT4 files on disk: exact bytes of exports, row choice, failed writes, imports.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "formats/export_file.h"
#include "formats/reg_file.h"
#include "tests/formats/entry_samples.h"
#include "tests/support/list_view_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

const std::string kHeader =
    "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\MenuExt]\r\n\r\n";
const std::string kKey = "[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\MenuExt\\";

// Lets `writesLeft` writes through and fails every later one, as a full disk would.
int g_writesLeft = 0;
BOOL WINAPI FailingWrite(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
    if (g_writesLeft-- > 0) return WriteFile(file, data, size, written, overlapped);
    *written = 0;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}
BOOL WINAPI ShortWrite(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
    return WriteFile(file, data, size > 1 ? size - 1 : size, written, overlapped);
}

class RegFileTest : public ListViewTest {
protected:
    void TearDown() override {
        ExportFile::SetWriteCall(nullptr);
        ListViewTest::TearDown();
    }
    void Add(const EntrySequence& entries) {
        for (const MenuExtEntry& e : entries) ASSERT_EQ(list_.AddEntry(&e), 0) << e.name;
    }
    std::string Exported(UINT mask, UINT value) {
        EXPECT_EQ(ExportRegFile(list_, path_.c_str(), mask, value), 0);
        std::string bytes;
        EXPECT_TRUE(TempDir::ReadFile(path_, &bytes));
        return bytes;
    }
    std::string ExportedNames(UINT mask, UINT value) {
        Exported(mask, value);
        std::unique_ptr<EntrySequence> entries = ParseRegFile(path_.c_str());
        std::string names;
        for (const MenuExtEntry& e : *entries) names += std::string(names.empty() ? "" : " ") + e.name;
        return names;
    }

    TempDir dir_;
    std::string path_ = dir_.File("export.reg");
};

}  // namespace

TEST_F(RegFileTest, ExportWritesTheHeaderAndOneBlockPerEntry) {
    EXPECT_EQ(Exported(0, 0), kHeader);
    Add({MakeEntry("Sample", "D:\\menu\\run.htm", 0x21, 1), MakeEntry("UNC", "\\\\server\\share", 0x7F, 0xFFFFFFFF),
         MakeEntry("表\"q\"", "\"D:\\表\\a b.htm\" ソ", 0x80000000, 0)});
    EXPECT_EQ(Exported(0, 0), kHeader + kKey + "Sample]\r\n@=\"D:\\\\menu\\\\run.htm\"\r\n"
                              "\"Contexts\"=dword:00000021\r\n\"Flags\"=dword:00000001\r\n\r\n" +
                              kKey + "UNC]\r\n@=\"\\\\\\\\server\\\\share\"\r\n"
                              "\"Contexts\"=dword:0000007f\r\n\"Flags\"=dword:ffffffff\r\n\r\n" +
                              kKey + "表\"q\"]\r\n@=\"\\\"D:\\\\表\\\\a b.htm\\\" ソ\"\r\n"
                              "\"Contexts\"=dword:80000000\r\n\"Flags\"=dword:00000000\r\n\r\n");
}

TEST_F(RegFileTest, ExportWritesTheChosenRows) {
    Fill("P+ Q- R+ S-");
    EXPECT_EQ(Exported(LVIS_SELECTED, LVIS_SELECTED), kHeader);
    Select(1);
    Select(2);
    EXPECT_EQ(ExportedNames(LVIS_SELECTED, LVIS_SELECTED), "Q R");
    EXPECT_EQ(ExportedNames(0, 0), "P Q R S");
    EXPECT_EQ(ExportedNames(kStateImageMask, kUncheckedState), "Q S");
}

TEST_F(RegFileTest, ExportReportsEveryFailedWriteAndLeavesNoCutOffFile) {
    Fill("P+ Q+");
    for (int writesLeft : {0, 1, 2}) {
        SCOPED_TRACE(writesLeft);
        g_writesLeft = writesLeft;
        ExportFile::SetWriteCall(FailingWrite);
        EXPECT_EQ(ExportRegFile(list_, path_.c_str(), 0, 0), kNotCreatable);
        EXPECT_EQ(GetFileAttributesA(path_.c_str()), INVALID_FILE_ATTRIBUTES);
    }
    ExportFile::SetWriteCall(ShortWrite);
    EXPECT_EQ(ExportRegFile(list_, path_.c_str(), 0, 0), kNotCreatable);
    ExportFile::SetWriteCall(nullptr);
    EXPECT_EQ(ExportRegFile(list_, dir_.File("missing\\export.reg").c_str(), 0, 0), kNotCreatable);
    EXPECT_EQ(ExportRegFile(list_, nullptr, 0, 0), kNotCreatable);
}

TEST_F(RegFileTest, ExportedEntriesReadBackUnchanged) {
    EntrySequence tricky = TrickyEntries();
    Add(tricky);
    ASSERT_EQ(ExportRegFile(list_, path_.c_str(), 0, 0), 0);
    EXPECT_EQ(CountRegEntries(path_.c_str()), static_cast<int>(tricky.size()));
    ExpectSameEntries(tricky, *ParseRegFile(path_.c_str()));

    list_.Clear();
    int duplicates = -1;
    EXPECT_EQ(ImportRegFile(list_, path_.c_str(), 0, &duplicates), static_cast<int>(tricky.size()));
    EXPECT_EQ(duplicates, 0);
    for (MenuExtEntry& e : tricky) e.enabled = 0;
    ExpectSameEntries(tricky, EntriesOf(list_), true);
    ExpectRowsMirrorEntries(list_);
}

TEST_F(RegFileTest, ImportAddsNewNamesAndCountsDuplicates) {
    Fill("P+");
    ASSERT_TRUE(TempDir::WriteFile(path_, "REGEDIT4\n" + kKey + "p]\n@=\"x\"\n" + kKey + "NoTarget]\n" + kKey +
                                              "\\Slash]\n@=\"x\"\n" + kKey + "New]\n@=\"C:\\\\new.htm\"\n" + kKey +
                                              "new]\n@=\"y\"\n"));
    int duplicates = -1;
    EXPECT_EQ(ImportRegFile(list_, path_.c_str(), 1, &duplicates), 1);
    EXPECT_EQ(duplicates, 2);
    EXPECT_EQ(Names(), "P New");
    EXPECT_EQ(StateImage(1), 2);
    EXPECT_EQ(ImportRegFile(list_, path_.c_str(), 1, nullptr), 0);
}

TEST_F(RegFileTest, MissingOrUnreadableFilesGiveNothing) {
    std::string missing = dir_.File("missing.reg");
    int duplicates = -1;
    EXPECT_EQ(ImportRegFile(list_, missing.c_str(), 1, &duplicates), -1);
    EXPECT_EQ(duplicates, 0);
    EXPECT_EQ(ImportRegFile(list_, nullptr, 1, nullptr), -1);
    EXPECT_EQ(CountRegEntries(missing.c_str()), -1);
    EXPECT_EQ(CountRegEntries(nullptr), -1);
    EXPECT_EQ(ParseRegFile(missing.c_str()), nullptr);
    EXPECT_EQ(ReadWholeFile(dir_.Path().c_str()), nullptr);  // a folder

    ASSERT_TRUE(TempDir::WriteFile(path_, "regedit4\r\n" + kKey + "A]\r\n@=\"x\"\r\n"));
    EXPECT_EQ(ImportRegFile(list_, path_.c_str(), 1, nullptr), 0);
    EXPECT_EQ(CountRegEntries(path_.c_str()), 0);
    EXPECT_TRUE(ParseRegFile(path_.c_str())->empty());
}

TEST_F(RegFileTest, ReadWholeFileTakesQuotedPathsAndStopsAtAZeroByte) {
    ASSERT_TRUE(TempDir::WriteFile(path_, std::string("A\x95\x5C\r\nB\0C", 7)));
    for (std::string path : {path_, "\"" + path_ + "\""}) {
        char* text = ReadWholeFile(path.c_str());
        ASSERT_NE(text, nullptr) << path;
        EXPECT_STREQ(text, "A\x95\x5C\r\nB");
        EXPECT_EQ(text[7], '\0');
        free(text);
    }
    ASSERT_TRUE(TempDir::WriteFile(path_, ""));
    char* empty = ReadWholeFile(path_.c_str());
    ASSERT_NE(empty, nullptr);
    EXPECT_STREQ(empty, "");
    free(empty);
}
