// Keeps the disabled entries between runs: their records in the REGEDIT4 file "Disable.dat"
// and their list positions in the settings value DisableItemPos.
#pragma once

#include "core/entry_list.h"
#include "stores/settings_store.h"

constexpr char kDisabledFileName[] = "Disable.dat";

// Writes the unticked rows to `path` and the indexes of the disabled entries to the settings.
// The file is replaced only once the new one is complete, so a failed save leaves the
// previous file as it was. True when the file was written (also when the positions were not),
// false when no path is given or the file could not be written.
bool SaveDisabled(const EntryList& list, SettingsStore& settings, const char* path);

// Puts the entries of `path` back into the list, disabled, at their stored positions or at
// the end with `noSavePos`. The number added; 0 when the file holds none; -1 when no path is
// given, the file does not exist, or memory runs out. `duplicates` (optional) receives the
// number left out because the list already held an entry of that name.
int RestoreDisabled(EntryList& list, SettingsStore& settings, const char* path, int noSavePos, int* duplicates);
