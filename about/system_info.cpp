// The system probes: Windows, Internet Explorer, DirectX, four DLLs, screen, processor,
// memory and free resources, and the list lines made of them.
#include "about/system_info.h"

#include <cpuid.h>

#include <cstring>

#include "common/texts.h"
#include "resources/resource.h"

namespace {

constexpr int kRegistryVersionSize = 32;
constexpr int kCpuClockMilliseconds = 500;
constexpr DWORD kIdFlag = 0x200000;
constexpr DWORD kTscBit = 0x10;
// The extended function that reports the extended feature flags (3DNow! in bit 31,
// Enhanced 3DNow! in bit 30), and the one that reports the highest extended function.
constexpr unsigned kHighestExtendedFunction = 0x80000000u;
constexpr unsigned kExtendedFeatureFunction = 0x80000001u;

const char* const kDllNames[kSystemDllCount] = {"SHELL32.DLL", "SHLWAPI.DLL", "COMCTL32.DLL", "COMDLG32.DLL"};

// Names of the NT versions from 5.0 on; the ones not listed fall back to "Windows NTx.y".
struct NtName {
    DWORD major;
    DWORD minor;
    const char* name;
};
const NtName kNtNames[] = {
    {5, 0, "Windows 2000"},  {5, 1, "Windows XP"}, {5, 2, "Windows Server 2003"}, {6, 0, "Windows Vista"},
    {6, 1, "Windows 7"},     {6, 2, "Windows 8"},  {6, 3, "Windows 8.1"},         {10, 0, "Windows 10"},
};
// Windows 11 still calls itself 10.0; its builds start here.
constexpr DWORD kFirstWindows11Build = 22000;

// One part of a dotted version, read from its right end: a digit counts by its place, "-"
// negates what was read so far, anything else only takes a place. Unsigned arithmetic, so a
// long run of digits wraps instead of overflowing; only the low 16 bits are kept anyway.
DWORD ReadVersionPart(const char* begin, const char* end) {
    DWORD value = 0, place = 1;
    for (const char* p = end; p != begin; place *= 10) {
        --p;
        if (*p >= '0' && *p <= '9')
            value += static_cast<DWORD>(*p - '0') * place;
        else if (*p == '-')
            value = 0u - value;
    }
    return value;
}

DottedVersion RegistryVersion(const char* keyPath) {
    DottedVersion version = {};
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return version;
    // One byte more than asked for and zeroed, so a value stored without its NUL still ends.
    char text[kRegistryVersionSize + 1] = "";
    DWORD type = 0, size = kRegistryVersionSize;
    LONG result = RegQueryValueExA(key, "Version", nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return version;
    return ParseDottedVersion(text);
}

void Cpuid(unsigned function, unsigned* a, unsigned* b, unsigned* c, unsigned* d) { __cpuid(function, *a, *b, *c, *d); }

void IdentifyCpu(SystemInfo* info) {
    if (!HasCpuid()) return;
    unsigned a, b, c, d;
    Cpuid(0, &a, &b, &c, &d);
    if (a < 1) return;
    wsprintfA(info->cpuVendor, "%c%c%c%c%c%c%c%c%c%c%c%c", b & 0xFF, (b >> 8) & 0xFF, (b >> 16) & 0xFF, b >> 24,
              d & 0xFF, (d >> 8) & 0xFF, (d >> 16) & 0xFF, d >> 24, c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF,
              c >> 24);
    Cpuid(1, &a, &b, &c, &d);
    info->cpuSignature = a;
    info->cpuFeatures = d;
    Cpuid(kHighestExtendedFunction, &a, &b, &c, &d);
    if (a < kExtendedFeatureFunction) return;
    Cpuid(kExtendedFeatureFunction, &a, &b, &c, &d);
    info->cpuExtendedFeatures = d;
}

const char* Support(DWORD flags, int bit) { return (flags >> bit) & 1 ? "" : kInfoFeatureMissing; }

int High16(DWORD word) { return static_cast<int>(word >> 16); }
int Low16(DWORD word) { return static_cast<int>(word & 0xFFFF); }

// Free and total physical memory in bytes. GlobalMemoryStatus stops at 2 GB in a 32-bit program
// and wraps at 4 GB in a 64-bit one; GlobalMemoryStatusEx (Windows 2000 on) counts in 64 bits.
void PhysicalMemory(uint64_t* available, uint64_t* total) {
    using StatusEx = BOOL(WINAPI*)(LPMEMORYSTATUSEX);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto statusEx = reinterpret_cast<StatusEx>(
        reinterpret_cast<void*>(kernel ? GetProcAddress(kernel, "GlobalMemoryStatusEx") : nullptr));
    MEMORYSTATUSEX wide = {};
    wide.dwLength = sizeof(wide);
    if (statusEx && statusEx(&wide)) {
        *available = wide.ullAvailPhys;
        *total = wide.ullTotalPhys;
        return;
    }
    MEMORYSTATUS memory = {};
    memory.dwLength = sizeof(memory);
    GlobalMemoryStatus(&memory);
    *available = memory.dwAvailPhys;
    *total = memory.dwTotalPhys;
}

// A byte count in kilobytes for the "%d KB" lines, held below the largest int.
int Kilobytes(uint64_t bytes) {
    uint64_t kilobytes = bytes >> 10;
    return kilobytes > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(kilobytes);
}

}  // namespace

DottedVersion ParseDottedVersion(const char* text) {
    DWORD parts[4] = {};
    const char* begin = text ? text : "";
    for (int part = 0; part < 4; ++part) {
        // The fourth part runs to the end, dots and all.
        const char* end = part < 3 ? strchr(begin, '.') : nullptr;
        if (!end) end = begin + strlen(begin);
        parts[part] = ReadVersionPart(begin, end);
        if (*end == '\0') break;
        begin = end + 1;
    }
    DottedVersion version;
    version.high = (parts[0] & 0xFFFF) << 16 | (parts[1] & 0xFFFF);
    version.low = (parts[2] & 0xFFFF) << 16 | (parts[3] & 0xFFFF);
    return version;
}

void MakeOsName(const OSVERSIONINFOA& version, char* name) {
    name[0] = '\0';
    switch (version.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
        lstrcpyA(name, "Windows 3.1(Win32s)");
        break;
    case VER_PLATFORM_WIN32_WINDOWS:
        lstrcpyA(name, version.dwMinorVersion == 0 ? "Windows 95"
                       : version.dwMinorVersion == 90 ? "Windows Me"
                                                      : "Windows 98");
        break;
    case VER_PLATFORM_WIN32_NT:
        wsprintfA(name, "Windows NT%d.%d", static_cast<int>(version.dwMajorVersion),
                  static_cast<int>(version.dwMinorVersion));
        for (const NtName& known : kNtNames)
            if (known.major == version.dwMajorVersion && known.minor == version.dwMinorVersion)
                lstrcpyA(name, known.major == 10 && version.dwBuildNumber >= kFirstWindows11Build ? "Windows 11"
                                                                                                  : known.name);
        break;
    default:
        break;
    }
    if (version.szCSDVersion[0] == '\0') return;
    // Bounded by the record: a name of at most 19 bytes, a space and 127 bytes of text.
    lstrcatA(name, " ");
    lstrcpynA(name + lstrlenA(name), version.szCSDVersion, sizeof(version.szCSDVersion));
}

void ProbeSystem(SystemInfo* info) {
    memset(info, 0, sizeof(*info));
    info->version.dwOSVersionInfoSize = sizeof(info->version);
    if (GetVersionExA(&info->version)) {
        info->build = info->version.dwBuildNumber;
        MakeOsName(info->version, info->osName);
    }
    info->internetExplorer = RegistryVersion("Software\\Microsoft\\Internet Explorer");
    info->directX = RegistryVersion("Software\\Microsoft\\DirectX");
    for (int dll = 0; dll < kSystemDllCount; ++dll) GetDllVersion(kDllNames[dll], &info->dlls[dll]);
    IdentifyCpu(info);
}

bool GetDllVersion(const char* fileName, DottedVersion* version) {
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(fileName, &handle);
    if (size == 0) return false;
    void* block = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size);
    if (!block) return false;
    bool found = false;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (GetFileVersionInfoA(fileName, 0, size, block) &&
        VerQueryValueA(block, "\\", reinterpret_cast<void**>(&fixed), &length) && fixed) {
        version->high = fixed->dwFileVersionMS;
        version->low = fixed->dwFileVersionLS;
        found = true;
    }
    HeapFree(GetProcessHeap(), 0, block);
    return found;
}

void GetScreenInfo(int* width, int* height, int* colourBits) {
    HDC screen = GetDC(nullptr);
    *width = GetDeviceCaps(screen, HORZRES);
    *height = GetDeviceCaps(screen, VERTRES);
    *colourBits = GetDeviceCaps(screen, PLANES) * GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
}

bool HasCpuid() {
#if defined(__x86_64__)
    return true;
#else
    // The instruction exists when the ID flag of EFLAGS can be flipped.
    DWORD before, after;
    __asm__ volatile(
        "pushfl\n\t"
        "popl %0\n\t"
        "movl %0, %1\n\t"
        "xorl %2, %0\n\t"
        "pushl %0\n\t"
        "popfl\n\t"
        "pushfl\n\t"
        "popl %0\n\t"
        "pushl %1\n\t"
        "popfl"
        : "=&r"(after), "=&r"(before)
        : "i"(kIdFlag)
        : "cc");
    return ((before ^ after) & kIdFlag) != 0;
#endif
}

bool HasTsc() {
    if (!HasCpuid()) return false;
    unsigned a, b, c, d;
    Cpuid(0, &a, &b, &c, &d);
    if (a < 1) return false;
    Cpuid(1, &a, &b, &c, &d);
    return (d & kTscBit) != 0;
}

int MeasureCpuClock(uint64_t* hertz, int milliseconds) {
    if (!hertz) return kProbeMissingArgument;
    if (!HasTsc()) return kProbeNotApplicable;
    DWORD start = static_cast<DWORD>(__builtin_ia32_rdtsc());
    Sleep(milliseconds);
    DWORD ticks = static_cast<DWORD>(__builtin_ia32_rdtsc()) - start;
    // 64 bits: a clock above 4.29 GHz does not fit in 32.
    *hertz = static_cast<uint64_t>(ticks * (1000.0 / milliseconds));
    return kProbeOk;
}

int GetFreeResources(int* system, int* user, int* gdi) {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    if (GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT) return kProbeNotApplicable;
    HMODULE library = LoadLibraryA("RSRC32.DLL");
    if (!library) return kProbeLibraryMissing;
    using FreeResourcesProc = WORD(WINAPI*)(WORD);
    auto freeResources = reinterpret_cast<FreeResourcesProc>(
        reinterpret_cast<void*>(GetProcAddress(library, "_MyGetFreeSystemResources32@4")));
    if (!freeResources) {
        FreeLibrary(library);
        return kProbeLibraryMissing;
    }
    if (system) *system = freeResources(0);
    if (user) *user = freeResources(2);
    if (gdi) *gdi = freeResources(1);
    FreeLibrary(library);
    return kProbeOk;
}

void FormatSystemInfoLines(const SystemInfo& info, const SystemFigures& figures, SystemInfoLines* lines) {
    int n = 0;
    auto line = [&]() { return lines->text[n++]; };
    wsprintfA(line(), kInfoApplication, figures.application);
    wsprintfA(line(), kInfoOsName, info.osName);
    if (info.version.dwPlatformId == VER_PLATFORM_WIN32_NT)
        wsprintfA(line(), kInfoOsVersion, static_cast<int>(info.version.dwMajorVersion),
                  static_cast<int>(info.version.dwMinorVersion), static_cast<int>(info.build));
    else
        // The 9x platform keeps major and minor version in the build word's upper bytes.
        wsprintfA(line(), kInfoOsVersion, static_cast<int>(info.build >> 24),
                  static_cast<int>((info.build >> 16) & 0xFF), Low16(info.build));
    const DottedVersion& ie = info.internetExplorer;
    wsprintfA(line(), kInfoInternetExplorer, High16(ie.high), Low16(ie.high), High16(ie.low), Low16(ie.low));
    for (int dll = 0; dll < kSystemDllCount; ++dll)
        wsprintfA(line(), kInfoDll, kDllNames[dll], High16(info.dlls[dll].high), Low16(info.dlls[dll].high));
    const DottedVersion& dx = info.directX;
    wsprintfA(line(), kInfoDirectX, High16(dx.high), Low16(dx.high), High16(dx.low), Low16(dx.low));
    wsprintfA(line(), kInfoScreen, figures.screenWidth, figures.screenHeight, figures.colourBits);
    // Hundredths of a megahertz, so that 733.4 MHz reads 733.40.
    if (figures.clockResult == kProbeOk)
        wsprintfA(line(), kInfoCpuClock, info.cpuVendor, static_cast<int>(figures.cpuHertz / 1000000),
                  static_cast<int>(figures.cpuHertz / 10000 % 100));
    else
        wsprintfA(line(), kInfoCpuNoClock, info.cpuVendor);
    DWORD signature = info.cpuSignature;
    wsprintfA(line(), kInfoCpuType, static_cast<int>((signature >> 12) & 3),
              static_cast<int>((signature >> 8) & 0xF));
    wsprintfA(line(), kInfoCpuModel, static_cast<int>((signature >> 4) & 0xF),
              static_cast<int>(signature & 0xF));
    wsprintfA(line(), kInfoCpuFeature, "MMX", Support(info.cpuFeatures, 23));
    wsprintfA(line(), kInfoCpuFeature, "SSE", Support(info.cpuFeatures, 25));
    wsprintfA(line(), kInfoCpuFeature, "SSE2", Support(info.cpuFeatures, 26));
    wsprintfA(line(), kInfoCpuFeature, "3DNow!", Support(info.cpuExtendedFeatures, 31));
    wsprintfA(line(), kInfoCpuFeature, "Enhanced 3DNow!", Support(info.cpuExtendedFeatures, 30));
    wsprintfA(line(), kInfoFreeMemory, Kilobytes(figures.availablePhysical));
    wsprintfA(line(), kInfoTotalMemory, Kilobytes(figures.totalPhysical));
    if (figures.resourcesResult == kProbeOk)
        wsprintfA(line(), kInfoResources, figures.freeSystem, figures.freeUser, figures.freeGdi);
    lines->count = n;
}

int FillSystemInfoList(HWND dialog, int listId) {
    SystemInfo info;
    ProbeSystem(&info);
    // The clock measurement holds the thread for half a second.
    HCURSOR kept = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    HWND list = GetDlgItem(dialog, listId);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);

    SystemFigures figures = {};
    GetDlgItemTextA(dialog, IDC_ABOUT_PRODUCT, figures.application, sizeof(figures.application));
    GetScreenInfo(&figures.screenWidth, &figures.screenHeight, &figures.colourBits);
    figures.clockResult = MeasureCpuClock(&figures.cpuHertz, kCpuClockMilliseconds);
    PhysicalMemory(&figures.availablePhysical, &figures.totalPhysical);
    figures.resourcesResult = GetFreeResources(&figures.freeSystem, &figures.freeUser, &figures.freeGdi);

    SystemInfoLines lines;
    FormatSystemInfoLines(info, figures, &lines);
    // At the end (-1) rather than sorted: the list box is created sorted, the lines keep
    // their order.
    for (int i = 0; i < lines.count; ++i)
        SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(lines.text[i]));
    SetCursor(kept);
    return 1;
}
