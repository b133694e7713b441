#include "formats/unicode_text.h"

#include <cstring>

namespace {

// Hands each run of characters between line breaks to `convert` and copies the breaks as they
// are: CR and LF stand for themselves in UTF-8 and UTF-16 alike, never inside another character.
template <typename Unit, typename Convert>
void ForEachLine(const Unit* text, size_t length, std::string* out, Convert convert) {
    for (size_t start = 0; start < length;) {
        if (text[start] == '\r' || text[start] == '\n') {
            *out += static_cast<char>(text[start++]);
            continue;
        }
        size_t end = start;
        while (end < length && text[end] != '\r' && text[end] != '\n') ++end;
        convert(text + start, end - start);
        start = end;
    }
}

// The UTF-8 text as UTF-16; false when bytes in it form no character. Such bytes become U+FFFD,
// or where a system drops them instead, the line becomes that one character.
bool Utf8ToWide(const char* text, size_t length, std::wstring* out) {
    int count = static_cast<int>(length);
    int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, count, nullptr, 0);
    DWORD flags = units > 0 ? MB_ERR_INVALID_CHARS : 0;
    if (units <= 0) units = MultiByteToWideChar(CP_UTF8, 0, text, count, nullptr, 0);
    if (units <= 0) {
        *out = L"\xFFFD";
        return false;
    }
    out->resize(static_cast<size_t>(units));
    MultiByteToWideChar(CP_UTF8, flags, text, count, &(*out)[0], units);
    return flags != 0;
}

}  // namespace

bool AppendProgramCodePage(const wchar_t* text, size_t length, std::string* out) {
    if (length == 0) return true;
    BOOL usedDefault = FALSE;
    int count = static_cast<int>(length);
    int bytes = WideCharToMultiByte(kProgramCodePage, WC_NO_BEST_FIT_CHARS, text, count, nullptr, 0, nullptr,
                                    &usedDefault);
    if (bytes <= 0) {
        if (out) *out += '?';  // keeps the line in its place for the reader
        return false;
    }
    if (out) {
        size_t at = out->size();
        out->resize(at + static_cast<size_t>(bytes));
        WideCharToMultiByte(kProgramCodePage, WC_NO_BEST_FIT_CHARS, text, count, &(*out)[at], bytes, nullptr,
                            &usedDefault);
    }
    return !usedDefault;
}

bool ConvertMarkedText(const char* bytes, size_t size, std::string* out, LossyLineStarts* lossy) {
    bool utf16 = size >= 2 && memcmp(bytes, "\xFF\xFE", 2) == 0;
    bool utf8 = !utf16 && size >= 3 && memcmp(bytes, "\xEF\xBB\xBF", 3) == 0;
    if (!utf16 && !utf8) return false;
    out->clear();
    lossy->clear();
    // Line by line, so that a character without a code page 932 form marks the line it was on.
    auto keep = [&](const wchar_t* line, size_t length, bool whole) {
        size_t lineStart = out->size();
        if (!AppendProgramCodePage(line, length, out) || !whole) lossy->push_back(lineStart);
    };
    // A zero character ends the text, as a zero byte ends a REGEDIT4 file.
    if (utf16) {
        std::wstring wide((size - 2) / 2, L'\0');  // an odd last byte is half a character: dropped
        if (!wide.empty()) memcpy(&wide[0], bytes + 2, wide.size() * sizeof(wchar_t));
        ForEachLine(wide.c_str(), wcsnlen(wide.c_str(), wide.size()), out,
                    [&](const wchar_t* line, size_t length) { keep(line, length, true); });
    } else {
        const char* text = bytes + 3;
        std::wstring wide;
        ForEachLine(text, strnlen(text, size - 3), out, [&](const char* line, size_t length) {
            bool whole = Utf8ToWide(line, length, &wide);
            keep(wide.data(), wide.size(), whole);
        });
    }
    return true;
}

bool SystemKeepsUnicode() { return (GetVersion() & 0x80000000u) == 0; }
