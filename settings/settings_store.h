// Per-user settings in "Quorvil.ini": window placement, list columns, list options and the
// positions of disabled entries, each user in sections of their own.
#pragma once

#include <windows.h>

#include <climits>

constexpr char kIniFileName[] = "Quorvil.ini";
constexpr char kMainSection[] = "Main";
constexpr char kListSection[] = "List";

// Read back from WindowLeft ... WindowHeight when the key is not in the file.
constexpr int kNotStored = INT_MIN;
constexpr int kColumnCount = 4;
// DisableItemPos is read and written through a buffer of this size, terminator included.
constexpr int kDisabledPositionsSize = 256;

class SettingsStore {
public:
    SettingsStore();  // logon name via GetUserNameA, "DefUser" on failure; iniPath "Quorvil.ini"
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    char iniPath[260];
    char userName[256];

    // A path that does not fit in iniPath is refused and the old one kept.
    void SetIniPath(const char* path);

    // Each output may be nullptr. placement: left, top, width, height in screen coordinates,
    // each kNotStored when missing.
    int LoadWindowPlacement(int* placement, int* showCommand, int* topMost);
    int SaveWindowPlacement(HWND window);
    int WriteWindowPlacement(const int* placement, int showCommand, int topMost);

    // A negative stored width reads as that column's default.
    int LoadColumnWidths(int* widths, int count);
    int SaveColumnWidths(const int* widths, int count);
    int LoadColumnOrder(int* order, int count);
    int SaveColumnOrder(const int* order, int count);

    int CountDisabledPositions();
    // Fills all `count` slots with -1, then the first ones with the stored positions.
    int LoadDisabledPositions(int* positions, int count);
    // Stores as many leading positions as fit in DisableItemPos; the rest are left out whole.
    int SaveDisabledPositions(const int* positions, int count);

    // -1 when sectionSuffix or key is nullptr.
    int ReadInt(const char* sectionSuffix, const char* key, int defaultValue);
    int WriteInt(const char* sectionSuffix, const char* key, int value);

private:
    void SectionName(const char* suffix, char* section) const;
    // The text of `key` in the user's section `suffix`, or `defaultValue` when it is missing.
    void ReadText(const char* suffix, const char* key, const char* defaultValue, char* text, int size) const;
    int WriteText(const char* suffix, const char* key, const char* text) const;
};

// Where the taskbar sits, from the window of class "Shell_TrayWnd"; its screen rectangle goes
// to taskbarRect (optional) when there is one.
constexpr int kTaskbarNone = 0;
constexpr int kTaskbarTop = 1;
constexpr int kTaskbarRight = 2;
constexpr int kTaskbarBottom = 3;
constexpr int kTaskbarLeft = 4;
int TaskbarEdge(RECT* taskbarRect);
