// Entries whose targets and names trip up careless writers and readers, and a comparison of
// entry sequences that names the field that differs.
#pragma once

#include <gtest/gtest.h>

#include "core/entry_list.h"

// UNC paths, double-byte characters whose second byte is 0x5C (表 ソ 十 能) next to backslashes
// and at the end, quotes, commas, bit 31 of contexts and all bits of flags.
EntrySequence TrickyEntries();

// Same names, targets, contexts and flags in the same order; `enabled` is compared only when
// `compareEnabled` is set.
void ExpectSameEntries(const EntrySequence& expected, const EntrySequence& actual, bool compareEnabled = false);

// The list's entries in list order.
EntrySequence EntriesOf(const EntryList& list);
