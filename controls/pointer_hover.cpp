// One hover at a time for the program's links.
#include "controls/pointer_hover.h"

namespace {

struct Hover {
    HWND window;
    const void* holder;
    bool cursorSet;  // the hover changed the cursor, and `saved` is the one to go back to
    HCURSOR saved;
};

Hover g_hover = {};

}  // namespace

void BeginHover(HWND window, const void* holder, HCURSOR cursor) {
    if (!holder || g_hover.holder == holder) return;
    if (g_hover.holder && g_hover.window != window) EndHover(g_hover.holder);
    // Handed over within one window, the capture stays and so does the cursor from before the
    // first hover: the previous holder's own cursor is no place to go back to.
    bool handedOver = g_hover.holder != nullptr;
    g_hover.window = window;
    g_hover.holder = holder;
    if (cursor) {
        HCURSOR previous = SetCursor(cursor);
        if (!g_hover.cursorSet) g_hover.saved = previous;
        g_hover.cursorSet = true;
    }
    if (!handedOver) SetCapture(window);
}

void EndHover(const void* holder) {
    if (!holder || g_hover.holder != holder) return;
    Hover ended = g_hover;
    g_hover = {};
    if (ended.cursorSet) SetCursor(ended.saved);
    if (GetCapture() == ended.window) ReleaseCapture();
}

bool IsHovering(const void* holder) { return holder && g_hover.holder == holder; }
