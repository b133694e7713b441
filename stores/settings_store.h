// Per-user settings in "Quorvil.ini": window placement, list columns, list options and the
// positions of disabled entries, each user in sections of their own.
#pragma once

#include <windows.h>

#include <climits>
#include <cstdint>

#include "resources/resource.h"

constexpr char kIniFileName[] = "Quorvil.ini";
constexpr char kMainSection[] = "Main";
constexpr char kListSection[] = "List";

// Read back from WindowLeft ... WindowHeight when the key is not in the file.
constexpr int kNotStored = INT_MIN;
constexpr int kColumnCount = 4;
// DisableItemPos is read and written through a buffer of this size, terminator included.
constexpr int kDisabledPositionsSize = 256;

// The list options, 0 for off and anything else for on (a number set by hand counts as on).
struct Options {
    int32_t DisSlash;      // disabled rows are hatched like the rows Internet Explorer leaves out
    int32_t DisBottom;     // disabled entries stay at the bottom of the list
    int32_t DisNoSavePos;  // restored disabled entries go to the end instead of their places
};

// One row per option: its key in the user's List section, its field, and its check box in the
// options dialog. A new option is a resource id, a line of the dialog's template and a row.
struct OptionRow {
    const char* key;
    int32_t Options::*value;
    int box;
};
constexpr OptionRow kOptionRows[] = {
    {"DisSlash", &Options::DisSlash, IDC_DIS_SLASH},
    {"DisBottom", &Options::DisBottom, IDC_DIS_BOTTOM},
    {"DisNoSavePos", &Options::DisNoSavePos, IDC_DIS_NO_SAVE_POS},
};

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
    bool LoadWindowPlacement(int* placement, int* showCommand, int* topMost);
    bool SaveWindowPlacement(HWND window);
    bool WriteWindowPlacement(const int* placement, int showCommand, int topMost);

    // A negative stored width reads as that column's default.
    bool LoadColumnWidths(int* widths, int count);
    bool SaveColumnWidths(const int* widths, int count);
    bool LoadColumnOrder(int* order, int count);
    bool SaveColumnOrder(const int* order, int count);

    // The options, each 0 when not stored; and written back, in the order of kOptionRows.
    void LoadOptions(Options* options);
    void SaveOptions(const Options& options);

    // Grid lines in the entry list: the Main section's Grid, which only a hand edit sets.
    bool ReadGridLines();

    int CountDisabledPositions();
    // Fills all `count` slots with -1, then the first ones with the stored positions.
    bool LoadDisabledPositions(int* positions, int count);
    // Stores as many leading positions as fit in DisableItemPos; the rest are left out whole.
    bool SaveDisabledPositions(const int* positions, int count);

    // -1 when sectionSuffix or key is nullptr.
    int ReadInt(const char* sectionSuffix, const char* key, int defaultValue);
    bool WriteInt(const char* sectionSuffix, const char* key, int value);

private:
    void SectionName(const char* suffix, char* section) const;
    // The text of `key` in the user's section `suffix`, or `defaultValue` when it is missing.
    void ReadText(const char* suffix, const char* key, const char* defaultValue, char* text, int size) const;
    bool WriteText(const char* suffix, const char* key, const char* text) const;
};

// Where the taskbar sits, from the window of class "Shell_TrayWnd"; its screen rectangle goes
// to taskbarRect (optional) when there is one.
constexpr int kTaskbarNone = 0;
constexpr int kTaskbarTop = 1;
constexpr int kTaskbarRight = 2;
constexpr int kTaskbarBottom = 3;
constexpr int kTaskbarLeft = 4;
int TaskbarEdge(RECT* taskbarRect);
