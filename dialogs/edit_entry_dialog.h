// Dialog 5000, in which one context-menu entry is typed or changed.
#pragma once

#include <windows.h>

#include "controls/path_edit.h"
#include "core/entry_list.h"

// What the dialog works on.
struct EditEntryRequest {
    // Handed in, and holding what was typed once the dialog ends with IDOK. An empty name makes
    // a new entry: the fields start empty and `enabled` becomes 1.
    MenuExtEntry entry;
    // The entry's index in `names`, -1 for a new one.
    int index;
    // Asked whether a typed name is taken (EntryList::IsNameTaken, the entry's own excepted).
    const EntryList* names;
};

// Runs the dialog modally over `owner`. IDOK once the input passed validation and
// request->entry holds it, IDCANCEL otherwise.
INT_PTR RunEditEntryDialog(HWND owner, EditEntryRequest* request);

// The dialog's procedure; its creation parameter is the EditEntryRequest.
INT_PTR CALLBACK EditEntryDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The file field's browse button; one instance for the whole run, defined with the other
// program-wide objects and attached anew at every opening.
extern PathEditControl pathEditControl;
