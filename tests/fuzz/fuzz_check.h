// What both reader harnesses check of every entry a reader returns.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/menu_ext_entry.h"

// A broken property is a finding: libFuzzer keeps the input that caused it.
#define FUZZ_CHECK(condition)                                                          \
    do {                                                                               \
        if (!(condition)) {                                                            \
            fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            abort();                                                                   \
        }                                                                              \
    } while (0)

// Terminated inside their buffers, with a name.
inline void CheckEntryFits(const MenuExtEntry& e) {
    size_t nameLength = strnlen(e.name, sizeof(e.name));
    FUZZ_CHECK(nameLength > 0 && nameLength < sizeof(e.name));
    FUZZ_CHECK(strnlen(e.target, sizeof(e.target)) < sizeof(e.target));
}

inline bool SameEntry(const MenuExtEntry& a, const MenuExtEntry& b) {
    return strcmp(a.name, b.name) == 0 && strcmp(a.target, b.target) == 0 && a.contexts == b.contexts &&
           a.flags == b.flags && a.enabled == b.enabled;
}
