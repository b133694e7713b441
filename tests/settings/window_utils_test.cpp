// Centring, long path names and the executable's directory, on real windows and files.
#include <windows.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "settings/window_utils.h"
#include "tests/support/temp_dir.h"

namespace {

class WindowGuard {
public:
    explicit WindowGuard(HWND window) : window_(window) {}
    ~WindowGuard() { if (window_) DestroyWindow(window_); }
    HWND Get() const { return window_; }

private:
    HWND window_;
};

HWND MakePopup(int x, int y, int width, int height) {
    return CreateWindowExA(0, "STATIC", "", WS_POPUP, x, y, width, height, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

RECT WorkArea() {
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

#define ExpectWindowAt(window, x, y, width, height) ExpectWindowAt_(__LINE__, window, x, y, width, height)
void ExpectWindowAt_(int line, HWND window, int x, int y, int width, int height) {
    SCOPED_TRACE(testing::Message() << "called from line " << line);
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, x);
    EXPECT_EQ(rect.top, y);
    EXPECT_EQ(rect.right - rect.left, width);
    EXPECT_EQ(rect.bottom - rect.top, height);
}

TEST(CenterWindowTest, CentresOverTheOwnerTruncatingTowardZero) {
    RECT work = WorkArea();
    WindowGuard owner(MakePopup(work.left + 300, work.top + 200, 201, 101));
    WindowGuard dialog(MakePopup(0, 0, 100, 50));
    CenterWindow(dialog.Get(), owner.Get());
    ExpectWindowAt(dialog.Get(), work.left + 350, work.top + 225, 100, 50);

    // A dialog wider than its owner: (100 - 201) / 2 is -50, not -51.
    WindowGuard narrow(MakePopup(work.left + 500, work.top + 200, 100, 100));
    WindowGuard wide(MakePopup(0, 0, 201, 101));
    CenterWindow(wide.Get(), narrow.Get());
    ExpectWindowAt(wide.Get(), work.left + 450, work.top + 200, 201, 101);
}

TEST(CenterWindowTest, ClampsToTheWorkArea) {
    RECT work = WorkArea();
    WindowGuard dialog(MakePopup(0, 0, 400, 300));

    WindowGuard leftOfWork(MakePopup(work.left - 300, work.top - 280, 200, 200));
    CenterWindow(dialog.Get(), leftOfWork.Get());
    ExpectWindowAt(dialog.Get(), work.left, work.top, 400, 300);

    WindowGuard pastWork(MakePopup(work.right - 100, work.bottom - 100, 200, 200));
    CenterWindow(dialog.Get(), pastWork.Get());
    ExpectWindowAt(dialog.Get(), work.right - 400, work.bottom - 300, 400, 300);
}

TEST(CenterWindowTest, WithoutOwnerCentresOnTheDesktop) {
    RECT work = WorkArea();
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    WindowGuard dialog(MakePopup(0, 0, 300, 200));
    CenterWindow(dialog.Get(), nullptr);
    ExpectWindowAt(dialog.Get(), desktop.left + (desktop.right - desktop.left - 300) / 2,
                   desktop.top + (desktop.bottom - desktop.top - 200) / 2, 300, 200);

    // Larger than the work area: the left and top edges win and the rest hangs out.
    int width = work.right - work.left + 200;
    int height = work.bottom - work.top + 100;
    WindowGuard huge(MakePopup(0, 0, width, height));
    CenterWindow(huge.Get(), nullptr);
    ExpectWindowAt(huge.Get(), work.left, work.top, width, height);
}

// A folder and a file with long names, and the same path in short names.
class LongNameTest : public testing::Test {
protected:
    void SetUp() override {
        char longTemp[MAX_PATH];
        ASSERT_GT(GetLongPathNameA(dir_.Path().c_str(), longTemp, sizeof(longTemp)), 0u);
        folder_ = std::string(longTemp) + "Quorvil Long Folder Name";
        ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
        file_ = folder_ + "\\Settings Of Many Words.ini";
        ASSERT_TRUE(TempDir::WriteFile(file_, "x"));
        char shortPath[MAX_PATH];
        ASSERT_GT(GetShortPathNameA(file_.c_str(), shortPath, sizeof(shortPath)), 0u);
        short_ = shortPath;
        ASSERT_NE(short_, file_) << "the file system gives no short names";
    }

    TempDir dir_;
    std::string folder_;
    std::string file_;
    std::string short_;
};

TEST_F(LongNameTest, ShortNamesBecomeLong) {
    char buffer[MAX_PATH];
    EXPECT_EQ(GetLongPathForm(short_.c_str(), buffer, sizeof(buffer)), static_cast<int>(file_.size()));
    EXPECT_EQ(buffer, file_);
}

TEST_F(LongNameTest, CapacityEqualToTheLengthLeavesTheBufferAlone) {
    int length = static_cast<int>(file_.size());
    char buffer[MAX_PATH];
    memset(buffer, '#', sizeof(buffer));
    EXPECT_EQ(GetLongPathForm(short_.c_str(), buffer, length), length + 1);
    EXPECT_EQ(std::string(buffer, sizeof(buffer)), std::string(sizeof(buffer), '#'));

    EXPECT_EQ(GetLongPathForm(short_.c_str(), buffer, length + 1), length);
    EXPECT_EQ(buffer, file_);
}

TEST_F(LongNameTest, MissingPathFails) {
    char buffer[MAX_PATH] = "untouched";
    EXPECT_EQ(GetLongPathForm((folder_ + "\\no such file.txt").c_str(), buffer, sizeof(buffer)), 0);
}

// Started from its short (8.3) path, a copy of the probe program reports its directory in
// long names.
TEST_F(LongNameTest, ExecutableStartedFromShortPathReportsLongDirectory) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof(self));
    std::string probe = self;
    probe.erase(probe.rfind('\\') + 1);
    probe += "module_directory_probe.exe";
    std::string copy = folder_ + "\\Directory Probe With Long Name.exe";
    ASSERT_TRUE(CopyFileA(probe.c_str(), copy.c_str(), FALSE)) << probe;
    char shortCopy[MAX_PATH];
    ASSERT_GT(GetShortPathNameA(copy.c_str(), shortCopy, sizeof(shortCopy)), 0u);
    ASSERT_EQ(strchr(shortCopy, ' '), nullptr) << shortCopy;

    std::string output = dir_.File("probe.txt");
    std::string command = std::string(shortCopy) + " " + output;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(shortCopy, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    std::string reported;
    ASSERT_TRUE(TempDir::ReadFile(output, &reported));
    EXPECT_EQ(reported, folder_ + "\\\n" + folder_ + "\n");
}

// A path the shell cannot parse still yields its directory, cut at a real separator: the
// second byte of 表 is 0x5C as well.
TEST(DirectoryOfModulePathTest, UnparsablePathFallsBackToTheGivenPath) {
    TempDir dir;
    std::string missing = dir.Path() + "消えた表\\表.exe";
    std::string folder = dir.Path() + "消えた表";
    char buffer[MAX_PATH];
    EXPECT_EQ(DirectoryOfModulePath(missing.c_str(), buffer, 1), static_cast<int>(folder.size() + 1));
    EXPECT_EQ(buffer, folder + "\\");
    EXPECT_EQ(DirectoryOfModulePath(missing.c_str(), buffer, 0), static_cast<int>(folder.size()));
    EXPECT_EQ(buffer, folder);

    EXPECT_EQ(DirectoryOfModulePath("Quorvil.exe", buffer, 1), 0);
    EXPECT_STREQ(buffer, "");
}

TEST(GetModuleDirectoryTest, EndsInABackslashOnlyWhenAsked) {
    char with[MAX_PATH];
    char without[MAX_PATH];
    int withLength = GetModuleDirectory(with, 1);
    int withoutLength = GetModuleDirectory(without, 0);
    ASSERT_GT(withoutLength, 0);
    EXPECT_EQ(withLength, withoutLength + 1);
    EXPECT_EQ(std::string(with), std::string(without) + "\\");
    DWORD attributes = GetFileAttributesA(without);
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << without;
    EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

}  // namespace
