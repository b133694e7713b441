// Disable.dat and DisableItemPos: disabled entries leave the list view through a real file and
// the real ini file, and come back at their places after a simulated restart.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/disabled_store.h"
#include "core/registry_store.h"
#include "tests/support/list_view_fixture.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

const char kHeader[] =
    "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\MenuExt]\r\n\r\n";

std::string Block(const char* name) {
    return std::string("[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\MenuExt\\") + name +
           "]\r\n@=\"C:\\\\" + name + ".htm\"\r\n\"Contexts\"=dword:00000000\r\n\"Flags\"=dword:00000000\r\n\r\n";
}

class DisabledStoreTest : public ListViewTest {
protected:
    void SetUp() override {
        ListViewTest::SetUp();
        settings_.SetIniPath(dir_.File(kIniFileName).c_str());
        strcpy(settings_.userName, "Alice");
        path_ = dir_.File(kDisabledFileName);
    }

    // DisableItemPos as stored, or "(none)".
    std::string StoredPositions() const {
        char text[512];
        GetPrivateProfileStringA("Alice/List", "DisableItemPos", "(none)", text, sizeof(text), settings_.iniPath);
        return text;
    }
    std::string DatBytes() const {
        std::string bytes;
        if (!TempDir::ReadFile(path_, &bytes)) return "(no file)";
        return bytes;
    }
    // What the registry would give back at the next start: the enabled entries in order.
    void Restart() {
        std::vector<MenuExtEntry> enabled;
        for (int i = 0; i < list_.Count(); ++i) {
            MenuExtEntry e;
            list_.GetEntryAt(i, &e);
            if (e.enabled) enabled.push_back(e);
        }
        list_.Clear();
        for (const MenuExtEntry& e : enabled) ASSERT_EQ(list_.AddEntry(&e), kOk);
    }
    int Restore(int noSavePos = 0, int* duplicates = nullptr) {
        return RestoreDisabled(list_, settings_, path_.c_str(), noSavePos, duplicates);
    }
    bool PendingFileLeft() const {
        return GetFileAttributesA((path_ + ".tmp").c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    TempDir dir_;
    SettingsStore settings_;
    std::string path_;
};

TEST_F(DisabledStoreTest, DisabledEntriesComeBackAtTheirPlacesAfterARestart) {
    RegistryKeyGuard registry;
    Fill("P+ Q- R+ S-");
    ASSERT_EQ(SaveToRegistry(list_), 1);
    EXPECT_EQ(SaveDisabled(list_, settings_, path_.c_str()), 1);
    EXPECT_EQ(DatBytes(), kHeader + Block("Q") + Block("S"));
    EXPECT_EQ(StoredPositions(), "1,3");
    EXPECT_FALSE(PendingFileLeft());

    list_.Clear();
    ASSERT_EQ(LoadFromRegistry(list_, nullptr), 1);
    ASSERT_EQ(Names(), "P R");
    int duplicates = -1;
    EXPECT_EQ(Restore(0, &duplicates), 2);
    EXPECT_EQ(duplicates, 0);
    EXPECT_EQ(Names(), "P Q R S");
    EXPECT_EQ(StateImage(1), 1);
    EXPECT_EQ(StateImage(3), 1);
    ExpectRowsMirrorEntries(list_);
}

TEST_F(DisabledStoreTest, WithoutSavedPositionsTheyAreAppendedInFileOrder) {
    Fill("P+ Q- R+ S-");
    SaveDisabled(list_, settings_, path_.c_str());
    Restart();
    EXPECT_EQ(Restore(1), 2);
    EXPECT_EQ(Names(), "P R Q S");
    ExpectRowsMirrorEntries(list_);

    // The same when the positions are missing from the settings altogether.
    DeleteFileA(settings_.iniPath);
    Restart();
    EXPECT_EQ(Restore(0), 2);
    EXPECT_EQ(Names(), "P R Q S");
}

TEST_F(DisabledStoreTest, NoDisabledEntriesLeaveOnlyTheHeaderAndNoPositions) {
    Fill("P+ Q- R+");
    int duplicates = 7;
    EXPECT_EQ(Restore(0, &duplicates), -1);
    EXPECT_EQ(duplicates, 0);
    EXPECT_EQ(SaveDisabled(list_, settings_, ""), 0);
    EXPECT_EQ(StoredPositions(), "(none)");

    SaveDisabled(list_, settings_, path_.c_str());
    ASSERT_EQ(StoredPositions(), "1");
    list_.SetEnabledAt(1, 1);
    SetStateImage(1, 2);

    EXPECT_EQ(SaveDisabled(list_, settings_, path_.c_str()), 1);
    EXPECT_EQ(DatBytes(), kHeader);
    EXPECT_EQ(StoredPositions(), "");
    EXPECT_EQ(Restore(), 0);
    EXPECT_EQ(Names(), "P Q R");
}

TEST_F(DisabledStoreTest, PositionsPastTheEndOrNegativeAppend) {
    Fill("X- Y- Z-");
    SaveDisabled(list_, settings_, path_.c_str());
    list_.Clear();
    Fill("A+ B+ C+");
    const int positions[3] = {10, 1, -4};
    settings_.SaveDisabledPositions(positions, 3);
    EXPECT_EQ(Restore(), 3);
    EXPECT_EQ(Names(), "A Y B C X Z");
}

TEST_F(DisabledStoreTest, ANameAlreadyInTheListIsCountedAsDuplicate) {
    Fill("P+ Q- R+ S-");
    SaveDisabled(list_, settings_, path_.c_str());
    list_.Clear();
    // Another program made an entry called q in the meantime.
    Fill("P+ q+ R+");
    int duplicates = -1;
    EXPECT_EQ(Restore(0, &duplicates), 1);
    EXPECT_EQ(duplicates, 1);
    EXPECT_EQ(Names(), "P q R S");
    EXPECT_EQ(StateImage(1), 2);
    ExpectRowsMirrorEntries(list_);
}

// Every way the new file can fail to take the old one's place keeps the old file, byte for
// byte, and the positions that belong to it.
TEST_F(DisabledStoreTest, AFailedSaveKeepsThePreviousFile) {
    Fill("P+ Q- R+ S-");
    ASSERT_EQ(SaveDisabled(list_, settings_, path_.c_str()), 1);
    const std::string before = DatBytes();
    // The user then disables P and enables S.
    list_.SetEnabledAt(0, 0);
    SetStateImage(0, 1);
    list_.SetEnabledAt(3, 1);
    SetStateImage(3, 2);

    const std::string pending = path_ + ".tmp";
    ASSERT_TRUE(CreateDirectoryA(pending.c_str(), nullptr));
    EXPECT_EQ(SaveDisabled(list_, settings_, path_.c_str()), 0);
    EXPECT_EQ(DatBytes(), before);
    RemoveDirectoryA(pending.c_str());

    ASSERT_TRUE(SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(SaveDisabled(list_, settings_, path_.c_str()), 0);
    EXPECT_EQ(DatBytes(), before);
    SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);

    HANDLE held = CreateFileA(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(SaveDisabled(list_, settings_, path_.c_str()), 0);
    CloseHandle(held);
    EXPECT_EQ(DatBytes(), before);
    EXPECT_EQ(StoredPositions(), "1,3");
    EXPECT_FALSE(PendingFileLeft());

    EXPECT_EQ(SaveDisabled(list_, settings_, path_.c_str()), 1);
    EXPECT_EQ(DatBytes(), kHeader + Block("P") + Block("Q"));
    EXPECT_EQ(StoredPositions(), "0,1");
}

// DisableItemPos holds 255 characters. Positions that do not fit are left out whole, and
// their entries come back at the end instead of being lost.
TEST_F(DisabledStoreTest, PositionsBeyondTheTextLimitAppendTheirEntries) {
    std::string spec;
    std::vector<std::string> names;
    for (int i = 0; i < 200; ++i) {
        char name[8];
        snprintf(name, sizeof(name), "E%03d", i);
        names.push_back(name);
        spec += std::string(name) + (i % 2 ? "- " : "+ ");
    }
    Fill(spec.c_str());
    ASSERT_EQ(SaveDisabled(list_, settings_, path_.c_str()), 1);

    // 1,3,...,9 and 11,...,99 take 145 characters with their commas; 27 numbers of three
    // digits follow, up to 153, for 252 in all; one more would need 256.
    std::string stored = StoredPositions();
    EXPECT_EQ(stored.size(), 252u);
    EXPECT_EQ(stored.substr(stored.size() - 8), ",151,153");
    EXPECT_EQ(settings_.CountDisabledPositions(), 77);

    Restart();
    EXPECT_EQ(Restore(), 100);
    std::string expected;
    std::string appended;
    for (int i = 0; i < 200; ++i) {
        std::string& part = i % 2 && i > 153 ? appended : expected;
        part += (part.empty() ? "" : " ") + names[i];
    }
    EXPECT_EQ(Names(), expected + " " + appended);
    ExpectRowsMirrorEntries(list_);
}

}  // namespace
