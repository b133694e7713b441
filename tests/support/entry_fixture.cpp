#include "tests/support/entry_fixture.h"

#include <cstdio>
#include <sstream>

MenuExtEntry MakeEntry(const char* name, const char* target, uint32_t contexts, uint32_t flags, int enabled) {
    MenuExtEntry e = {{}, {}, contexts, flags, enabled};
    snprintf(e.name, sizeof(e.name), "%s", name);
    snprintf(e.target, sizeof(e.target), target ? "%s" : "C:\\%s.htm", target ? target : name);
    return e;
}

void FillList(EntryList& list, const char* entries) {
    std::istringstream in(entries);
    for (std::string word; in >> word;) {
        bool marked = word.back() == '+' || word.back() == '-';
        MenuExtEntry e = MakeEntry(word.substr(0, word.size() - marked).c_str(), nullptr, 0, 0, word.back() != '-');
        ASSERT_EQ(list.AddEntry(&e), kOk) << word;
    }
}

std::string NamesOf(const EntryList& list) {
    std::string names;
    list.ForEach([&](int i, const MenuExtEntry& e) { return names += (i ? " " : "") + std::string(e.name), true; });
    return names;
}

std::string StatesOf(const EntryList& list) {
    std::string states;
    list.ForEach([&](int i, const MenuExtEntry& e) {
        return states += (i ? " " : "") + std::string(e.name) + (e.enabled ? "+" : "-"), true;
    });
    return states;
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
    EntrySequence entries;
    list.ForEach([&](int, const MenuExtEntry& e) { return entries.push_back(e), true; });
    return Describe(entries);
}
