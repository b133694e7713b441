// Quorvil.exe itself, run as a child process the way a user starts it: what it shows, what
// it leaves in the settings file, and how it ends.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "mainwindow/messages.h"
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

// Starts a copy of the build in `folder`, as a shortcut with `showCommand` would.
bool StartQuorvil(const TempDir& folder, int showCommand, PROCESS_INFORMATION* process) {
    // Under Wine the build's Unix path is on Z:.
    std::string built = QUORVIL_EXE, exe = folder.File("Quorvil.exe"), command = "\"" + exe + "\"";
    if (built[0] == '/') built = "Z:" + built;
    for (char& c : built) c = c == '/' ? '\\' : c;
    if (!CopyFileA(built.c_str(), exe.c_str(), FALSE)) return false;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    return CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.Path().c_str(),
                          &startup, process) != FALSE;
}

// Esc, as a user closes the window without updating; the exit code.
DWORD CloseWithEsc(HWND list, PROCESS_INFORMATION& process) {
    // The message loop hands the key to the dialog manager, which turns Esc into Cancel.
    PostMessageA(list, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageA(list, WM_KEYUP, VK_ESCAPE, 0xC0010001);
    DWORD code = 12345;
    if (WaitForSingleObject(process.hProcess, kTimeoutMs) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 99);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return code;
}

TEST(ExecutableTest, StartsAsTheShortcutSaysShowsTheEntriesAndEscClosesItSavingOnlyItsSettings) {
    RegistryKeyGuard registry;
    TempDir folder;
    RegistryKeyGuard::CreateSubkey("P", "C:\\P.htm");
    RegistryKeyGuard::CreateSubkey("Q", "C:\\Q.htm");
    Setting(folder, "ShowWindow", "3");  // saved maximized; the shortcut's minimized state wins
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(StartQuorvil(folder, SW_SHOWMINIMIZED, &process));

    HWND window = StartedMainWindow(), list = GetDlgItem(window, IDC_ENTRY_LIST);
    EXPECT_TRUE(window && IsIconic(window));
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(CloseWithEsc(list, process), 0u);
    EXPECT_EQ(RegistryKeyGuard::SubkeyNames(), (std::vector<std::string>{"P", "Q"}));
    EXPECT_EQ(GetFileAttributesA(folder.File("Disable.dat").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(Setting(folder, "ColOrder"), "0,1,2,3");
    EXPECT_NE(Setting(folder, "WindowWidth"), "<none>");
    EXPECT_EQ(Setting(folder, "ShowWindow"), "1");  // closed while minimized, stored as a normal window
}


// Waits until `done` holds, as a person watching the screen would.
template <typename Condition>
bool Eventually(Condition done) {
    for (DWORD began = GetTickCount(); GetTickCount() - began < kTimeoutMs; Sleep(20))
        if (done()) return true;
    return false;
}

// The text of a row of the other process's list, read through memory placed in that process.
std::string RowText(HANDLE process, HWND list, int row) {
    struct Remote {
        LVITEMA item;
        char text[80];
    } local = {}, *remote = static_cast<Remote*>(VirtualAllocEx(process, nullptr, sizeof(Remote), MEM_COMMIT,
                                                                PAGE_READWRITE));
    local.item.pszText = remote->text;
    local.item.cchTextMax = sizeof(local.text);
    WriteProcessMemory(process, remote, &local, sizeof(local), nullptr);
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&remote->item));
    ReadProcessMemory(process, remote, &local, sizeof(local), nullptr);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return local.text;
}

std::string RegQuery() {
    TempDir out;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE file = CreateFileA(out.File("reg.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0,
                              nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = file;
    std::string command = "reg.exe query \"HKCU\\Software\\Microsoft\\Internet Explorer\\MenuExt\"";
    PROCESS_INFORMATION process = {};
    if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        WaitForSingleObject(process.hProcess, kTimeoutMs);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    CloseHandle(file);
    std::string text;
    TempDir::ReadFile(out.File("reg.txt"), &text);
    return text;
}

TEST(ExecutableTest, AnEntryUntickedAndUpdatedLeavesTheRegistryAndComesBackInPlaceUnticked) {
    RegistryKeyGuard registry;
    TempDir folder;
    for (const char* name : {"P", "Q", "R"}) RegistryKeyGuard::CreateSubkey(name, "C:\\menu.htm");
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(StartQuorvil(folder, SW_SHOWNORMAL, &process));
    HWND window = StartedMainWindow(), list = GetDlgItem(window, IDC_ENTRY_LIST), update = GetDlgItem(window, IDC_UPDATE);
    ASSERT_TRUE(window);
    // Down to Q, then the space bar clears its box.
    for (WPARAM key : {VK_DOWN, VK_SPACE}) {
        PostMessageA(list, WM_KEYDOWN, key, 1);
        PostMessageA(list, WM_KEYUP, key, 0xC0000001);
    }
    EXPECT_TRUE(Eventually([&] { return SendMessageA(list, LVM_GETITEMSTATE, 1, LVIS_STATEIMAGEMASK) == 0x1000; }));
    EXPECT_TRUE(IsWindowEnabled(update));
    PostMessageA(update, BM_CLICK, 0, 0);
    HWND box = nullptr;
    // The question shares the main window's class and caption.
    EXPECT_TRUE(Eventually([&] {
        for (box = nullptr; (box = FindWindowExA(nullptr, box, "#32770", "Quorvil"));)
            if (box != window && IsWindowVisible(box)) return true;
        return false;
    }));
    char question[256] = {};
    GetDlgItemTextA(box, 0xFFFF, question, sizeof(question));
    EXPECT_STREQ(question, kUpdateQuestion);
    PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(Eventually([&] { return !IsWindowEnabled(update); }));

    std::string reg = RegQuery(), key = "Internet Explorer\\MenuExt\\";
    EXPECT_NE(reg.find(key + "P"), std::string::npos) << reg;
    EXPECT_NE(reg.find(key + "R"), std::string::npos) << reg;
    EXPECT_EQ(reg.find(key + "Q"), std::string::npos) << reg;
    std::string disabled, ini;
    EXPECT_TRUE(TempDir::ReadFile(folder.File("Disable.dat"), &disabled));
    EXPECT_EQ(disabled,
              "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\MenuExt]\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\MenuExt\\Q]\r\n@=\"C:\\\\menu.htm\"\r\n"
              "\"Contexts\"=dword:00000000\r\n\"Flags\"=dword:00000000\r\n\r\n");
    EXPECT_TRUE(TempDir::ReadFile(folder.File("Quorvil.ini"), &ini));
    EXPECT_NE(ini.find("/List]\r\nDisableItemPos=1\r\n"), std::string::npos) << ini;
    EXPECT_EQ(CloseWithEsc(list, process), 0u);

    ASSERT_TRUE(StartQuorvil(folder, SW_SHOWNORMAL, &process));
    window = StartedMainWindow();
    list = GetDlgItem(window, IDC_ENTRY_LIST);
    ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 3);
    const char* const kNames[] = {"P", "Q", "R"};
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(RowText(process.hProcess, list, row), kNames[row]);
        EXPECT_EQ(SendMessageA(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK), row == 1 ? 0x1000 : 0x2000);
    }
    EXPECT_EQ(CloseWithEsc(list, process), 0u);
}

}  // namespace
