// A single-line edit turned into a path field: a square browse button drawn inside its right
// end opens a file-open, file-save or folder dialog that starts at the field's path.
#pragma once

#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <cstddef>
#include <cstdint>

enum class PathEditMode : int32_t { OpenFile = 1, SaveFile = 2, Folder = 3 };

// The platform dialogs the browse button opens. Tests put their own functions here to see
// what a dialog would have been asked and to answer it.
struct PathEditDialogs {
    BOOL(WINAPI* getOpenFileName)(LPOPENFILENAMEA);
    BOOL(WINAPI* getSaveFileName)(LPOPENFILENAMEA);
    LPITEMIDLIST(WINAPI* browseForFolder)(LPBROWSEINFOA);
};

class PathEditControl {
public:
    static constexpr int kOk = 0;
    static constexpr int kNotAttached = -2;      // also: no filter list in Folder mode
    static constexpr int kMissingArgument = -3;
    static constexpr int kAlreadyAttached = -4;
    static constexpr int kNoMemory = -5;
    static constexpr int kCancelled = 1;         // a browse operation chose nothing

    // Bits of the state word.
    static constexpr uint32_t kFocused = 0x01;
    static constexpr uint32_t kArmed = 0x02;
    static constexpr uint32_t kPressed = 0x04;
    static constexpr uint32_t kMovedWhileArmed = 0x08;
    static constexpr uint32_t kTextPress = 0x10;
    static constexpr uint32_t kHoverCapture = 0x20;
    static constexpr uint32_t kIconsOwned = 0x40;

    // Dialog flags of this value mean the mode's default flags.
    static constexpr int32_t kDefaultDialogFlags = -2;

    PathEditControl();
    ~PathEditControl();
    PathEditControl(const PathEditControl&) = delete;
    PathEditControl& operator=(const PathEditControl&) = delete;

    int Attach(HWND edit, PathEditMode mode);
    void Detach();
    // A list of NUL-terminated description/pattern pairs closed by an extra NUL; nullptr
    // selects the default list (all files).
    int SetFilter(const char* filter = nullptr);
    int SetText(const char* text);
    int GetText(char* buffer, int capacity) const;

    int BrowseOpenFile();
    int BrowseSaveFile();
    int BrowseFolder();

    HWND Window() const { return edit_; }
    uint32_t State() const { return state_; }
    RECT ButtonRect() const { return buttonRect_; }
    RECT TextRect() const { return textRect_; }
    HICON Icon() const { return icon_; }
    HICON DisabledIcon() const { return disabledIcon_; }

    PathEditDialogs dialogs;

private:
    static LRESULT CALLBACK WindowProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT CallPrevious(UINT message, WPARAM wParam, LPARAM lParam);
    void UpdateGeometry();
    void BuildIcons();
    void Invalidate(const RECT* rect = nullptr);
    bool OnButton(LPARAM lParam) const;
    void Paint();
    bool OnButtonDown(LPARAM lParam);
    void OnMouseMove(LPARAM lParam);
    void OnButtonUp(LPARAM lParam);
    void ReleaseHoverCapture();
    int BrowseFile(bool save);
    void StartPath(char* path) const;

    WNDPROC previousProc_;
    uint32_t state_;
    HWND edit_;
    RECT buttonRect_;
    RECT textRect_;
    HICON icon_;
    HICON disabledIcon_;
    PathEditMode mode_;
    char dialogTitle_[MAX_PATH];
    char initialPath_[MAX_PATH];
    char* filter_;
    int32_t filterIndex_;
    int32_t useCurrentText_;
    int32_t dialogFlags_;
    char defaultExtension_[MAX_PATH];
};

// Strips leading blanks and double quotes, then trailing ones, in place (byte-wise: neither
// can be the second byte of a double-byte character).
void TrimBlanksAndQuotes(char* text);

// Splits `path` at its last backslash into `directory` and `name` (MAX_PATH bytes each; a
// part that does not fit comes back empty). The directory keeps the backslash after a drive
// colon, or always with `keepSeparator`; surrounding double quotes are dropped. Returns the
// length of the name, or -1 for an empty path.
int SplitPath(const char* path, char* directory, char* name, bool keepSeparator);

// A bitmap made from a complete BMP file image, or nullptr when the image is not a BMP or
// any of its sizes and offsets point outside `length` bytes.
HBITMAP BitmapFromBmpImage(const BYTE* image, size_t length);

// An embossed grey copy of `icon`, the look of a disabled button picture; nullptr when the
// icon has no bitmaps. The caller destroys it.
HICON MakeDisabledIcon(HICON icon);
