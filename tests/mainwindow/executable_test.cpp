// Quorvil.exe itself, run as a child process the way a user starts it: what it shows, what
// it leaves in the registry, Disable.dat and the settings file, and how it ends; and the
// portable package with it.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "resources/resource.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

constexpr DWORD kTimeoutMs = 60000;

// Waits until `done` holds, as a person watching the screen would.
template <typename Condition>
bool Eventually(Condition done) {
    for (DWORD began = GetTickCount(); GetTickCount() - began < kTimeoutMs; Sleep(20))
        if (done()) return true;
    return false;
}

// A visible dialog window captioned "Quorvil" other than `other`, once its loop answers.
HWND Shown(HWND other = nullptr) {
    HWND found = nullptr;
    DWORD_PTR ignored;
    Eventually([&] {
        for (found = nullptr; (found = FindWindowExA(nullptr, found, "#32770", "Quorvil"));)
            if (found != other && IsWindowVisible(found)) return true;
        return false;
    });
    return found && SendMessageTimeoutA(found, WM_NULL, 0, 0, SMTO_NORMAL, kTimeoutMs, &ignored) ? found : nullptr;
}

class ExecutableTest : public testing::Test {
protected:
    // A check that stopped the test early may leave the program running; CTest would wait for it.
    void TearDown() override {
        if (process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(process_.hProcess, 99);
    }

    // Writes a value of the user's Main section of Quorvil.ini if given, and reads it back.
    std::string Setting(const char* key, const char* value = nullptr) {
        char user[256] = "DefUser", read[64];
        DWORD size = sizeof(user);
        GetUserNameA(user, &size);
        std::string section = std::string(user) + "/Main", ini = folder_.File("Quorvil.ini");
        if (value) WritePrivateProfileStringA(section.c_str(), key, value, ini.c_str());
        GetPrivateProfileStringA(section.c_str(), key, "<none>", read, sizeof(read), ini.c_str());
        return read;
    }

    // Starts a copy of the build in the folder, as a shortcut with `showCommand` would; its list.
    HWND Start(int showCommand) {
        std::string exe = folder_.File("Quorvil.exe");
        return CopyFileA(TempDir::BuildPath(QUORVIL_EXE).c_str(), exe.c_str(), FALSE) ? Run(folder_.Path(), showCommand)
                                                                                    : nullptr;
    }

    // Starts Quorvil.exe of `folder` (ending in a backslash) from that folder; its list.
    HWND Run(const std::string& folder, int showCommand) {
        std::string exe = folder + "Quorvil.exe", command = "\"" + exe + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(showCommand);
        if (!CreateProcessA(exe.c_str(), &command[0], 0, 0, FALSE, 0, 0, folder.c_str(), &startup, &process_))
            return nullptr;
        window_ = Shown();
        return GetDlgItem(window_, IDC_ENTRY_LIST);
    }

    // Esc, as a user closes the window without updating; the exit code.
    DWORD CloseWithEsc(HWND list) {
        // The message loop hands the key to the dialog manager, which turns Esc into Cancel.
        PostMessageA(list, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        PostMessageA(list, WM_KEYUP, VK_ESCAPE, 0xC0010001);
        DWORD code = 12345;
        if (WaitForSingleObject(process_.hProcess, kTimeoutMs) != WAIT_OBJECT_0) TerminateProcess(process_.hProcess, 99);
        GetExitCodeProcess(process_.hProcess, &code);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
        process_ = {};
        return code;
    }

    static LRESULT CheckBox(HWND list, int row) { return SendMessageA(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK); }

    RegistryKeyGuard registry_;
    TempDir folder_;
    PROCESS_INFORMATION process_ = {};
    HWND window_ = nullptr;
};

TEST_F(ExecutableTest, AnEntryUntickedAndUpdatedLeavesTheRegistryAndComesBackInPlaceUnticked) {
    for (const char* name : {"P", "Q", "R"}) RegistryKeyGuard::CreateSubkey(name, "C:\\menu.htm");
    HWND list = Start(SW_SHOWNORMAL), update = GetDlgItem(window_, IDC_UPDATE);
    ASSERT_TRUE(list);
    // Down to Q, then the space bar clears its box.
    for (WPARAM key : {VK_DOWN, VK_SPACE}) {
        PostMessageA(list, WM_KEYDOWN, key, 1);
        PostMessageA(list, WM_KEYUP, key, 0xC0000001);
    }
    EXPECT_TRUE(Eventually([&] { return CheckBox(list, 1) == 0x1000; }));
    EXPECT_TRUE(IsWindowEnabled(update));
    PostMessageA(update, BM_CLICK, 0, 0);
    HWND box = Shown(window_);  // the question shares the main window's class and caption
    char question[256] = {};
    GetDlgItemTextA(box, 0xFFFF, question, sizeof(question));
    EXPECT_STREQ(question, "レジストリを更新します。\nよろしいですか？");  // as a user reads it
    PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(Eventually([&] { return !IsWindowEnabled(update); }));
    EXPECT_EQ(RegistryKeyGuard::SubkeyNames(), (std::vector<std::string>{"P", "R"}));
    std::string disabled, ini;
    TempDir::ReadFile(folder_.File("Disable.dat"), &disabled);
    EXPECT_EQ(disabled,
              "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\MenuExt]\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\MenuExt\\Q]\r\n@=\"C:\\\\menu.htm\"\r\n"
              "\"Contexts\"=dword:00000000\r\n\"Flags\"=dword:00000000\r\n\r\n");
    TempDir::ReadFile(folder_.File("Quorvil.ini"), &ini);
    EXPECT_NE(ini.find("/List]\r\nDisableItemPos=1\r\n"), std::string::npos) << ini;
    EXPECT_EQ(CloseWithEsc(list), 0u);
    EXPECT_EQ(Setting("ColOrder"), "0,1,2,3");

    // Saved maximized, started from a minimized shortcut: the shortcut wins.
    Setting("ShowWindow", "3");
    list = Start(SW_SHOWMINIMIZED);
    ASSERT_NE(window_, nullptr);
    EXPECT_TRUE(IsIconic(window_));
    ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 3);
    for (int row = 0; row < 3; ++row) EXPECT_EQ(CheckBox(list, row), row == 1 ? 0x1000 : 0x2000) << row;
    EXPECT_EQ(CloseWithEsc(list), 0u);
    EXPECT_EQ(Setting("ShowWindow"), "1");  // closed while minimized, stored as a normal window
    std::string after;  // Esc saves only the settings
    ASSERT_TRUE(TempDir::ReadFile(folder_.File("Disable.dat"), &after));
    EXPECT_EQ(after, disabled);
}

// The portable package as a user meets it: unpacked into an empty folder (by the test
// package_unpack, which runs first), read, started from that folder and closed.
std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(ExecutableTest, ThePackageHoldsTheProgramItsHelpAndAReadMeAndRunsFromItsFolder) {
    const std::string folder = TempDir::BuildPath(QUORVIL_UNPACKED "/");
    const std::vector<std::string> files = FilesIn(folder);
    EXPECT_EQ(files, (std::vector<std::string>{"Quorvil.chm", "Quorvil.exe", "Readme.txt"}));
    std::string readme;
    ASSERT_TRUE(TempDir::ReadFile(folder + "Readme.txt", &readme));
    EXPECT_GT(MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, readme.data(), (int)readme.size(), nullptr, 0), 0);
    EXPECT_EQ(readme.find("Quorvil Version " QUORVIL_VERSION "\r\n"), 0u);
    // Every line ends in CR LF, the last one too.
    for (size_t at = readme.find_first_of("\r\n"); at != std::string::npos; at = readme.find_first_of("\r\n", at + 2))
        ASSERT_EQ(readme.compare(at, 2, "\r\n"), 0) << at;
    EXPECT_EQ(readme.substr(readme.size() - 2), "\r\n");

    ASSERT_TRUE(Run(folder, SW_SHOWNORMAL));
    EXPECT_EQ(CloseWithEsc(GetDlgItem(window_, IDC_ENTRY_LIST)), 0u);
    // Closing saves the settings beside the program and writes neither the registry nor Disable.dat.
    EXPECT_EQ(FilesIn(folder), (std::vector<std::string>{"Quorvil.chm", "Quorvil.exe", "Quorvil.ini", "Readme.txt"}));
    EXPECT_FALSE(RegistryKeyGuard::MenuExtKeyExists());
}

}  // namespace
