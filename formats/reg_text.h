// The REGEDIT4 text of the MenuExt key: formatting of the blocks the writer puts out and
// parsing of a whole file held in memory. Free of windows.h so the parser also builds natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/menu_ext_entry.h"
#include "formats/text_lines.h"

constexpr const char kRegHeader[] = "REGEDIT4";
// The first line of the files the registry editor exports since Windows 2000, in UTF-16; the
// file layer hands them over converted to code page 932.
constexpr const char kRegVersion5Header[] = "Windows Registry Editor Version 5.00";
constexpr const char kRegRootKey[] = "HKEY_CURRENT_USER";
// Key lines of entries begin with "[" and this prefix (compared without regard to ASCII case).
constexpr const char kRegKeyPrefix[] = "HKEY_CURRENT_USER\\" QUORVIL_MENU_EXT_KEY;

// Room for the header with the parent key block, and for the longest entry block: key line,
// default value with a target escaped to twice its length, and the two DWORD lines.
constexpr size_t kRegHeaderSize = 128;
constexpr size_t kRegBlockSize = 1024;

// Escapes a default value in place for the text between the quotes of an "@=" line: a backslash
// becomes two, a double quote becomes backslash and quote. Character-wise in code page 932: the
// second byte of a double-byte character (0x5C in 表 or ソ) is not a backslash and stays as it
// is, because the registry editor reads the text as characters. The caller provides room for
// twice the length plus the terminator.
void EscapeBackslashes(char* value);

// The inverse of EscapeBackslashes, in place: a doubled backslash gives one, a backslash before
// a double quote gives the quote, every other byte is kept. Also reads files whose escaping
// doubled the 0x5C second byte of double-byte characters as well.
void UnescapeBackslashes(char* value);

// The number after "dword:": hexadecimal digits read from the last character backwards, the
// weight growing sixteenfold per character, so only the last eight characters count and any
// character that is not a digit stands for 0.
uint32_t ParseHexDword(const char* text);

// The header and the parent key block; the length written, or -1 when `size` is too small.
int FormatRegHeader(char* out, size_t size);
// The four lines and the empty line of one entry; the length written, or -1 when `size` is
// too small.
int FormatRegEntryBlock(const MenuExtEntry& entry, char* out, size_t size);

// The number of entry key lines of a REGEDIT4 text (key lines under the prefix, the parent key
// itself excepted); 0 when the first line is not exactly "REGEDIT4". Splits `text` in place.
int CountRegEntryLines(char* text);

// Appends the entries of a REGEDIT4 text to `out` in text order, `enabled` 0. Splits and
// unescapes `text` in place. An entry whose name is longer than 64 bytes or whose target is
// longer than 259 bytes is left out: cutting a path short would run the wrong script.
void ParseRegText(char* text, EntrySequence& out);

// ParseRegText for files the user imports: the first line may also be the version-5 header, and
// an entry whose key line or default-value line begins at an offset in `lossy` is left out, as
// its name or target would not be the one in the file. The number of entries left out so.
int ParseRegImportText(char* text, EntrySequence& out, const LossyLineStarts& lossy);
