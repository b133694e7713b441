// Dialog 6000, the general settings: how disabled entries are drawn, ordered and restored.
#pragma once

#include <windows.h>

// Shows mainWindow.DisSlash, DisBottom and DisNoSavePos (any non-zero value ticks its box)
// and, on OK, stores each as exactly 0 or 1. Ends with IDOK or IDCANCEL.
INT_PTR CALLBACK OptionsDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
