#include "settings/common_dialogs.h"

#include <cstring>

namespace {

using FileDialogCall = BOOL(WINAPI*)(LPOPENFILENAMEA);

// From the system directory only, so that no file of that name beside the program is taken.
HMODULE CommonDialogLibrary() {
    static HMODULE library = [] {
        char path[MAX_PATH];
        const char name[] = "\\comdlg32.dll";
        UINT length = GetSystemDirectoryA(path, MAX_PATH);
        if (length == 0 || length + sizeof(name) > sizeof(path)) return static_cast<HMODULE>(nullptr);
        strcpy(path + length, name);
        return LoadLibraryA(path);
    }();
    return library;
}

BOOL CallFileDialog(const char* function, LPOPENFILENAMEA dialog) {
    HMODULE library = CommonDialogLibrary();
    FARPROC address = library ? GetProcAddress(library, function) : nullptr;
    if (!address) return FALSE;
    return reinterpret_cast<FileDialogCall>(reinterpret_cast<void*>(address))(dialog);
}

}  // namespace

BOOL WINAPI OpenFileDialog(LPOPENFILENAMEA dialog) { return CallFileDialog("GetOpenFileNameA", dialog); }

BOOL WINAPI SaveFileDialog(LPOPENFILENAMEA dialog) { return CallFileDialog("GetSaveFileNameA", dialog); }
