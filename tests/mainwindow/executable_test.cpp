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

class ExecutableTest : public testing::Test {
protected:
    void TearDown() override {
        if (!process_.hProcess) return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }

    // Runs a copy of the build in a folder of its own (showCommand -1: no show state in the
    // start-up information) and returns its main window once it has finished starting.
    HWND Start(int showCommand) {
        // The build tree's path; under Wine a Unix path is reached through drive Z:.
        std::string built = QUORVIL_EXE, exe = folder_.File("Quorvil.exe"), command = "\"" + exe + "\"";
        if (built[0] == '/') built = "Z:" + built;
        for (char& c : built)
            if (c == '/') c = '\\';
        EXPECT_TRUE(CopyFileA(built.c_str(), exe.c_str(), FALSE)) << built;
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        startup.dwFlags = showCommand >= 0 ? STARTF_USESHOWWINDOW : 0;
        startup.wShowWindow = static_cast<WORD>(showCommand);
        if (!CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder_.Path().c_str(),
                            &startup, &process_))
            return nullptr;
        for (DWORD began = GetTickCount(); GetTickCount() - began < kTimeoutMs; Sleep(20)) {
            for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, "#32770", "Quorvil"));) {
                DWORD processId = 0;
                DWORD_PTR ignored;
                GetWindowThreadProcessId(window, &processId);
                // The answer comes once the dialog's initialisation is over and its loop runs.
                if (processId == process_.dwProcessId && IsWindowVisible(window) &&
                    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kTimeoutMs, &ignored))
                    return window;
            }
        }
        return nullptr;
    }

    // Checks that the program ended by itself with code 0, leaving the registry's entries
    // and Disable.dat alone but its column settings saved.
    void ExpectCleanExit(const std::vector<std::string>& entries) {
        ASSERT_EQ(WaitForSingleObject(process_.hProcess, kTimeoutMs), WAIT_OBJECT_0);
        DWORD code = 12345;
        GetExitCodeProcess(process_.hProcess, &code);
        EXPECT_EQ(code, 0u);
        EXPECT_EQ(RegistryKeyGuard::SubkeyNames(), entries);
        EXPECT_EQ(GetFileAttributesA(folder_.File("Disable.dat").c_str()), INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(Setting("ColOrder"), "0,1,2,3");
    }

    std::string Setting(const char* key, const char* value = nullptr) {
        char user[256] = "DefUser", read[64];
        DWORD size = sizeof(user);
        GetUserNameA(user, &size);
        std::string section = std::string(user) + "/Main", ini = folder_.File("Quorvil.ini");
        if (value) WritePrivateProfileStringA(section.c_str(), key, value, ini.c_str());
        GetPrivateProfileStringA(section.c_str(), key, "<none>", read, sizeof(read), ini.c_str());
        return read;
    }

    RegistryKeyGuard registry_;
    TempDir folder_;
    PROCESS_INFORMATION process_ = {};
};

TEST_F(ExecutableTest, ShowsTheEntriesMinimizedAsTheShortcutSaysAndSavesItsSettingsWhenClosed) {
    RegistryKeyGuard::CreateSubkey("P", "C:\\P.htm");
    RegistryKeyGuard::CreateSubkey("Q", "C:\\Q.htm");
    Setting("ShowWindow", "3");  // saved maximized; the shortcut's minimized state wins
    HWND window = Start(SW_SHOWMINIMIZED);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsIconic(window));
    EXPECT_EQ(SendMessageA(GetDlgItem(window, IDC_ENTRY_LIST), LVM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_UPDATE)));
    PostMessageA(window, WM_CLOSE, 0, 0);
    ExpectCleanExit({"P", "Q"});
    EXPECT_NE(Setting("WindowWidth"), "<none>");
    // A window closed while minimized is stored as a normal one.
    EXPECT_EQ(Setting("ShowWindow"), "1");
}

TEST_F(ExecutableTest, EscInTheListClosesThroughTheDialogKeysWithoutTouchingTheEntries) {
    RegistryKeyGuard::CreateSubkey("P", "C:\\P.htm");
    HWND window = Start(-1);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsIconic(window));
    HWND list = GetDlgItem(window, IDC_ENTRY_LIST);
    // The message loop hands the key to the dialog manager, which turns Esc into Cancel.
    PostMessageA(list, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageA(list, WM_KEYUP, VK_ESCAPE, 0xC0010001);
    ExpectCleanExit({"P"});
}

}  // namespace
