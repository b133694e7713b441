// The link control: subclassing of the static and of its parent, fitting, painting, hover
// tracking and the click.
#include "controls/hyperlink.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstring>

#include "controls/pointer_hover.h"
#include "shell/window_utils.h"

ShellExecuteProc linkShellExecute = ShellExecuteA;

namespace {

constexpr int kMaxTipWidth = 640;
constexpr int kTextLimit = 256;

// Shared by every attached link; one thread uses it.
struct SharedLinkState {
    int instanceCount;
    HWND hookedParent;
    WNDPROC parentProc;
    HWND tooltip;
    HWND hoveredControl;
};

SharedLinkState shared = {};

void CreateSharedTooltip(HWND control) {
    InitCommonControls();
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(control, GWLP_HINSTANCE));
    // A missing tooltip leaves the links working; the tool steps then report it.
    shared.tooltip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, GetParent(control), nullptr,
                                     instance, nullptr);
}

// The parent's child under a client point, or nullptr when there is none or another window
// covers it there. The parent itself when the point is on its own surface.
HWND ChildAt(HWND parent, LPARAM lParam) {
    // Taken unsigned: while the parent holds the capture, a point left of or above it comes
    // in as a large number and so lies outside every child.
    POINT point = {static_cast<LONG>(LOWORD(lParam)), static_cast<LONG>(HIWORD(lParam))};
    HWND child = ChildWindowFromPointEx(parent, point, CWP_ALL);
    if (!child) return nullptr;
    ClientToScreen(parent, &point);
    HWND top = WindowFromPoint(point);
    if (top != child && top != parent) return nullptr;
    return child;
}

}  // namespace

HyperLinkControl::HyperLinkControl()
    : control_(nullptr),
      previousProc_(nullptr),
      text_(),
      font_(nullptr),
      originalFont_(nullptr),
      normalText_(kLinkNormalColour),
      visitedText_(kLinkVisitedColour),
      hoverText_(kLinkHoverColour),
      normalBack_(GetSysColor(COLOR_BTNFACE)),
      visitedBack_(GetSysColor(COLOR_BTNFACE)),
      hoverBack_(GetSysColor(COLOR_BTNFACE)),
      hoverCursor_(nullptr),
      visited_(0),
      hover_(0),
      rect_() {}

HyperLinkControl::~HyperLinkControl() { Detach(); }

HyperLinkControl* HyperLinkControl::FromWindow(HWND window) {
    return window ? static_cast<HyperLinkControl*>(GetPropA(window, kLinkInstanceProperty)) : nullptr;
}

int HyperLinkControl::Attach(HWND control, int underline) {
    if (control_) return kLinkAlreadyAttached;
    if (!control) return kLinkMissingArgument;
    control_ = control;
    normalText_ = kLinkNormalColour;
    visitedText_ = kLinkVisitedColour;
    hoverText_ = kLinkHoverColour;
    normalBack_ = visitedBack_ = hoverBack_ = GetSysColor(COLOR_BTNFACE);
    visited_ = hover_ = 0;
    originalFont_ = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));

    if (++shared.instanceCount == 1) {
        shared.hookedParent = GetParent(control);
        shared.parentProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(shared.hookedParent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ParentProc)));
        CreateSharedTooltip(control);
    }
    AddTool();  // without a tooltip window there is nothing to add
    SetPropA(control, kLinkInstanceProperty, this);
    previousProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlProc)));
    SetHoverCursor(nullptr);
    SetUnderline(underline);  // a font that cannot be made leaves the dialog's own
    GetWindowTextA(control, text_, kTextLimit);
    SetText(text_);
    return kLinkOk;
}

HWND HyperLinkControl::Detach() {
    if (!control_) return nullptr;
    HWND control = control_;
    // The font goes away below; a control that lives on gets its own back first.
    if (IsWindow(control))
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(originalFont_), FALSE);
    if (font_) DeleteObject(font_);
    font_ = nullptr;
    originalFont_ = nullptr;
    hoverCursor_ = nullptr;
    RemoveTool();
    if (shared.hoveredControl == control) shared.hoveredControl = nullptr;
    EndHover(this);
    if (previousProc_) {
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
        RemovePropA(control, kLinkInstanceProperty);
    }
    if (--shared.instanceCount == 0) {
        if (shared.tooltip) DestroyWindow(shared.tooltip);
        shared.tooltip = nullptr;
        if (shared.parentProc)
            SetWindowLongPtrA(shared.hookedParent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(shared.parentProc));
        shared.parentProc = nullptr;
        shared.hookedParent = nullptr;
    }
    control_ = nullptr;
    previousProc_ = nullptr;
    text_[0] = '\0';
    return control;
}

int HyperLinkControl::SetColors(COLORREF normal, COLORREF visited, COLORREF hover) {
    if (!control_) return kLinkNotAttached;
    if (normal != kKeepColour) normalText_ = normal;
    if (visited != kKeepColour) visitedText_ = visited;
    if (hover != kKeepColour) hoverText_ = hover;
    InvalidateRect(control_, nullptr, TRUE);
    return kLinkOk;
}

HCURSOR HyperLinkControl::GetHoverCursor() const { return control_ ? hoverCursor_ : nullptr; }

HCURSOR HyperLinkControl::SetHoverCursor(HCURSOR cursor) {
    if (!control_) return nullptr;
    hoverCursor_ = cursor ? cursor : HandCursor();
    return hoverCursor_;
}

int HyperLinkControl::SetUnderline(int underline) {
    if (!control_) return kLinkNotAttached;
    HFONT current = reinterpret_cast<HFONT>(SendMessageA(control_, WM_GETFONT, 0, 0));
    LOGFONTA face = {};
    if (!GetObjectA(current ? current : GetStockObject(SYSTEM_FONT), sizeof(face), &face))
        return kLinkNoPlatformObject;
    face.lfUnderline = underline ? TRUE : FALSE;
    HFONT font = CreateFontIndirectA(&face);
    if (!font) return kLinkNoPlatformObject;
    SendMessageA(control_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (font_) DeleteObject(font_);
    font_ = font;
    FitToText();
    UpdateTool();  // without a tooltip window there is nothing to update
    return kLinkOk;
}

int HyperLinkControl::SetText(const char* text) {
    if (!control_) return kLinkNotAttached;
    if (!text) return kLinkMissingArgument;
    SetWindowTextA(control_, text);
    FitToText();
    UpdateTool();  // without a tooltip window there is nothing to update
    return kLinkOk;
}

int HyperLinkControl::GetText(char* buffer, int size) const {
    if (!control_ || !buffer || size <= 0) return 0;
    return GetWindowTextA(control_, buffer, size);
}

int HyperLinkControl::FitToText() {
    if (!control_) return kLinkNotAttached;
    HDC dc = GetDC(control_);
    HGDIOBJ oldFont = SelectObject(dc, font_ ? font_ : GetStockObject(SYSTEM_FONT));
    LONG style = static_cast<LONG>(GetWindowLongPtrA(control_, GWL_STYLE));
    LONG exStyle = static_cast<LONG>(GetWindowLongPtrA(control_, GWL_EXSTYLE));
    RECT window;
    GetWindowRect(control_, &window);
    char text[kTextLimit];
    int length = GetWindowTextA(control_, text, sizeof(text));
    SIZE extent = {};
    GetTextExtentPoint32A(dc, text, length, &extent);
    int cx = extent.cx, cy = extent.cy;

    if (style & SS_CENTERIMAGE) window.top = window.top + (window.bottom - window.top) / 2 - cy / 2;
    // SS_CENTER and SS_RIGHT are values of the style's low bits, not independent flags.
    POINT corner = {window.left, window.top};
    if (style & SS_CENTER)
        corner.x = window.right - (window.right - window.left) / 2 - cx / 2;
    else if (style & SS_RIGHT)
        corner.x = window.right - cx;

    if ((style & SS_SUNKEN) || (exStyle & WS_EX_STATICEDGE)) {
        cx += 2 * GetSystemMetrics(SM_CXBORDER);
        cy += 2 * GetSystemMetrics(SM_CYBORDER);
    } else if (exStyle & WS_EX_DLGMODALFRAME) {
        cx += 2 * GetSystemMetrics(SM_CXDLGFRAME);
        cy += 2 * GetSystemMetrics(SM_CYDLGFRAME);
    }
    if (exStyle & WS_EX_CLIENTEDGE) {
        cx += 2 * GetSystemMetrics(SM_CXEDGE);
        cy += 2 * GetSystemMetrics(SM_CYEDGE);
    }
    HWND parent = GetParent(control_);
    ScreenToClient(parent, &corner);
    MoveWindow(control_, corner.x, corner.y, cx, cy, TRUE);
    SelectObject(dc, oldFont);
    ReleaseDC(control_, dc);

    GetWindowRect(control_, &rect_);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect_), 2);
    return kLinkOk;
}

int HyperLinkControl::SendToTooltip(UINT message) {
    if (!shared.tooltip) return kLinkNotAttached;
    // The first layout of the record: every version of the tooltip control knows it.
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    // The tooltip watches the parent's mouse messages itself.
    info.uFlags = TTF_SUBCLASS;
    info.hwnd = GetParent(control_);
    info.uId = reinterpret_cast<UINT_PTR>(control_);
    info.rect = rect_;
    info.hinst = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(control_, GWLP_HINSTANCE));
    info.lpszText = text_;
    SendMessageA(shared.tooltip, message, 0, reinterpret_cast<LPARAM>(&info));
    return kLinkOk;
}

int HyperLinkControl::AddTool() {
    int result = SendToTooltip(TTM_ADDTOOLA);
    // Long texts wrap instead of running off the screen.
    if (result == kLinkOk) SendMessageA(shared.tooltip, TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
    return result;
}

int HyperLinkControl::RemoveTool() { return SendToTooltip(TTM_DELTOOLA); }

int HyperLinkControl::UpdateTool() {
    int result = SendToTooltip(TTM_NEWTOOLRECTA);
    return result == kLinkOk ? SendToTooltip(TTM_UPDATETIPTEXTA) : result;
}

void HyperLinkControl::Paint() {
    RECT client;
    GetClientRect(control_, &client);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(control_, &paint);
    COLORREF textColour = hover_ ? hoverText_ : visited_ ? visitedText_ : normalText_;
    COLORREF backColour = hover_ ? hoverBack_ : visited_ ? visitedBack_ : normalBack_;
    HBRUSH brush = CreateSolidBrush(backColour);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, textColour);
    HGDIOBJ oldFont = SelectObject(dc, font_ ? font_ : GetStockObject(SYSTEM_FONT));
    char text[kTextLimit];
    int length = GetWindowTextA(control_, text, sizeof(text));

    LONG style = static_cast<LONG>(GetWindowLongPtrA(control_, GWL_STYLE));
    UINT format = (style & SS_CENTERIMAGE) ? DT_SINGLELINE | DT_VCENTER : 0;
    if (style & SS_CENTER)
        format |= DT_CENTER;
    else if (style & SS_RIGHT)
        format |= DT_RIGHT;
    if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
    // The simple and the left-aligned-without-wrap statics do not wrap their text.
    if (!(style & 0xC)) format |= DT_WORDBREAK;
    DrawTextA(dc, text, length, &client, format);
    SelectObject(dc, oldFont);
    EndPaint(control_, &paint);
}

LRESULT CALLBACK HyperLinkControl::ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HyperLinkControl* link = FromWindow(window);
    if (!link) return DefWindowProcA(window, message, wParam, lParam);
    WNDPROC previous = link->previousProc_;
    switch (message) {
    case WM_DESTROY:
        link->Detach();
        return CallWindowProcA(previous, window, message, wParam, lParam);
    case WM_PAINT:
        link->Paint();
        return 0;
    default:
        return CallWindowProcA(previous, window, message, wParam, lParam);
    }
}

void HyperLinkControl::ShowHover(HWND parent) {
    hover_ = 1;
    // The capture brings the move that leaves the link even when it leaves the parent too.
    BeginHover(parent, this, hoverCursor_ ? hoverCursor_ : LoadCursorA(nullptr, IDC_ARROW));
    InvalidateRect(control_, nullptr, TRUE);
}

void HyperLinkControl::EndLinkHover() {
    HyperLinkControl* link = FromWindow(shared.hoveredControl);
    shared.hoveredControl = nullptr;
    if (!link || !link->hover_) return;
    link->hover_ = 0;
    EndHover(link);
    InvalidateRect(link->control_, nullptr, TRUE);
}

void HyperLinkControl::TrackHover(HWND parent, LPARAM lParam) {
    HWND child = ChildAt(parent, lParam);
    HyperLinkControl* link = child && child != parent ? FromWindow(child) : nullptr;
    // Anything but the hovered link ends its hover, other controls included: the pointer has
    // left the link.
    if (shared.hoveredControl && shared.hoveredControl != child) EndLinkHover();
    if (!link) return;
    shared.hoveredControl = child;
    if (!link->hover_) link->ShowHover(parent);
}

void HyperLinkControl::Click(HWND parent, LPARAM lParam) {
    HWND child = ChildAt(parent, lParam);
    HyperLinkControl* link = child && child != parent ? FromWindow(child) : nullptr;
    if (!link) return;
    link->visited_ = 1;
    InvalidateRect(child, nullptr, TRUE);
    // The shell reports its own failures, if any; the link has nothing to add.
    if (link->text_[0] != '\0') linkShellExecute(parent, nullptr, link->text_, nullptr, nullptr, SW_SHOWNORMAL);
}

LRESULT CALLBACK HyperLinkControl::ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Taken first: the last link may detach while this message is handled, which empties the
    // shared slot.
    WNDPROC next = shared.parentProc;
    switch (message) {
    case WM_MOUSEMOVE:
        TrackHover(window, lParam);
        break;
    case WM_LBUTTONDOWN:
        Click(window, lParam);
        break;
    case WM_SETCURSOR: {
        HyperLinkControl* link = FromWindow(shared.hoveredControl);
        if (link && link->hover_) return TRUE;
        break;
    }
    case WM_ACTIVATE:
        // Exactly 0: deactivated without being minimized, say by switching to another program.
        if (wParam == 0 && FromWindow(shared.hoveredControl)) EndLinkHover();
        break;
    default:
        break;
    }
    if (!next) return DefWindowProcA(window, message, wParam, lParam);
    return CallWindowProcA(next, window, message, wParam, lParam);
}
