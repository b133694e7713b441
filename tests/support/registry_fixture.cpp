#include "tests/support/registry_fixture.h"

#include <cstdio>

#include "core/menu_ext_entry.h"

namespace {

const std::wstring kMenuExtW = L"" QUORVIL_MENU_EXT_KEY;

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
    DeleteTree(HKEY_CURRENT_USER, kMenuExtW.c_str());
}

bool RegistryKeyGuard::MenuExtKeyExists() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kMenuExtKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

void RegistryKeyGuard::CreateSubkey(const char* name, const char* target, const DWORD* contexts, const DWORD* flags) {
    HKEY key;
    std::string path = std::string(kMenuExtKeyPath) + "\\" + name;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    if (target) RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(target), DWORD(strlen(target) + 1));
    if (contexts) RegSetValueExA(key, "Contexts", 0, REG_DWORD, reinterpret_cast<const BYTE*>(contexts), 4);
    if (flags) RegSetValueExA(key, "Flags", 0, REG_DWORD, reinterpret_cast<const BYTE*>(flags), 4);
    RegCloseKey(key);
}

void RegistryKeyGuard::CreateSubkeyW(const std::wstring& name, DWORD type, const std::string& bytes) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (kMenuExtW + L"\\" + name).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr), ERROR_SUCCESS);
    RegSetValueExW(key, nullptr, 0, type, reinterpret_cast<const BYTE*>(bytes.data()), DWORD(bytes.size()));
    RegCloseKey(key);
}

std::wstring RegistryKeyGuard::ReadSubkeyW(const std::wstring& name) {
    HKEY key;
    wchar_t value[300];
    DWORD size = sizeof(value);
    if (RegOpenKeyExW(HKEY_CURRENT_USER, (kMenuExtW + L"\\" + name).c_str(), 0, KEY_READ, &key)) return L"<missing>";
    LONG read = RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    return read ? L"<missing>" : std::wstring(value, size / 2);
}

std::vector<std::string> RegistryKeyGuard::SubkeyNames() {
    std::vector<std::string> names;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kMenuExtKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
    char name[512];
    for (DWORD i = 0, size = sizeof(name); !RegEnumKeyExA(key, i, name, &size, 0, 0, 0, 0); ++i, size = sizeof(name))
        names.push_back(name);
    RegCloseKey(key);
    return names;
}

std::string RegistryKeyGuard::ReadSubkey(const char* name) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(kMenuExtKeyPath) + "\\" + name).c_str(), 0, KEY_READ, &key))
        return "<missing>";
    char target[1024] = "<none>", text[1100];
    DWORD numbers[2] = {0xDEADBEEF, 0xDEADBEEF}, size = sizeof(target);
    RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(target), &size);
    for (int i = 0; i < 2; ++i)
        RegQueryValueExA(key, i ? "Flags" : "Contexts", nullptr, nullptr, reinterpret_cast<BYTE*>(&numbers[i]), &(size = 4));
    RegCloseKey(key);
    snprintf(text, sizeof(text), "%s|%x|%x", target, unsigned(numbers[0]), unsigned(numbers[1]));
    return text;
}
