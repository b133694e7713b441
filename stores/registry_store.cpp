// Reads and rewrites HKCU\Software\Microsoft\Internet Explorer\MenuExt.
#include "stores/registry_store.h"

#include <windows.h>

#include <cstring>
#include <cwchar>
#include <string>

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
// server), so a subkey is read with as few calls as give the same result as the ANSI reading.
//
// Windows NT keeps the registry in Unicode, and its ANSI functions hand over a character that
// code page 932 lacks as "?", or as a best-fit look-alike: a subkey holding one would be listed
// under another name or target, and the next Update would write that back. Such subkeys are
// found through the wide functions, in their name and default value; what those cannot read
// is left to the ANSI reading, which then fails as well. Windows 95 and 98 keep the registry
// in the ANSI code page. Where the ANSI code page is 932 itself, the ANSI functions would hand
// over exactly the code page 932 form of what the wide ones read, so that is taken instead of
// asking again.
struct Subkey {
    KeyGuard key;  // open for reading, or not yet
    bool lost = false;
    // The name as the registry holds it, for the list's record of the subkeys it keeps out.
    std::wstring wideName;
    // Filled from the wide reading where it stands for the ANSI one.
    bool hasName = false;
    std::string name;
    enum { kTargetNotRead, kTargetRead, kTargetUnreadable } target = kTargetNotRead;
    char targetText[kTargetSize] = {};
};

bool ReadsAsCodePage932() {
    static const bool same = GetACP() == kProgramCodePage;
    return same;
}

// The ANSI reading of a default value of `size` bytes that the wide function gave: strings
// converted, any other type as it is; at most kTargetSize bytes, a terminator among them.
void TakeWideTarget(DWORD type, const BYTE* data, DWORD size, Subkey* subkey) {
    char value[kTargetSize + 1] = {};
    if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ) {
        const wchar_t* text = reinterpret_cast<const wchar_t*>(data);
        int units = static_cast<int>(size / sizeof(wchar_t));
        int bytes = units ? WideCharToMultiByte(CP_ACP, 0, text, units, nullptr, 0, nullptr, nullptr) : 0;
        if (bytes > kTargetSize || (units && bytes == 0)) {
            subkey->target = Subkey::kTargetUnreadable;
            return;
        }
        if (units) WideCharToMultiByte(CP_ACP, 0, text, units, value, kTargetSize, nullptr, nullptr);
    } else {
        if (size > static_cast<DWORD>(kTargetSize)) {
            subkey->target = Subkey::kTargetUnreadable;
            return;
        }
        memcpy(value, data, size);
    }
    if (memchr(value, '\0', kTargetSize) == nullptr) {
        subkey->target = Subkey::kTargetUnreadable;
        return;
    }
    strcpy(subkey->targetText, value);
    subkey->target = Subkey::kTargetRead;
}

// The wide reading of the subkey at `index`, on Windows NT.
void ReadWide(HKEY parent, DWORD index, Subkey* subkey) {
    if (!SystemKeepsUnicode()) return;
    wchar_t name[kLongestKeyName + 1];
    DWORD length = kLongestKeyName + 1;
    if (RegEnumKeyExW(parent, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) return;
    subkey->wideName.assign(name, length);
    std::string narrow;
    if (!AppendProgramCodePage(name, length, &narrow)) {
        subkey->lost = true;
        return;
    }
    const bool same = ReadsAsCodePage932();
    if (same) {
        subkey->name = narrow;
        subkey->hasName = true;
    }
    if (RegOpenKeyExW(parent, name, 0, KEY_READ, subkey->key.Out()) != ERROR_SUCCESS) return;
    // A value of kTargetSize characters or more is too long in code page 932 as well.
    wchar_t value[kTargetSize + 1];
    DWORD type = REG_NONE, size = sizeof(value);
    if (RegQueryValueExW(subkey->key.Get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
        ERROR_SUCCESS)
        return;
    if ((type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ) &&
        !AppendProgramCodePage(value, wcsnlen(value, size / sizeof(wchar_t)), nullptr)) {
        subkey->lost = true;
        return;
    }
    if (same) TakeWideTarget(type, reinterpret_cast<const BYTE*>(value), size, subkey);
}

// The subkey's ANSI name (`capacity` bytes with the terminator), as RegEnumKeyExA gives it.
LONG SubkeyName(HKEY parent, DWORD index, const Subkey& subkey, char* name, DWORD capacity) {
    if (!subkey.hasName) return RegEnumKeyExA(parent, index, name, &capacity, nullptr, nullptr, nullptr, nullptr);
    if (subkey.name.size() >= capacity) return ERROR_MORE_DATA;
    memcpy(name, subkey.name.c_str(), subkey.name.size() + 1);
    return ERROR_SUCCESS;
}

// The default value of the open subkey as the entry's target. False when there is none, or one
// longer than 259 bytes.
bool ReadTarget(Subkey* subkey, char* target) {
    if (subkey->target == Subkey::kTargetNotRead) {
        // One byte more than the record holds, so that a value of exactly 260 bytes without a
        // terminator is not mistaken for a fitting one.
        char value[kTargetSize + 1] = {};
        DWORD size = kTargetSize;
        bool read = RegQueryValueExA(subkey->key.Get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value),
                                     &size) == ERROR_SUCCESS &&
                    memchr(value, '\0', kTargetSize) != nullptr;
        if (read) strcpy(subkey->targetText, value);
        subkey->target = read ? Subkey::kTargetRead : Subkey::kTargetUnreadable;
    }
    if (subkey->target != Subkey::kTargetRead) return false;
    strcpy(target, subkey->targetText);
    return true;
}

void ReadNumbers(HKEY key, MenuExtEntry* entry) {
    // A missing value leaves 0; a failed read as well.
    entry->contexts = 0;
    DWORD size = sizeof(entry->contexts);
    RegQueryValueExA(key, "Contexts", nullptr, nullptr, reinterpret_cast<BYTE*>(&entry->contexts), &size);
    entry->flags = 0;
    size = sizeof(entry->flags);
    RegQueryValueExA(key, "Flags", nullptr, nullptr, reinterpret_cast<BYTE*>(&entry->flags), &size);
}

// What one subkey is to the list. Load and Update ask the same question, so that Update
// removes exactly the subkeys a load shows or leaves out on purpose.
enum class SubkeyUse {
    kEntry,       // an entry the list can show
    kLeftOut,     // an empty default value: no entry, and Update removes it
    kUnshowable,  // the list cannot show it whole; Update leaves it untouched
    kNoMore,      // no subkey at this index
    kFailed,      // the enumeration itself failed
};

// Reads subkey `index` of the open MenuExt key into `entry` (name and target; the numbers too
// when `withNumbers`). `subkey` keeps its wide name and, for kEntry, its open key.
SubkeyUse ReadSubkeyAt(HKEY parent, DWORD index, bool withNumbers, Subkey* subkey, MenuExtEntry* entry) {
    ReadWide(parent, index, subkey);
    // Roomy enough for any name, so that one too long for the list is still known by name.
    char name[2 * kLongestKeyName + 1];
    LONG enumerated = SubkeyName(parent, index, *subkey, name, sizeof(name));
    if (enumerated == ERROR_NO_MORE_ITEMS) return SubkeyUse::kNoMore;
    if (enumerated != ERROR_SUCCESS && enumerated != ERROR_MORE_DATA) return SubkeyUse::kFailed;
    if (subkey->wideName.empty() && enumerated == ERROR_SUCCESS) {
        wchar_t wide[kLongestKeyName + 1];
        int length = MultiByteToWideChar(CP_ACP, 0, name, -1, wide, kLongestKeyName + 1);
        if (length > 0) subkey->wideName.assign(wide, static_cast<size_t>(length - 1));
    }
    if (subkey->lost || enumerated != ERROR_SUCCESS || strlen(name) >= static_cast<size_t>(kNameSize) ||
        HasLineBreak(name))
        return SubkeyUse::kUnshowable;
    strcpy(entry->name, name);
    if (!subkey->key.Get() && RegOpenKeyExA(parent, name, 0, KEY_READ, subkey->key.Out()) != ERROR_SUCCESS)
        return SubkeyUse::kUnshowable;
    if (!ReadTarget(subkey, entry->target) || HasLineBreak(entry->target)) return SubkeyUse::kUnshowable;
    if (entry->target[0] == '\0') return SubkeyUse::kLeftOut;
    if (withNumbers) ReadNumbers(subkey->key.Get(), entry);
    return SubkeyUse::kEntry;
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

// Deletes every subkey that the list shows or left out on purpose, and none that it keeps
// out (`list`'s kept subkeys, and any it could not show now); false on the first failure.
bool DeleteSubkeysOfTheList(HKEY key, const EntryList& list) {
    DWORD index = 0;
    for (;;) {
        Subkey subkey;
        MenuExtEntry entry;
        SubkeyUse use = ReadSubkeyAt(key, index, false, &subkey, &entry);
        if (use == SubkeyUse::kNoMore) return true;
        if (use == SubkeyUse::kFailed) return false;
        if (use == SubkeyUse::kUnshowable || list.IsKeptSubkeyName(subkey.wideName.c_str())) {
            ++index;
            continue;
        }
        subkey.key.Close();
        // An entry's subkey normally has none of its own and goes in one call; only a refusal
        // walks the tree.
        if (RegDeleteKeyA(key, entry.name) != ERROR_SUCCESS && DeleteKeyTree(key, entry.name) != ERROR_SUCCESS)
            return false;
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

bool CountSubkeys(HKEY key, DWORD* subkeys) {
    *subkeys = 0;
    return RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, subkeys, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr) == ERROR_SUCCESS;
}

}  // namespace

bool RegistryMayHoldEntries() {
    KeyGuard key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kMenuExtKeyPath, 0, KEY_READ, key.Out()) != ERROR_SUCCESS) return false;
    DWORD subkeys;
    return !CountSubkeys(key.Get(), &subkeys) || subkeys != 0;
}

bool LoadFromRegistry(EntryList& list, int* keyFlag) {
    if (keyFlag) *keyFlag = 0;
    KeyGuard key;
    LONG opened = RegOpenKeyExA(HKEY_CURRENT_USER, kMenuExtKeyPath, 0, KEY_READ, key.Out());
    if (opened != ERROR_SUCCESS) {
        if (keyFlag && opened != ERROR_FILE_NOT_FOUND) *keyFlag = 1;
        return false;
    }
    if (keyFlag) *keyFlag = 1;
    DWORD subkeys;
    if (!CountSubkeys(key.Get(), &subkeys)) return false;

    bool complete = true;
    for (DWORD index = 0; index < subkeys; ++index) {
        Subkey subkey;
        MenuExtEntry entry = {};
        SubkeyUse use = ReadSubkeyAt(key.Get(), index, true, &subkey, &entry);
        if (use == SubkeyUse::kNoMore) break;
        if (use == SubkeyUse::kFailed) {
            complete = false;
            break;
        }
        if (use == SubkeyUse::kLeftOut) continue;
        entry.enabled = 1;
        // A name the list holds already under another spelling (lstrcmpiA calls more names
        // equal than the registry does) is as unshowable as a name that does not fit.
        if (use == SubkeyUse::kEntry && list.AddEntry(&entry) == kOk) continue;
        list.KeepSubkeyName(subkey.wideName.c_str());
        complete = false;
    }
    return complete;
}

bool SaveToRegistry(const EntryList& list) {
    KeyGuard key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kMenuExtKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                        nullptr, key.Out(), nullptr) != ERROR_SUCCESS)
        return false;
    if (!DeleteSubkeysOfTheList(key.Get(), list)) return false;
    return list.ForEach([&](int, const MenuExtEntry& e) { return !e.enabled || WriteSubkey(key.Get(), e); });
}
