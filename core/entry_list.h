// The ordered list of entries, kept in step with the rows of one report-view list view.
#pragma once

#include <windows.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "core/menu_ext_entry.h"

// Set while rows are deleted and re-created by a move or swap, so that the check-box
// changes those rows report are not taken for the user's.
extern bool RowMoveInProgress;

// Sort word of PartitionByCheck: low 16 bits 1000, high 16 bits the direction.
constexpr int kCheckSortColumn = 1000;
constexpr int kDirectionEnabledFirst = 16;
constexpr int kDirectionDisabledFirst = 32;
constexpr int MakeSortWord(int direction, int column) { return (direction << 16) | column; }

// List-view state images of the check box.
constexpr UINT kStateImageMask = 0xF000;
constexpr UINT kUncheckedState = 0x1000;
constexpr UINT kCheckedState = 0x2000;

// Internet Explorer uses only the first 32 enabled entries; sorts with Ctrl held stop there too.
constexpr int kEntriesUsedByIe = 32;

// The check box of a row as the list view holds it.
bool IsRowTicked(HWND listView, int row);
void SetRowTicked(HWND listView, int row, bool ticked);

class EntryList {
public:
    EntryList();
    ~EntryList();
    EntryList(const EntryList&) = delete;
    EntryList& operator=(const EntryList&) = delete;

    HWND listView = nullptr;

    int Count() const { return count_; }

    int AddEntry(const MenuExtEntry* entry);
    int InsertEntryAt(int position, const MenuExtEntry* entry);
    int DeleteEntryAt(int index);
    int MoveEntry(int from, int to);
    int SwapEntries(int a, int b);
    int GetEntryAt(int index, MenuExtEntry* out) const;
    int ReplaceEntryAt(int index, const MenuExtEntry* entry);
    int FindEntryByName(const char* name) const;
    // Whether `name` may not be given to the entry at `ownIndex` (-1 for a new entry): another
    // entry has it without regard to case, or a kept subkey has it (see KeepSubkeyName).
    bool IsNameTaken(const char* name, int ownIndex) const;

    // Records a subkey of the MenuExt key that the list could not show. Update leaves such a
    // subkey untouched, so its name stays taken: an entry of that name would be written into
    // it. Names are compared as the registry compares key names, ignoring case.
    void KeepSubkeyName(const wchar_t* name);
    bool IsKeptSubkeyName(const wchar_t* name) const;
    int MoveSelectedUp();
    int MoveSelectedDown();
    int PartitionByCheck(HWND control, int sortWord, int limit);
    int MoveDisabledToBottom(HWND control);

    // Sets `enabled` of entry `index` without touching its row (the check box already shows it).
    int SetEnabledAt(int index, int enabled);

    // Frees every entry and deletes every row.
    void Clear();

    int WriteRow(int position, const MenuExtEntry* entry);
    int SelectedRunEnd(int index) const;
    int MoveRow(int from, int to);
    int SwapRows(int a, int b);

    // Replaces the node allocator; tests use it to make an allocation fail.
    using NodeAllocator = void* (*)(size_t);
    static void SetNodeAllocator(NodeAllocator allocator);

private:
    struct Node {
        Node* prev;
        Node* next;
        MenuExtEntry entry;
    };

    Node* NodeAt(int index) const;
    Node* NewNode(const MenuExtEntry& entry);
    static void LinkBefore(Node* node, Node* before);
    static void Unlink(Node* node);
    int RowCount() const;

    // Whether a name is taken, without walking the chain for every name a bulk load adds.
    bool NameTaken(const char* name) const;
    bool NameOfKeptSubkey(const char* name) const;
    void IndexName(const char* name);
    void UnindexName(const char* name);

    Node head_;
    int count_ = 0;

    // The names' sort keys without regard to case (lstrcmpiA's comparison) and how many
    // entries carry each. When it could not be kept up (no memory), the chain is walked.
    std::unordered_map<std::string, int> nameKeys_;
    bool nameKeysValid_ = true;

    // The kept subkeys' names in upper case.
    std::vector<std::wstring> keptSubkeys_;
};

// Whether a name or target holds CR or LF. Every file the program reads and writes ends its
// lines there, so such a text would come back cut; the list takes none.
bool HasLineBreak(const char* text);

// Column 1 text: the letters of the set context bits (buffer of at least 15 bytes).
void FormatContextLetters(uint32_t contexts, char* out);
