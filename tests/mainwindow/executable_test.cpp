// Quorvil.exe itself, run as a child process the way a user starts it: what it shows, what
// it leaves in the settings file, and how it ends.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include <gtest/gtest.h>

#include "resources/resource.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

constexpr DWORD kTimeoutMs = 60000;

// The build tree's path; under Wine a Unix path is reached through drive Z:.
std::string BuiltExecutable() {
    std::string path = QUORVIL_EXE;
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM lParam) {
    WindowSearch* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    char caption[32] = {};
    GetWindowTextA(window, caption, sizeof(caption));
    if (processId != search->processId || !IsWindowVisible(window) || lstrcmpA(caption, "Quorvil") != 0) return TRUE;
    search->found = window;
    return FALSE;
}

class ExecutableTest : public testing::Test {
protected:
    void SetUp() override {
        exe_ = folder_.File("Quorvil.exe");
        ASSERT_TRUE(CopyFileA(BuiltExecutable().c_str(), exe_.c_str(), FALSE)) << BuiltExecutable();
    }

    void TearDown() override {
        if (process_.hProcess) {
            if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
            WaitForSingleObject(process_.hProcess, kTimeoutMs);
            CloseHandle(process_.hProcess);
            CloseHandle(process_.hThread);
        }
    }

    // Starts the copy in its own folder; showCommand -1 gives no show state in the start-up
    // information. Returns the main window once it has finished starting.
    HWND Start(int showCommand) {
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        if (showCommand >= 0) {
            startup.dwFlags = STARTF_USESHOWWINDOW;
            startup.wShowWindow = static_cast<WORD>(showCommand);
        }
        std::string command = "\"" + exe_ + "\"";
        if (!CreateProcessA(exe_.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder_.Path().c_str(),
                            &startup, &process_))
            return nullptr;
        DWORD began = GetTickCount();
        while (GetTickCount() - began < kTimeoutMs) {
            WindowSearch search = {process_.dwProcessId, nullptr};
            EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
            DWORD_PTR ignored;
            // The answer comes once the dialog's initialisation is over and its loop runs.
            if (search.found && SendMessageTimeoutA(search.found, WM_NULL, 0, 0, SMTO_NORMAL, kTimeoutMs, &ignored))
                return search.found;
            Sleep(20);
        }
        return nullptr;
    }

    DWORD CloseAndWait(HWND window) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(WaitForSingleObject(process_.hProcess, kTimeoutMs), WAIT_OBJECT_0);
        DWORD code = 12345;
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

    static std::string MainSection() {
        char user[256] = "DefUser";
        DWORD size = sizeof(user);
        GetUserNameA(user, &size);
        return std::string(user) + "/Main";
    }

    std::string Setting(const char* key) const {
        char value[64];
        GetPrivateProfileStringA(MainSection().c_str(), key, "<none>", value, sizeof(value),
                                 folder_.File("Quorvil.ini").c_str());
        return value;
    }

    RegistryKeyGuard registry_;
    TempDir folder_;
    std::string exe_;
    PROCESS_INFORMATION process_ = {};
};

TEST_F(ExecutableTest, ShowsTheRegistryEntriesAndSavesItsSettingsWhenClosed) {
    RegistryKeyGuard::CreateSubkey("P", "C:\\P.htm");
    RegistryKeyGuard::CreateSubkey("Q", "C:\\Q.htm");
    HWND window = Start(-1);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsIconic(window));
    HWND list = GetDlgItem(window, IDC_ENTRY_LIST);
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_UPDATE)));
    EXPECT_EQ(CloseAndWait(window), 0u);
    EXPECT_EQ(RegistryKeyGuard::SubkeyNames(), (std::vector<std::string>{"P", "Q"}));
    EXPECT_EQ(Setting("ColOrder"), "0,1,2,3");
    EXPECT_NE(Setting("WindowWidth"), "<none>");
    EXPECT_EQ(GetFileAttributesA(folder_.File("Disable.dat").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ExecutableTest, AShortcutSetToMinimizedWinsOverTheSavedShowState) {
    TempDir::WriteFile(folder_.File("Quorvil.ini"), "[" + MainSection() + "]\r\nShowWindow=3\r\n");
    HWND window = Start(SW_SHOWMINIMIZED);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsIconic(window));
    EXPECT_EQ(CloseAndWait(window), 0u);
    // A window closed while minimized is stored as a normal one.
    EXPECT_EQ(Setting("ShowWindow"), "1");
}

TEST_F(ExecutableTest, EscInTheListClosesThroughTheDialogKeysWithoutTouchingTheEntries) {
    RegistryKeyGuard::CreateSubkey("P", "C:\\P.htm");
    HWND window = Start(-1);
    ASSERT_NE(window, nullptr);
    HWND list = GetDlgItem(window, IDC_ENTRY_LIST);
    // The message loop hands the key to the dialog manager, which turns Esc into Cancel.
    PostMessageA(list, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageA(list, WM_KEYUP, VK_ESCAPE, 0xC0010001);
    ASSERT_EQ(WaitForSingleObject(process_.hProcess, kTimeoutMs), WAIT_OBJECT_0);
    DWORD code = 12345;
    GetExitCodeProcess(process_.hProcess, &code);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(RegistryKeyGuard::SubkeyNames(), std::vector<std::string>{"P"});
    EXPECT_NE(Setting("ColWidth0"), "<none>");
    EXPECT_EQ(GetFileAttributesA(folder_.File("Disable.dat").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
