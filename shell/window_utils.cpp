// Window placement, path and file-prompt helpers shared by the program's windows.
#include "shell/window_utils.h"

#include <shlobj.h>

#include <cstring>

#include "shell/common_dialogs.h"

namespace {

// The help viewer's pointing hand.
constexpr int kHandCursorId = 106;
constexpr char kHelpViewerName[] = "\\winhlp32.exe";

const MonitorFunctions* monitorOverride = nullptr;

// An exported function as a plain pointer, for the caller to cast to its real type.
void* Export(HMODULE module, const char* name) { return reinterpret_cast<void*>(GetProcAddress(module, name)); }

const MonitorFunctions& Monitors() {
    if (monitorOverride) return *monitorOverride;
    static const MonitorFunctions system = [] {
        MonitorFunctions found = {};
        HMODULE user = GetModuleHandleA("user32.dll");
        if (!user) return found;
        found.fromWindow = reinterpret_cast<decltype(found.fromWindow)>(Export(user, "MonitorFromWindow"));
        found.fromRect = reinterpret_cast<decltype(found.fromRect)>(Export(user, "MonitorFromRect"));
        found.getInfo = reinterpret_cast<decltype(found.getInfo)>(Export(user, "GetMonitorInfoA"));
        return found;
    }();
    return system;
}

bool MonitorWorkArea(HMONITOR monitor, RECT* work) {
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (!monitor || !Monitors().getInfo || !Monitors().getInfo(monitor, &info)) return false;
    *work = info.rcWork;
    return true;
}

void PrimaryWorkArea(RECT* work) {
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, work, 0))
        SetRect(work, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

// Releases a COM interface pointer when it goes out of scope.
template <typename Interface>
class Released {
public:
    Released() = default;
    ~Released() { if (pointer_) pointer_->Release(); }
    Released(const Released&) = delete;
    Released& operator=(const Released&) = delete;
    Interface** Out() { return &pointer_; }
    Interface* operator->() const { return pointer_; }

private:
    Interface* pointer_ = nullptr;
};

int PromptFile(HWND owner, char* buffer, const char* filter, int filterIndex, bool save) {
    if (!buffer) return -1;
    buffer[0] = '\0';
    char fileName[MAX_PATH] = "";
    OPENFILENAMEA dialog = {};
    // The first, shorter layout of the record: every system the program runs on knows it.
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter;
    dialog.nFilterIndex = filterIndex;
    dialog.lpstrFile = fileName;
    dialog.nMaxFile = sizeof(fileName);
    // The save dialog does not ask about overwriting; its callers do, after adding an extension.
    dialog.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | (save ? 0 : OFN_FILEMUSTEXIST);
    BOOL confirmed = save ? SaveFileDialog(&dialog) : OpenFileDialog(&dialog);
    if (!confirmed) return -1;
    lstrcpynA(buffer, fileName, MAX_PATH);
    return static_cast<int>(dialog.nFilterIndex);
}

}  // namespace

void CenterWindow(HWND window, HWND owner) {
    RECT own;
    RECT frame;
    GetWindowRect(window, &own);
    GetWindowRect(owner ? owner : GetDesktopWindow(), &frame);
    // A dialog belongs on the screen its owner is on, which need not be the primary one.
    RECT work;
    const MonitorFunctions& monitors = Monitors();
    HMONITOR monitor = owner && monitors.fromWindow ? monitors.fromWindow(owner, MONITOR_DEFAULTTONEAREST) : nullptr;
    if (!MonitorWorkArea(monitor, &work)) PrimaryWorkArea(&work);

    int width = own.right - own.left;
    int height = own.bottom - own.top;
    int x = frame.left + (frame.right - frame.left - width) / 2;
    int y = frame.top + (frame.bottom - frame.top - height) / 2;
    if (x < work.left)
        x = work.left;
    else if (x + width > work.right)
        x = work.right - width;
    if (y < work.top)
        y = work.top;
    else if (y + height > work.bottom)
        y = work.bottom - height;
    SetWindowPos(window, HWND_TOP, x, y, 0, 0, SWP_NOSIZE);
}

bool MeetsAnyWorkArea(const RECT& rect) {
    RECT area, common;
    if (Monitors().fromRect && Monitors().getInfo) {
        // The monitor sharing the most of the rectangle; its taskbar is no place to be either.
        HMONITOR monitor = Monitors().fromRect(&rect, MONITOR_DEFAULTTONULL);
        if (!monitor) return false;
        // A monitor whose work area cannot be read still holds the rectangle.
        return !MonitorWorkArea(monitor, &area) || IntersectRect(&common, &rect, &area);
    }
    int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (width > 0 && height > 0) {
        int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
        int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
        SetRect(&area, left, top, left + width, top + height);
    } else {
        PrimaryWorkArea(&area);
    }
    return IntersectRect(&common, &rect, &area) != FALSE;
}

void NearestWorkArea(const RECT& rect, RECT* work) {
    const MonitorFunctions& monitors = Monitors();
    HMONITOR monitor = monitors.fromRect ? monitors.fromRect(&rect, MONITOR_DEFAULTTONEAREST) : nullptr;
    if (!MonitorWorkArea(monitor, work)) PrimaryWorkArea(work);
}

void UseMonitorFunctions(const MonitorFunctions* functions) { monitorOverride = functions; }

int GetLongPathForm(const char* path, char* buffer, int capacity) {
    if (!path || !buffer) return 0;
    Released<IMalloc> allocator;
    if (FAILED(SHGetMalloc(allocator.Out()))) return 0;
    Released<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.Out()))) return 0;

    WCHAR widePath[MAX_PATH];
    if (MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH) == 0) return 0;
    LPITEMIDLIST items = nullptr;
    if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, widePath, nullptr, &items, nullptr))) return 0;
    char longPath[MAX_PATH] = "";
    BOOL converted = SHGetPathFromIDListA(items, longPath);
    allocator->Free(items);
    if (!converted || longPath[0] == '\0') return 0;

    int length = static_cast<int>(strlen(longPath));
    if (capacity <= length) return length + 1;
    memcpy(buffer, longPath, length + 1);
    return length;
}

namespace {

// `path` (shorter than MAX_PATH) into `buffer` (MAX_PATH bytes) in long-name form. A path the
// shell cannot parse (a vanished network share, a name it refuses) still names the place the
// executable was started from, so it is then kept as given.
void LongFormOrAsGiven(const char* path, char* buffer) {
    int converted = GetLongPathForm(path, buffer, MAX_PATH);
    if (converted <= 0 || converted >= MAX_PATH) strcpy(buffer, path);
}

// The executable's path as the system reports it; false when there is none or it was cut.
bool ReportedModulePath(char* path) {
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    // A cut path is not terminated on every system and names no real file.
    return length != 0 && length < MAX_PATH;
}

}  // namespace

int DirectoryOfModulePath(const char* modulePath, char* buffer, int withSeparator) {
    buffer[0] = '\0';
    char source[MAX_PATH];
    LongFormOrAsGiven(modulePath, source);
    int separator = LastSeparator(source);
    if (separator < 0) return 0;
    int length = withSeparator ? separator + 1 : separator;
    memcpy(buffer, source, length);
    buffer[length] = '\0';
    return length;
}

int LastSeparator(const char* path) {
    int last = -1;
    for (int i = 0; path[i] != '\0'; ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(path[i])) && path[i + 1] != '\0') {
            ++i;
            continue;
        }
        if (path[i] == '\\') last = i;
    }
    return last;
}

int GetModuleDirectory(char* buffer, int withSeparator) {
    buffer[0] = '\0';
    char modulePath[MAX_PATH];
    return ReportedModulePath(modulePath) ? DirectoryOfModulePath(modulePath, buffer, withSeparator) : 0;
}

int GetModulePath(char* buffer) {
    buffer[0] = '\0';
    char modulePath[MAX_PATH];
    if (!ReportedModulePath(modulePath)) return 0;
    LongFormOrAsGiven(modulePath, buffer);
    return static_cast<int>(strlen(buffer));
}

int FolderFilePath(char* path, UINT(WINAPI* folder)(LPSTR, UINT), const char* name) {
    path[0] = '\0';
    // Asked for the whole buffer, the query reports a folder that does not fit in it as the
    // size it would need, so `length` is never cut short.
    UINT length = folder(path, MAX_PATH);
    size_t nameSize = strlen(name) + 1;
    if (length == 0 || length + nameSize > MAX_PATH) {
        path[0] = '\0';
        return 0;
    }
    memcpy(path + length, name, nameSize);
    return 1;
}

int HelpViewerPath(char* path, UINT(WINAPI* windowsDirectory)(LPSTR, UINT)) {
    return FolderFilePath(path, windowsDirectory, kHelpViewerName);
}

HCURSOR LoadHelpViewerHandCursor() {
    char path[MAX_PATH];
    if (!HelpViewerPath(path)) return nullptr;
    // Only its resources are wanted: as a data file the module runs no code and also loads
    // when its bitness differs from the program's.
    HMODULE viewer = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!viewer) return nullptr;
    HCURSOR hand = LoadCursorA(viewer, MAKEINTRESOURCEA(kHandCursorId));
    // The loaded cursor belongs to the module; the copy outlives it.
    HCURSOR copy = hand ? static_cast<HCURSOR>(CopyIcon(hand)) : nullptr;
    FreeLibrary(viewer);
    return copy;
}

HCURSOR HandCursor() {
    // IDC_HAND is missing from older headers; the system cursor's number never changed.
    constexpr WORD kSystemHandCursor = 32649;
    static const HCURSOR hand = [] {
        HCURSOR system = LoadCursorA(nullptr, MAKEINTRESOURCEA(kSystemHandCursor));
        return system ? system : LoadHelpViewerHandCursor();
    }();
    return hand;
}

int PromptOpenFile(HWND owner, char* buffer, const char* filter, int filterIndex) {
    return PromptFile(owner, buffer, filter, filterIndex, false);
}

int PromptSaveFile(HWND owner, char* buffer, const char* filter, int filterIndex) {
    return PromptFile(owner, buffer, filter, filterIndex, true);
}
