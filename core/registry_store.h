// Loads the list from, and writes its enabled entries back to, Internet Explorer's MenuExt key.
#pragma once

#include "core/entry_list.h"

constexpr const char* kMenuExtKeyPath = "Software\\Microsoft\\Internet Explorer\\MenuExt";

// 1 when every subkey was read, 0 otherwise. keyFlag (optional): 0 when the key does not
// exist, 1 when it exists or could not be opened for another reason. A subkey whose name or
// default value holds a character code page 932 cannot represent is not read; SaveToRegistry
// leaves it alone, as it does every subkey the list could not show.
int LoadFromRegistry(EntryList& list, int* keyFlag);

// 1 on success, 0 on any failure.
int SaveToRegistry(const EntryList& list);
