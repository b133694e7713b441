// The CSV text of the entries: five fields a line (name, target, contexts, flags, enabled), no
// header line. Formatting and parsing of byte buffers, free of windows.h so the parser also
// builds natively.
#pragma once

#include <cstddef>

#include "core/menu_ext_entry.h"
#include "formats/text_lines.h"

// Room for the longest line: name and target both quoted with every byte a doubled quote,
// three numbers, the commas and CR LF.
constexpr size_t kCsvLineSize = 2 * kNameSize + 2 * kTargetSize + 64;

// Writes the written form of a field into `out` (room for twice the text, its two enclosing
// quotes and the terminator): the text unchanged, or in double quotes with every double quote
// doubled when it holds a comma or a double quote. 1, or 0 when either argument is missing.
int CsvQuoteField(const char* text, char* out);

// Where the field splitting of one line stands.
struct CsvLineCursor {
    char* next = nullptr;
};

// Splits the next field off a line in place: pass the line to start it, nullptr to go on with
// the same line. Returns the field as written (a leading quote included), or nullptr when the
// line is used up. A comma ends a field unless it is inside quotes; a doubled quote is data.
char* CsvNextField(char* line, CsvLineCursor* cursor);

// The value of a field: a field that begins with a double quote loses its first and its last
// character, and each doubled quote left becomes one. 1, or 0 when an argument is missing or
// the value needs more than `outSize` bytes with its terminator (out is then empty). A field
// that is one double quote reads as an empty value.
int CsvUnquoteField(const char* field, char* out, size_t outSize);

// One entry as a line ended by CR LF; the length written, or -1 when `size` is too small.
int FormatCsvLine(const MenuExtEntry& entry, char* out, size_t size);

// Appends the entries of a CSV text to `out` in text order; splits `text` in place. A line is
// left out when it has fewer than five fields, an empty name, or a field too long for its
// buffer (name 64 bytes, target 259, a number 15): cutting a path short would run the wrong
// script.
void ParseCsvText(char* text, EntrySequence& out);

// ParseCsvText for a text converted from Unicode: an entry whose line begins at an offset in
// `lossy` is left out, as its name or target would not be the one in the file. The number of
// entries left out so.
int ParseCsvImportText(char* text, EntrySequence& out, const LossyLineStarts& lossy);
