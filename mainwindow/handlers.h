// Message handlers of the main dialog, one file per concern; MainDialogProc only dispatches.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

// startup.cpp
BOOL OnInitDialog(HWND dialog);

// commands.cpp
BOOL OnCommand(HWND dialog, int id);
BOOL OnInitMenuPopup(HWND dialog, HMENU menu);
BOOL OnDropFiles(HWND dialog, HDROP drop);
BOOL OnMouseWheel(HWND dialog, WPARAM wParam);

// list_notify.cpp
INT_PTR OnNotify(HWND dialog, NMHDR* header);
LRESULT CALLBACK ListViewKeyProc(HWND listView, UINT message, WPARAM wParam, LPARAM lParam);

// icon_link.cpp
BOOL OnIconMouseMove(HWND dialog, LPARAM lParam);
BOOL OnIconClick(HWND dialog, LPARAM lParam);
// Command 1801: the version dialog, modal, owned by the main dialog.
void OpenAboutDialog(HWND dialog);
