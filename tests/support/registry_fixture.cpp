#include "tests/support/registry_fixture.h"

#include "core/registry_store.h"

namespace {

// Wide functions: the ANSI ones give a name outside code page 932 as "?", which opens nothing.
bool DeleteTree(HKEY parent, const wchar_t* name) {
    HKEY key;
    if (RegOpenKeyExW(parent, name, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return false;
    wchar_t child[512];
    for (DWORD index = 0, size = 512; !RegEnumKeyExW(key, index, child, &size, 0, 0, 0, 0); size = 512)
        index += !DeleteTree(key, child);
    RegCloseKey(key);
    return RegDeleteKeyW(parent, name) == ERROR_SUCCESS;
}

}  // namespace

RegistryKeyGuard::RegistryKeyGuard() { DeleteMenuExtKey(); }
RegistryKeyGuard::~RegistryKeyGuard() { DeleteMenuExtKey(); }

void RegistryKeyGuard::DeleteMenuExtKey() {
    DeleteTree(HKEY_CURRENT_USER, L"Software\\Microsoft\\Internet Explorer\\MenuExt");
}

bool RegistryKeyGuard::MenuExtKeyExists() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kMenuExtKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

void RegistryKeyGuard::CreateSubkey(const char* name, const char* target, const DWORD* contexts, const DWORD* flags) {
    HKEY parent, key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kMenuExtKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &parent,
                              nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegCreateKeyExA(parent, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS);
    if (target)
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(target), DWORD(strlen(target) + 1));
    if (contexts) RegSetValueExA(key, "Contexts", 0, REG_DWORD, reinterpret_cast<const BYTE*>(contexts), 4);
    if (flags) RegSetValueExA(key, "Flags", 0, REG_DWORD, reinterpret_cast<const BYTE*>(flags), 4);
    RegCloseKey(key);
    RegCloseKey(parent);
}

std::vector<std::string> RegistryKeyGuard::SubkeyNames() {
    std::vector<std::string> names;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kMenuExtKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
    char name[512];
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof(name);
        if (RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.push_back(name);
    }
    RegCloseKey(key);
    return names;
}

bool RegistryKeyGuard::ReadSubkey(const char* name, std::string* target, DWORD* contexts, DWORD* flags) {
    HKEY parent, key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kMenuExtKeyPath, 0, KEY_READ, &parent) != ERROR_SUCCESS) return false;
    LONG opened = RegOpenKeyExA(parent, name, 0, KEY_READ, &key);
    RegCloseKey(parent);
    if (opened != ERROR_SUCCESS) return false;
    char value[1024] = {};
    DWORD size = sizeof(value);
    if (target) *target = RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) ==
                                  ERROR_SUCCESS ? value : "<none>";
    size = 4;
    if (contexts && RegQueryValueExA(key, "Contexts", nullptr, nullptr, reinterpret_cast<BYTE*>(contexts), &size))
        *contexts = 0xDEADBEEF;
    size = 4;
    if (flags && RegQueryValueExA(key, "Flags", nullptr, nullptr, reinterpret_cast<BYTE*>(flags), &size))
        *flags = 0xDEADBEEF;
    RegCloseKey(key);
    return true;
}

