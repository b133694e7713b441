// Reads and rewrites HKCU\Software\Microsoft\Internet Explorer\MenuExt.
#include "core/registry_store.h"

#include <cstring>
#include <cwchar>

#include "formats/unicode_text.h"

namespace {

// Registry key names may hold up to 255 characters; the list keeps only 64 bytes of them.
constexpr DWORD kLongestKeyName = 256;

class KeyGuard {
public:
    KeyGuard() = default;
    ~KeyGuard() { Close(); }
    KeyGuard(const KeyGuard&) = delete;
    KeyGuard& operator=(const KeyGuard&) = delete;
    HKEY* Out() { return &key_; }
    HKEY Get() const { return key_; }
    void Close() {
        if (key_) RegCloseKey(key_);
        key_ = nullptr;
    }

private:
    HKEY key_ = nullptr;
};

// Every registry call is a round trip to the registry's keeper (under Wine a request to its
// server), so each subkey is opened once for all that is read from it.

// Windows NT keeps the registry in Unicode, and its ANSI functions hand over a character that
// code page 932 lacks as "?", or as a best-fit look-alike: a subkey holding one would be listed
// under another name or target, and the next Update would write that back. Whether the subkey
// at `index` is free of such characters, in its name and default value; what the wide functions
// cannot read is left to the ANSI reading, which then fails as well. Windows 95 and 98 keep the
// registry in the ANSI code page. The subkey, once opened here for reading, stays open in `sub`.
bool HasProgramForm(HKEY parent, DWORD index, KeyGuard* sub) {
    if (GetVersion() & 0x80000000u) return true;
    wchar_t name[kLongestKeyName + 1];
    DWORD length = kLongestKeyName + 1;
    if (RegEnumKeyExW(parent, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) return true;
    if (!AppendProgramCodePage(name, length, nullptr)) return false;
    if (RegOpenKeyExW(parent, name, 0, KEY_READ, sub->Out()) != ERROR_SUCCESS) return true;
    // A value of kTargetSize characters or more is too long in code page 932 as well.
    wchar_t value[kTargetSize + 1];
    DWORD type = REG_NONE, size = sizeof(value);
    if (RegQueryValueExW(sub->Get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_MULTI_SZ))
        return true;
    return AppendProgramCodePage(value, wcsnlen(value, size / sizeof(wchar_t)), nullptr);
}

// The subkey `name` open for reading in `sub`: as HasProgramForm left it, or opened now.
bool OpenForReading(HKEY parent, const char* name, KeyGuard* sub) {
    return sub->Get() || RegOpenKeyExA(parent, name, 0, KEY_READ, sub->Out()) == ERROR_SUCCESS;
}

// The default value of an open subkey as the entry's target. False when there is none, or one
// longer than 259 bytes.
bool ReadTarget(HKEY sub, char* target) {
    // One byte more than the record holds, so that a value of exactly 260 bytes without a
    // terminator is not mistaken for a fitting one.
    char value[kTargetSize + 1] = {};
    DWORD size = kTargetSize;
    if (RegQueryValueExA(sub, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS)
        return false;
    if (memchr(value, '\0', kTargetSize) == nullptr) return false;
    strcpy(target, value);
    return true;
}

// Reads an open subkey into `entry` the way the list would accept it. False when the subkey
// could not become an entry: no readable default value, or one longer than 259 bytes.
bool ReadSubkeyEntry(HKEY sub, MenuExtEntry* entry) {
    if (!ReadTarget(sub, entry->target)) return false;
    entry->contexts = 0;
    DWORD size = sizeof(entry->contexts);
    RegQueryValueExA(sub, "Contexts", nullptr, nullptr, reinterpret_cast<BYTE*>(&entry->contexts), &size);
    entry->flags = 0;
    size = sizeof(entry->flags);
    RegQueryValueExA(sub, "Flags", nullptr, nullptr, reinterpret_cast<BYTE*>(&entry->flags), &size);
    return true;
}

// True for a subkey that LoadFromRegistry would have shown as an entry. The others belong
// to nobody the user can see, so Update leaves them alone.
bool IsLoadableSubkey(HKEY parent, const char* name, KeyGuard* sub) {
    if (strlen(name) >= static_cast<size_t>(kNameSize)) return false;
    char target[kTargetSize];
    return OpenForReading(parent, name, sub) && ReadTarget(sub->Get(), target) && target[0] != '\0';
}

// RegDeleteKeyA refuses keys that have subkeys of their own, so the tree goes bottom-up.
LONG DeleteKeyTree(HKEY parent, const char* name) {
    {
        KeyGuard key;
        LONG opened = RegOpenKeyExA(parent, name, 0, KEY_READ | KEY_WRITE, key.Out());
        if (opened != ERROR_SUCCESS) return opened;
        char child[kLongestKeyName + 1];
        for (;;) {
            DWORD size = sizeof(child);
            LONG enumerated = RegEnumKeyExA(key.Get(), 0, child, &size, nullptr, nullptr, nullptr, nullptr);
            if (enumerated == ERROR_NO_MORE_ITEMS) break;
            if (enumerated != ERROR_SUCCESS) return enumerated;
            LONG deleted = DeleteKeyTree(key.Get(), child);
            if (deleted != ERROR_SUCCESS) return deleted;
        }
    }
    return RegDeleteKeyA(parent, name);
}

// Deletes every subkey that the list could have shown; false on the first failure.
bool DeleteLoadableSubkeys(HKEY key) {
    DWORD index = 0;
    char name[kLongestKeyName + 1];
    for (;;) {
        DWORD size = sizeof(name);
        LONG enumerated = RegEnumKeyExA(key, index, name, &size, nullptr, nullptr, nullptr, nullptr);
        if (enumerated == ERROR_NO_MORE_ITEMS) return true;
        if (enumerated != ERROR_SUCCESS) return false;
        KeyGuard sub;
        if (!HasProgramForm(key, index, &sub) || !IsLoadableSubkey(key, name, &sub)) {
            ++index;
            continue;
        }
        sub.Close();
        // An entry's subkey normally has none of its own and goes in one call; only a refusal
        // walks the tree.
        if (RegDeleteKeyA(key, name) != ERROR_SUCCESS && DeleteKeyTree(key, name) != ERROR_SUCCESS) return false;
    }
}

bool WriteSubkey(HKEY key, const MenuExtEntry& e) {
    KeyGuard sub;
    if (RegCreateKeyExA(key, e.name, 0, const_cast<char*>(""), REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        sub.Out(), nullptr) != ERROR_SUCCESS)
        return false;
    if (RegSetValueExA(sub.Get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(e.target),
                       static_cast<DWORD>(strlen(e.target) + 1)) != ERROR_SUCCESS)
        return false;
    if (RegSetValueExA(sub.Get(), "Contexts", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&e.contexts), 4) !=
        ERROR_SUCCESS)
        return false;
    return RegSetValueExA(sub.Get(), "Flags", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&e.flags), 4) ==
           ERROR_SUCCESS;
}

}  // namespace

int LoadFromRegistry(EntryList& list, int* keyFlag) {
    if (keyFlag) *keyFlag = 0;
    KeyGuard key;
    LONG opened = RegOpenKeyExA(HKEY_CURRENT_USER, kMenuExtKeyPath, 0, KEY_READ, key.Out());
    if (opened != ERROR_SUCCESS) {
        if (keyFlag && opened != ERROR_FILE_NOT_FOUND) *keyFlag = 1;
        return 0;
    }
    if (keyFlag) *keyFlag = 1;
    DWORD subkeys = 0;
    if (RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS)
        return 0;

    enum : unsigned { kSubkeyUnreadable = 1, kValueUnreadable = 2, kCharacterLost = 4 };
    unsigned errors = 0;
    for (DWORD index = 0; index < subkeys; ++index) {
        KeyGuard sub;
        if (!HasProgramForm(key.Get(), index, &sub)) {
            errors |= kCharacterLost;
            continue;
        }
        MenuExtEntry entry = {};
        DWORD size = kNameSize;
        LONG enumerated = RegEnumKeyExA(key.Get(), index, entry.name, &size, nullptr, nullptr, nullptr, nullptr);
        if (enumerated == ERROR_MORE_DATA) {
            // A name too long for the list: skip it, but keep going so that the entries
            // after it are still shown (and so not deleted unseen by the next Update).
            errors |= kSubkeyUnreadable;
            continue;
        }
        if (enumerated != ERROR_SUCCESS) {
            errors |= kSubkeyUnreadable;
            break;
        }
        if (!OpenForReading(key.Get(), entry.name, &sub)) {
            errors |= kSubkeyUnreadable;
            continue;
        }
        if (!ReadSubkeyEntry(sub.Get(), &entry)) {
            errors |= kValueUnreadable;
            continue;
        }
        entry.enabled = 1;
        // An empty default value is refused by the list and quietly left out.
        list.AddEntry(&entry);
    }
    return errors == 0 ? 1 : 0;
}

int SaveToRegistry(const EntryList& list) {
    KeyGuard key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kMenuExtKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                        nullptr, key.Out(), nullptr) != ERROR_SUCCESS)
        return 0;
    if (!DeleteLoadableSubkeys(key.Get())) return 0;
    for (int i = 0; i < list.Count(); ++i) {
        MenuExtEntry e;
        list.GetEntryAt(i, &e);
        if (!e.enabled) continue;
        if (e.name[0] == '\\') return 0;
        if (!WriteSubkey(key.Get(), e)) return 0;
    }
    return 1;
}
