// Centring and long path names on real windows and files.
#include <windows.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "settings/window_utils.h"
#include "tests/support/temp_dir.h"

namespace {

HWND MakePopup(const RECT& r) {
    return CreateWindowExA(0, "STATIC", "", WS_POPUP, r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

TEST(CenterWindowTest, CentresOverTheOwnerAndClampsToTheWorkArea) {
    RECT w;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &w, 0);
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    int dx = (desktop.right - desktop.left - 300) / 2;
    int dy = (desktop.bottom - desktop.top - 200) / 2;
    int hugeWidth = w.right - w.left + 200;
    struct Case {
        RECT owner;  // empty: no owner
        SIZE size;
        POINT expected;
    } cases[] = {
        {{w.left + 300, w.top + 200, w.left + 501, w.top + 301}, {100, 50}, {w.left + 350, w.top + 225}},
        // (100 - 201) / 2 truncates to -50, not -51.
        {{w.left + 500, w.top + 200, w.left + 600, w.top + 300}, {201, 101}, {w.left + 450, w.top + 200}},
        {{w.left - 300, w.top - 280, w.left - 100, w.top - 80}, {400, 300}, {w.left, w.top}},
        {{w.right - 100, w.bottom - 100, w.right + 100, w.bottom + 100}, {400, 300}, {w.right - 400, w.bottom - 300}},
        {{}, {300, 200}, {desktop.left + dx, desktop.top + dy}},
        // Larger than the work area: the left edge wins and the rest hangs out.
        {{}, {hugeWidth, 100}, {w.left, desktop.top + (desktop.bottom - desktop.top - 100) / 2}},
    };
    for (const Case& c : cases) {
        HWND owner = IsRectEmpty(&c.owner) ? nullptr : MakePopup(c.owner);
        RECT start = {0, 0, c.size.cx, c.size.cy};
        HWND window = MakePopup(start);
        CenterWindow(window, owner);
        RECT r;
        GetWindowRect(window, &r);
        EXPECT_EQ(r.left, c.expected.x) << "owner left " << c.owner.left;
        EXPECT_EQ(r.top, c.expected.y) << "owner left " << c.owner.left;
        EXPECT_EQ(r.right - r.left, c.size.cx);
        EXPECT_EQ(r.bottom - r.top, c.size.cy);
        DestroyWindow(window);
        if (owner) DestroyWindow(owner);
    }
}

// A folder with a long name, and paths into it given in short (8.3) names.
class LongNameTest : public testing::Test {
protected:
    void SetUp() override {
        char longTemp[MAX_PATH];
        ASSERT_GT(GetLongPathNameA(dir_.Path().c_str(), longTemp, sizeof(longTemp)), 0u);
        folder_ = std::string(longTemp) + "Quorvil Long Folder Name";
        ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
    }
    std::string ShortForm(const std::string& path) {
        char shortPath[MAX_PATH] = "";
        GetShortPathNameA(path.c_str(), shortPath, sizeof(shortPath));
        EXPECT_EQ(strchr(shortPath, ' '), nullptr) << "no short name for " << path;
        return shortPath;
    }

    TempDir dir_;
    std::string folder_;
};

TEST_F(LongNameTest, ShortNamesBecomeLongWhenTheyFit) {
    std::string file = folder_ + "\\Settings Of Many Words.ini";
    ASSERT_TRUE(TempDir::WriteFile(file, "x"));
    std::string shortFile = ShortForm(file);
    int length = static_cast<int>(file.size());

    char buffer[MAX_PATH];
    memset(buffer, '#', sizeof(buffer));
    EXPECT_EQ(GetLongPathForm(shortFile.c_str(), buffer, length), length + 1);
    EXPECT_EQ(std::string(buffer, sizeof(buffer)), std::string(sizeof(buffer), '#'));
    EXPECT_EQ(GetLongPathForm(shortFile.c_str(), buffer, length + 1), length);
    EXPECT_EQ(buffer, file);
    EXPECT_EQ(GetLongPathForm((folder_ + "\\missing.ini").c_str(), buffer, sizeof(buffer)), 0);
}

// The system may report the executable's path in short (8.3) names; the directory comes back
// in long names.
TEST_F(LongNameTest, ShortModulePathGivesTheLongDirectory) {
    std::string program = folder_ + "\\Quorvil Program.exe";
    ASSERT_TRUE(TempDir::WriteFile(program, "MZ"));
    std::string shortProgram = ShortForm(program);
    char buffer[MAX_PATH];
    EXPECT_EQ(DirectoryOfModulePath(shortProgram.c_str(), buffer, 1), static_cast<int>(folder_.size() + 1));
    EXPECT_EQ(buffer, folder_ + "\\");
    EXPECT_EQ(DirectoryOfModulePath(shortProgram.c_str(), buffer, 0), static_cast<int>(folder_.size()));
    EXPECT_EQ(buffer, folder_);

    char with[MAX_PATH];
    char without[MAX_PATH];
    EXPECT_EQ(GetModuleDirectory(with, 1), GetModuleDirectory(without, 0) + 1);
    EXPECT_EQ(std::string(with), std::string(without) + "\\");
    EXPECT_NE(GetFileAttributesA(without) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_NE(GetFileAttributesA(without), INVALID_FILE_ATTRIBUTES);
}

// A path the shell cannot parse still yields its directory, cut at a real separator: the
// second byte of 表 is 0x5C as well.
TEST(DirectoryOfModulePathTest, UnparsablePathFallsBackToTheGivenPath) {
    TempDir dir;
    std::string folder = dir.Path() + "消えた表";
    std::string missing = folder + "\\表.exe";
    char buffer[MAX_PATH];
    EXPECT_EQ(DirectoryOfModulePath(missing.c_str(), buffer, 1), static_cast<int>(folder.size() + 1));
    EXPECT_EQ(buffer, folder + "\\");
    EXPECT_EQ(DirectoryOfModulePath(missing.c_str(), buffer, 0), static_cast<int>(folder.size()));
    EXPECT_EQ(buffer, folder);
    EXPECT_EQ(DirectoryOfModulePath("Quorvil.exe", buffer, 1), 0);
    EXPECT_STREQ(buffer, "");
}

TEST(LoadHelpViewerHandCursorTest, NoViewerNoCursor) {
    char viewer[MAX_PATH];
    GetWindowsDirectoryA(viewer, sizeof(viewer));
    strcat(viewer, "\\winhlp32.exe");
    if (GetFileAttributesA(viewer) != INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "this system has a help viewer";
    EXPECT_EQ(LoadHelpViewerHandCursor(), nullptr);
}

}  // namespace
