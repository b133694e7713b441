// The entries of the MenuExt key in the order in which they are shown, exported and written to
// the registry: the one holder of every entry and of its state. Views follow its changes
// through EntryListObserver; the list knows no window.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/menu_ext_entry.h"

// Told of every change right after it is made, with the list already in its new state.
class EntryListObserver {
public:
    virtual void EntryInserted(int index) = 0;
    virtual void EntryRemoved(int index) = 0;
    // The entry at `from` now stands at `to`; those between moved up or down by one.
    virtual void EntryMoved(int from, int to) = 0;
    virtual void EntriesSwapped(int a, int b) = 0;
    // Replaced, enabled or disabled.
    virtual void EntryChanged(int index) = 0;
    virtual void EntriesCleared() = 0;

protected:
    ~EntryListObserver() = default;
};

// Internet Explorer uses only the first 32 enabled entries; sorts with Ctrl held stop there too.
constexpr int kEntriesUsedByIe = 32;

// Whether a name or target holds CR or LF. Every file the program reads and writes ends its
// lines there, so such a text would come back cut; the list takes none.
bool HasLineBreak(const char* text);

class EntryList {
public:
    EntryList();
    ~EntryList();
    EntryList(const EntryList&) = delete;
    EntryList& operator=(const EntryList&) = delete;

    // One observer at a time; nullptr for none.
    void SetObserver(EntryListObserver* observer) { observer_ = observer; }

    int Count() const { return count_; }

    // These two tell their refusals apart: kOk, or kDuplicateName (the name is taken, see
    // IsNameTaken), kOutOfMemory, and for a record the list cannot keep (no name, no target, a
    // name beginning with a backslash, a line break) kNotMade from AddEntry and kInvalid from
    // InsertEntryAt, which also refuses no record and a position below -1 with kInvalid.
    // InsertEntryAt puts the entry in front of `position`; -1 or a position past the end
    // appends it.
    int AddEntry(const MenuExtEntry* entry);
    int InsertEntryAt(int position, const MenuExtEntry* entry);

    // False for an index out of range (and for a record the list cannot keep). ReplaceEntryAt
    // does not look at the name: the edit dialog has already asked IsNameTaken.
    bool DeleteEntryAt(int index);
    bool MoveEntry(int from, int to);
    bool SwapEntries(int a, int b);
    bool GetEntryAt(int index, MenuExtEntry* out) const;
    bool ReplaceEntryAt(int index, const MenuExtEntry* entry);
    bool SetEnabled(int index, bool enabled);

    // Frees every entry and forgets the kept subkeys.
    void Clear();

    // Every entry in list order while visit(index, entry) returns true; false when a visit
    // stopped the walk. One pass over the chain, where asking GetEntryAt for each index would
    // walk it again and again.
    template <typename Visit>
    bool ForEach(Visit visit) const {
        int index = 0;
        for (const Node* node = head_.next; node != &head_; node = node->next)
            if (!visit(index++, node->entry)) return false;
        return true;
    }

    // The index of the first entry whose name equals `name` without regard to case (lstrcmpiA's
    // comparison), or -1.
    int FindEntryByName(const char* name) const;
    // Whether `name` may not be given to the entry at `ownIndex` (-1 for a new entry): another
    // entry has it, or a kept subkey has it.
    bool IsNameTaken(const char* name, int ownIndex) const;

    // Records a subkey of the MenuExt key that the list could not show. Update leaves such a
    // subkey untouched, so its name stays taken: an entry of that name would be written into
    // it. Names are compared as the registry compares key names, ignoring case.
    void KeepSubkeyName(const wchar_t* name);
    bool IsKeptSubkeyName(const wchar_t* name) const;

    // Move every run of consecutive indexes of `selected` (ascending) up, or down, by one: the
    // entry next to the run changes sides. A run at the top (or the bottom) stays. The index
    // to bring into view afterwards, or -1 when `selected` is empty.
    int MoveRunsUp(const std::vector<int>& selected);
    int MoveRunsDown(const std::vector<int>& selected);

    // A stable partition of the first `limit` entries (-1: all of them; below 2: nothing) into
    // enabled and disabled ones, the disabled first when asked, each group in its old order.
    void PartitionByEnabled(bool disabledFirst, int limit);
    void MoveDisabledToBottom() { PartitionByEnabled(false, -1); }

    // Shell sort of the first `count` entries (gaps 1, 4, 13, 40 ...; not stable), exchanging
    // two entries whenever `compare` of the earlier and the later one is greater than 0.
    using Comparison = std::function<int(const MenuExtEntry& earlier, const MenuExtEntry& later)>;
    void SortLeading(int count, const Comparison& compare);

    // The number of disabled entries before `index`.
    int CountDisabledBefore(int index) const;

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
    // Exchanges the entries of two nodes at indexes a and b; the nodes stay where they are.
    void Exchange(Node* first, Node* second, int a, int b);
    Node* NewNode(const MenuExtEntry& entry);
    void LinkBefore(Node* node, Node* before);
    void Unlink(Node* node);
    int Link(Node* node, int position);

    // Whether a name is taken, without walking the chain for every name a bulk load adds.
    bool NameTaken(const char* name) const;
    bool NameOfKeptSubkey(const char* name) const;
    // Counts `name` once more (+1) or once less (-1) in the index of names.
    void CountName(const char* name, int change);

    Node head_;
    int count_ = 0;
    EntryListObserver* observer_ = nullptr;

    // The node found last, so that stepping through neighbouring indexes does not walk the
    // chain from an end each time. Forgotten with every change of the chain.
    mutable const Node* cursor_ = nullptr;
    mutable int cursorIndex_ = -1;

    // The names' sort keys without regard to case (lstrcmpiA's comparison) and how many
    // entries carry each. When it could not be kept up (no memory), the chain is walked.
    std::unordered_map<std::string, int> nameKeys_;
    bool nameKeysValid_ = true;

    // The kept subkeys' names in upper case.
    std::vector<std::wstring> keptSubkeys_;
};

// Column 1 text: the letters of the set context bits (buffer of at least 15 bytes).
void FormatContextLetters(uint32_t contexts, char* out);
// Column 2 text, which the flags also sort by: hexadecimal in capitals (buffer of at least 9
// bytes).
void FormatFlags(uint32_t flags, char* out);
