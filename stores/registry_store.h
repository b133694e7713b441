// Loads the list from, and writes its enabled entries back to, Internet Explorer's MenuExt key.
#pragma once

#include "core/entry_list.h"

// True when every subkey was read. keyFlag (optional): 0 when the key does not
// exist, 1 when it exists or could not be opened for another reason. A subkey with an empty
// default value is left out quietly. One the list cannot show whole is left out too and counts
// as not read: a name or default value with a character code page 932 cannot represent or
// with a line break, a name over 64 bytes or one the list holds already under another
// spelling, no readable default value or one over 259 bytes. The list records it
// (EntryList::KeepSubkeyName), and SaveToRegistry leaves it alone.
bool LoadFromRegistry(EntryList& list, int* keyFlag);

// Whether LoadFromRegistry may find anything: the key has subkeys, or cannot be asked.
bool RegistryMayHoldEntries();

// Replaces the subkeys the list holds with its enabled entries, in list order; false at the
// first registry call that fails.
bool SaveToRegistry(const EntryList& list);
