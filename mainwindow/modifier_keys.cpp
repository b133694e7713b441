// Shift and Ctrl as they are held at the moment a command runs.
#include "mainwindow/modifier_keys.h"

namespace {

KeyStateReader g_keyStateReader = GetAsyncKeyState;

}  // namespace

bool IsKeyHeld(int virtualKey) { return (g_keyStateReader(virtualKey) & 0x8000) != 0; }

void SetKeyStateReader(KeyStateReader reader) { g_keyStateReader = reader ? reader : GetAsyncKeyState; }
