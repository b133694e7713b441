// Sorting the entries by a column when its header is clicked.
#pragma once

#include <windows.h>

#include <cstdint>

// Sorts the leading rows by `column` (its subitem index), ascending on the first click and
// descending on the next click of the same column, and marks the list changed. Rows of a
// list of fewer than two do nothing.
void HeaderSort(HWND dialog, int column);

// Compares two ContextMask values at their lowest differing bit: -1 when only y has it, 1 when
// only x has it, 0 when equal. Ascending, a header sort puts the mask with the bit first, as
// the Contexts column reads from the left: a letter before a blank.
int CompareContexts(uint32_t x, uint32_t y);
