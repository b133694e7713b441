#include "formats/reg_text.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "formats/text_lines.h"

namespace {

constexpr size_t kPrefixLength = sizeof(kRegKeyPrefix) - 1;

// Lead bytes of code page 932 double-byte characters. A lead byte takes the next byte with it
// whatever that is, so the escaper and the unescaper always agree on where characters begin.
bool IsLeadByte(char c) {
    unsigned char b = static_cast<unsigned char>(c);
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

uint32_t HexDigitValue(char c) {
    if (c >= '1' && c <= '9') return static_cast<uint32_t>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<uint32_t>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') return static_cast<uint32_t>(c - 'A' + 10);
    return 0;
}

// The backslash right after the prefix in the key line of an entry; nullptr for any other
// line, the line of the parent key included.
char* AfterKeyPrefix(char* line) {
    if (line[0] != '[' || !StartsWithNoCase(line + 1, kRegKeyPrefix)) return nullptr;
    // Only a backslash continues into a subkey: "...\MenuExtension\X" is another key, and the
    // parent key itself ("...\MenuExt]") names no entry.
    char* rest = line + 1 + kPrefixLength;
    return *rest == '\\' ? rest : nullptr;
}

bool CopyIfFits(char* dest, size_t destSize, const char* src) {
    size_t length = strlen(src);
    if (length >= destSize) return false;
    memcpy(dest, src, length + 1);
    return true;
}

// The entry being collected from the lines below one key line.
struct WorkRecord {
    MenuExtEntry entry;
    bool targetTooLong;
    bool entryKey;     // collected below a key line of an entry
    bool nameLossy;    // the key line lost a character in the conversion from Unicode
    bool targetLossy;  // the last default-value line did
};

void FlushRecord(WorkRecord& work, EntrySequence& out, int* leftOut) {
    if (work.entryKey && (work.nameLossy || work.targetLossy))
        ++*leftOut;
    else if (work.entry.name[0] != '\0' && !work.targetTooLong)
        out.push_back(work.entry);
    work = WorkRecord{};
}

void TakeKeyLine(char* line, WorkRecord& work, bool lossy) {
    char* rest = AfterKeyPrefix(line);
    if (!rest) return;
    work.entryKey = true;
    work.nameLossy = lossy;
    line[strlen(line) - 1] = '\0';  // the closing bracket
    if (!CopyIfFits(work.entry.name, sizeof(work.entry.name), rest + 1)) work.entry.name[0] = '\0';
}

void TakeDefaultValue(char* line, WorkRecord& work, bool lossy) {
    work.targetLossy = lossy;
    char* value = line[1] != '\0' ? line + 2 : line + 1;
    size_t length = strlen(value);
    if (length >= 2 && value[0] == '"' && value[length - 1] == '"') {
        value[length - 1] = '\0';
        ++value;
    }
    UnescapeBackslashes(value);
    work.targetTooLong = !CopyIfFits(work.entry.target, sizeof(work.entry.target), value);
    if (work.targetTooLong) work.entry.target[0] = '\0';
}

// "Contexts"=dword:... and "Flags"=dword:...; values of any other type are ignored.
bool ReadDwordValue(const char* line, const char* quotedName, uint32_t* out) {
    if (!StartsWithNoCase(line, quotedName)) return false;
    const char* rest = line + strlen(quotedName);
    if (*rest != '\0') ++rest;  // the "="
    if (StartsWithNoCase(rest, "dword:")) *out = ParseHexDword(rest + 6);
    return true;
}

bool FirstLineIsHeader(LineSplitter& lines, bool version5Too = false) {
    const char* first = lines.Next();
    return first && (strcmp(first, kRegHeader) == 0 || (version5Too && strcmp(first, kRegVersion5Header) == 0));
}

// `lossy` is nullptr for 8-bit text read as it stands, which takes only the REGEDIT4 header.
int ParseEntries(char* text, EntrySequence& out, const LossyLineStarts* lossy) {
    LineSplitter lines(text);
    if (!FirstLineIsHeader(lines, lossy != nullptr)) return 0;
    WorkRecord work = {};
    int leftOut = 0;
    while (char* line = lines.Next()) {
        bool lineLossy = lossy && IsLossyLine(text, line, *lossy);
        switch (line[0]) {
        case '[':
            FlushRecord(work, out, &leftOut);
            TakeKeyLine(line, work, lineLossy);
            break;
        case '@':
            TakeDefaultValue(line, work, lineLossy);
            break;
        default:
            if (!ReadDwordValue(line, "\"Contexts\"", &work.entry.contexts))
                ReadDwordValue(line, "\"Flags\"", &work.entry.flags);
            break;
        }
    }
    FlushRecord(work, out, &leftOut);
    return leftOut;
}

}  // namespace

void EscapeBackslashes(char* value) {
    size_t length = strlen(value);
    // Move the text to the upper half of the caller's room and copy it back escaped: the
    // writing position can never overtake the reading position.
    char* read = value + length;
    memmove(read, value, length + 1);
    char* write = value;
    while (*read != '\0') {
        if (IsLeadByte(*read) && read[1] != '\0') {
            *write++ = *read++;
            *write++ = *read++;
            continue;
        }
        if (*read == '\\' || *read == '"') *write++ = '\\';
        *write++ = *read++;
    }
    *write = '\0';
}

void UnescapeBackslashes(char* value) {
    const char* read = value;
    char* write = value;
    while (*read != '\0') {
        if (IsLeadByte(*read) && read[1] != '\0') {
            bool trailIsBackslash = read[1] == '\\';
            *write++ = *read++;
            *write++ = *read++;
            if (trailIsBackslash) {
                // Backslashes after such a character come in pairs, or odd before an escaped
                // quote; an odd run starts with the doubled second byte of an escaping that
                // worked byte by byte. Before a quote both readings give the same text.
                size_t run = strspn(read, "\\");
                if (run % 2 == 1) ++read;
            }
            continue;
        }
        if (read[0] == '\\' && (read[1] == '\\' || read[1] == '"')) ++read;
        *write++ = *read++;
    }
    *write = '\0';
}

uint32_t ParseHexDword(const char* text) {
    uint32_t value = 0;
    uint32_t weight = 1;
    for (size_t i = strlen(text); i-- > 0; weight *= 16) value += HexDigitValue(text[i]) * weight;
    return value;
}

int FormatRegHeader(char* out, size_t size) {
    int length = snprintf(out, size, "%s\r\n\r\n[%s\\%s]\r\n\r\n", kRegHeader, kRegRootKey, kMenuExtKeyPath);
    return length >= 0 && static_cast<size_t>(length) < size ? length : -1;
}

int FormatRegEntryBlock(const MenuExtEntry& entry, char* out, size_t size) {
    char escaped[2 * kTargetSize];
    size_t targetLength = strnlen(entry.target, kTargetSize - 1);
    memcpy(escaped, entry.target, targetLength);
    escaped[targetLength] = '\0';
    EscapeBackslashes(escaped);
    int length = snprintf(out, size,
                          "[%s\\%s\\%.*s]\r\n"
                          "@=\"%s\"\r\n"
                          "\"Contexts\"=dword:%08x\r\n"
                          "\"Flags\"=dword:%08x\r\n\r\n",
                          kRegRootKey, kMenuExtKeyPath, kNameSize - 1, entry.name, escaped,
                          static_cast<unsigned>(entry.contexts), static_cast<unsigned>(entry.flags));
    return length >= 0 && static_cast<size_t>(length) < size ? length : -1;
}

int CountRegEntryLines(char* text) {
    LineSplitter lines(text);
    if (!FirstLineIsHeader(lines)) return 0;
    int count = 0;
    while (char* line = lines.Next())
        if (AfterKeyPrefix(line)) ++count;
    return count;
}

void ParseRegText(char* text, EntrySequence& out) { ParseEntries(text, out, nullptr); }

int ParseRegImportText(char* text, EntrySequence& out, const LossyLineStarts& lossy) {
    return ParseEntries(text, out, &lossy);
}
