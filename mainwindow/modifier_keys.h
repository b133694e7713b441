// Shift and Ctrl as they are held at the moment a command runs.
#pragma once

#include <windows.h>

// True while `virtualKey` is held down (the high bit of its asynchronous state).
bool IsKeyHeld(int virtualKey);

// Replaces GetAsyncKeyState for IsKeyHeld; tests use it to hold Shift or Ctrl. nullptr
// restores it.
using KeyStateReader = SHORT(WINAPI*)(int virtualKey);
void SetKeyStateReader(KeyStateReader reader);
