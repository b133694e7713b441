// Disabled entries between runs: "Disable.dat" holds their records, DisableItemPos their places.
#include "stores/disabled_store.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <new>

#include "formats/reg_file.h"
#include "formats/text_file.h"

namespace {

// The new file is written beside the old one under this suffix and renamed over it when
// complete. Disable.dat is the only copy of every disabled entry, so it is never truncated
// before its replacement exists in full.
constexpr char kPendingSuffix[] = ".tmp";

bool ReplaceWithFinished(const char* finished, const char* path) {
    if (MoveFileExA(finished, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    // Windows 95, 98 and Me have no MoveFileExA; there the old file must go first.
    if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return false;
    if (!DeleteFileA(path) && GetLastError() != ERROR_FILE_NOT_FOUND) return false;
    return MoveFileA(finished, path) != 0;
}

// The indexes of the disabled entries, ascending; false when memory runs out.
bool DisabledIndexes(const EntryList& list, EntryIndexes* indexes) {
    try {
        list.ForEach([&](int index, const MenuExtEntry& entry) {
            if (!entry.enabled) indexes->push_back(index);
            return true;
        });
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace

bool SaveDisabled(const EntryList& list, SettingsStore& settings, const char* path) {
    if (!path || path[0] == '\0') return false;
    char pending[MAX_PATH];
    if (strlen(path) + sizeof(kPendingSuffix) > sizeof(pending)) return false;
    strcpy(pending, path);
    strcat(pending, kPendingSuffix);

    // A read-only Disable.dat stays as it is. Windows refuses to rename over it anyway, but
    // not every implementation of its API does, and the rule should not depend on that.
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;

    // The file holds the disabled entries and DisableItemPos their places, in the same order.
    EntryIndexes disabled;
    if (!DisabledIndexes(list, &disabled)) return false;
    if (!ExportRegFile(list, pending, &disabled)) return false;
    if (!ReplaceWithFinished(pending, path)) {
        // While the old file is in place the pending one is redundant; without it, the
        // pending file is the only copy left and stays.
        if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) DeleteFileA(pending);
        return false;
    }
    // An ini file that cannot be written is not reported: the entries themselves are safe in
    // the file, and only their places may be off at the next start.
    settings.SaveDisabledPositions(disabled.data(), static_cast<int>(disabled.size()));
    return true;
}

int RestoreDisabled(EntryList& list, SettingsStore& settings, const char* path, int noSavePos, int* duplicates) {
    if (duplicates) *duplicates = 0;
    if (!path || GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) return -1;
    int inFile = CountRegEntries(path);
    if (inFile <= 0) return 0;

    int stored = settings.CountDisabledPositions();
    int slots = inFile > stored ? inFile : stored;
    std::unique_ptr<int[]> positions(new (std::nothrow) int[slots]);
    if (!positions) return -1;
    settings.LoadDisabledPositions(positions.get(), slots);

    std::unique_ptr<EntrySequence> entries = ParseRegFile(path);
    if (!entries) return 0;
    int added = 0;
    int refused = 0;
    for (size_t j = 0; j < entries->size(); ++j) {
        MenuExtEntry entry = (*entries)[j];
        entry.enabled = 0;
        // An entry without a stored position, or with a negative one from a hand edit, goes
        // to the end rather than being lost.
        int position = static_cast<int>(j) < slots ? positions[j] : -1;
        if (position < 0) position = -1;
        int result = noSavePos ? list.AddEntry(&entry) : list.InsertEntryAt(position, &entry);
        if (result == kOk)
            ++added;
        else if (result == kDuplicateName)
            ++refused;
    }
    if (duplicates) *duplicates = refused;
    return added;
}
