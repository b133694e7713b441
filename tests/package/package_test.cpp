// The portable package as a user meets it: unpacked into an empty folder (the test
// package_unpack runs first), read, started from that folder and closed again.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "resources/resource.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

constexpr DWORD kTimeoutMs = 60000;

std::string Folder() {
    std::string path = QUORVIL_UNPACKED "/";
    if (path[0] == '/') path = "Z:" + path;
    for (char& c : path) c = c == '/' ? '\\' : c;
    return path;
}

std::vector<std::string> FilesInFolder() {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((Folder() + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK TakeMainWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window) || !GetDlgItem(window, IDC_ENTRY_LIST)) return TRUE;
    search->found = window;
    return FALSE;
}

// The main dialog of the started process, the top-level window that holds the entry list,
// once its initialisation is over and its loop answers.
HWND MainWindowOf(DWORD processId) {
    WindowSearch search = {processId, nullptr};
    for (DWORD began = GetTickCount(); GetTickCount() - began < kTimeoutMs && !search.found; Sleep(20))
        EnumWindows(TakeMainWindow, reinterpret_cast<LPARAM>(&search));
    DWORD_PTR ignored;
    if (search.found && !SendMessageTimeoutA(search.found, WM_NULL, 0, 0, SMTO_NORMAL, kTimeoutMs, &ignored))
        return nullptr;
    return search.found;
}

TEST(PackageTest, HoldsTheProgramItsHelpAndAJapaneseReadMeThatNamesThem) {
    std::vector<std::string> files = FilesInFolder();
    EXPECT_EQ(files, (std::vector<std::string>{"Quorvil.chm", "Quorvil.exe", "Readme.txt"}));

    std::string readme;
    ASSERT_TRUE(TempDir::ReadFile(Folder() + "Readme.txt", &readme));
    EXPECT_GT(MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, readme.data(), (int)readme.size(), nullptr, 0), 0)
        << "not code page 932";
    EXPECT_NE(readme.find("インストール"), std::string::npos);
    EXPECT_NE(readme.find("Quorvil Version " QUORVIL_VERSION "\r\n"), std::string::npos);
    for (size_t i = 0; i < readme.size(); ++i) {
        if (readme[i] == '\n') {
            ASSERT_TRUE(i > 0 && readme[i - 1] == '\r') << "a line end without CR at " << i;
        } else if (readme[i] == '\r') {
            ASSERT_TRUE(i + 1 < readme.size() && readme[i + 1] == '\n') << "a lone CR at " << i;
        }
    }
    EXPECT_EQ(readme.substr(readme.size() - 2), "\r\n");
    for (const std::string& file : files) EXPECT_NE(readme.find(file), std::string::npos) << file;
}

TEST(PackageTest, StartsFromItsFolderAndKeepsItsSettingsBesideItself) {
    RegistryKeyGuard registry;
    std::string folder = Folder(), exe = folder + "Quorvil.exe", command = "\"" + exe + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                               &process));
    HWND window = MainWindowOf(process.dwProcessId);
    EXPECT_TRUE(window);
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD code = 12345;
    if (WaitForSingleObject(process.hProcess, kTimeoutMs) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 99);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    EXPECT_EQ(code, 0u);

    // Closing saves the settings and writes neither the registry nor Disable.dat.
    EXPECT_EQ(FilesInFolder(), (std::vector<std::string>{"Quorvil.chm", "Quorvil.exe", "Quorvil.ini", "Readme.txt"}));
    char user[256] = "DefUser", width[16];
    DWORD size = sizeof(user);
    GetUserNameA(user, &size);
    GetPrivateProfileStringA((std::string(user) + "/Main").c_str(), "WindowWidth", "", width, sizeof(width),
                             (folder + "Quorvil.ini").c_str());
    EXPECT_GT(atoi(width), 0);
    EXPECT_FALSE(RegistryKeyGuard::MenuExtKeyExists());
}

}  // namespace
