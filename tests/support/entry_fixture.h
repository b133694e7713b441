// Entries for the tests, and the entry list as a test reads it.
#pragma once

#include <string>

#include <gtest/gtest.h>

#include "core/entry_list.h"

MenuExtEntry MakeEntry(const char* name, const char* target = nullptr, uint32_t contexts = 0, uint32_t flags = 0,
                       int enabled = 1);

// Appends entries named by `entries` ("P+ Q- R": - disabled, + or nothing enabled), each with
// the target "C:\<name>.htm"; fails the test when one is refused.
void FillList(EntryList& list, const char* entries);

// Names of the entries in list order, joined by blanks ("P Q R").
std::string NamesOf(const EntryList& list);
// Names with their state, "P+ Q- R+".
std::string StatesOf(const EntryList& list);
// "name|target|contexts|flags|enabled" lines, numbers in hex: a failed comparison shows every field.
std::string Describe(const EntrySequence& entries);
std::string Describe(const EntryList& list);

// A test with one entry list of its own, no window.
class EntryListTest : public testing::Test {
protected:
    void Fill(const char* entries) { FillList(list_, entries); }
    std::string Names() const { return NamesOf(list_); }
    EntryList list_;
};
