// One context-menu extension as a plain value record; free of windows.h so the text
// formats can use it in native builds too.
#pragma once

#include <cstdint>
#include <vector>

constexpr int kNameSize = 65;     // 64 bytes of text and the terminator
constexpr int kTargetSize = 260;  // 259 bytes of text and the terminator

struct MenuExtEntry {
    char name[kNameSize];
    char target[kTargetSize];
    uint32_t contexts;
    uint32_t flags;
    int32_t enabled;
};

// ContextMask bits, in the order the list shows them.
enum ContextMask : uint32_t {
    ContextDefault = 0x01,
    ContextImages = 0x02,
    ContextControls = 0x04,
    ContextTables = 0x08,
    ContextTextSelection = 0x10,
    ContextLinks = 0x20,
    ContextUnknown = 0x40,
};
constexpr int kContextBitCount = 7;

// The full-width letter of context bit i (0..6), one double-byte Shift_JIS character.
const char* ContextLetter(int bit);

// A parsed file's entries in file order, not bound to any list view.
using EntrySequence = std::vector<MenuExtEntry>;

// Result codes shared by the list and file operations.
constexpr int kOk = 0;
constexpr int kNotMade = -1;        // not made, or file missing
constexpr int kInvalid = -3;        // invalid record or position
constexpr int kOutOfMemory = -5;
constexpr int kNotCreatable = -8;   // file not creatable or not completely written
constexpr int kDuplicateName = -9;
