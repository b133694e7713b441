// Starts Quorvil.exe and the minimal dialog program in turn and measures, for each, the time
// from CreateProcess to a window that is on the screen, answering messages, painted, and (for
// Quorvil) holding every registry entry. Prints the medians for 0, 32 and 300 entries.
//
//   startup_probe <runs> <Quorvil.exe> <minimal_dialog.exe>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const char kMenuExt[] = "Software\\Microsoft\\Internet Explorer\\MenuExt";
constexpr DWORD kGiveUpMs = 120000;

void DeleteTree(HKEY parent, const char* name) {
    HKEY key;
    if (RegOpenKeyExA(parent, name, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    char child[300];
    for (;;) {
        DWORD size = sizeof(child);
        if (RegEnumKeyExA(key, 0, child, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        DeleteTree(key, child);
    }
    RegCloseKey(key);
    RegDeleteKeyA(parent, name);
}

void SeedRegistry(int count) {
    DeleteTree(HKEY_CURRENT_USER, kMenuExt);
    HKEY parent;
    RegCreateKeyExA(HKEY_CURRENT_USER, kMenuExt, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &parent, nullptr);
    for (int i = 0; i < count; ++i) {
        char name[32], target[64];
        snprintf(name, sizeof(name), "Entry %03d", i);
        snprintf(target, sizeof(target), "C:\\Scripts\\entry%03d.htm", i);
        HKEY key;
        RegCreateKeyExA(parent, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(target), DWORD(strlen(target) + 1));
        DWORD contexts = static_cast<DWORD>(i % 0x80), flags = static_cast<DWORD>(i % 2);
        RegSetValueExA(key, "Contexts", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&contexts), 4);
        RegSetValueExA(key, "Flags", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&flags), 4);
        RegCloseKey(key);
    }
    RegCloseKey(parent);
}

struct Search {
    DWORD processId;
    const char* caption;
    HWND found;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM lParam) {
    Search* search = reinterpret_cast<Search*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    char caption[64] = {};
    GetWindowTextA(window, caption, sizeof(caption));
    if (processId != search->processId || !IsWindowVisible(window) || lstrcmpA(caption, search->caption) != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

bool Answers(HWND window, UINT message, DWORD_PTR* result) {
    return SendMessageTimeoutA(window, message, 0, 0, SMTO_NORMAL, kGiveUpMs, result) != 0;
}

// Milliseconds from launch to the finished window; -1 when it never came.
double MeasureOnce(const std::string& exe, const char* caption, int expectedRows) {
    std::string folder = exe.substr(0, exe.find_last_of('\\') + 1);
    DeleteFileA((folder + "Quorvil.ini").c_str());
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    std::string command = "\"" + exe + "\"";
    if (!CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process))
        return -1;
    HWND window = nullptr;
    DWORD began = GetTickCount();
    while (GetTickCount() - began < kGiveUpMs) {
        Search search = {process.dwProcessId, caption, nullptr};
        EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
        DWORD_PTR rows = 0;
        if (search.found && Answers(search.found, WM_NULL, &rows)) {
            bool filled = true;
            if (expectedRows >= 0) {
                HWND list = GetDlgItem(search.found, 4001);
                filled = list && Answers(list, LVM_GETITEMCOUNT, &rows) && static_cast<int>(rows) == expectedRows;
            }
            if (filled) {
                // Paints whatever is still pending, in the program's own thread, before the clock stops.
                RedrawWindow(search.found, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
                window = search.found;
                break;
            }
        }
        Sleep(10);  // polling harder would slow the program under test down (every call is a server round trip)
    }
    QueryPerformanceCounter(&end);
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (!window) return -1;
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: startup_probe <runs> <Quorvil.exe> <minimal_dialog.exe>\n");
        return 2;
    }
    int runs = atoi(argv[1]);
    std::string quorvil = argv[2], minimal = argv[3];
    printf("%8s %14s %14s %8s\n", "entries", "Quorvil ms", "minimal ms", "ratio");
    int status = 0;
    for (int entries : {0, 32, 300}) {
        SeedRegistry(entries);
        std::vector<double> quorvilTimes, minimalTimes;
        MeasureOnce(minimal, "MinimalDialog", -1);  // warms the file cache for both
        MeasureOnce(quorvil, "Quorvil", entries);
        for (int run = 0; run < runs; ++run) {
            minimalTimes.push_back(MeasureOnce(minimal, "MinimalDialog", -1));
            quorvilTimes.push_back(MeasureOnce(quorvil, "Quorvil", entries));
        }
        double q = Median(quorvilTimes), m = Median(minimalTimes);
        if (q < 0 || m < 0) status = 1;
        printf("%8d %14.1f %14.1f %8.2f\n", entries, q, m, m > 0 ? q / m : 0.0);
        fflush(stdout);
    }
    DeleteTree(HKEY_CURRENT_USER, kMenuExt);
    return status;
}
