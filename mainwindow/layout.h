// Resizing of the main dialog: minimum size, controls that follow the edges, the size grip.
#pragma once

#include <windows.h>

// Side of the size-grip square in the client area's bottom-right corner, in pixels.
constexpr int kGripSize = 16;

// Start-up: the smallest outer window size, from 259 x 195 dialog units.
void ComputeMinTrackSize(HWND dialog);
void UpdateGripRect(HWND dialog);
void UpdateIconRect(HWND dialog);

// The dialog's client size right now, recorded so the next WM_SIZE moves by the difference.
void RecordClientSize(HWND dialog);

BOOL OnGetMinMaxInfo(MINMAXINFO* info);
BOOL OnSize(HWND dialog, UINT sizeType, int width, int height);
BOOL OnExitSizeMove(HWND dialog);
BOOL OnPaint(HWND dialog);

// HTBOTTOMRIGHT when the screen point in lParam lies on the grip, HTNOWHERE otherwise.
LRESULT GripHitTest(HWND dialog, LPARAM lParam);
