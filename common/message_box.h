// The program's one way of showing a message box, owned by the window that raises it.
#pragma once

#include <windows.h>

int ShowMessage(HWND owner, const char* text, const char* caption, UINT flags);
