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
    void StoreValue(const char* section, const char* key, const char* value) {
        ASSERT_TRUE(TempDir::WriteFile(path_, std::string("[Alice/") + section + "]\r\n" + key + "=" + value + "\r\n"));
    }

    TempDir dir_;
    std::string path_;
    SettingsStore store_;
};

TEST_F(SettingsStoreTest, WithoutFileEveryReadGivesItsDefault) {
    int placement[4];
    int show = 0;
    int topMost = 7;
    EXPECT_EQ(store_.LoadWindowPlacement(placement, &show, &topMost), 1);
    EXPECT_EQ(std::vector<int>(placement, placement + 4), std::vector<int>(4, kNotStored));
    EXPECT_EQ(show, SW_SHOWDEFAULT);
    EXPECT_EQ(topMost, 0);
    // A column past the fourth takes the fourth one's default.
    int widths[5];
    store_.LoadColumnWidths(widths, 5);
    EXPECT_EQ(std::vector<int>(widths, widths + 5), (std::vector<int>{180, 120, 40, 320, 320}));
    int order[4];
    store_.LoadColumnOrder(order, 4);
    EXPECT_EQ(std::vector<int>(order, order + 4), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(store_.ReadInt(kListSection, "DisNoSavePos", 0), 0);
    EXPECT_EQ(store_.CountDisabledPositions(), 0);
    EXPECT_EQ(GetFileAttributesA(path_.c_str()), INVALID_FILE_ATTRIBUTES);
}

// The order the main window writes at close, with the file checked after each step.
TEST_F(SettingsStoreTest, FileBytesAfterEachWrite) {
    const int placement[4] = {-8, 20, 640, 480};
    EXPECT_EQ(store_.WriteWindowPlacement(placement, SW_SHOWMAXIMIZED, 5), 1);
    std::string main =
        "[Alice/Main]\r\nWindowLeft=-8\r\nWindowTop=20\r\nWindowWidth=640\r\nWindowHeight=480\r\n"
        "ShowWindow=3\r\nTopMost=1\r\n";
    EXPECT_EQ(FileBytes(), main);

    const int columns[4] = {200, 100, 45, 300};
    EXPECT_EQ(store_.SaveColumnWidths(columns, 4), 1);
    EXPECT_NE(store_.SaveColumnOrder(columns, 4), 0);
    main += "ColWidth0=200\r\nColWidth1=100\r\nColWidth2=45\r\nColWidth3=300\r\nColOrder=200,100,45,300\r\n";
    EXPECT_EQ(FileBytes(), main);

    EXPECT_NE(store_.WriteInt(kListSection, "DisSlash", 1), 0);
    EXPECT_NE(store_.WriteInt(kListSection, "DisBottom", 0), 0);
    EXPECT_NE(store_.WriteInt(kListSection, "DisNoSavePos", -1), 0);
    const int positions[3] = {2, 5, 9};
    EXPECT_NE(store_.SaveDisabledPositions(positions, 3), 0);
    std::string list = "[Alice/List]\r\nDisSlash=1\r\nDisBottom=0\r\nDisNoSavePos=-1\r\nDisableItemPos=2,5,9\r\n";
    EXPECT_EQ(FileBytes(), main + list);

    EXPECT_NE(store_.SaveDisabledPositions(positions, 0), 0);
    EXPECT_EQ(store_.WriteWindowPlacement(placement, SW_SHOWNORMAL, 0), 1);
    main.replace(main.find("ShowWindow=3\r\nTopMost=1"), 23, "ShowWindow=1\r\nTopMost=0");
    list.replace(list.find("2,5,9"), 5, "");
    EXPECT_EQ(FileBytes(), main + list);
}

TEST_F(SettingsStoreTest, TwoUsersShareOneFileSectionBySection) {
    const int alice[4] = {1, 2, 3, 4};
    store_.WriteWindowPlacement(alice, SW_SHOWNORMAL, 0);
    store_.WriteInt(kListSection, "DisSlash", 1);
    std::string aliceOnly = FileBytes();

    SettingsStore yamada;
    yamada.SetIniPath(path_.c_str());
    strcpy(yamada.userName, "山田");
    int placement[4];
    yamada.LoadWindowPlacement(placement, nullptr, nullptr);
    EXPECT_EQ(placement[0], kNotStored);
    EXPECT_EQ(yamada.ReadInt(kListSection, "DisSlash", 0), 0);
    const int theirs[4] = {50, 60, 70, 80};
    yamada.WriteWindowPlacement(theirs, SW_SHOWMAXIMIZED, 1);
    yamada.WriteInt(kListSection, "DisSlash", 0);

    // Alice's lines stay as they were, ahead of sections named in Shift_JIS.
    std::string bytes = FileBytes();
    EXPECT_EQ(bytes.compare(0, aliceOnly.size(), aliceOnly), 0);
    EXPECT_NE(bytes.find("[\x8e\x52\x93\x63/List]\r\nDisSlash=0\r\n"), std::string::npos);
    store_.LoadWindowPlacement(placement, nullptr, nullptr);
    EXPECT_EQ(std::vector<int>(placement, placement + 4), std::vector<int>(alice, alice + 4));
    EXPECT_EQ(store_.ReadInt(kListSection, "DisSlash", 0), 1);
    yamada.LoadWindowPlacement(placement, nullptr, nullptr);
    EXPECT_EQ(std::vector<int>(placement, placement + 4), std::vector<int>(theirs, theirs + 4));
}

TEST_F(SettingsStoreTest, NumberListsAsStoredByHand) {
    struct Case {
        const char* stored;
        std::vector<int> order;
    } orders[] = {
        {"3,2,1,0", {3, 2, 1, 0}},     {"1,2", {0, 1, 2, 3}}, {"2,0,1,3,9", {2, 0, 1, 3}},
        {",3,,2,1,0,", {3, 2, 1, 0}}, {" -1,x,+2,3", {-1, 0, 2, 3}},
    };
    for (const Case& c : orders) {
        StoreValue(kMainSection, "ColOrder", c.stored);
        std::vector<int> order(4);
        store_.LoadColumnOrder(order.data(), 4);
        EXPECT_EQ(order, c.order) << c.stored;
    }
    Case positions[] = {{"3,,7", {3, 7, -1, -1}}, {"", {-1, -1, -1, -1}}, {" 4,+5,abc,-2,8", {4, 5, 0, -2}}};
    for (const Case& c : positions) {
        StoreValue(kListSection, "DisableItemPos", c.stored);
        std::vector<int> read(4, 99);
        store_.LoadDisabledPositions(read.data(), 4);
        EXPECT_EQ(read, c.order) << c.stored;
    }
    EXPECT_EQ(store_.CountDisabledPositions(), 5);
}

// A list that does not fit its buffer stops after the last whole number that does.
TEST_F(SettingsStoreTest, NumberListsStopAtTheLastWholeNumber) {
    std::vector<int> numbers;
    for (int i = 100; i < 200; ++i) numbers.push_back(i);
    store_.SaveDisabledPositions(numbers.data(), 100);
    // 64 numbers of three digits and 63 commas are exactly 255 characters.
    EXPECT_EQ(store_.CountDisabledPositions(), 64);
    std::vector<int> read(66);
    store_.LoadDisabledPositions(read.data(), 66);
    EXPECT_EQ(read[63], 163);
    EXPECT_EQ(read[64], -1);

    for (int& n : numbers) n *= 10;
    store_.SaveDisabledPositions(numbers.data(), 100);
    std::string expected = "DisableItemPos=1000";
    for (int i = 101; i < 151; ++i) expected += "," + std::to_string(i * 10);
    EXPECT_NE(FileBytes().find(expected + "\r\n"), std::string::npos) << FileBytes();

    std::vector<int> wide(20, 1234567);
    store_.SaveColumnOrder(wide.data(), 20);
    EXPECT_NE(FileBytes().find("ColOrder=1234567,1234567,1234567,1234567\r\n"), std::string::npos);
}

}  // namespace
