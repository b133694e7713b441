// Disable.dat and DisableItemPos through real files and a real list view; a restart is a list
// refilled with the enabled entries only.
#include <string>

#include "core/disabled_store.h"
#include "tests/support/list_view_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

class DisabledStoreTest : public ListViewTest {
protected:
    void SetUp() override {
        ListViewTest::SetUp();
        settings_.SetIniPath(dir_.File(kIniFileName).c_str());
        strcpy(settings_.userName, "Alice");
    }
    std::string StoredPositions() const {
        char text[512];
        GetPrivateProfileStringA("Alice/List", "DisableItemPos", "(none)", text, sizeof(text), settings_.iniPath);
        return text;
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

TEST_F(DisabledStoreTest, DisabledEntriesComeBackAtTheirPlacesOrAtTheEnd) {
    Fill("P+ Q- R+ S-");
    EXPECT_EQ(Save(), 1);
    EXPECT_EQ(StoredPositions(), "1,3");
    int duplicates = -1;
    EXPECT_EQ(Restart("P R", 0, &duplicates), 2);
    EXPECT_EQ(duplicates, 0);
    EXPECT_EQ(Names(), "P Q R S");
    EXPECT_EQ(StateImage(3), 1);
    ExpectRowsMirrorEntries(list_);
    // DisNoSavePos, and an ini file without DisableItemPos, append them in file order.
    EXPECT_EQ(Restart("P R", 1), 2);
    EXPECT_EQ(Names(), "P R Q S");
    DeleteFileA(settings_.iniPath);
    EXPECT_EQ(Restart("P R"), 2);
    EXPECT_EQ(Names(), "P R Q S");
}

// Between the runs the list changed: positions past its end (or negative) append, and a name
// it already holds, in any case, is refused and counted.
TEST_F(DisabledStoreTest, RestoringIntoAChangedList) {
    Fill("X- Y- Z- W-");
    Save();
    const int positions[4] = {10, 1, 1, -4};
    settings_.SaveDisabledPositions(positions, 4);
    int duplicates = -1;
    EXPECT_EQ(Restart("A B z", 0, &duplicates), 3);
    EXPECT_EQ(duplicates, 1);
    EXPECT_EQ(Names(), "A Y B z X W");
    EXPECT_EQ(StateImage(3), 2);
}

// Disable.dat is the only copy of the disabled entries: a save that cannot finish keeps the
// previous file byte for byte and the positions that belong to it.
TEST_F(DisabledStoreTest, AFailedSaveKeepsThePreviousFile) {
    Fill("P+ Q- R+ S-");
    ASSERT_EQ(Save(), 1);
    std::string before, after;
    TempDir::ReadFile(path_, &before);
    list_.SetEnabledAt(0, 0);
    SetStateImage(0, 1);
    const std::string pending = path_ + ".tmp";
    ASSERT_TRUE(CreateDirectoryA(pending.c_str(), nullptr));  // the new file cannot be written
    EXPECT_EQ(Save(), 0);
    RemoveDirectoryA(pending.c_str());
    HANDLE held = CreateFileA(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(Save(), 0);  // the new file cannot take the old one's place
    CloseHandle(held);
    TempDir::ReadFile(path_, &after);
    EXPECT_EQ(after, before);
    EXPECT_EQ(GetFileAttributesA(pending.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(StoredPositions(), "1,3");
}

// DisableItemPos holds 255 characters: 1,3,...,153 take 252 and the next would need 256.
// Positions that do not fit are left out whole, and their entries come back at the end.
TEST_F(DisabledStoreTest, PositionsBeyondTheTextLimitAppendTheirEntries) {
    std::string all, enabled, expected, appended;
    for (int i = 0; i < 200; ++i) {
        const std::string name = "E" + std::to_string(1000 + i);
        all += name + (i % 2 ? "- " : "+ ");
        if (i % 2 == 0) enabled += name + " ";
        (i % 2 && i > 153 ? appended : expected) += name + " ";
    }
    Fill(all.c_str());
    ASSERT_EQ(Save(), 1);
    EXPECT_EQ(Restart(enabled.c_str()), 100);
    EXPECT_EQ(Names() + " ", expected + appended);
}

}  // namespace
