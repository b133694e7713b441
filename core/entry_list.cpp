// The entry list: a circular doubly linked chain with a sentinel, mirrored row by row in
// the list view.
#include "core/entry_list.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <new>

bool RowMoveInProgress = false;

namespace {

const char* const kContextLetters[kContextBitCount] = {"常", "絵", "コ", "表", "選", "リ", "？"};

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

// What a row and the registry can hold: a name that does not begin with a backslash (the
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

void SetCellText(HWND listView, int row, int column, const char* text) {
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text);
    SendMessageA(listView, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

// Columns 1 to 3 and the check box of a row that already holds the name.
void FillRowDetails(HWND listView, int row, const MenuExtEntry& e) {
    SetRowTicked(listView, row, e.enabled != 0);
    char letters[2 * kContextBitCount + 1];
    FormatContextLetters(e.contexts, letters);
    char flags[16];
    snprintf(flags, sizeof(flags), "%X", e.flags);
    SetCellText(listView, row, 3, e.target);
    SetCellText(listView, row, 1, letters);
    SetCellText(listView, row, 2, flags);
}

int InsertRowWithName(HWND listView, int position, const char* name) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = position;
    item.pszText = const_cast<char*>(name);
    return static_cast<int>(SendMessageA(listView, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

}  // namespace

bool HasLineBreak(const char* text) { return strpbrk(text, "\r\n") != nullptr; }

bool IsRowTicked(HWND listView, int row) {
    return (SendMessageA(listView, LVM_GETITEMSTATE, row, kStateImageMask) & kStateImageMask) != kUncheckedState;
}

void SetRowTicked(HWND listView, int row, bool ticked) {
    LVITEMA item = {};
    item.stateMask = kStateImageMask;
    item.state = ticked ? kCheckedState : kUncheckedState;
    SendMessageA(listView, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

const char* ContextLetter(int bit) { return bit >= 0 && bit < kContextBitCount ? kContextLetters[bit] : ""; }

void FormatContextLetters(uint32_t contexts, char* out) {
    out[0] = '\0';
    for (int bit = 0; bit < kContextBitCount; ++bit)
        if (contexts & (1u << bit)) strcat(out, kContextLetters[bit]);
}

void EntryList::SetNodeAllocator(NodeAllocator allocator) { g_allocateNode = allocator ? allocator : std::malloc; }

EntryList::EntryList() { head_.prev = head_.next = &head_; }

EntryList::~EntryList() {
    // The control may be gone at process end; only the chain is freed.
    listView = nullptr;
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
    if (listView) SendMessageA(listView, LVM_DELETEALLITEMS, 0, 0);
}

int EntryList::RowCount() const {
    return listView ? static_cast<int>(SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

EntryList::Node* EntryList::NodeAt(int index) const {
    if (static_cast<unsigned>(index) >= static_cast<unsigned>(count_)) return nullptr;
    Node* node = head_.next;
    while (index-- > 0) node = node->next;
    return node;
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
}

void EntryList::Unlink(Node* node) {
    node->prev->next = node->next;
    node->next->prev = node->prev;
    node->prev = node->next = nullptr;
}

int EntryList::WriteRow(int position, const MenuExtEntry* entry) {
    if (position < -1 || !entry || !IsStorable(*entry)) return 0;
    int rows = RowCount();
    if (position == -1 || position > rows) position = rows;
    int row = position;
    if (position == rows) {
        row = InsertRowWithName(listView, position, entry->name);
        if (row < 0) return 0;
    } else {
        SetCellText(listView, row, 0, entry->name);
    }
    FillRowDetails(listView, row, *entry);
    return 1;
}

int EntryList::AddEntry(const MenuExtEntry* entry) {
    if (!entry) return kInvalid;
    if (NameTaken(entry->name)) return kDuplicateName;
    if (!IsStorable(*entry)) return kNotMade;
    // The node comes first so that a failed allocation leaves no orphan row behind.
    Node* node = NewNode(*entry);
    if (!node) return kOutOfMemory;
    if (!WriteRow(-1, entry)) {
        std::free(node);
        return kNotMade;
    }
    LinkBefore(node, &head_);
    ++count_;
    IndexName(node->entry.name);
    return kOk;
}

int EntryList::InsertEntryAt(int position, const MenuExtEntry* entry) {
    if (position < -1 || !entry) return kInvalid;
    if (NameTaken(entry->name)) return kDuplicateName;
    if (!IsStorable(*entry)) return kInvalid;
    int rows = RowCount();
    if (position == -1 || position > rows) position = rows;
    Node* node = NewNode(*entry);
    if (!node) return kOutOfMemory;
    int row = InsertRowWithName(listView, position, entry->name);
    if (row < 0) {
        std::free(node);
        return kNotMade;
    }
    // Linked before the check box is set: ticking the box reports a change for this row
    // index, and the handler must find the new entry there, not the one it displaced.
    Node* before = row >= count_ ? &head_ : NodeAt(row);
    LinkBefore(node, before);
    ++count_;
    IndexName(node->entry.name);
    FillRowDetails(listView, row, *entry);
    return kOk;
}

int EntryList::DeleteEntryAt(int index) {
    Node* node = NodeAt(index);
    if (!node) return 0;
    SendMessageA(listView, LVM_DELETEITEM, index, 0);
    UnindexName(node->entry.name);
    Unlink(node);
    std::free(node);
    --count_;
    return 1;
}

int EntryList::MoveEntry(int from, int to) {
    Node* moving = NodeAt(from);
    Node* target = NodeAt(to);
    if (!moving || !target) return 0;
    if (from == to) return 1;
    bool saved = RowMoveInProgress;
    RowMoveInProgress = true;
    // Relinking the node moves the entry without a copy, so it cannot fail half way.
    Node* insertionPoint = from < to ? target->next : target;
    Unlink(moving);
    LinkBefore(moving, insertionPoint);
    MoveRow(from, to);
    RowMoveInProgress = saved;
    return 1;
}

int EntryList::SwapEntries(int a, int b) {
    Node* first = NodeAt(a);
    Node* second = NodeAt(b);
    if (!first || !second) return 0;
    if (a == b) return 1;
    bool saved = RowMoveInProgress;
    RowMoveInProgress = true;
    MenuExtEntry temp = first->entry;
    first->entry = second->entry;
    second->entry = temp;
    SwapRows(a, b);
    RowMoveInProgress = saved;
    return 1;
}

int EntryList::GetEntryAt(int index, MenuExtEntry* out) const {
    Node* node = NodeAt(index);
    if (!out || !node) return 0;
    *out = node->entry;
    return 1;
}

int EntryList::ReplaceEntryAt(int index, const MenuExtEntry* entry) {
    Node* old = NodeAt(index);
    if (!old || !entry) return 0;
    Node* node = NewNode(*entry);
    if (!node) return 0;
    if (!WriteRow(index, entry)) {
        std::free(node);
        return 0;
    }
    LinkBefore(node, old);
    UnindexName(old->entry.name);
    IndexName(node->entry.name);
    Unlink(old);
    std::free(old);
    return 1;
}

int EntryList::SetEnabledAt(int index, int enabled) {
    Node* node = NodeAt(index);
    if (!node) return 0;
    node->entry.enabled = enabled;
    return 1;
}

int EntryList::FindEntryByName(const char* name) const {
    if (!name) return -1;
    int index = 0;
    for (Node* node = head_.next; node != &head_; node = node->next, ++index)
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
        // Unrecorded, the subkey would only lose its name's protection; Update keeps it anyway
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

void EntryList::IndexName(const char* name) {
    if (!nameKeysValid_) return;
    std::string key;
    try {
        if (NameKey(name, &key)) {
            ++nameKeys_[key];
            return;
        }
    } catch (const std::bad_alloc&) {
    }
    // A name left out of the index would pass for free; the walk decides from now on.
    nameKeysValid_ = false;
    nameKeys_.clear();
}

void EntryList::UnindexName(const char* name) {
    if (!nameKeysValid_) return;
    std::string key;
    try {
        if (NameKey(name, &key)) {
            auto found = nameKeys_.find(key);
            if (found != nameKeys_.end() && --found->second == 0) nameKeys_.erase(found);
            return;
        }
    } catch (const std::bad_alloc&) {
    }
    nameKeysValid_ = false;
    nameKeys_.clear();
}

int EntryList::SelectedRunEnd(int index) const {
    int rows = RowCount();
    if (index < 0 || index >= rows) return -1;
    while (index + 1 < rows && (SendMessageA(listView, LVM_GETITEMSTATE, index + 1, LVIS_SELECTED) & LVIS_SELECTED))
        ++index;
    return index;
}

int EntryList::MoveSelectedUp() {
    int first = static_cast<int>(SendMessageA(listView, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
    if (first < 0) return 0;
    for (int s = first; s >= 0;) {
        int e = SelectedRunEnd(s);
        if (s > 0) MoveEntry(s - 1, e);
        s = static_cast<int>(SendMessageA(listView, LVM_GETNEXTITEM, e, LVNI_SELECTED));
    }
    int top = static_cast<int>(SendMessageA(listView, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
    SendMessageA(listView, LVM_ENSUREVISIBLE, top, FALSE);
    return 1;
}

int EntryList::MoveSelectedDown() {
    int s = static_cast<int>(SendMessageA(listView, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
    if (s < 0) return 0;
    int n = RowCount();
    int visible = s;
    while (s >= 0) {
        int e = SelectedRunEnd(s);
        bool moved = e + 1 != n;
        if (moved) MoveEntry(e + 1, s);
        visible = moved ? e + 1 : e;
        int next = moved ? e + 1 : e;
        s = static_cast<int>(SendMessageA(listView, LVM_GETNEXTITEM, next, LVNI_SELECTED));
    }
    SendMessageA(listView, LVM_ENSUREVISIBLE, visible, FALSE);
    return 1;
}

int EntryList::MoveRow(int from, int to) {
    int rows = RowCount();
    if (from < 0 || to < 0 || from >= rows || to >= rows) return 0;
    if (from == to) return 1;
    char name[512] = {}, texts[3][512] = {};
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_STATE | LVIF_PARAM;
    item.iItem = from;
    item.stateMask = 0xFF2F;
    item.pszText = name;
    item.cchTextMax = sizeof(name);
    SendMessageA(listView, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    // The list view may answer with a pointer into its own storage instead of filling `name`;
    // that storage goes with the row deleted below, so the text is taken into `name` now.
    if (item.pszText != name && item.pszText != LPSTR_TEXTCALLBACKA) {
        if (item.pszText) lstrcpynA(name, item.pszText, sizeof(name));
        item.pszText = name;
    }
    for (int column = 1; column <= 3; ++column) {
        LVITEMA sub = {};
        sub.iSubItem = column;
        sub.pszText = texts[column - 1];
        sub.cchTextMax = sizeof(texts[0]);
        SendMessageA(listView, LVM_GETITEMTEXTA, from, reinterpret_cast<LPARAM>(&sub));
    }
    bool checked = (item.state & kStateImageMask) == kCheckedState;
    SendMessageA(listView, LVM_DELETEITEM, from, 0);
    item.iItem = to;
    item.iSubItem = 0;
    int row = static_cast<int>(SendMessageA(listView, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) return 0;
    for (int column = 1; column <= 3; ++column) SetCellText(listView, row, column, texts[column - 1]);
    if (checked) SetRowTicked(listView, row, true);
    return 1;
}

int EntryList::SwapRows(int a, int b) {
    int rows = RowCount();
    if (!listView || a < 0 || b < 0 || a >= rows || b >= rows || a == b) return 0;
    if (a > b) {
        int t = a;
        a = b;
        b = t;
    }
    MoveRow(a, b);
    MoveRow(b - 1, a);
    return 1;
}

int EntryList::PartitionByCheck(HWND control, int sortWord, int limit) {
    int n = static_cast<int>(SendMessageA(control, LVM_GETITEMCOUNT, 0, 0));
    if (n <= 1) return 1;
    if (limit != -1) {
        if (limit < 2) return 1;
        if (limit < n) n = limit;
    }
    bool disabledFirst = (sortWord >> 16) == kDirectionDisabledFirst;
    int i = 0;
    for (int step = 0; step < n; ++step) {
        bool unchecked = !IsRowTicked(control, i);
        bool stays = disabledFirst ? unchecked : !unchecked;
        if (stays)
            ++i;
        else
            MoveEntry(i, n - 1);
    }
    return 1;
}

int EntryList::MoveDisabledToBottom(HWND control) {
    return PartitionByCheck(control, MakeSortWord(kDirectionEnabledFirst, kCheckSortColumn), -1);
}
