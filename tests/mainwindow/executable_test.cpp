// Quorvil.exe itself, run as a child process the way a user starts it: what it shows, what
// it leaves in the settings file, and how it ends.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "resources/resource.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

constexpr DWORD kTimeoutMs = 60000;

// Writes a value of the user's Main section of Quorvil.ini if given, and reads it back.
std::string Setting(const TempDir& folder, const char* key, const char* value = nullptr) {
    char user[256] = "DefUser", read[64];
    DWORD size = sizeof(user);
    GetUserNameA(user, &size);
    std::string section = std::string(user) + "/Main", ini = folder.File("Quorvil.ini");
    if (value) WritePrivateProfileStringA(section.c_str(), key, value, ini.c_str());
    GetPrivateProfileStringA(section.c_str(), key, "<none>", read, sizeof(read), ini.c_str());
    return read;
}

// The main window once the dialog's initialisation is over and its loop answers.
HWND StartedMainWindow() {
    for (DWORD began = GetTickCount(); GetTickCount() - began < kTimeoutMs; Sleep(20)) {
        HWND window = FindWindowA("#32770", "Quorvil");
        DWORD_PTR ignored;
        if (window && IsWindowVisible(window) &&
            SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kTimeoutMs, &ignored))
            return window;
    }
    return nullptr;
}

TEST(ExecutableTest, StartsAsTheShortcutSaysShowsTheEntriesAndEscClosesItSavingOnlyItsSettings) {
    RegistryKeyGuard registry;
    TempDir folder;
    RegistryKeyGuard::CreateSubkey("P", "C:\\P.htm");
    RegistryKeyGuard::CreateSubkey("Q", "C:\\Q.htm");
    Setting(folder, "ShowWindow", "3");  // saved maximized; the shortcut's minimized state wins
    // A copy of the build in a folder of its own; under Wine the build's Unix path is on Z:.
    std::string built = QUORVIL_EXE, exe = folder.File("Quorvil.exe"), command = "\"" + exe + "\"";
    if (built[0] == '/') built = "Z:" + built;
    for (char& c : built) c = c == '/' ? '\\' : c;
    ASSERT_TRUE(CopyFileA(built.c_str(), exe.c_str(), FALSE)) << built;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINIMIZED;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.Path().c_str(),
                               &startup, &process));

    HWND window = StartedMainWindow(), list = GetDlgItem(window, IDC_ENTRY_LIST);
    EXPECT_TRUE(window && IsIconic(window));
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 2);
    // The message loop hands the key to the dialog manager, which turns Esc into Cancel.
    PostMessageA(list, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageA(list, WM_KEYUP, VK_ESCAPE, 0xC0010001);
    DWORD code = 12345;
    if (WaitForSingleObject(process.hProcess, kTimeoutMs) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 99);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(RegistryKeyGuard::SubkeyNames(), (std::vector<std::string>{"P", "Q"}));
    EXPECT_EQ(GetFileAttributesA(folder.File("Disable.dat").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(Setting(folder, "ColOrder"), "0,1,2,3");
    EXPECT_NE(Setting(folder, "WindowWidth"), "<none>");
    EXPECT_EQ(Setting(folder, "ShowWindow"), "1");  // closed while minimized, stored as a normal window
}

}  // namespace
