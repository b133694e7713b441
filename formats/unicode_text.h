// Unicode text turned into the code page 932 the program handles: the .reg files that begin
// with a byte-order mark, and names and values that the wide registry functions hand over.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "formats/reg_text.h"

constexpr UINT kProgramCodePage = 932;

// Whether the system keeps its strings in Unicode (Windows NT), so that the ANSI functions
// convert what they hand over; Windows 95 and 98 keep them in the ANSI code page.
bool SystemKeepsUnicode();

// Appends the code page 932 form of `length` UTF-16 units to `out` (may be nullptr to only
// check). False when a character has no exact form there; a best-fit look-alike (¥ for the
// backslash) counts as none, since it would turn into a different name or path.
bool AppendProgramCodePage(const wchar_t* text, size_t length, std::string* out);

// When `bytes` begins with the byte-order mark of UTF-16LE (FF FE) or of UTF-8 (EF BB BF): the
// text after it, up to its first zero character, converted line by line into `out`, the lines
// that lost a character noted in `lossy`; true. False for 8-bit text, which is read as it is.
bool ConvertMarkedText(const char* bytes, size_t size, std::string* out, LossyLineStarts* lossy);
