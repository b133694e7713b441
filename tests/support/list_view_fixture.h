// A hidden top-level window holding a real report-view list view with check boxes, bound to
// an EntryList, as the main dialog sets it up.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include <gtest/gtest.h>

#include "core/entry_list.h"

// Names of the entries in list order, joined by blanks ("P Q R").
std::string NamesOf(const EntryList& list);
// "name|target|contexts|flags|enabled" lines, numbers in hex: a failed comparison shows every field.
std::string Describe(const EntrySequence& entries);
std::string Describe(const EntryList& list);

class ListViewTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Appends entries named by `entries` ("P+ Q- R+": + enabled, - disabled), target "C:\\<name>.htm".
    void Fill(const char* entries);
    std::string Names() const { return NamesOf(list_); }
    void Select(int row) { ListView_SetItemState(listView_, row, LVIS_SELECTED, LVIS_SELECTED); }
    bool IsSelected(int row) const { return ListView_GetItemState(listView_, row, LVIS_SELECTED) != 0; }
    int StateImage(int row) const { return int(ListView_GetItemState(listView_, row, kStateImageMask) >> 12); }

    HWND window_ = nullptr;
    HWND listView_ = nullptr;
    EntryList list_;
};

MenuExtEntry MakeEntry(const char* name, const char* target = nullptr, uint32_t contexts = 0,
                       uint32_t flags = 0, int enabled = 1);

// Checks that row i shows entry i (all four column texts and the check box) for every i,
// and that the list and the control have the same length.
#define ExpectRowsMirrorEntries(list) ExpectRowsMirrorEntries_(__FILE__, __LINE__, list)
void ExpectRowsMirrorEntries_(const char* file, int line, const EntryList& list);
