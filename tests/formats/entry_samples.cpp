#include "tests/formats/entry_samples.h"

#include <cstdio>
#include <string>

#include "tests/support/list_view_fixture.h"

EntrySequence TrickyEntries() {
    return {
        MakeEntry("Sample", "D:\\menu\\run.htm", 0x21, 1),
        MakeEntry("UNC", "\\\\server\\share\\menu.htm", 0x7F, 0),
        MakeEntry("表示", "D:\\表\\run.htm", 0x80000001u, 0xFFFFFFFFu),
        MakeEntry("ソフト十能", "C:\\ソフト\\十能\\n.htm", 0x02, 1),
        MakeEntry("EndsInSo", "C:\\ソ", 0x10, 0),
        MakeEntry("Quoted", "\"C:\\Program Files\\x.htm\" /a", 0x01, 0),
        MakeEntry("a,\"b\"", "C:\\a,b\\\"c\".htm", 0x20, 1),
        MakeEntry("Trailing", "C:\\dir\\", 0, 0x10),
    };
}

void ExpectSameEntries(const EntrySequence& expected, const EntrySequence& actual, bool compareEnabled) {
    ASSERT_EQ(expected.size(), actual.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(std::string("entry ") + std::to_string(i) + " " + expected[i].name);
        EXPECT_STREQ(expected[i].name, actual[i].name);
        EXPECT_STREQ(expected[i].target, actual[i].target);
        EXPECT_EQ(expected[i].contexts, actual[i].contexts);
        EXPECT_EQ(expected[i].flags, actual[i].flags);
        if (compareEnabled) {
            EXPECT_EQ(expected[i].enabled, actual[i].enabled);
        }
    }
}

EntrySequence EntriesOf(const EntryList& list) {
    EntrySequence entries(list.Count());
    for (int i = 0; i < list.Count(); ++i) list.GetEntryAt(i, &entries[i]);
    return entries;
}
