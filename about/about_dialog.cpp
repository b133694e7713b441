// The version dialog: the icon that expands it to the system information, the clicks that
// close it, and the report button.
#include "about/about_dialog.h"

#include "common/texts.h"
#include "about/report_file.h"
#include "about/system_info.h"
#include "controls/hyperlink.h"
#include "controls/pointer_hover.h"
#include "common/message_box.h"
#include "resources/resource.h"
#include "shell/window_utils.h"

namespace {

constexpr UINT_PTR kFillTimer = 9999;
constexpr UINT kFillDelayMs = 100;
constexpr int kExpandedMargin = 8;

constexpr COLORREF kAboutLinkNormal = RGB(0, 64, 255);
constexpr COLORREF kAboutLinkVisited = RGB(128, 0, 255);
constexpr COLORREF kAboutLinkHover = RGB(255, 0, 64);

// Per opening; lives in ShowAboutDialog and is found through DWLP_USER.
struct AboutState {
    HWND owner;
    int expanded;
    RECT iconRect;
    HCURSOR handCursor;
};

AboutState* StateOf(HWND dialog) { return reinterpret_cast<AboutState*>(GetWindowLongPtrA(dialog, DWLP_USER)); }

RECT ScreenRectOf(HWND dialog, int id) {
    RECT rect = {};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    return rect;
}

// Keeps position and width; the height runs from the window's top to `bottom` (screen).
void SetHeightTo(HWND dialog, LONG bottom) {
    RECT window;
    GetWindowRect(dialog, &window);
    SetWindowPos(dialog, nullptr, 0, 0, window.right - window.left, bottom - window.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Expand(HWND dialog, AboutState* state) {
    state->expanded = 1;
    HWND list = GetDlgItem(dialog, IDC_ABOUT_SYSTEM_LIST);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(kGatheringSystemInfo));
    SetHeightTo(dialog, ScreenRectOf(dialog, IDC_ABOUT_REPORT).bottom + kExpandedMargin);
    // The probing holds the thread; the timer lets the expanded dialog paint its waiting
    // line first.
    SetTimer(dialog, kFillTimer, kFillDelayMs, nullptr);
}

void Collapse(HWND dialog, AboutState* state) {
    state->expanded = 0;
    // Back to the opening height: the template ends with the hidden OK button.
    SetHeightTo(dialog, ScreenRectOf(dialog, IDOK).bottom + GetSystemMetrics(SM_CYDLGFRAME));
}

bool OnIcon(const AboutState* state, LPARAM lParam) {
    POINT point = {static_cast<LONG>(LOWORD(lParam)), static_cast<LONG>(HIWORD(lParam))};
    return PtInRect(&state->iconRect, point) != FALSE;
}

BOOL OnInitDialog(HWND dialog, AboutState* state) {
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    // The link detaches by itself when the dialog's controls go away.
    aboutLink.Attach(GetDlgItem(dialog, IDC_ABOUT_LINK), 1);
    aboutLink.SetColors(kAboutLinkNormal, kAboutLinkVisited, kAboutLinkHover);
    state->handCursor = aboutLink.GetHoverCursor();
    state->iconRect = ScreenRectOf(dialog, IDC_ABOUT_ICON);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&state->iconRect), 2);
    CenterWindow(dialog, state->owner);
    return TRUE;
}

BOOL OnCommand(HWND dialog, int id) {
    switch (id) {
    case IDOK:
    case IDCANCEL:
        PostMessageA(dialog, WM_CLOSE, 0, 0);
        return TRUE;
    case IDC_ABOUT_REPORT:
        if (!WriteReportFile(dialog, IDC_ABOUT_SYSTEM_LIST))
            ShowMessage(dialog, kReportFailed, kReportCaption, MB_OK | MB_ICONERROR);
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL OnClose(HWND dialog) {
    EndHover(StateOf(dialog));
    EndDialog(dialog, 1);
    return TRUE;
}

BOOL OnTimer(HWND dialog, UINT_PTR timer) {
    if (timer != kFillTimer) return FALSE;
    KillTimer(dialog, kFillTimer);
    FillSystemInfoList(dialog, IDC_ABOUT_SYSTEM_LIST);
    return TRUE;
}

BOOL OnMouseMove(HWND dialog, LPARAM lParam) {
    AboutState* state = StateOf(dialog);
    // The move that leaves the icon arrives even when it also leaves the dialog. A move from
    // the icon straight onto the link has handed the hover to the link already.
    if (OnIcon(state, lParam))
        BeginHover(dialog, state, state->handCursor);
    else
        EndHover(state);
    return TRUE;
}

BOOL OnClick(HWND dialog, LPARAM lParam) {
    AboutState* state = StateOf(dialog);
    // Statics let clicks through, so a click on any text or on the link closes as well.
    if (!OnIcon(state, lParam))
        PostMessageA(dialog, WM_CLOSE, 0, 0);
    else if (state->expanded)
        Collapse(dialog, state);
    else
        Expand(dialog, state);
    return TRUE;
}

}  // namespace

INT_PTR ShowAboutDialog(HINSTANCE instance, HWND owner) {
    AboutState state = {};
    state.owner = owner;
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutDialogProc,
                           reinterpret_cast<LPARAM>(&state));
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog, reinterpret_cast<AboutState*>(lParam));
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam));
    case WM_CLOSE: return OnClose(dialog);
    case WM_TIMER: return OnTimer(dialog, wParam);
    case WM_MOUSEMOVE: return OnMouseMove(dialog, lParam);
    case WM_LBUTTONDOWN: return OnClick(dialog, lParam);
    default: return FALSE;
    }
}
