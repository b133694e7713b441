// The path edit control: subclassing, geometry, the browse button and its dialogs.
#include "controls/path_edit.h"

#include "shell/common_dialogs.h"

#include <cstring>
#include <new>
#include <string>

#include "common/texts.h"
#include "controls/bmp_image.h"
#include "resources/path_edit_button.h"
#include "shell/window_utils.h"

namespace {

const char kInstanceProperty[] = "CPathEditInst";

// Length of a filter list up to and including the NUL that closes it.
size_t FilterLength(const char* filter) {
    size_t length = 0;
    while (filter[length] != '\0' || filter[length + 1] != '\0') ++length;
    return length + 2;
}

}  // namespace

PathEditControl::PathEditControl()
    : dialogs{OpenFileDialog, SaveFileDialog, SHBrowseForFolderA},
      previousProc_(nullptr),
      state_(0),
      edit_(nullptr),
      buttonRect_{},
      textRect_{},
      icon_(nullptr),
      disabledIcon_(nullptr),
      mode_(PathEditMode::OpenFile),
      dialogTitle_{},
      initialPath_{},
      filter_(nullptr),
      filterIndex_(1),
      useCurrentText_(0),
      dialogFlags_(kDefaultDialogFlags),
      defaultExtension_{} {}

PathEditControl::~PathEditControl() { Detach(); }

int PathEditControl::Attach(HWND edit, PathEditMode mode) {
    if (edit_) return kAlreadyAttached;
    if (!edit || static_cast<int32_t>(mode) == 0) return kMissingArgument;
    mode_ = mode;
    edit_ = edit;
    state_ = 0;
    icon_ = nullptr;
    disabledIcon_ = nullptr;
    dialogTitle_[0] = '\0';
    initialPath_[0] = '\0';
    defaultExtension_[0] = '\0';
    useCurrentText_ = 1;
    dialogFlags_ = kDefaultDialogFlags;
    SetFilter();  // refused in Folder mode, which has no filter
    UpdateGeometry();
    SetPropA(edit, kInstanceProperty, this);
    // Subclassed with the wide functions, which hand every message on as it came. Through an
    // ANSI procedure a typed double-byte character would reach the edit one byte at a time,
    // and the edit would make a wrong character of each byte.
    previousProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProc)));
    BuildIcons();
    Invalidate();
    return kOk;
}

void PathEditControl::Detach() {
    if (!edit_) return;
    if (previousProc_) {
        SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
        RemovePropA(edit_, kInstanceProperty);
    }
    delete[] filter_;
    filter_ = nullptr;
    if ((state_ & kIconsOwned) && icon_) DestroyIcon(icon_);
    if (disabledIcon_) DestroyIcon(disabledIcon_);
    icon_ = nullptr;
    disabledIcon_ = nullptr;
    edit_ = nullptr;
    previousProc_ = nullptr;
}

int PathEditControl::SetFilter(const char* filter) {
    if (!edit_ || mode_ == PathEditMode::Folder) return kNotAttached;
    if (!filter) filter = kAllFilesFilter;
    size_t length = FilterLength(filter);
    char* copy = new (std::nothrow) char[length];
    if (!copy) return kNoMemory;
    memcpy(copy, filter, length);
    delete[] filter_;
    filter_ = copy;
    return kOk;
}

int PathEditControl::SetText(const char* text) {
    if (!edit_) return kNotAttached;
    SetWindowTextA(edit_, text ? text : "");
    Invalidate();
    return kOk;
}

int PathEditControl::GetText(char* buffer, int capacity) const {
    if (!edit_ || !buffer) return 0;
    return GetWindowTextA(edit_, buffer, capacity);
}

void PathEditControl::Invalidate(const RECT* rect) { InvalidateRect(edit_, rect, FALSE); }

void PathEditControl::UpdateGeometry() {
    RECT client;
    GetClientRect(edit_, &client);
    textRect_ = client;
    textRect_.right -= client.bottom;
    buttonRect_ = {client.right - client.bottom, client.top, client.right, client.bottom};
    SendMessageA(edit_, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, buttonRect_.right - buttonRect_.left));
}

void PathEditControl::BuildIcons() {
    if (!edit_ || (state_ & kIconsOwned)) return;
    HBITMAP colour = BitmapFromBmpImage(kFolderPictureBmp, sizeof(kFolderPictureBmp));
    HBITMAP mask = BitmapFromBmpImage(kFolderMaskBmp, sizeof(kFolderMaskBmp));
    HICON icon = nullptr;
    if (colour && mask) {
        ICONINFO info = {TRUE, 0, 0, mask, colour};
        icon = CreateIconIndirect(&info);
    }
    if (colour) DeleteObject(colour);
    if (mask) DeleteObject(mask);
    if (!icon) return;  // the button is then drawn without a picture
    icon_ = icon;
    state_ |= kIconsOwned;
    if (disabledIcon_) DestroyIcon(disabledIcon_);
    disabledIcon_ = MakeDisabledIcon(icon_);
}

LRESULT PathEditControl::CallPrevious(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(previousProc_, edit_, message, wParam, lParam);
}

LRESULT CALLBACK PathEditControl::WindowProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* control = static_cast<PathEditControl*>(GetPropA(edit, kInstanceProperty));
    if (!control) return DefWindowProcW(edit, message, wParam, lParam);
    return control->HandleMessage(message, wParam, lParam);
}

LRESULT PathEditControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY: {
        // Detaching forgets the previous procedure, which still has to see the message.
        WNDPROC previous = previousProc_;
        HWND edit = edit_;
        Detach();
        return CallWindowProcW(previous, edit, message, wParam, lParam);
    }
    case WM_SIZE: UpdateGeometry(); break;
    case WM_SETFOCUS:
        state_ |= kFocused;
        Invalidate();
        break;
    case WM_KILLFOCUS:
        state_ &= ~kFocused;
        Invalidate();
        break;
    case WM_PAINT: Paint(wParam, lParam); return 0;
    case WM_MOUSEMOVE: OnMouseMove(lParam); break;
    case WM_LBUTTONDOWN:
        if (OnButtonDown(lParam)) return 0;
        break;
    case WM_LBUTTONUP:
        OnButtonUp(lParam);
        // The window may have been destroyed while the browse dialog ran.
        if (!edit_) return 0;
        break;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONUP:
        // No word selection and no edit menu on the button.
        if (OnButton(lParam)) return 0;
        break;
    default: break;
    }
    return CallPrevious(message, wParam, lParam);
}

bool PathEditControl::OnButton(LPARAM lParam) const {
    POINT point = {static_cast<LONG>(LOWORD(lParam)), static_cast<LONG>(HIWORD(lParam))};
    return PtInRect(&buttonRect_, point) != FALSE;
}

void PathEditControl::Paint(WPARAM wParam, LPARAM lParam) {
    CallPrevious(WM_PAINT, wParam, lParam);
    InvalidateRect(edit_, &buttonRect_, FALSE);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(edit_, &paint);
    const bool enabled = IsWindowEnabled(edit_) != FALSE;
    const bool pressed = (state_ & kPressed) != 0;
    UINT face = DFCS_BUTTONPUSH | (!enabled ? DFCS_INACTIVE : pressed ? DFCS_PUSHED : 0);
    RECT button = buttonRect_;
    DrawFrameControl(dc, &button, DFC_BUTTON, face);
    ICONINFO info;
    if (icon_ && GetIconInfo(icon_, &info)) {
        BITMAP bitmap = {};
        GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
        if (info.hbmColor) DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        const int shift = pressed ? 1 : 0;
        int x = buttonRect_.left + (buttonRect_.right - buttonRect_.left) / 2 - bitmap.bmWidth / 2 + shift;
        int y = buttonRect_.bottom / 2 - bitmap.bmHeight / 2 + shift;
        DrawIconEx(dc, x, y, enabled ? icon_ : disabledIcon_, 0, 0, 0, nullptr, DI_NORMAL);
    }
    if (state_ & kFocused) {
        RECT focus = {buttonRect_.left + 1, buttonRect_.top + 1, buttonRect_.right - 2, buttonRect_.bottom - 2};
        DrawFocusRect(dc, &focus);
    }
    EndPaint(edit_, &paint);
}

bool PathEditControl::OnButtonDown(LPARAM lParam) {
    if (!(state_ & kFocused)) SetFocus(edit_);
    if (OnButton(lParam)) {
        // Swallowed: the edit would start a selection and capture the mouse.
        state_ |= kArmed | kPressed;
        Invalidate();
        return true;
    }
    POINT point = {static_cast<LONG>(LOWORD(lParam)), static_cast<LONG>(HIWORD(lParam))};
    if (PtInRect(&textRect_, point)) state_ |= kTextPress;
    return false;
}

void PathEditControl::ReleaseHoverCapture() {
    state_ &= ~kHoverCapture;
    ReleaseCapture();
}

void PathEditControl::OnMouseMove(LPARAM lParam) {
    const bool onButton = OnButton(lParam);
    if (state_ & kArmed) state_ |= kMovedWhileArmed;
    if (!(state_ & (kMovedWhileArmed | kTextPress | kHoverCapture)) && onButton) {
        // Captured so that leaving the button is noticed and the arrow can go again.
        state_ |= kHoverCapture;
        SetCapture(edit_);
        SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    }
    if ((state_ & kHoverCapture) && !(state_ & kMovedWhileArmed) && !onButton) ReleaseHoverCapture();
    if (state_ & kMovedWhileArmed) {
        if (onButton && !(state_ & kPressed)) {
            state_ |= kPressed;
            Invalidate();
        } else if (!onButton && (state_ & kPressed)) {
            state_ &= ~kPressed;
            Invalidate();
        }
    }
}

void PathEditControl::OnButtonUp(LPARAM lParam) {
    const bool onButton = OnButton(lParam);
    const bool wasArmed = (state_ & kArmed) != 0;
    state_ &= ~(kArmed | kPressed | kMovedWhileArmed | kTextPress);
    if ((state_ & kHoverCapture) && !onButton) ReleaseHoverCapture();
    if (wasArmed && onButton) {
        if (state_ & kHoverCapture) ReleaseHoverCapture();
        // The result only says whether a path was chosen; the field shows it either way.
        switch (mode_) {
        case PathEditMode::OpenFile: BrowseOpenFile(); break;
        case PathEditMode::SaveFile: BrowseSaveFile(); break;
        case PathEditMode::Folder: BrowseFolder(); break;
        default: break;
        }
    }
    if (edit_) Invalidate();
}

void PathEditControl::StartPath(char* path) const {
    lstrcpynA(path, initialPath_, MAX_PATH);
    if (useCurrentText_ && GetWindowTextLengthA(edit_) > 0) {
        GetWindowTextA(edit_, path, MAX_PATH);
        TrimBlanksAndQuotes(path);
    }
    // Byte-wise: a slash is never the second byte of a double-byte character.
    for (char* c = path; *c; ++c)
        if (*c == '/') *c = '\\';
}

int PathEditControl::BrowseFile(bool save) {
    char start[MAX_PATH], directory[MAX_PATH] = "", file[MAX_PATH] = "";
    StartPath(start);
    SplitPath(start, directory, file, false);
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = edit_;
    dialog.lpstrFilter = filter_;
    dialog.nFilterIndex = static_cast<DWORD>(filterIndex_);
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrInitialDir = directory[0] ? directory : nullptr;
    dialog.lpstrTitle = dialogTitle_[0] ? dialogTitle_ : nullptr;
    dialog.lpstrDefExt = defaultExtension_[0] ? defaultExtension_ : nullptr;
    const DWORD defaultFlags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | (save ? 0 : OFN_FILEMUSTEXIST);
    dialog.Flags = dialogFlags_ == kDefaultDialogFlags ? defaultFlags : static_cast<DWORD>(dialogFlags_);
    if (!(save ? dialogs.getSaveFileName : dialogs.getOpenFileName)(&dialog)) return kCancelled;
    SetText(file);
    return kOk;
}

int PathEditControl::BrowseOpenFile() { return BrowseFile(false); }

int PathEditControl::BrowseSaveFile() { return BrowseFile(true); }

namespace {

bool IsFolderOnDisk(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int CALLBACK SelectStartFolder(HWND browser, UINT message, LPARAM, LPARAM startPath) {
    if (message == BFFM_INITIALIZED && startPath) SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, startPath);
    return 0;
}

}  // namespace

int PathEditControl::BrowseFolder() {
    char start[MAX_PATH];
    StartPath(start);
    // Character-wise: the last byte can be the second byte of a double-byte character.
    char* last = nullptr;
    for (char* c = start; *c; c = CharNextA(c)) last = c;
    if (last && *last == '\\') *last = '\0';
    BROWSEINFOA browse = {};
    browse.hwndOwner = edit_;
    browse.lpszTitle = dialogTitle_;
    browse.ulFlags = dialogFlags_ == kDefaultDialogFlags ? 0 : static_cast<UINT>(dialogFlags_);
    browse.lpfn = SelectStartFolder;
    browse.lParam = reinterpret_cast<LPARAM>(start);
    CoInitialize(nullptr);
    LPITEMIDLIST item = dialogs.browseForFolder(&browse);
    CoUninitialize();
    if (!item) return kCancelled;
    char path[MAX_PATH] = "";
    // A virtual folder (the printers, the network) has no path: the field keeps its text.
    // Wine answers such a folder's parsing name ("::{...}") as if it were a path, so only a
    // folder that exists on disk counts.
    const bool hasPath = SHGetPathFromIDListA(item, path) && IsFolderOnDisk(path);
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator))) {
        allocator->Free(item);
        allocator->Release();
    }
    if (!hasPath) return kCancelled;
    SetText(path);
    return kOk;
}

void TrimBlanksAndQuotes(char* text) {
    // Blanks and quotes are below 0x40, so no byte of a double-byte character is taken for one.
    auto strip = [](char c) { return c == ' ' || c == '"'; };
    char* start = text;
    while (strip(*start)) ++start;
    size_t length = strlen(start);
    while (length > 0 && strip(start[length - 1])) --length;
    memmove(text, start, length);
    text[length] = '\0';
}

int SplitPath(const char* path, char* directory, char* name, bool keepSeparator) {
    if (!path || path[0] == '\0') return -1;
    size_t begin = 0, end = strlen(path);
    if (path[0] == '"') {
        begin = 1;
        if (end > 1 && path[end - 1] == '"') --end;
    }
    int last = LastSeparator(std::string(path + begin, end - begin).c_str());
    size_t separator = last < 0 ? end : begin + static_cast<size_t>(last);
    auto copy = [](char* out, const char* from, size_t length) {
        if (length >= MAX_PATH) length = 0;
        memcpy(out, from, length);
        out[length] = '\0';
    };
    if (separator == end) {
        copy(directory, path, 0);
        copy(name, path + begin, end - begin);
        return static_cast<int>(end - begin);
    }
    const bool afterColon = separator > begin && path[separator - 1] == ':';
    copy(directory, path + begin, separator - begin + ((afterColon || keepSeparator) ? 1 : 0));
    copy(name, path + separator + 1, end - separator - 1);
    return static_cast<int>(end - separator - 1);
}

HBITMAP BitmapFromBmpImage(const BYTE* image, size_t length) {
    BmpImageLayout layout;
    if (!ReadBmpImageLayout(image, length, &layout)) return nullptr;
    const auto* info = reinterpret_cast<const BITMAPINFO*>(image + kBmpInfoOffset);
    const BYTE* bits = image + layout.bitsOffset;
    const int height = layout.height < 0 ? -layout.height : layout.height;
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = nullptr;
    if (layout.bitCount == 0) {
        bitmap = CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, bits, info, DIB_RGB_COLORS);
    } else {
        bitmap = layout.bitCount == 1 ? CreateBitmap(layout.width, height, 1, 1, nullptr)
                                      : CreateCompatibleBitmap(screen, layout.width, height);
        if (bitmap && !SetDIBits(screen, bitmap, 0, static_cast<UINT>(height), bits, info, DIB_RGB_COLORS)) {
            DeleteObject(bitmap);
            bitmap = nullptr;
        }
    }
    ReleaseDC(nullptr, screen);
    return bitmap;
}

HICON MakeDisabledIcon(HICON icon) {
    ICONINFO info;
    if (!icon || !GetIconInfo(icon, &info)) return nullptr;
    if (!info.hbmColor || !info.hbmMask) {
        if (info.hbmColor) DeleteObject(info.hbmColor);
        if (info.hbmMask) DeleteObject(info.hbmMask);
        return nullptr;
    }
    BITMAP size = {};
    GetObjectA(info.hbmColor, sizeof(size), &size);
    HDC colourDc = CreateCompatibleDC(nullptr);
    HDC maskDc = CreateCompatibleDC(nullptr);
    HGDIOBJ oldColour = SelectObject(colourDc, info.hbmColor);
    HGDIOBJ oldMask = SelectObject(maskDc, info.hbmMask);
    // Compared with what the bitmap keeps, which on a display of few colours is the nearest.
    const COLORREF grey = GetNearestColor(colourDc, GetSysColor(COLOR_GRAYTEXT));
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF opaque = RGB(0, 0, 0);
    for (int y = 0; y < size.bmHeight; ++y) {
        for (int x = 0; x < size.bmWidth; ++x) {
            if (GetPixel(maskDc, x, y) == opaque) SetPixelV(colourDc, x, y, grey);
            if (x > 0 && y > 0 && GetPixel(colourDc, x, y) != grey && GetPixel(colourDc, x - 1, y - 1) == grey) {
                SetPixelV(colourDc, x, y, highlight);
                SetPixelV(maskDc, x, y, opaque);
            }
        }
    }
    SelectObject(colourDc, oldColour);
    SelectObject(maskDc, oldMask);
    DeleteDC(colourDc);
    DeleteDC(maskDc);
    info.fIcon = TRUE;
    HICON disabled = CreateIconIndirect(&info);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return disabled;
}
