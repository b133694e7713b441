// The common file dialogs, taken from comdlg32 when the first one opens rather than at start-up.
#include "shell/common_dialogs.h"

#include "shell/window_utils.h"

namespace {

using FileDialogCall = BOOL(WINAPI*)(LPOPENFILENAMEA);

// From the system directory only, so that no file of that name beside the program is taken.
HMODULE CommonDialogLibrary() {
    static HMODULE library = [] {
        char path[MAX_PATH];
        return FolderFilePath(path, GetSystemDirectoryA, "\\comdlg32.dll") ? LoadLibraryA(path) : nullptr;
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
