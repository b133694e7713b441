// The settings store against a real "Quorvil.ini" in a fresh folder, read back byte for byte.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "settings/settings_store.h"
#include "tests/support/temp_dir.h"

namespace {

class SettingsStoreTest : public testing::Test {
protected:
    void SetUp() override {
        path_ = dir_.File(kIniFileName);
        store_.SetIniPath(path_.c_str());
        strcpy(store_.userName, "Alice");
    }

    std::string FileBytes() const {
        std::string bytes;
        TempDir::ReadFile(path_, &bytes);
        return bytes;
    }
    void WriteFileBytes(const std::string& bytes) { ASSERT_TRUE(TempDir::WriteFile(path_, bytes)); }
    std::vector<int> ColumnOrder() {
        std::vector<int> order(4, 99);
        EXPECT_EQ(store_.LoadColumnOrder(order.data(), 4), 1);
        return order;
    }
    std::vector<int> Positions(int count) {
        std::vector<int> positions(count, 99);
        EXPECT_EQ(store_.LoadDisabledPositions(positions.data(), count), 1);
        return positions;
    }

    TempDir dir_;
    std::string path_;
    SettingsStore store_;
};

TEST_F(SettingsStoreTest, WithoutFileEveryReadGivesItsDefault) {
    int placement[4] = {};
    int show = 0;
    int topMost = 7;
    EXPECT_EQ(store_.LoadWindowPlacement(placement, &show, &topMost), 1);
    for (int value : placement) EXPECT_EQ(value, kNotStored);
    EXPECT_EQ(show, SW_SHOWDEFAULT);
    EXPECT_EQ(topMost, 0);
    EXPECT_EQ(store_.LoadWindowPlacement(nullptr, nullptr, nullptr), 1);

    // A column past the fourth takes the fourth one's default.
    int widths[5] = {};
    EXPECT_EQ(store_.LoadColumnWidths(widths, 5), 1);
    EXPECT_EQ(std::vector<int>(widths, widths + 5), (std::vector<int>{180, 120, 40, 320, 320}));
    EXPECT_EQ(ColumnOrder(), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(store_.ReadInt(kMainSection, "Grid", 0), 0);
    EXPECT_EQ(store_.ReadInt(kListSection, "DisNoSavePos", 0), 0);
    EXPECT_EQ(store_.CountDisabledPositions(), 0);
    EXPECT_EQ(Positions(3), (std::vector<int>{-1, -1, -1}));

    // Reading never creates the file.
    EXPECT_EQ(GetFileAttributesA(path_.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(SettingsStoreTest, MissingArgumentsAreRefused) {
    EXPECT_EQ(store_.ReadInt(nullptr, "Grid", 5), -1);
    EXPECT_EQ(store_.ReadInt(kMainSection, nullptr, 5), -1);
    EXPECT_EQ(store_.WriteInt(nullptr, "Grid", 1), 0);
    EXPECT_EQ(store_.WriteWindowPlacement(nullptr, 1, 0), 0);
    EXPECT_EQ(store_.LoadColumnWidths(nullptr, 4), 0);
    EXPECT_EQ(store_.SaveColumnWidths(nullptr, 4), 0);
    EXPECT_EQ(store_.LoadColumnOrder(nullptr, 4), 0);
    EXPECT_EQ(store_.SaveColumnOrder(nullptr, 4), 0);
    EXPECT_EQ(store_.LoadDisabledPositions(nullptr, 4), 0);
    EXPECT_EQ(store_.SaveDisabledPositions(nullptr, 0), 0);
    EXPECT_EQ(GetFileAttributesA(path_.c_str()), INVALID_FILE_ATTRIBUTES);

    std::string tooLong(300, 'a');
    store_.SetIniPath(tooLong.c_str());
    EXPECT_EQ(store_.iniPath, path_);
}

// The order the main window writes at close, with the file checked after each step.
TEST_F(SettingsStoreTest, FileBytesAfterEachWrite) {
    const int placement[4] = {-8, 20, 640, 480};
    EXPECT_EQ(store_.WriteWindowPlacement(placement, SW_SHOWMAXIMIZED, 5), 1);
    std::string main =
        "[Alice/Main]\r\nWindowLeft=-8\r\nWindowTop=20\r\nWindowWidth=640\r\nWindowHeight=480\r\n"
        "ShowWindow=3\r\nTopMost=1\r\n";
    EXPECT_EQ(FileBytes(), main);

    const int widths[4] = {200, 100, 45, 300};
    EXPECT_EQ(store_.SaveColumnWidths(widths, 4), 1);
    main += "ColWidth0=200\r\nColWidth1=100\r\nColWidth2=45\r\nColWidth3=300\r\n";
    EXPECT_EQ(FileBytes(), main);

    const int order[4] = {3, 0, 1, 2};
    EXPECT_NE(store_.SaveColumnOrder(order, 4), 0);
    main += "ColOrder=3,0,1,2\r\n";
    EXPECT_EQ(FileBytes(), main);

    EXPECT_NE(store_.WriteInt(kListSection, "DisSlash", 1), 0);
    EXPECT_NE(store_.WriteInt(kListSection, "DisBottom", 0), 0);
    EXPECT_NE(store_.WriteInt(kListSection, "DisNoSavePos", 1), 0);
    std::string list = "[Alice/List]\r\nDisSlash=1\r\nDisBottom=0\r\nDisNoSavePos=1\r\n";
    EXPECT_EQ(FileBytes(), main + list);

    const int positions[3] = {2, 5, 9};
    EXPECT_NE(store_.SaveDisabledPositions(positions, 3), 0);
    list += "DisableItemPos=2,5,9\r\n";
    EXPECT_EQ(FileBytes(), main + list);

    EXPECT_NE(store_.SaveDisabledPositions(positions, 0), 0);
    list.replace(list.find("2,5,9"), 5, "");
    EXPECT_EQ(FileBytes(), main + list);

    EXPECT_EQ(store_.WriteWindowPlacement(placement, SW_SHOWNORMAL, 0), 1);
    main.replace(main.find("ShowWindow=3"), 12, "ShowWindow=1");
    main.replace(main.find("TopMost=1"), 9, "TopMost=0");
    EXPECT_EQ(FileBytes(), main + list);
}

TEST_F(SettingsStoreTest, ReadsBackWhatWasWritten) {
    const int placement[4] = {10, -20, 300, 200};
    store_.WriteWindowPlacement(placement, SW_SHOWMAXIMIZED, 1);
    const int widths[4] = {1, 2, 3, 4};
    store_.SaveColumnWidths(widths, 4);
    int read[4] = {};
    int show = 0;
    int topMost = 0;
    store_.LoadWindowPlacement(read, &show, &topMost);
    EXPECT_EQ(std::vector<int>(read, read + 4), std::vector<int>(placement, placement + 4));
    EXPECT_EQ(show, SW_SHOWMAXIMIZED);
    EXPECT_EQ(topMost, 1);
    store_.LoadColumnWidths(read, 4);
    EXPECT_EQ(std::vector<int>(read, read + 4), std::vector<int>(widths, widths + 4));
}

TEST_F(SettingsStoreTest, TwoUsersShareOneFileSectionBySection) {
    SettingsStore other;
    other.SetIniPath(path_.c_str());
    strcpy(other.userName, "山田");

    const int alicePlacement[4] = {1, 2, 3, 4};
    store_.WriteWindowPlacement(alicePlacement, SW_SHOWNORMAL, 0);
    store_.WriteInt(kListSection, "DisSlash", 1);
    const int alicePositions[2] = {0, 4};
    store_.SaveDisabledPositions(alicePositions, 2);
    std::string aliceOnly = FileBytes();

    // The other user sees none of Alice's values until writing their own.
    int placement[4];
    other.LoadWindowPlacement(placement, nullptr, nullptr);
    EXPECT_EQ(placement[0], kNotStored);
    EXPECT_EQ(other.ReadInt(kListSection, "DisSlash", 0), 0);
    EXPECT_EQ(other.CountDisabledPositions(), 0);
    EXPECT_EQ(FileBytes(), aliceOnly);

    const int yamadaPlacement[4] = {50, 60, 70, 80};
    other.WriteWindowPlacement(yamadaPlacement, SW_SHOWMAXIMIZED, 1);
    other.WriteInt(kListSection, "DisSlash", 0);

    // Alice's lines stay as they were, ahead of the new sections named in Shift_JIS.
    std::string bytes = FileBytes();
    EXPECT_EQ(bytes.compare(0, aliceOnly.size(), aliceOnly), 0);
    EXPECT_NE(bytes.find("[\x8e\x52\x93\x63/Main]\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("[\x8e\x52\x93\x63/List]\r\nDisSlash=0\r\n"), std::string::npos);

    store_.LoadWindowPlacement(placement, nullptr, nullptr);
    EXPECT_EQ(std::vector<int>(placement, placement + 4), std::vector<int>(alicePlacement, alicePlacement + 4));
    EXPECT_EQ(store_.ReadInt(kListSection, "DisSlash", 0), 1);
    EXPECT_EQ(store_.CountDisabledPositions(), 2);
    other.LoadWindowPlacement(placement, nullptr, nullptr);
    EXPECT_EQ(std::vector<int>(placement, placement + 4), std::vector<int>(yamadaPlacement, yamadaPlacement + 4));
}

TEST_F(SettingsStoreTest, HandEditedValues) {
    WriteFileBytes(
        "[alice/main]\r\nwindowleft=5\r\nGrid=1\r\nTopMost=abc\r\nColWidth1= 77px\r\n"
        "[Alice/List]\r\nDisBottom=-3\r\n");
    // Names match without regard to case; a missing key keeps its default alone.
    int placement[4];
    int topMost = 9;
    store_.LoadWindowPlacement(placement, nullptr, &topMost);
    EXPECT_EQ(placement[0], 5);
    EXPECT_EQ(placement[1], kNotStored);
    EXPECT_EQ(topMost, 0);
    EXPECT_EQ(store_.ReadInt(kMainSection, "Grid", 0), 1);
    EXPECT_EQ(store_.ReadInt(kListSection, "DisBottom", 0), -3);
    int widths[4];
    store_.LoadColumnWidths(widths, 4);
    EXPECT_EQ(widths[1], 77);

    // Grid belongs to whoever edits the file; nothing the program saves touches it.
    const int all[4] = {0, 1, 2, 3};
    store_.WriteWindowPlacement(all, 1, 0);
    store_.SaveColumnWidths(all, 4);
    store_.SaveColumnOrder(all, 4);
    EXPECT_EQ(store_.ReadInt(kMainSection, "Grid", 0), 1);
}

TEST_F(SettingsStoreTest, ColumnOrderForms) {
    struct Case {
        const char* stored;
        std::vector<int> order;
    } cases[] = {
        {"3,2,1,0", {3, 2, 1, 0}},
        {"1,2", {0, 1, 2, 3}},
        {"2,0,1,3,9", {2, 0, 1, 3}},
        {",3,,2,1,0,", {3, 2, 1, 0}},
        {" -1,x,+2,3", {-1, 0, 2, 3}},
        {"", {0, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        WriteFileBytes(std::string("[Alice/Main]\r\nColOrder=") + c.stored + "\r\n");
        EXPECT_EQ(ColumnOrder(), c.order) << '"' << c.stored << '"';
    }

    const int reversed[4] = {3, 2, 1, 0};
    EXPECT_NE(store_.SaveColumnOrder(reversed, 4), 0);
    EXPECT_NE(FileBytes().find("ColOrder=3,2,1,0\r\n"), std::string::npos);
    EXPECT_EQ(ColumnOrder(), (std::vector<int>{3, 2, 1, 0}));
}

TEST_F(SettingsStoreTest, DisabledPositionTokens) {
    WriteFileBytes("[Alice/List]\r\nDisableItemPos=3,,7\r\n");
    EXPECT_EQ(store_.CountDisabledPositions(), 2);
    EXPECT_EQ(Positions(5), (std::vector<int>{3, 7, -1, -1, -1}));
    EXPECT_EQ(Positions(1), (std::vector<int>{3}));

    WriteFileBytes("[Alice/List]\r\nDisableItemPos=\r\n");
    EXPECT_EQ(store_.CountDisabledPositions(), 0);

    WriteFileBytes("[Alice/List]\r\nDisableItemPos= 4,+5,abc,-2\r\n");
    EXPECT_EQ(store_.CountDisabledPositions(), 4);
    EXPECT_EQ(Positions(4), (std::vector<int>{4, 5, 0, -2}));
}

// DisableItemPos holds 255 characters: the text stops after the last whole number that fits.
TEST_F(SettingsStoreTest, DisabledPositionsStopAtTheLastWholeNumber) {
    std::vector<int> threeDigits;
    for (int i = 100; i < 200; ++i) threeDigits.push_back(i);
    EXPECT_NE(store_.SaveDisabledPositions(threeDigits.data(), 100), 0);
    // 64 numbers of three digits and 63 commas are exactly 255 characters.
    EXPECT_EQ(store_.CountDisabledPositions(), 64);
    std::vector<int> read = Positions(100);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(read[i], i < 64 ? 100 + i : -1) << i;

    std::vector<int> fourDigits;
    for (int i = 1000; i < 1100; ++i) fourDigits.push_back(i);
    store_.SaveDisabledPositions(fourDigits.data(), 100);
    std::string bytes = FileBytes();
    std::string expected = "DisableItemPos=1000";
    for (int i = 1001; i < 1051; ++i) expected += "," + std::to_string(i);
    EXPECT_NE(bytes.find(expected + "\r\n"), std::string::npos) << bytes;
    EXPECT_EQ(store_.CountDisabledPositions(), 51);
}

TEST_F(SettingsStoreTest, ColumnOrderNeverOverrunsItsBuffer) {
    std::vector<int> many(20, 1234567);
    EXPECT_NE(store_.SaveColumnOrder(many.data(), 20), 0);
    // Four numbers of seven digits and three commas: 31 characters.
    EXPECT_NE(FileBytes().find("ColOrder=1234567,1234567,1234567,1234567\r\n"), std::string::npos);
}

}  // namespace
