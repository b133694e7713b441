// The README and the help pages as their sources are written: every message they quote must
// be one the program shows.
#include <regex>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace {

std::string Source(const std::string& name) {
    std::string utf8;
    EXPECT_TRUE(TempDir::ReadFile(TempDir::BuildPath(QUORVIL_HELP_SOURCE_DIR "/" + name), &utf8)) << name;
    return utf8;
}

// The texts between `open` and `close` everywhere in `text`.
std::vector<std::string> Between(const std::string& text, const std::string& open, const std::string& close) {
    std::vector<std::string> found;
    for (size_t at = text.find(open); at != std::string::npos; at = text.find(open, at + 1)) {
        size_t end = text.find(close, at + open.size());
        if (end == std::string::npos) break;
        found.push_back(text.substr(at + open.size(), end - at - open.size()));
    }
    return found;
}

// Every message the README and the help pages quote is one of the program's own texts, as
// common/texts.h spells them: a message is a quoted text that ends in 。 or ？ ("..." in the
// README, 「...」 and the message cells of the help pages), its line breaks left out.
TEST(HelpFileTest, EveryQuotedMessageIsTheProgramsOwnText) {
    // Each string literal of the header, a line break left out and a doubled backslash one.
    std::set<std::string> texts;
    const std::string header = Source("../../common/texts.h");
    for (size_t at = header.find('"'); at != std::string::npos; at = header.find('"', at + 1)) {
        std::string text;
        for (++at; at < header.size() && header[at] != '"'; ++at) {
            if (header[at] == '\\' && header[++at] == 'n') continue;
            text += header[at];
        }
        texts.insert(text);
    }
    std::vector<std::pair<std::string, std::string>> quoted;  // where, what
    for (const std::string& quote : Between(Source("../../README.md"), "\"", "\"")) quoted.push_back({"README.md", quote});
    std::string files = QUORVIL_HELP_FILES "|";
    for (size_t start = 0, end; (end = files.find('|', start)) != std::string::npos; start = end + 1) {
        const std::string file = files.substr(start, end - start), page = Source(file);
        for (const std::string& quote : Between(page, u8"「", u8"」")) quoted.push_back({file, quote});
        for (const std::string& cell : Between(page, "<td class=\"msg\">", "</td>"))
            quoted.push_back({file, std::regex_replace(cell, std::regex("<br>"), "")});
    }
    int messages = 0;
    for (const auto& [where, text] : quoted) {
        // The sources are UTF-8, whatever the program's own strings become.
        bool message = text.size() >= 3 && (text.compare(text.size() - 3, 3, u8"。") == 0 ||
                                            text.compare(text.size() - 3, 3, u8"？") == 0);
        if (!message) continue;
        ++messages;
        EXPECT_EQ(texts.count(text), 1u) << where << " quotes a message the program does not have: " << text;
    }
    EXPECT_GE(messages, 10);
}

}  // namespace
