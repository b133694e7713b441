#include "formats/csv_text.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "formats/text_lines.h"

namespace {

constexpr int kFieldCount = 5;
constexpr size_t kNumberSize = 16;

bool NeedsQuotes(const char* text) { return strpbrk(text, ",\"") != nullptr; }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// Decimal value with leading blanks and a sign; stops at the first non-digit. Wraps at 32 bits,
// so a negative number written for a value with bit 31 set reads back to the same bits.
uint32_t ParseDecimal(const char* text) {
    while (IsBlank(*text)) ++text;
    bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    uint32_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) value = value * 10 + static_cast<uint32_t>(*text - '0');
    return negative ? 0u - value : value;
}

bool ReadNumberField(const char* field, uint32_t* out) {
    char number[kNumberSize];
    if (!CsvUnquoteField(field, number, sizeof(number))) return false;
    *out = ParseDecimal(number);
    return true;
}

// Fills `entry` from the fields of one line; false when the line is to be left out.
bool ReadLine(char* line, MenuExtEntry& entry) {
    CsvLineCursor cursor;
    char* fields[kFieldCount];
    for (int i = 0; i < kFieldCount; ++i) {
        fields[i] = CsvNextField(i == 0 ? line : nullptr, &cursor);
        if (!fields[i]) return false;
    }
    uint32_t enabled = 0;
    if (!CsvUnquoteField(fields[0], entry.name, sizeof(entry.name)) ||
        !CsvUnquoteField(fields[1], entry.target, sizeof(entry.target)) ||
        !ReadNumberField(fields[2], &entry.contexts) || !ReadNumberField(fields[3], &entry.flags) ||
        !ReadNumberField(fields[4], &enabled))
        return false;
    entry.enabled = enabled != 0 ? 1 : 0;
    return entry.name[0] != '\0';
}

}  // namespace

int CsvQuoteField(const char* text, char* out) {
    if (!text || !out) return 0;
    if (!NeedsQuotes(text)) {
        strcpy(out, text);
        return 1;
    }
    *out++ = '"';
    for (; *text; ++text) {
        if (*text == '"') *out++ = '"';
        *out++ = *text;
    }
    *out++ = '"';
    *out = '\0';
    return 1;
}

char* CsvNextField(char* line, CsvLineCursor* cursor) {
    char* field = line ? line : cursor->next;
    if (!field || *field == '\0') {
        cursor->next = nullptr;
        return nullptr;
    }
    size_t leadingQuotes = strspn(field, "\"");
    bool insideQuotes = leadingQuotes % 2 == 1;
    char* p = insideQuotes ? field + 1 : field;
    for (;;) {
        if (*p == '\0') {
            cursor->next = p;
            break;
        }
        if (*p == ',' && !insideQuotes) {
            *p = '\0';
            cursor->next = p + 1;
            break;
        }
        if (*p == '"' && p[1] == '"') {
            p += 2;
            continue;
        }
        if (*p == '"') insideQuotes = false;
        ++p;
    }
    return field;
}

int CsvUnquoteField(const char* field, char* out, size_t outSize) {
    if (!field || !out || outSize == 0) return 0;
    size_t length = strlen(field);
    const char* begin = field;
    const char* end = field + length;
    if (field[0] == '"') {
        begin = field + 1;
        end = length >= 2 ? field + length - 1 : begin;
    }
    size_t written = 0;
    for (const char* p = begin; p < end; ++p) {
        if (written + 1 >= outSize) {
            out[0] = '\0';
            return 0;
        }
        if (p[0] == '"' && p + 1 < end && p[1] == '"') ++p;
        out[written++] = *p;
    }
    out[written] = '\0';
    return 1;
}

int FormatCsvLine(const MenuExtEntry& entry, char* out, size_t size) {
    char name[2 * kNameSize + 2];
    char target[2 * kTargetSize + 2];
    char plain[kTargetSize];
    size_t nameLength = strnlen(entry.name, kNameSize - 1);
    memcpy(plain, entry.name, nameLength);
    plain[nameLength] = '\0';
    CsvQuoteField(plain, name);
    size_t targetLength = strnlen(entry.target, kTargetSize - 1);
    memcpy(plain, entry.target, targetLength);
    plain[targetLength] = '\0';
    CsvQuoteField(plain, target);
    int length = snprintf(out, size, "%s,%s,%d,%d,%d\r\n", name, target, static_cast<int>(entry.contexts),
                          static_cast<int>(entry.flags), entry.enabled != 0 ? 1 : 0);
    return length >= 0 && static_cast<size_t>(length) < size ? length : -1;
}

void ParseCsvText(char* text, EntrySequence& out) { ParseCsvImportText(text, out, LossyLineStarts()); }

int ParseCsvImportText(char* text, EntrySequence& out, const LossyLineStarts& lossy) {
    LineSplitter lines(text);
    int leftOut = 0;
    while (char* line = lines.Next()) {
        bool lineLossy = IsLossyLine(text, line, lossy);
        MenuExtEntry entry = {};
        if (!ReadLine(line, entry)) continue;
        if (lineLossy)
            ++leftOut;
        else
            out.push_back(entry);
    }
    return leftOut;
}
