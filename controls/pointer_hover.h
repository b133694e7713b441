// The pointer over something that acts as a link: the cursor it shows there, and the mouse
// capture that brings the move leaving it. Everything of the kind shares one hover at a time,
// so that a move from one straight onto another (the version dialog's icon and its link) hands
// the capture and the cursor to go back to over instead of losing them.
#pragma once

#include <windows.h>

// `holder` (any address that names the hovered thing) begins its hover in `window`: `cursor`
// (nullptr: the current one stays) is shown and `window` takes the capture. Nothing happens
// while `holder` hovers already.
void BeginHover(HWND window, const void* holder, HCURSOR cursor);

// Ends the hover of `holder`, if it still has it: the cursor from before the hover comes back
// and the capture goes. Nothing happens when another holder has taken the hover over.
void EndHover(const void* holder);

bool IsHovering(const void* holder);
