#include "tests/support/list_view_fixture.h"

#include <cstdio>
#include <sstream>

void ListViewTest::SetUp() {
    window_ = CreateWindowExA(0, "Static", "host", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr, nullptr, nullptr);
    listView_ = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS,
                                0, 0, 600, 440, window_, reinterpret_cast<HMENU>(4001), nullptr, nullptr);
    ASSERT_NE(listView_, nullptr);
    ListView_SetExtendedListViewStyle(listView_, LVS_EX_CHECKBOXES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT);
    for (int i = 0; i < 4; ++i) {
        LVCOLUMNA column = {LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM, i == 2 ? LVCFMT_RIGHT : LVCFMT_LEFT, 100};
        column.iSubItem = i;
        ListView_InsertColumn(listView_, i, &column);
    }
    list_.listView = listView_;
}

void ListViewTest::TearDown() {
    list_.Clear();
    list_.listView = nullptr;
    DestroyWindow(window_);
}

MenuExtEntry MakeEntry(const char* name, const char* target, uint32_t contexts, uint32_t flags, int enabled) {
    MenuExtEntry e = {{}, {}, contexts, flags, enabled};
    snprintf(e.name, sizeof(e.name), "%s", name);
    snprintf(e.target, sizeof(e.target), target ? "%s" : "C:\\%s.htm", target ? target : name);
    return e;
}

void ListViewTest::Fill(const char* entries) {
    std::istringstream in(entries);
    for (std::string word; in >> word;) {
        bool marked = word.back() == '+' || word.back() == '-';
        MenuExtEntry e = MakeEntry(word.substr(0, word.size() - marked).c_str(), nullptr, 0, 0, word.back() != '-');
        ASSERT_EQ(list_.AddEntry(&e), 0) << word;
    }
}

std::string NamesOf(const EntryList& list) {
    std::string names;
    MenuExtEntry e;
    for (int i = 0; list.GetEntryAt(i, &e); ++i) names += (i ? " " : "") + std::string(e.name);
    return names;
}

std::string Describe(const EntrySequence& entries) {
    std::string text;
    for (const MenuExtEntry& e : entries) {
        char numbers[40];
        snprintf(numbers, sizeof(numbers), "|%x|%x|%d\n", unsigned(e.contexts), unsigned(e.flags), int(e.enabled));
        text += std::string(e.name) + "|" + e.target + numbers;
    }
    return text;
}

std::string Describe(const EntryList& list) {
    EntrySequence entries(list.Count());
    for (int i = 0; i < list.Count(); ++i) list.GetEntryAt(i, &entries[i]);
    return Describe(entries);
}

void ExpectRowsMirrorEntries_(const char* file, int line, const EntryList& list) {
    testing::ScopedTrace trace(file, line, "rows mirror entries");
    ASSERT_EQ(ListView_GetItemCount(list.listView), list.Count());
    MenuExtEntry e;
    for (int i = 0; list.GetEntryAt(i, &e); ++i) {
        char texts[4][512] = {}, expected[4][512] = {};
        snprintf(expected[0], 512, "%s", e.name);
        FormatContextLetters(e.contexts, expected[1]);
        snprintf(expected[2], 512, "%X", e.flags);
        snprintf(expected[3], 512, "%s", e.target);
        for (int column = 0; column < 4; ++column) {
            ListView_GetItemText(list.listView, i, column, texts[column], 512);
            EXPECT_STREQ(texts[column], expected[column]) << "row " << i << " column " << column;
        }
        EXPECT_EQ(ListView_GetItemState(list.listView, i, kStateImageMask), e.enabled ? kCheckedState : kUncheckedState)
            << "row " << i;
    }
}
