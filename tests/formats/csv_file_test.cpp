// CSV files on disk: exact bytes of exports, the enabled state through a round trip, imports.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include <gtest/gtest.h>

#include "formats/csv_file.h"
#include "formats/export_file.h"
#include "tests/formats/entry_samples.h"
#include "tests/support/list_view_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

BOOL WINAPI RefusedWrite(HANDLE, LPCVOID, DWORD, LPDWORD written, LPOVERLAPPED) {
    *written = 0;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

class CsvFileTest : public ListViewTest {
protected:
    void TearDown() override {
        ExportFile::SetWriteCall(nullptr);
        ListViewTest::TearDown();
    }
    std::string Exported(UINT mask, UINT value) {
        EXPECT_EQ(ExportCsvFile(list_, path_.c_str(), mask, value), 0);
        std::string bytes;
        EXPECT_TRUE(TempDir::ReadFile(path_, &bytes));
        return bytes;
    }

    TempDir dir_;
    std::string path_ = dir_.File("export.csv");
};

}  // namespace

TEST_F(CsvFileTest, ExportWritesOneLinePerChosenRow) {
    EXPECT_EQ(Exported(0, 0), "");
    MenuExtEntry entries[] = {
        MakeEntry("Sample", "D:\\menu\\run.htm", 0x21, 1, 1), MakeEntry("a,b", "D:\\menu\\run.htm", 0x21, 1, 0),
        MakeEntry("a\"b", "\"C:\\a,b.htm\" 表", 0x80000001, 0xFFFFFFFF, 1), MakeEntry("ソ", "C:\\ソ", 0, 0, 0)};
    for (const MenuExtEntry& e : entries) ASSERT_EQ(list_.AddEntry(&e), 0);
    EXPECT_EQ(Exported(0, 0),
              "Sample,D:\\menu\\run.htm,33,1,1\r\n\"a,b\",D:\\menu\\run.htm,33,1,0\r\n"
              "\"a\"\"b\",\"\"\"C:\\a,b.htm\"\" 表\",-2147483647,-1,1\r\nソ,C:\\ソ,0,0,0\r\n");
    Select(1);
    Select(3);
    EXPECT_EQ(Exported(LVIS_SELECTED, LVIS_SELECTED), "\"a,b\",D:\\menu\\run.htm,33,1,0\r\nソ,C:\\ソ,0,0,0\r\n");
}

TEST_F(CsvFileTest, ExportReportsAFailedWrite) {
    Fill("P+");
    ExportFile::SetWriteCall(RefusedWrite);
    EXPECT_EQ(ExportCsvFile(list_, path_.c_str(), 0, 0), kNotCreatable);
    EXPECT_EQ(GetFileAttributesA(path_.c_str()), INVALID_FILE_ATTRIBUTES);
    ExportFile::SetWriteCall(nullptr);
    EXPECT_EQ(ExportCsvFile(list_, dir_.File("missing\\export.csv").c_str(), 0, 0), kNotCreatable);
}

TEST_F(CsvFileTest, ImportBringsBackEntriesWithTheirEnabledState) {
    EntrySequence tricky = TrickyEntries();
    for (size_t i = 0; i < tricky.size(); ++i) tricky[i].enabled = i % 2;
    for (const MenuExtEntry& e : tricky) ASSERT_EQ(list_.AddEntry(&e), 0) << e.name;
    ASSERT_EQ(ExportCsvFile(list_, path_.c_str(), 0, 0), 0);
    list_.Clear();
    int duplicates = -1;
    EXPECT_EQ(ImportCsvFile(list_, path_.c_str(), &duplicates), static_cast<int>(tricky.size()));
    EXPECT_EQ(duplicates, 0);
    ExpectSameEntries(tricky, EntriesOf(list_), true);
    ExpectRowsMirrorEntries(list_);

    EXPECT_EQ(ImportCsvFile(list_, path_.c_str(), &duplicates), 0);
    EXPECT_EQ(duplicates, static_cast<int>(tricky.size()));
    EXPECT_EQ(ImportCsvFile(list_, dir_.File("missing.csv").c_str(), &duplicates), -1);
    EXPECT_EQ(duplicates, 0);
    EXPECT_EQ(ImportCsvFile(list_, nullptr, nullptr), -1);
    EXPECT_EQ(ParseCsvFile(nullptr), nullptr);
}
