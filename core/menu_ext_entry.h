// One context-menu extension as a plain value record; free of windows.h so the text
// formats can use it in native builds too.
#pragma once

#include <cstdint>
#include <vector>

// The key whose subkeys are Internet Explorer's context-menu extensions, under
// HKEY_CURRENT_USER; a macro as well, so that the REGEDIT4 key lines can be spelt from it.
#define QUORVIL_MENU_EXT_KEY "Software\\Microsoft\\Internet Explorer\\MenuExt"
constexpr char kMenuExtKeyPath[] = QUORVIL_MENU_EXT_KEY;

constexpr int kNameSize = 65;     // 64 bytes of text and the terminator
constexpr int kTargetSize = 260;  // 259 bytes of text and the terminator

struct MenuExtEntry {
    char name[kNameSize];
    char target[kTargetSize];
    uint32_t contexts;
    uint32_t flags;
    int32_t enabled;
};

// The contexts the list shows and the edit dialog sets, bits 0x01 (the page) to 0x40 (unknown)
// of `contexts`; any other bit is kept as it came.
constexpr int kContextBitCount = 7;

// The full-width letter of context bit i (0..6), one double-byte Shift_JIS character.
const char* ContextLetter(int bit);

// A parsed file's entries in file order.
using EntrySequence = std::vector<MenuExtEntry>;

// Result codes shared by the list and file operations.
constexpr int kOk = 0;
constexpr int kNotMade = -1;        // not made, or file missing
constexpr int kInvalid = -3;        // invalid record or position
constexpr int kOutOfMemory = -5;
constexpr int kDuplicateName = -9;
