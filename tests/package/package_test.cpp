// The portable package as a user meets it: unpacked into an empty folder (by the test
// package_unpack, which runs first), read, started from that folder and closed.
#include <algorithm>

#include "tests/support/registry_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

constexpr DWORD kTimeoutMs = 60000;

std::string Folder() { return TempDir::BuildPath(QUORVIL_UNPACKED "/"); }

std::vector<std::string> FilesInFolder() {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((Folder() + "*").c_str(), &found);
    while (search != INVALID_HANDLE_VALUE) {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
        if (!FindNextFileA(search, &found)) break;
    }
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

TEST(PackageTest, HoldsTheProgramItsHelpAndAJapaneseReadMeThatNamesThem) {
    std::vector<std::string> files = FilesInFolder();
    EXPECT_EQ(files, (std::vector<std::string>{"Quorvil.chm", "Quorvil.exe", "Readme.txt"}));
    std::string readme;
    ASSERT_TRUE(TempDir::ReadFile(Folder() + "Readme.txt", &readme));
    EXPECT_GT(MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, readme.data(), (int)readme.size(), nullptr, 0), 0);
    EXPECT_EQ(readme.find("Quorvil Version " QUORVIL_VERSION "\r\n"), 0u);
    EXPECT_NE(readme.find("インストール"), std::string::npos);
    // Every line ends in CR LF, the last one too.
    size_t lineEnds = 0;
    for (size_t at = 0; (at = readme.find("\r\n", at)) != std::string::npos; at += 2) ++lineEnds;
    EXPECT_EQ(std::count(readme.begin(), readme.end(), '\n') + std::count(readme.begin(), readme.end(), '\r'), 2 * long(lineEnds));
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
    // The main window once its initialisation is over and its loop answers.
    HWND window = nullptr;
    for (DWORD began = GetTickCount(); !IsWindowVisible(window) && GetTickCount() - began < kTimeoutMs; Sleep(20))
        window = FindWindowA("#32770", "Quorvil");
    DWORD_PTR ignored;
    EXPECT_NE(window, nullptr);
    if (window) {
        EXPECT_TRUE(SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kTimeoutMs, &ignored));
    }
    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD code = 12345;
    if (WaitForSingleObject(process.hProcess, kTimeoutMs) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 99);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    EXPECT_EQ(code, 0u);

    // Closing saves the settings beside the program and writes neither the registry nor Disable.dat.
    EXPECT_EQ(FilesInFolder(), (std::vector<std::string>{"Quorvil.chm", "Quorvil.exe", "Quorvil.ini", "Readme.txt"}));
    EXPECT_FALSE(RegistryKeyGuard::MenuExtKeyExists());
}

}  // namespace
