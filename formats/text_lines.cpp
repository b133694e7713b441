#include "formats/text_lines.h"

#include <algorithm>

namespace {

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

char* LineSplitter::Next() {
    if (!next_) return nullptr;
    while (IsLineBreak(*next_)) ++next_;
    if (*next_ == '\0') {
        next_ = nullptr;
        return nullptr;
    }
    char* line = next_;
    while (*next_ != '\0' && !IsLineBreak(*next_)) ++next_;
    if (*next_ != '\0') *next_++ = '\0';
    return line;
}

bool StartsWithNoCase(const char* text, const char* prefix) {
    for (; *prefix; ++text, ++prefix)
        if (AsciiLower(*text) != AsciiLower(*prefix)) return false;
    return true;
}

bool IsLossyLine(const char* text, const char* line, const LossyLineStarts& lossy) {
    return std::binary_search(lossy.begin(), lossy.end(), static_cast<size_t>(line - text));
}
