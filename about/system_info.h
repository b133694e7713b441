// What the user's machine is, as the tab-separated lines of the version dialog's list.
#pragma once

#include <windows.h>

#include <cstdint>

constexpr int kOsNameSize = 256;
constexpr int kCpuVendorSize = 13;
// wsprintfA writes at most 1024 bytes, so no line can overrun one of these.
constexpr int kSystemInfoLineSize = 1024;
constexpr int kMaxSystemInfoLines = 21;

// Results of MeasureCpuClock and GetFreeResources.
constexpr int kProbeOk = 0;
constexpr int kProbeNotApplicable = -2;
constexpr int kProbeMissingArgument = -4;
constexpr int kProbeLibraryMissing = -10;

// The DLLs whose versions the list shows, in its order.
enum SystemDll { kShell32, kShlwapi, kComctl32, kComdlg32, kSystemDllCount };

// A version as two 32-bit words of two 16-bit parts each, most significant first.
struct DottedVersion {
    DWORD high;
    DWORD low;
};

struct SystemInfo {
    OSVERSIONINFOA version;
    DWORD build;
    char osName[kOsNameSize];
    DottedVersion internetExplorer;
    DottedVersion directX;
    DottedVersion dlls[kSystemDllCount];
    char cpuVendor[kCpuVendorSize];
    DWORD cpuSignature;
    DWORD cpuFeatures;
    DWORD cpuExtendedFeatures;
};

// What the list shows besides SystemInfo, measured when the list is filled.
struct SystemFigures {
    char application[256];
    int screenWidth;
    int screenHeight;
    int colourBits;
    int clockResult;  // of MeasureCpuClock
    uint64_t cpuHertz;
    uint64_t availablePhysical;  // bytes
    uint64_t totalPhysical;
    int resourcesResult;  // of GetFreeResources
    int freeSystem;
    int freeUser;
    int freeGdi;
};

struct SystemInfoLines {
    int count;
    char text[kMaxSystemInfoLines][kSystemInfoLineSize];
};

// Probes everything anew and fills list box `listId` of `dialog`, whose control 9996 holds
// the product line. Returns 1.
int FillSystemInfoList(HWND dialog, int listId);

void ProbeSystem(SystemInfo* info);

// The system's name from its version record, with the service-pack text appended.
void MakeOsName(const OSVERSIONINFOA& version, char* name);

// The lines of the list, in order: 20, or 21 when the free resources are known.
void FormatSystemInfoLines(const SystemInfo& info, const SystemFigures& figures, SystemInfoLines* lines);

// "a.b.c.d" into two words; missing parts count as 0.
DottedVersion ParseDottedVersion(const char* text);

// The file version of a DLL found by the system's usual search; false without a version
// resource.
bool GetDllVersion(const char* fileName, DottedVersion* version);

void GetScreenInfo(int* width, int* height, int* colourBits);

bool HasCpuid();
bool HasTsc();

// The processor's clock counted with the time-stamp counter over `milliseconds`:
// kProbeOk, kProbeNotApplicable without a counter, kProbeMissingArgument without `hertz`.
int MeasureCpuClock(uint64_t* hertz, int milliseconds);

// Free system, user and GDI resources in percent, on the Windows 9x platform only:
// kProbeOk, kProbeNotApplicable on NT, kProbeLibraryMissing. A null argument is skipped.
int GetFreeResources(int* system, int* user, int* gdi);
