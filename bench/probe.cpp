// Measures, in one interleaved run, every figure of bench/run:
//  - launch of Quorvil.exe to its filled, visible, answering and painted window with 0, 32
//    and 300 registry entries, against the minimal dialog program of the same build;
//  - the peak working set of both after that start-up (300 entries);
//  - reading a 1,000-entry REGEDIT4 file into a list of 300 entries the way the load command
//    does it (parse, duplicate check, rows, repaint), in this process, on the real main dialog;
//  - SaveToRegistry of 300 entries over a key that holds 300 others, in this process;
//  - Wine's "regedit /s" importing the same two files, and an empty REGEDIT4 file for its own
//    start.
// Each round measures every figure once, so a machine that gets busier or quieter during the
// run affects all of them alike. Prints a Markdown table.
//
//   probe <rounds> <folder> <Quorvil.exe> <minimal_dialog.exe>
// The folder receives the generated .reg files and serves as the in-process dialog's data folder.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <optional>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "stores/registry_store.h"
#include "formats/reg_file.h"
#include "mainwindow/entry_list_view.h"
#include "mainwindow/main_state.h"
#include "mainwindow/main_window.h"
#include "resources/resource.h"

namespace {

const char kMenuExt[] = "Software\\Microsoft\\Internet Explorer\\MenuExt";
constexpr DWORD kGiveUpMs = 120000;
const int kStartupCounts[] = {0, 32, 300};
constexpr int kListEntries = 300;
constexpr int kImportEntries = 1000;
constexpr int kUpdateEntries = 300;

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

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

void EntryFields(const char* prefix, int i, char* name, char* target) {
    snprintf(name, 65, "%s %04d", prefix, i);
    snprintf(target, 260, "C:\\Scripts\\%s%04d.htm", prefix, i);
}

// The MenuExt key holding exactly `count` entries named "<prefix> 0000" and on.
void SeedRegistry(const char* prefix, int count) {
    DeleteTree(HKEY_CURRENT_USER, kMenuExt);
    HKEY parent;
    RegCreateKeyExA(HKEY_CURRENT_USER, kMenuExt, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &parent, nullptr);
    for (int i = 0; i < count; ++i) {
        char name[65], target[260];
        EntryFields(prefix, i, name, target);
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

// A REGEDIT4 file of `count` entries in the layout the program and the registry editor write.
bool WriteRegFile(const std::string& path, const char* prefix, int count) {
    std::string text = "REGEDIT4\r\n\r\n";
    if (count > 0) text += "[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\MenuExt]\r\n\r\n";
    for (int i = 0; i < count; ++i) {
        char name[65], target[260], block[512];
        EntryFields(prefix, i, name, target);
        std::string escaped;
        for (const char* c = target; *c; ++c) escaped += *c == '\\' ? "\\\\" : std::string(1, *c);
        snprintf(block, sizeof(block),
                 "[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\MenuExt\\%s]\r\n@=\"%s\"\r\n"
                 "\"Contexts\"=dword:%08x\r\n\"Flags\"=dword:%08x\r\n\r\n",
                 name, escaped.c_str(), i % 0x80, i % 2);
        text += block;
    }
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr) && written == text.size();
    CloseHandle(file);
    return ok;
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

struct Launch {
    double ms = -1;
    double peakMiB = -1;
};

// From CreateProcess to the finished window; ms stays -1 when it never came.
Launch MeasureStartup(const std::string& exe, const char* caption, int expectedRows) {
    Launch launch;
    std::string folder = exe.substr(0, exe.find_last_of('\\') + 1);
    DeleteFileA((folder + "Quorvil.ini").c_str());
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    double start = Now();
    std::string command = "\"" + exe + "\"";
    if (!CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process))
        return launch;
    HWND window = nullptr;
    DWORD began = GetTickCount();
    while (GetTickCount() - began < kGiveUpMs) {
        Search search = {process.dwProcessId, caption, nullptr};
        EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
        DWORD_PTR rows = 0;
        if (search.found && Answers(search.found, WM_NULL, &rows)) {
            bool filled = true;
            if (expectedRows >= 0) {
                HWND list = GetDlgItem(search.found, IDC_ENTRY_LIST);
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
    double end = Now();
    if (window) {
        PROCESS_MEMORY_COUNTERS memory = {};
        memory.cb = sizeof(memory);
        if (GetProcessMemoryInfo(process.hProcess, &memory, sizeof(memory)))
            launch.peakMiB = static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0);
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (window) launch.ms = end - start;
    return launch;
}

DWORD SubkeyCount() {
    HKEY key;
    DWORD subkeys = 0;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kMenuExt, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(key);
    return subkeys;
}

// "regedit /s <file>" from CreateProcess to its exit; -1 when it could not run or the key
// does not hold `expectedSubkeys` afterwards.
double MeasureRegedit(const std::string& regFile, DWORD expectedSubkeys) {
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof(windows));
    std::string exe = std::string(windows) + "\\regedit.exe";
    std::string command = "\"" + exe + "\" /s \"" + regFile + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    double start = Now();
    if (!CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    DWORD waited = WaitForSingleObject(process.hProcess, kGiveUpMs);
    double end = Now();
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    if (waited != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return waited == WAIT_OBJECT_0 && code == 0 && SubkeyCount() == expectedSubkeys ? end - start : -1;
}

void Pump() {
    MSG message;
    for (int i = 0; i < 100000 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i)
        if (message.message != WM_QUIT) DispatchMessageA(&message);
}

// The real main dialog in this process, started from the registry as it stands, with no
// settings file and no Disable.dat (the data folder is the bench folder).
HWND OpenMainDialog(const std::string& folder) {
    entryListView.Unbind();
    entryList.Clear();
    ResetMainWindowState();
    lstrcpynA(mainWindow.dataFolder, (folder + "\\").c_str(), sizeof(mainWindow.dataFolder));
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc, 0);
    Pump();
    return dialog;
}

void CloseMainDialog(HWND dialog) {
    // Not WM_CLOSE: that would store the placement in the bench folder's settings file.
    if (dialog) DestroyWindow(dialog);
    Pump();
    entryListView.Unbind();
    entryList.Clear();
}

// What the load command does with a chosen REGEDIT4 file, up to the painted list; the
// warnings it may show afterwards are left out. -1 when the file did not import whole.
double MeasureImport(HWND dialog, const std::string& regFile, int expectedAdded) {
    double start = Now();
    std::optional<RedrawPause> pause(std::in_place, entryListView);
    int duplicates = 0;
    int added = ImportRegFile(entryList, regFile.c_str(), 1, &duplicates);
    if (added > 0 && mainWindow.options.DisBottom) entryList.MoveDisabledToBottom();
    pause.reset();
    MarkListChanged(dialog);
    RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    double end = Now();
    return added == expectedAdded ? end - start : -1;
}

double MeasureUpdate() {
    double start = Now();
    bool saved = SaveToRegistry(entryList);
    double end = Now();
    return saved && SubkeyCount() == static_cast<DWORD>(kUpdateEntries) ? end - start : -1;
}

// How the update grows with the list: SaveToRegistry of `count` entries over as many others,
// once, in seconds; -1 when the key does not hold the entries afterwards.
double MeasureLongUpdate(int count) {
    SeedRegistry("Other", count);
    entryListView.Unbind();
    entryList.Clear();
    for (int i = 0; i < count; ++i) {
        MenuExtEntry entry = {};
        EntryFields("Update", i, entry.name, entry.target);
        entry.enabled = 1;
        entryList.AddEntry(&entry);
    }
    double start = Now();
    bool saved = SaveToRegistry(entryList);
    double end = Now();
    entryList.Clear();
    return saved && SubkeyCount() == static_cast<DWORD>(count) ? (end - start) / 1000 : -1;
}

struct Series {
    std::vector<double> values;
    void Add(double value) { values.push_back(value); }
    bool Complete() const {
        return !values.empty() && std::none_of(values.begin(), values.end(), [](double v) { return v < 0; });
    }
    double Median() const {
        std::vector<double> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        size_t n = sorted.size();
        if (n == 0) return -1;
        return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    }
    double Min() const { return values.empty() ? -1 : *std::min_element(values.begin(), values.end()); }
    double Max() const { return values.empty() ? -1 : *std::max_element(values.begin(), values.end()); }
    // "123 (110-140)"; "failed" when any run failed.
    std::string Text(const char* format = "%.0f") const {
        if (!Complete()) return "failed";
        char median[32], low[32], high[32], text[128];
        snprintf(median, sizeof(median), format, Median());
        snprintf(low, sizeof(low), format, Min());
        snprintf(high, sizeof(high), format, Max());
        snprintf(text, sizeof(text), "%s (%s-%s)", median, low, high);
        return text;
    }
};

std::string Ratio(const Series& a, const Series& b) {
    if (!a.Complete() || !b.Complete() || b.Median() <= 0) return "-";
    char text[32];
    snprintf(text, sizeof(text), "%.2f", a.Median() / b.Median());
    return text;
}

// The registry editor's time for a file beyond its own start: the difference of the medians
// (single rounds differ too much in the start alone to be subtracted pairwise).
std::string Beyond(const Series& withFile, const Series& empty, double* value) {
    *value = -1;
    if (!withFile.Complete() || !empty.Complete()) return "failed";
    *value = withFile.Median() - empty.Median();
    char text[32];
    snprintf(text, sizeof(text), "%.0f", *value);
    return text;
}

std::string Ratio(double a, double b) {
    if (a < 0 || b <= 0) return "-";
    char text[32];
    snprintf(text, sizeof(text), "%.2f", a / b);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        fprintf(stderr, "usage: probe <rounds> <folder> <Quorvil.exe> <minimal_dialog.exe>\n");
        return 2;
    }
    int rounds = atoi(argv[1]);
    std::string folder = argv[2], quorvil = argv[3], minimal = argv[4];
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);

    const std::string emptyFile = folder + "\\empty.reg";
    const std::string importFile = folder + "\\import1000.reg";
    const std::string updateFile = folder + "\\update300.reg";
    if (!WriteRegFile(emptyFile, "", 0) || !WriteRegFile(importFile, "Import", kImportEntries) ||
        !WriteRegFile(updateFile, "Update", kUpdateEntries)) {
        fprintf(stderr, "probe: cannot write the .reg files in %s\n", folder.c_str());
        return 1;
    }

    Series quorvilStart[3], minimalStart[3], quorvilPeak, minimalPeak;
    Series importQuorvil, importRegedit, updateQuorvil, updateRegedit, emptyForImport, emptyForUpdate;
    // One round before the counted ones warms the file cache and Wine's own start-up.
    for (int round = -1; round < rounds; ++round) {
        bool counted = round >= 0;
        for (int i = 0; i < 3; ++i) {
            int entries = kStartupCounts[i];
            SeedRegistry("Entry", entries);
            // Which of the two starts first alternates, so neither always meets the other's wake.
            Launch m, q;
            if (round % 2 == 0) {
                m = MeasureStartup(minimal, "MinimalDialog", -1);
                q = MeasureStartup(quorvil, "Quorvil", entries);
            } else {
                q = MeasureStartup(quorvil, "Quorvil", entries);
                m = MeasureStartup(minimal, "MinimalDialog", -1);
            }
            if (!counted) continue;
            minimalStart[i].Add(m.ms);
            quorvilStart[i].Add(q.ms);
            if (entries == kListEntries) {
                minimalPeak.Add(m.peakMiB);
                quorvilPeak.Add(q.peakMiB);
            }
        }

        // Import: the program's list and the registry editor's key each start with 300 entries.
        SeedRegistry("Entry", kListEntries);
        double regeditEmpty = MeasureRegedit(emptyFile, kListEntries);
        double regeditImport = MeasureRegedit(importFile, kListEntries + kImportEntries);
        SeedRegistry("Entry", kListEntries);
        HWND dialog = OpenMainDialog(folder);
        double import = dialog && entryList.Count() == kListEntries ? MeasureImport(dialog, importFile, kImportEntries) : -1;
        CloseMainDialog(dialog);

        // Update: 300 entries in the list, 300 others in the key.
        SeedRegistry("Update", kUpdateEntries);
        dialog = OpenMainDialog(folder);
        bool loaded = dialog && entryList.Count() == kUpdateEntries;
        SeedRegistry("Other", kUpdateEntries);
        double update = loaded ? MeasureUpdate() : -1;
        CloseMainDialog(dialog);
        SeedRegistry("Other", kUpdateEntries);
        double regeditEmpty2 = MeasureRegedit(emptyFile, kUpdateEntries);
        SeedRegistry("Other", kUpdateEntries);
        double regeditUpdate = MeasureRegedit(updateFile, 2 * kUpdateEntries);

        if (!counted) continue;
        emptyForImport.Add(regeditEmpty);
        importRegedit.Add(regeditImport);
        importQuorvil.Add(import);
        updateQuorvil.Add(update);
        emptyForUpdate.Add(regeditEmpty2);
        updateRegedit.Add(regeditUpdate);
        fprintf(stderr, "probe: round %d of %d done\n", round + 1, rounds);
    }
    DeleteTree(HKEY_CURRENT_USER, kMenuExt);

    printf("Start-up, launch to the filled, visible, answering and painted window, ms (median, min-max):\n\n");
    printf("| Entries | Quorvil | Minimal dialog | Ratio |\n|---|---|---|---|\n");
    bool complete = true;
    for (int i = 0; i < 3; ++i) {
        printf("| %d | %s | %s | %s |\n", kStartupCounts[i], quorvilStart[i].Text().c_str(),
               minimalStart[i].Text().c_str(), Ratio(quorvilStart[i], minimalStart[i]).c_str());
        complete = complete && quorvilStart[i].Complete() && minimalStart[i].Complete();
    }
    double importBeyond, updateBeyond;
    std::string importBeyondText = Beyond(importRegedit, emptyForImport, &importBeyond);
    std::string updateBeyondText = Beyond(updateRegedit, emptyForUpdate, &updateBeyond);
    printf("\nImport and update, ms (median, min-max). The registry editor's figure beyond its start is the\n");
    printf("median of its runs with the file less the median of its runs with an empty REGEDIT4 file:\n\n");
    printf("| Figure | Quorvil | regedit /s beyond its start | Ratio | regedit /s with the file | regedit /s, empty file |\n");
    printf("|---|---|---|---|---|---|\n");
    printf("| Import of 1,000 entries into a list of 300 | %s | %s | %s | %s | %s |\n", importQuorvil.Text().c_str(),
           importBeyondText.c_str(), Ratio(importQuorvil.Complete() ? importQuorvil.Median() : -1, importBeyond).c_str(),
           importRegedit.Text().c_str(), emptyForImport.Text().c_str());
    printf("| SaveToRegistry of 300 over 300 others | %s | %s | %s | %s | %s |\n", updateQuorvil.Text().c_str(),
           updateBeyondText.c_str(), Ratio(updateQuorvil.Complete() ? updateQuorvil.Median() : -1, updateBeyond).c_str(),
           updateRegedit.Text().c_str(), emptyForUpdate.Text().c_str());
    printf("\nPeak working set after start-up with 300 entries, MiB (median, min-max):\n\n");
    printf("| Quorvil | Minimal dialog |\n|---|---|\n| %s | %s |\n", quorvilPeak.Text("%.1f").c_str(),
           minimalPeak.Text("%.1f").c_str());
    complete = complete && importQuorvil.Complete() && importRegedit.Complete() && emptyForImport.Complete() &&
               updateQuorvil.Complete() && updateRegedit.Complete() && emptyForUpdate.Complete();

    // Long lists, once each: the update walks the list once, so its time grows with the entries.
    printf("\nSaveToRegistry of a long list over as many others, one run each, s:\n\n| Entries | Quorvil |\n|---|---|\n");
    for (int count : {3000, 10000, 30000}) {
        double seconds = MeasureLongUpdate(count);
        complete = complete && seconds >= 0;
        printf("| %d | %.1f |\n", count, seconds);
        fflush(stdout);
    }
    DeleteTree(HKEY_CURRENT_USER, kMenuExt);
    return complete ? 0 : 1;
}
