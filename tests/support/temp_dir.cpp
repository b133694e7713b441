#include "tests/support/temp_dir.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>

TempDir::TempDir() {
    char base[MAX_PATH], name[MAX_PATH];
    GetTempPathA(sizeof(base), base);
    static unsigned serial = 0;
    do snprintf(name, sizeof(name), "%squorvil-%lu-%u\\", base, GetCurrentProcessId(), ++serial);
    while (!CreateDirectoryA(name, nullptr));
    path_ = name;
}

TempDir::~TempDir() {
    std::string from = path_.substr(0, path_.size() - 1) + '\0';  // a list ended by two zeros
    SHFILEOPSTRUCTA remove = {nullptr, FO_DELETE, from.c_str(), nullptr, FOF_NO_UI, FALSE, nullptr, nullptr};
    SHFileOperationA(&remove);
}

bool TempDir::WriteFile(const std::string& path, const std::string& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}

bool TempDir::ReadFile(const std::string& path, std::string* bytes) {
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return false;
    bytes->clear();
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof(buffer), f)) > 0;) bytes->append(buffer, n);
    fclose(f);
    return true;
}
