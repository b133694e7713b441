// The entry list: a circular doubly linked chain with a sentinel.
#include "core/entry_list.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <new>

#include "common/texts.h"

namespace {

EntryList::NodeAllocator g_allocateNode = std::malloc;

// The key under which a name is indexed: its sort key ignoring case in the thread's locale.
// lstrcmpiA compares the same way, and equal sort keys are what it calls equal names.
bool NameKey(const char* name, std::string* key) {
    const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    int size = LCMapStringA(GetThreadLocale(), flags, name, -1, nullptr, 0);
    if (size <= 0) return false;
    key->assign(static_cast<size_t>(size), '\0');
    return LCMapStringA(GetThreadLocale(), flags, name, -1, &(*key)[0], size) == size;
}

// What the registry and every file can hold: a name that does not begin with a backslash (the
// registry's separator), a target, and neither cut by a line break.
bool IsStorable(const MenuExtEntry& e) {
    return e.name[0] != '\0' && e.name[0] != '\\' && e.target[0] != '\0' && !HasLineBreak(e.name) &&
           !HasLineBreak(e.target);
}

// A key name as the registry compares it: its UTF-16 form in upper case.
std::wstring RegistryNameKey(const wchar_t* name, size_t length) {
    std::wstring key(name, length);
    if (!key.empty()) CharUpperBuffW(&key[0], static_cast<DWORD>(key.size()));
    return key;
}

}  // namespace

bool HasLineBreak(const char* text) { return strpbrk(text, "\r\n") != nullptr; }

const char* ContextLetter(int bit) { return bit >= 0 && bit < kContextBitCount ? kContextLetters[bit] : ""; }

void FormatContextLetters(uint32_t contexts, char* out) {
    out[0] = '\0';
    for (int bit = 0; bit < kContextBitCount; ++bit)
        if (contexts & (1u << bit)) strcat(out, kContextLetters[bit]);
}

void FormatFlags(uint32_t flags, char* out) { sprintf(out, "%X", static_cast<unsigned>(flags)); }

void EntryList::SetNodeAllocator(NodeAllocator allocator) { g_allocateNode = allocator ? allocator : std::malloc; }

EntryList::EntryList() { head_.prev = head_.next = &head_; }

EntryList::~EntryList() {
    // Whoever watched may be gone at process end; only the chain is freed.
    observer_ = nullptr;
    Clear();
}

void EntryList::Clear() {
    while (head_.next != &head_) {
        Node* node = head_.next;
        Unlink(node);
        std::free(node);
    }
    count_ = 0;
    keptSubkeys_.clear();
    nameKeys_.clear();
    nameKeysValid_ = true;
    if (observer_) observer_->EntriesCleared();
}

EntryList::Node* EntryList::NodeAt(int index) const {
    if (static_cast<unsigned>(index) >= static_cast<unsigned>(count_)) return nullptr;
    // From whichever of the first, the last and the node found last lies nearest.
    const Node* node = head_.next;
    int at = 0;
    if (count_ - 1 - index < index) {
        node = head_.prev;
        at = count_ - 1;
    }
    if (cursor_ && std::abs(cursorIndex_ - index) < std::abs(at - index)) {
        node = cursor_;
        at = cursorIndex_;
    }
    for (; at < index; ++at) node = node->next;
    for (; at > index; --at) node = node->prev;
    cursor_ = node;
    cursorIndex_ = index;
    return const_cast<Node*>(node);
}

EntryList::Node* EntryList::NewNode(const MenuExtEntry& entry) {
    Node* node = static_cast<Node*>(g_allocateNode(sizeof(Node)));
    if (!node) return nullptr;
    node->prev = node->next = nullptr;
    node->entry = entry;
    return node;
}

void EntryList::LinkBefore(Node* node, Node* before) {
    node->next = before;
    node->prev = before->prev;
    before->prev->next = node;
    before->prev = node;
    cursor_ = nullptr;
}

void EntryList::Unlink(Node* node) {
    node->prev->next = node->next;
    node->next->prev = node->prev;
    node->prev = node->next = nullptr;
    cursor_ = nullptr;
}

// Links a new node in front of `position` (-1 or past the end: at the end); its index.
int EntryList::Link(Node* node, int position) {
    if (position == -1 || position > count_) position = count_;
    LinkBefore(node, position == count_ ? &head_ : NodeAt(position));
    ++count_;
    CountName(node->entry.name, +1);
    if (observer_) observer_->EntryInserted(position);
    return position;
}

int EntryList::AddEntry(const MenuExtEntry* entry) {
    if (!entry) return kInvalid;
    if (NameTaken(entry->name)) return kDuplicateName;
    if (!IsStorable(*entry)) return kNotMade;
    Node* node = NewNode(*entry);
    if (!node) return kOutOfMemory;
    Link(node, -1);
    return kOk;
}

int EntryList::InsertEntryAt(int position, const MenuExtEntry* entry) {
    if (position < -1 || !entry) return kInvalid;
    if (NameTaken(entry->name)) return kDuplicateName;
    if (!IsStorable(*entry)) return kInvalid;
    Node* node = NewNode(*entry);
    if (!node) return kOutOfMemory;
    Link(node, position);
    return kOk;
}

bool EntryList::DeleteEntryAt(int index) {
    Node* node = NodeAt(index);
    if (!node) return false;
    CountName(node->entry.name, -1);
    Unlink(node);
    std::free(node);
    --count_;
    if (observer_) observer_->EntryRemoved(index);
    return true;
}

bool EntryList::MoveEntry(int from, int to) {
    Node* moving = NodeAt(from);
    Node* target = NodeAt(to);
    if (!moving || !target) return false;
    if (from == to) return true;
    // Relinking the node moves the entry without a copy, so nothing can fail half way.
    Node* insertionPoint = from < to ? target->next : target;
    Unlink(moving);
    LinkBefore(moving, insertionPoint);
    if (observer_) observer_->EntryMoved(from, to);
    return true;
}

bool EntryList::SwapEntries(int a, int b) {
    Node* first = NodeAt(a);
    Node* second = NodeAt(b);
    if (!first || !second) return false;
    if (a != b) Exchange(first, second, a, b);
    return true;
}

void EntryList::Exchange(Node* first, Node* second, int a, int b) {
    MenuExtEntry temp = first->entry;
    first->entry = second->entry;
    second->entry = temp;
    if (observer_) observer_->EntriesSwapped(a, b);
}

bool EntryList::GetEntryAt(int index, MenuExtEntry* out) const {
    Node* node = NodeAt(index);
    if (!out || !node) return false;
    *out = node->entry;
    return true;
}

bool EntryList::ReplaceEntryAt(int index, const MenuExtEntry* entry) {
    Node* node = NodeAt(index);
    if (!node || !entry || !IsStorable(*entry)) return false;
    CountName(node->entry.name, -1);
    node->entry = *entry;
    CountName(node->entry.name, +1);
    if (observer_) observer_->EntryChanged(index);
    return true;
}

bool EntryList::SetEnabled(int index, bool enabled) {
    Node* node = NodeAt(index);
    if (!node) return false;
    if ((node->entry.enabled != 0) == enabled) return true;
    node->entry.enabled = enabled ? 1 : 0;
    if (observer_) observer_->EntryChanged(index);
    return true;
}

int EntryList::FindEntryByName(const char* name) const {
    if (!name) return -1;
    int index = 0;
    for (const Node* node = head_.next; node != &head_; node = node->next, ++index)
        if (lstrcmpiA(node->entry.name, name) == 0) return index;
    return -1;
}

bool EntryList::IsNameTaken(const char* name, int ownIndex) const {
    if (!name) return false;
    int found = FindEntryByName(name);
    return (found != -1 && found != ownIndex) || NameOfKeptSubkey(name);
}

void EntryList::KeepSubkeyName(const wchar_t* name) {
    if (!name) return;
    try {
        keptSubkeys_.push_back(RegistryNameKey(name, wcslen(name)));
    } catch (const std::bad_alloc&) {
        // Unrecorded, the subkey only loses its name's protection; Update keeps it anyway
        // while it stays unreadable.
    }
}

bool EntryList::IsKeptSubkeyName(const wchar_t* name) const {
    if (!name || keptSubkeys_.empty()) return false;
    const std::wstring key = RegistryNameKey(name, wcslen(name));
    for (const std::wstring& kept : keptSubkeys_)
        if (kept == key) return true;
    return false;
}

bool EntryList::NameOfKeptSubkey(const char* name) const {
    if (keptSubkeys_.empty()) return false;
    // The registry's ANSI functions take names in the ANSI code page; so does this.
    wchar_t wide[kNameSize];
    int length = MultiByteToWideChar(CP_ACP, 0, name, -1, wide, kNameSize);
    return length > 0 && IsKeptSubkeyName(wide);
}

bool EntryList::NameTaken(const char* name) const {
    if (!name) return false;
    if (NameOfKeptSubkey(name)) return true;
    std::string key;
    // A name the index has never seen is free. One it knows is confirmed by the walk, which
    // stays the one rule for equal names; a bulk load rarely meets a taken name.
    if (nameKeysValid_ && NameKey(name, &key) && nameKeys_.find(key) == nameKeys_.end()) return false;
    return FindEntryByName(name) >= 0;
}

void EntryList::CountName(const char* name, int change) {
    if (!nameKeysValid_) return;
    std::string key;
    try {
        if (NameKey(name, &key)) {
            // A name whose count falls to 0 leaves the index.
            if ((nameKeys_[key] += change) <= 0) nameKeys_.erase(key);
            return;
        }
    } catch (const std::bad_alloc&) {
    }
    // A name left out of the index would pass for free; the walk decides from now on.
    nameKeysValid_ = false;
    nameKeys_.clear();
}

namespace {

// The last index of the run of consecutive indexes that begins at selected[i].
size_t RunEnd(const std::vector<int>& selected, size_t i) {
    while (i + 1 < selected.size() && selected[i + 1] == selected[i] + 1) ++i;
    return i;
}

}  // namespace

int EntryList::MoveRunsUp(const std::vector<int>& selected) {
    if (selected.empty()) return -1;
    // The entry above a run goes below it; the runs after it keep their indexes.
    for (size_t i = 0; i < selected.size(); ++i) {
        size_t end = RunEnd(selected, i);
        if (selected[i] > 0) MoveEntry(selected[i] - 1, selected[end]);
        i = end;
    }
    return selected[0] > 0 ? selected[0] - 1 : selected[0];
}

int EntryList::MoveRunsDown(const std::vector<int>& selected) {
    if (selected.empty()) return -1;
    int visible = selected[0];
    // The entry below a run goes above it; the runs after it keep their indexes.
    for (size_t i = 0; i < selected.size(); ++i) {
        size_t end = RunEnd(selected, i);
        bool moves = selected[end] + 1 < count_;
        if (moves) MoveEntry(selected[end] + 1, selected[i]);
        visible = moves ? selected[end] + 1 : selected[end];
        i = end;
    }
    return visible;
}

void EntryList::PartitionByEnabled(bool disabledFirst, int limit) {
    int n = count_;
    if (n <= 1) return;
    if (limit != -1) {
        if (limit < 2) return;
        if (limit < n) n = limit;
    }
    // Each entry of the group that goes second moves to the end of the range, so both groups
    // keep their order. The nodes are relinked as they are passed: no walk per entry.
    Node* last = NodeAt(n - 1);
    Node* node = head_.next;
    int index = 0;
    for (int step = 0; step < n; ++step) {
        Node* next = node->next;
        bool stays = (node->entry.enabled == 0) == disabledFirst;
        if (stays) {
            ++index;
        } else if (node != last) {
            Node* after = last->next;
            Unlink(node);
            LinkBefore(node, after);
            last = node;
            if (observer_) observer_->EntryMoved(index, n - 1);
        }
        node = next;
    }
}

void EntryList::SortLeading(int count, const Comparison& compare) {
    if (count > count_) count = count_;
    if (count < 2) return;
    // The nodes of the range, so that comparing entries far apart costs no walk.
    std::vector<Node*> nodes;
    nodes.reserve(static_cast<size_t>(count));
    for (Node* node = head_.next; static_cast<int>(nodes.size()) < count; node = node->next) nodes.push_back(node);
    int gap = 1;
    while (gap < count / 3) gap = 3 * gap + 1;
    for (; gap > 0; gap /= 3) {
        for (int i = gap; i < count; ++i) {
            for (int j = i - gap; j >= 0 && compare(nodes[j]->entry, nodes[j + gap]->entry) > 0; j -= gap)
                Exchange(nodes[j], nodes[j + gap], j, j + gap);
        }
    }
}

int EntryList::CountDisabledBefore(int index) const {
    int disabled = 0;
    int at = 0;
    for (const Node* node = head_.next; node != &head_ && at < index; node = node->next, ++at)
        if (node->entry.enabled == 0) ++disabled;
    return disabled;
}
