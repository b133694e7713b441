// Loading and saving exchange files (CSV and REGEDIT4) and files dropped on the window.
#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "formats/csv_file.h"
#include "formats/reg_file.h"
#include "mainwindow/commands.h"
#include "mainwindow/entry_list_view.h"
#include "mainwindow/main_state.h"
#include "common/texts.h"
#include "shell/window_utils.h"

namespace {

constexpr int kImportFailed = -1;
constexpr int kEntriesEnabled = 1;

FilePrompt g_openPrompt = PromptOpenFile;
FilePrompt g_savePrompt = PromptSaveFile;

// What one load or drop left out, reported once after all its files.
struct ImportTally {
    int duplicates = 0;
    int unrepresentable = 0;
};

// Imports one file by its type; the number added, or kImportFailed.
int ImportFile(const char* path, int filterIndex, ImportTally& tally) {
    int duplicates = 0;
    int unrepresentable = 0;
    int added = filterIndex == kCsvFilterIndex
                    ? ImportCsvFile(entryList, path, &duplicates, &unrepresentable)
                    : ImportRegFile(entryList, path, kEntriesEnabled, &duplicates, &unrepresentable);
    tally.duplicates += duplicates;
    tally.unrepresentable += unrepresentable;
    return added;
}

void ReportImport(HWND dialog, const ImportTally& tally) {
    if (tally.duplicates != 0) ShowMessage(dialog, kDuplicatesNotLoaded, kReadFileCaption, MB_OK | MB_ICONWARNING);
    if (tally.unrepresentable != 0)
        ShowMessage(dialog, kUnrepresentableNotLoaded, kReadFileCaption, MB_OK | MB_ICONWARNING);
    WarnWhenTooManyEntries(dialog);
}

// The file type a dropped file's extension names (the text after its last dot), or 0.
int DroppedFileType(const char* path) {
    const char* dot = strrchr(path, '.');
    if (!dot) return 0;
    if (lstrcmpiA(dot + 1, "reg") == 0) return kRegFilterIndex;
    if (lstrcmpiA(dot + 1, "csv") == 0) return kCsvFilterIndex;
    return 0;
}

// Appends ".csv" or ".reg" when the path holds no dot at all, folders included (a dot is never
// the second byte of a double-byte character). False when the longer path does not fit.
bool AddDefaultExtension(char* path, int filterIndex) {
    if (strchr(path, '.')) return true;
    const char* extension = filterIndex == kCsvFilterIndex ? ".csv" : ".reg";
    if (strlen(path) + strlen(extension) >= MAX_PATH) return false;
    strcat(path, extension);
    return true;
}

// Saves the entries at `chosen` (every entry when nullptr) to a file the user picks.
void SaveEntries(HWND dialog, const EntryIndexes* chosen) {
    char path[MAX_PATH];
    int type = g_savePrompt(entryListView.Handle(), path, kFileFilter, kCsvFilterIndex);
    if (type != kCsvFilterIndex && type != kRegFilterIndex) return;
    bool fits = AddDefaultExtension(path, type);
    if (fits && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES &&
        ShowMessage(dialog, kOverwriteQuestion, kAppCaption, MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND) != IDYES)
        return;
    bool saved = fits && (type == kCsvFilterIndex ? ExportCsvFile(entryList, path, chosen)
                                                  : ExportRegFile(entryList, path, chosen));
    // A file that was not written must not pass for a saved one.
    if (!saved) ShowMessage(dialog, kFileNotSaved, kAppCaption, MB_OK | MB_ICONWARNING);
}

// Whether an entry from `first` on is enabled.
bool AnyEnabledFrom(int first) {
    bool found = false;
    entryList.ForEach([&](int index, const MenuExtEntry& entry) {
        found = index >= first && entry.enabled;
        return !found;
    });
    return found;
}

}  // namespace

void SetFilePrompts(FilePrompt open, FilePrompt save) {
    g_openPrompt = open ? open : PromptOpenFile;
    g_savePrompt = save ? save : PromptSaveFile;
}

// The filter index decides the file type, whatever the file's extension.
void LoadCommand(HWND dialog) {
    char path[MAX_PATH];
    int type = g_openPrompt(entryListView.Handle(), path, kFileFilter, kCsvFilterIndex);
    if (type != kCsvFilterIndex && type != kRegFilterIndex) return;
    ImportTally tally;
    int added;
    {
        RedrawPause pause(entryListView);
        added = ImportFile(path, type, tally);
        if (added != kImportFailed && mainWindow.options.DisBottom) entryList.MoveDisabledToBottom();
    }
    if (added == kImportFailed) {
        ShowMessage(dialog, kFileNotRead, kAppCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    ReportImport(dialog, tally);
    MarkListChanged(dialog);
}

void SaveSelectedCommand(HWND dialog) {
    EntryIndexes selected = entryListView.SelectedRows();
    SaveEntries(dialog, &selected);
}

void SaveAllCommand(HWND dialog) { SaveEntries(dialog, nullptr); }

// A drop leaves disabled entries where they land, and marks the list changed only when an
// enabled entry arrives: one that goes to Internet Explorer with the next Update.
void DropFiles(HWND dialog, HDROP drop) {
    ImportTally tally;
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    int before = entryList.Count();
    {
        RedrawPause pause(entryListView);
        for (UINT i = 0; i < count; ++i) {
            char path[MAX_PATH];
            if (DragQueryFileA(drop, i, path, sizeof(path)) == 0) continue;
            int type = DroppedFileType(path);
            // Any other file is skipped without a word; a file that cannot be read adds nothing.
            if (type != 0) ImportFile(path, type, tally);
        }
    }
    DragFinish(drop);
    if (AnyEnabledFrom(before)) MarkListChanged(dialog);
    ReportImport(dialog, tally);
}
