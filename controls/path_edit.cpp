// The path edit control: subclassing, geometry, the browse button and its dialogs.
#include "controls/path_edit.h"

#include "settings/common_dialogs.h"

#include <cstring>
#include <new>

namespace {

const char kInstanceProperty[] = "CPathEditInst";
// "All files": one description/pattern pair and the closing NUL.
const char kDefaultFilter[] = "全てのファイル(*.*)\0*.*\0";

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
    previousProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProc)));
    BuildIcons();
    Invalidate();
    return kOk;
}

void PathEditControl::Detach() {
    if (!edit_) return;
    if (previousProc_) {
        SetWindowLongPtrA(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
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
    if (!filter) filter = kDefaultFilter;
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

void PathEditControl::BuildIcons() {}

LRESULT PathEditControl::CallPrevious(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(previousProc_, edit_, message, wParam, lParam);
}

LRESULT CALLBACK PathEditControl::WindowProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* control = static_cast<PathEditControl*>(GetPropA(edit, kInstanceProperty));
    if (!control) return DefWindowProcA(edit, message, wParam, lParam);
    return control->HandleMessage(message, wParam, lParam);
}

LRESULT PathEditControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY: {
        // Detaching forgets the previous procedure, which still has to see the message.
        WNDPROC previous = previousProc_;
        HWND edit = edit_;
        Detach();
        return CallWindowProcA(previous, edit, message, wParam, lParam);
    }
    case WM_SIZE: UpdateGeometry(); break;
    default: break;
    }
    return CallPrevious(message, wParam, lParam);
}
