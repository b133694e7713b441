// What the harnesses share: a check that aborts, and for both readers that every entry read has
// a name, fits its record, and comes back unchanged (its enabled state too) after being
// written and read again.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/menu_ext_entry.h"

// A broken property is a finding: libFuzzer keeps the input that caused it.
#define FUZZ_CHECK(c) ((c) ? (void)0 : (fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #c), abort()))

// `written` holds what the writer puts first; `format` gets exactly `blockSize` bytes: one more shows.
inline void CheckRoundTrip(const EntrySequence& entries, std::string written, size_t blockSize,
                           void (*parse)(char*, EntrySequence&), int (*format)(const MenuExtEntry&, char*, size_t)) {
    for (const MenuExtEntry& e : entries) {
        FUZZ_CHECK(e.name[0] && strnlen(e.name, kNameSize) < kNameSize && strnlen(e.target, kTargetSize) < kTargetSize);
        std::vector<char> block(blockSize);
        int length = format(e, block.data(), blockSize);
        FUZZ_CHECK(length > 0);
        written.append(block.data(), static_cast<size_t>(length));
    }
    EntrySequence again;
    parse(&written[0], again);
    FUZZ_CHECK(again.size() == entries.size());
    for (size_t i = 0; i < entries.size(); ++i)
        FUZZ_CHECK(!strcmp(entries[i].name, again[i].name) && !strcmp(entries[i].target, again[i].target) &&
                   entries[i].contexts == again[i].contexts && entries[i].flags == again[i].flags &&
                   entries[i].enabled == again[i].enabled);
}
