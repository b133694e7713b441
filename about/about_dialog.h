// The version dialog 9999: product, maker and link, and on request the system information
// with the report file.
#pragma once

#include <windows.h>

class HyperLinkControl;

// The dialog's link; one instance for the whole run, defined with the other program-wide
// objects and attached anew at every opening.
extern HyperLinkControl aboutLink;

// Runs the dialog modally, owned by `owner`. Returns the dialog's result, 1.
INT_PTR ShowAboutDialog(HINSTANCE instance, HWND owner);

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
