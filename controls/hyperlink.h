// A static text control of a dialog turned into a link that the shell opens when clicked.
#pragma once

#include <windows.h>

// Results of the link's operations.
constexpr int kLinkOk = 0;
constexpr int kLinkNotAttached = -2;
constexpr int kLinkMissingArgument = -3;
constexpr int kLinkAlreadyAttached = -4;
constexpr int kLinkNoPlatformObject = -5;

// SetColors leaves a colour alone when given this.
constexpr COLORREF kKeepColour = static_cast<COLORREF>(-1);

constexpr COLORREF kLinkNormalColour = 0xFF0000;
constexpr COLORREF kLinkVisitedColour = 0x800080;
constexpr COLORREF kLinkHoverColour = 0x0000FF;

// The window property through which a link control finds its instance.
constexpr const char kLinkInstanceProperty[] = "CHyperLinkInst";

// How a click hands the link's text to the shell. Tests point it elsewhere, so that no
// browser or viewer is started.
using ShellExecuteProc = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
extern ShellExecuteProc linkShellExecute;

// Attached by subclassing the static control and its parent window. Every link attached at
// the same time must live in the same parent: the parent hook and the tooltip are shared.
class HyperLinkControl {
public:
    HyperLinkControl();
    ~HyperLinkControl();
    HyperLinkControl(const HyperLinkControl&) = delete;
    HyperLinkControl& operator=(const HyperLinkControl&) = delete;

    // Makes `control` a link, underlined when `underline` is non-zero. kLinkOk,
    // kLinkMissingArgument or kLinkAlreadyAttached.
    int Attach(HWND control, int underline);
    // Undoes Attach; runs by itself when the control is destroyed. Returns the control it was
    // attached to, or nullptr.
    HWND Detach();
    // The three text colours; kKeepColour leaves one unchanged. kLinkOk or kLinkNotAttached.
    int SetColors(COLORREF normal, COLORREF visited, COLORREF hover);
    // The cursor shown while the pointer is over the link; nullptr when not attached.
    HCURSOR GetHoverCursor() const;

    // With nullptr, the system's hand cursor (or the help viewer's on old systems).
    HCURSOR SetHoverCursor(HCURSOR cursor);
    int SetUnderline(int underline);
    // Sets the window text and fits the control to it; the text the shell gets stays as is.
    int SetText(const char* text);
    // Copies the control's current window text; returns the number of characters copied.
    int GetText(char* buffer, int size) const;
    // Sizes the control to its text, keeping the edge or centre its alignment names.
    int FitToText();
    int AddTool();
    int RemoveTool();
    int UpdateTool();

private:
    static LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static HyperLinkControl* FromWindow(HWND window);
    static void TrackHover(HWND parent, LPARAM lParam);
    static void Click(HWND parent, LPARAM lParam);
    static void EndLinkHover();
    void ShowHover(HWND parent);
    void Paint();
    // Sends `message` with this link's tool record to the shared tooltip.
    int SendToTooltip(UINT message);

    HWND control_;
    WNDPROC previousProc_;
    char text_[256];
    HFONT font_;
    HFONT originalFont_;
    COLORREF normalText_;
    COLORREF visitedText_;
    COLORREF hoverText_;
    COLORREF normalBack_;
    COLORREF visitedBack_;
    COLORREF hoverBack_;
    HCURSOR hoverCursor_;
    int visited_;
    int hover_;
    RECT rect_;
};
