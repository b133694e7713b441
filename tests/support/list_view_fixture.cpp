#include "tests/support/list_view_fixture.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <sstream>

namespace {

const char kHostClass[] = "QuorvilTestHost";

void RegisterHostClass() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kHostClass;
    RegisterClassA(&wc);
    registered = true;
}

std::string ReadRowText(HWND listView, int row, int column) {
    char buffer[512] = {};
    ListView_GetItemText(listView, row, column, buffer, sizeof(buffer));
    return buffer;
}

}  // namespace

void ListViewTest::SetUp() {
    RegisterHostClass();
    window_ = CreateWindowExA(0, kHostClass, "host", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window_, nullptr);
    listView_ = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                                WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 0, 600, 440,
                                window_, reinterpret_cast<HMENU>(4001), GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(listView_, nullptr);
    SendMessageA(listView_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_CHECKBOXES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT);
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
    if (window_) DestroyWindow(window_);
    window_ = listView_ = nullptr;
}

MenuExtEntry MakeEntry(const char* name, const char* target, uint32_t contexts, uint32_t flags, int enabled) {
    MenuExtEntry e = {};
    snprintf(e.name, sizeof(e.name), "%s", name);
    if (target)
        snprintf(e.target, sizeof(e.target), "%s", target);
    else
        snprintf(e.target, sizeof(e.target), "C:\\%s.htm", name);
    e.contexts = contexts;
    e.flags = flags;
    e.enabled = enabled;
    return e;
}

void ListViewTest::Fill(const char* entries) {
    std::istringstream in(entries);
    std::string word;
    while (in >> word) {
        int enabled = 1;
        if (word.back() == '+' || word.back() == '-') {
            enabled = word.back() == '+';
            word.pop_back();
        }
        MenuExtEntry e = MakeEntry(word.c_str(), nullptr, 0, 0, enabled);
        ASSERT_EQ(list_.AddEntry(&e), 0) << word;
    }
}

std::string ListViewTest::Names() const {
    std::string names;
    for (int i = 0; i < list_.Count(); ++i) {
        MenuExtEntry e;
        list_.GetEntryAt(i, &e);
        if (!names.empty()) names += ' ';
        names += e.name;
    }
    return names;
}

void ListViewTest::Select(int row, bool selected) {
    ListView_SetItemState(listView_, row, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

bool ListViewTest::IsSelected(int row) const { return ListView_GetItemState(listView_, row, LVIS_SELECTED) != 0; }

int ListViewTest::StateImage(int row) const {
    return static_cast<int>(ListView_GetItemState(listView_, row, kStateImageMask) >> 12);
}

void ListViewTest::SetStateImage(int row, int image) {
    ListView_SetItemState(listView_, row, INDEXTOSTATEIMAGEMASK(image), kStateImageMask);
}

std::string ListViewTest::RowText(int row, int column) const { return ReadRowText(listView_, row, column); }

void ExpectRowsMirrorEntries_(const char* file, int line, const EntryList& list) {
    testing::ScopedTrace trace(file, line, "rows mirror entries");
    HWND lv = list.listView;
    int rows = ListView_GetItemCount(lv);
    ASSERT_EQ(rows, list.Count());
    for (int i = 0; i < rows; ++i) {
        MenuExtEntry e;
        ASSERT_EQ(list.GetEntryAt(i, &e), 1);
        char letters[32];
        FormatContextLetters(e.contexts, letters);
        char flags[16];
        snprintf(flags, sizeof(flags), "%X", e.flags);
        EXPECT_EQ(ReadRowText(lv, i, 0), e.name) << "row " << i;
        EXPECT_EQ(ReadRowText(lv, i, 1), letters) << "row " << i;
        EXPECT_EQ(ReadRowText(lv, i, 2), flags) << "row " << i;
        EXPECT_EQ(ReadRowText(lv, i, 3), e.target) << "row " << i;
        EXPECT_EQ(ListView_GetItemState(lv, i, kStateImageMask), e.enabled ? kCheckedState : kUncheckedState) << "row " << i;
    }
}
