// Line splitting of a whole text file held in one zero-terminated buffer; free of windows.h
// so the parsers also build natively.
#pragma once

#include <cstddef>
#include <vector>

// Cuts a buffer into lines in place, at every CR and every LF. A run of CR and LF bytes is one
// separator, so empty lines never come out; a zero byte ends the text. Each splitter keeps its
// own position, so a line can be split further while the lines are being walked.
class LineSplitter {
public:
    explicit LineSplitter(char* text) : next_(text) {}

    // The next non-empty line, zero-terminated in place, or nullptr at the end of the text.
    char* Next();

private:
    char* next_;
};

// True when `text` begins with `prefix`, ASCII letters compared without regard to case.
bool StartsWithNoCase(const char* text, const char* prefix);

// Byte offsets, ascending, at which the lines of a text converted from Unicode begin that lost
// a character code page 932 has no form for.
using LossyLineStarts = std::vector<size_t>;

// Whether the line that begins at `line` of `text` is one of `lossy`.
bool IsLossyLine(const char* text, const char* line, const LossyLineStarts& lossy);
