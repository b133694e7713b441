// Per-user settings in "Quorvil.ini", read and written through the private-profile
// functions at the moment they are asked for; nothing is cached.
#include "stores/settings_store.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr char kDefaultUser[] = "DefUser";
constexpr char kDefaultColumnOrder[] = "0,1,2,3";
constexpr int kDefaultColumnWidths[kColumnCount] = {180, 120, 40, 320};
constexpr int kColumnOrderSize = 32;
constexpr int kDefaultShowCommand = SW_SHOWDEFAULT;
// userName, the slash and the longer suffix, with room to spare.
constexpr int kSectionSize = 300;

const char* const kPlacementKeys[4] = {"WindowLeft", "WindowTop", "WindowWidth", "WindowHeight"};

// Number lists are split at commas; empty pieces (",,", a leading or trailing comma) are no
// tokens at all. Returns the start of the next token at or after `text`, or nullptr.
const char* NextToken(const char* text) {
    while (*text == ',') ++text;
    return *text ? text : nullptr;
}

const char* SkipToken(const char* token) {
    const char* comma = strchr(token, ',');
    return comma ? comma : token + strlen(token);
}

int CountTokens(const char* text) {
    int count = 0;
    for (const char* token = NextToken(text); token; token = NextToken(SkipToken(token))) ++count;
    return count;
}

// Converts the first `count` tokens into `numbers`: leading blanks and a sign are taken,
// conversion stops at the first other character, and a token without digits gives 0.
// Returns how many were converted.
int ConvertTokens(const char* text, int* numbers, int count) {
    int converted = 0;
    for (const char* token = NextToken(text); token && converted < count; token = NextToken(SkipToken(token)))
        numbers[converted++] = static_cast<int>(strtol(token, nullptr, 10));
    return converted;
}

// Joins numbers as "%d" separated by commas. A number that would not fit whole is left
// out together with all that follow it. Returns how many were joined.
int JoinNumbers(const int* numbers, int count, char* text, size_t size) {
    text[0] = '\0';
    size_t used = 0;
    int joined = 0;
    for (; joined < count; ++joined) {
        char piece[16];
        int length = snprintf(piece, sizeof(piece), joined == 0 ? "%d" : ",%d", numbers[joined]);
        if (used + length >= size) break;
        memcpy(text + used, piece, length + 1);
        used += length;
    }
    return joined;
}

}  // namespace

SettingsStore::SettingsStore() {
    DWORD size = sizeof(userName);
    if (!GetUserNameA(userName, &size) || userName[0] == '\0') strcpy(userName, kDefaultUser);
    strcpy(iniPath, kIniFileName);
}

SettingsStore::~SettingsStore() {
    iniPath[0] = '\0';
    userName[0] = '\0';
}

void SettingsStore::SetIniPath(const char* path) {
    if (path && strlen(path) < sizeof(iniPath)) strcpy(iniPath, path);
}

void SettingsStore::SectionName(const char* suffix, char* section) const {
    snprintf(section, kSectionSize, "%s/%s", userName, suffix);
}

void SettingsStore::ReadText(const char* suffix, const char* key, const char* defaultValue, char* text,
                             int size) const {
    char section[kSectionSize];
    SectionName(suffix, section);
    GetPrivateProfileStringA(section, key, defaultValue, text, size, iniPath);
}

bool SettingsStore::WriteText(const char* suffix, const char* key, const char* text) const {
    char section[kSectionSize];
    SectionName(suffix, section);
    return WritePrivateProfileStringA(section, key, text, iniPath) != FALSE;
}

int SettingsStore::ReadInt(const char* sectionSuffix, const char* key, int defaultValue) {
    if (!sectionSuffix || !key) return -1;
    char section[kSectionSize];
    SectionName(sectionSuffix, section);
    return static_cast<int>(GetPrivateProfileIntA(section, key, defaultValue, iniPath));
}

bool SettingsStore::WriteInt(const char* sectionSuffix, const char* key, int value) {
    if (!sectionSuffix || !key) return false;
    char text[16];
    snprintf(text, sizeof(text), "%d", value);
    return WriteText(sectionSuffix, key, text);
}

void SettingsStore::LoadOptions(Options* options) {
    for (const OptionRow& row : kOptionRows) options->*row.value = ReadInt(kListSection, row.key, 0);
}

void SettingsStore::SaveOptions(const Options& options) {
    // A value that cannot be written keeps its old one; the window still closes.
    for (const OptionRow& row : kOptionRows) WriteInt(kListSection, row.key, options.*row.value);
}

bool SettingsStore::ReadGridLines() { return ReadInt(kMainSection, "Grid", 0) != 0; }

bool SettingsStore::LoadWindowPlacement(int* placement, int* showCommand, int* topMost) {
    if (placement)
        for (int i = 0; i < 4; ++i) placement[i] = ReadInt(kMainSection, kPlacementKeys[i], kNotStored);
    if (showCommand) *showCommand = ReadInt(kMainSection, "ShowWindow", kDefaultShowCommand);
    if (topMost) *topMost = ReadInt(kMainSection, "TopMost", 0);
    return true;
}

bool SettingsStore::WriteWindowPlacement(const int* placement, int showCommand, int topMost) {
    if (!placement) return false;
    // A value that cannot be written keeps its old one; the window still closes.
    for (int i = 0; i < 4; ++i) WriteInt(kMainSection, kPlacementKeys[i], placement[i]);
    WriteInt(kMainSection, "ShowWindow", showCommand);
    WriteText(kMainSection, "TopMost", topMost ? "1" : "0");
    return true;
}

bool SettingsStore::SaveWindowPlacement(HWND window) {
    WINDOWPLACEMENT current = {};
    current.length = sizeof(current);
    if (!GetWindowPlacement(window, &current)) return false;
    const RECT& normal = current.rcNormalPosition;
    // The normal rectangle is measured from the work area, which starts beside the taskbar
    // when the taskbar sits at the top or left; the stored position is in screen coordinates.
    RECT taskbar;
    int edge = TaskbarEdge(&taskbar);
    int placement[4] = {normal.left, normal.top, normal.right - normal.left, normal.bottom - normal.top};
    if (edge == kTaskbarTop)
        placement[1] += taskbar.bottom;
    else if (edge == kTaskbarLeft)
        placement[0] += taskbar.right;
    // A program that starts minimised looks as if it had not started.
    int showCommand = static_cast<int>(current.showCmd);
    if (showCommand == SW_SHOWMINIMIZED || showCommand == SW_MINIMIZE) showCommand = SW_SHOWNORMAL;
    int topMost = (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    return WriteWindowPlacement(placement, showCommand, topMost);
}

bool SettingsStore::LoadColumnWidths(int* widths, int count) {
    if (!widths) return false;
    for (int i = 0; i < count; ++i) {
        char key[32];
        snprintf(key, sizeof(key), "%s%d", "ColWidth", i);
        int defaultWidth = kDefaultColumnWidths[i < kColumnCount ? i : kColumnCount - 1];
        widths[i] = ReadInt(kMainSection, key, defaultWidth);
        // A negative width draws the columns over each other; 0 is a column dragged shut.
        if (widths[i] < 0) widths[i] = defaultWidth;
    }
    return true;
}

bool SettingsStore::SaveColumnWidths(const int* widths, int count) {
    if (!widths) return false;
    for (int i = 0; i < count; ++i) {
        char key[32];
        snprintf(key, sizeof(key), "%s%d", "ColWidth", i);
        if (!WriteInt(kMainSection, key, widths[i])) return false;
    }
    return true;
}

bool SettingsStore::LoadColumnOrder(int* order, int count) {
    if (!order) return false;
    char text[kColumnOrderSize];
    ReadText(kMainSection, "ColOrder", kDefaultColumnOrder, text, sizeof(text));
    // A short order would leave columns out of the header; it falls back to the default.
    if (ConvertTokens(text, order, count) < CountTokens(kDefaultColumnOrder))
        ConvertTokens(kDefaultColumnOrder, order, count);
    return true;
}

bool SettingsStore::SaveColumnOrder(const int* order, int count) {
    if (!order) return false;
    char text[kColumnOrderSize];
    JoinNumbers(order, count, text, sizeof(text));
    return WriteText(kMainSection, "ColOrder", text);
}

int SettingsStore::CountDisabledPositions() {
    char text[kDisabledPositionsSize];
    ReadText(kListSection, "DisableItemPos", "", text, sizeof(text));
    return CountTokens(text);
}

bool SettingsStore::LoadDisabledPositions(int* positions, int count) {
    if (!positions) return false;
    for (int i = 0; i < count; ++i) positions[i] = -1;
    char text[kDisabledPositionsSize];
    ReadText(kListSection, "DisableItemPos", "", text, sizeof(text));
    ConvertTokens(text, positions, count);
    return true;
}

bool SettingsStore::SaveDisabledPositions(const int* positions, int count) {
    if (!positions && count > 0) return false;
    // Entries whose position is left out are appended at the end when they are restored.
    char text[kDisabledPositionsSize];
    JoinNumbers(positions, count, text, sizeof(text));
    return WriteText(kListSection, "DisableItemPos", text);
}

int TaskbarEdge(RECT* taskbarRect) {
    HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
    RECT rect;
    if (!taskbar || !GetWindowRect(taskbar, &rect)) return kTaskbarNone;
    if (taskbarRect) *taskbarRect = rect;
    if (rect.right - rect.left > rect.bottom - rect.top) return rect.top <= 0 ? kTaskbarTop : kTaskbarBottom;
    return rect.left <= 0 ? kTaskbarLeft : kTaskbarRight;
}
