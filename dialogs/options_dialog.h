// Dialog 6000, the general settings: how disabled entries are drawn, ordered and restored.
#pragma once

#include <windows.h>

#include "stores/settings_store.h"

// Runs the dialog modally over `owner` on `options`: its boxes show them (any non-zero value
// ticks its box), and OK stores each as exactly 0 or 1. IDOK or IDCANCEL.
INT_PTR RunOptionsDialog(HWND owner, Options* options);

// The dialog's procedure; its creation parameter is the Options it edits.
INT_PTR CALLBACK OptionsDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
