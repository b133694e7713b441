// The REGEDIT4 text without files: escaping, DWORD values and the line rules of the reader.
#include <string>

#include <gtest/gtest.h>

#include "formats/reg_text.h"

namespace {

const std::string kKey = "[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\MenuExt";

std::string Escaped(const std::string& value) {
    std::string room = value + std::string(value.size() + 1, '\0');
    EscapeBackslashes(&room[0]);
    return room.c_str();
}

std::string Unescaped(std::string value) {
    UnescapeBackslashes(&value[0]);
    return value.c_str();
}

EntrySequence Parse(std::string text) {
    EntrySequence out;
    ParseRegText(&text[0], out);
    return out;
}

int Count(std::string text) { return CountRegEntryLines(&text[0]); }

std::string Block(const std::string& name, const std::string& value) {
    return kKey + "\\" + name + "]\r\n@=\"" + value + "\"\r\n\"Contexts\"=dword:00000021\r\n\r\n";
}

}  // namespace

TEST(RegEscape, DoublesBackslashesEscapesQuotesAndLeavesDoubleByteCharactersWhole) {
    const struct { const char* value; const char* escaped; } cases[] = {
        {"D:\\menu\\run.htm", "D:\\\\menu\\\\run.htm"},
        {"\\\\server\\share", "\\\\\\\\server\\\\share"},
        {"\"C:\\a b.htm\" x", "\\\"C:\\\\a b.htm\\\" x"},
        {"D:\\表\\run.htm", "D:\\\\表\\\\run.htm"},
        {"C:\\ソ", "C:\\\\ソ"},
        {"十\"能\\", "十\\\"能\\\\"},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(Escaped(c.value), c.escaped);
        EXPECT_EQ(Unescaped(c.escaped), c.value);
    }
}

TEST(RegEscape, ReadsValuesFromByteWiseEscapingAndRawQuotes) {
    // Older files doubled the 0x5C second byte of 表 and ソ and left quotes as they were.
    EXPECT_EQ(Unescaped("D:\\\\\x95\x5C\x5C\\\\run.htm"), "D:\\表\\run.htm");
    EXPECT_EQ(Unescaped("C:\\\\\x83\x5C\x5C"), "C:\\ソ");
    EXPECT_EQ(Unescaped("\x95\x5C\x5C\"x\""), "表\"x\"");
    EXPECT_EQ(Unescaped("a\"b\\\\\"c"), "a\"b\\\"c");
    EXPECT_EQ(Unescaped("\\x\\"), "\\x\\");
}

TEST(RegHexDword, CountsOnlyTheLastEightCharacters) {
    EXPECT_EQ(ParseHexDword("00000021"), 0x21u);
    EXPECT_EQ(ParseHexDword("21"), 0x21u);
    EXPECT_EQ(ParseHexDword("100000000"), 0u);
    EXPECT_EQ(ParseHexDword("ffffffff"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseHexDword("8000007F"), 0x8000007Fu);
    EXPECT_EQ(ParseHexDword("21 "), 0x210u);
    EXPECT_EQ(ParseHexDword(""), 0u);
}

TEST(RegParse, NeedsTheExactHeaderLine) {
    for (const char* header : {"regedit4", "REGEDIT4 ", "Windows Registry Editor Version 5.00", ""}) {
        SCOPED_TRACE(header);
        std::string text = std::string(header) + "\r\n" + Block("A", "x");
        EXPECT_TRUE(Parse(text).empty());
        EXPECT_EQ(Count(text), 0);
    }
}

TEST(RegParse, SplitsLinesAtCrOrLfAlone) {
    std::string crlf = "REGEDIT4\r\n\r\n" + Block("A", "C:\\\\a") + Block("B", "C:\\\\b");
    for (const char* separator : {"\r", "\n", "\n\r\r\n"}) {
        std::string text;
        for (char c : crlf) text += c == '\n' ? std::string(separator) : c == '\r' ? std::string() : std::string(1, c);
        text.erase(text.find_last_not_of("\r\n") + 1);  // no line end after the last line
        EntrySequence entries = Parse(text);
        ASSERT_EQ(entries.size(), 2u);
        EXPECT_STREQ(entries[1].name, "B");
        EXPECT_STREQ(entries[1].target, "C:\\b");
        EXPECT_EQ(entries[1].flags, 0u);
    }
}

TEST(RegParse, TakesEntriesOnlyFromKeysBelowThePrefix) {
    std::string text = "REGEDIT4\r\n" + kKey + "]\r\n@=\"parent\"\r\n" +
                       "[HKEY_CURRENT_USER\\Software\\Other\\X]\r\n@=\"other\"\r\n\"Flags\"=dword:1\r\n" +
                       "[hkey_current_user\\software\\microsoft\\internet explorer\\menuext\\Low]\r\n" +
                       "\"contexts\"=DWORD:00000007\r\n" + kKey + "\\A\\B]\r\n@=\"two\"\r\n" + kKey + "\\]\r\n" +
                       "[HKEY_CURRENT_USER\\Software\\Other\\Y]\r\n\"Contexts\"=dword:5\r\n" + kKey + "\r\n";
    EntrySequence entries = Parse(text);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_STREQ(entries[0].name, "Low");
    EXPECT_STREQ(entries[0].target, "");  // no "@=" line: AddEntry refuses it later
    EXPECT_EQ(entries[0].contexts, 7u);
    EXPECT_EQ(entries[0].flags, 0u);
    EXPECT_STREQ(entries[1].name, "A\\B");
    EXPECT_STREQ(entries[1].target, "two");
    EXPECT_EQ(entries[1].contexts, 0u);
    // Key lines that turn out to have an empty name still count.
    EXPECT_EQ(Count(text), 4);
}

TEST(RegParse, ReadsOnlyDwordFormsOfTheNumbers) {
    std::string text = "REGEDIT4\r\n" + kKey + "\\A]\r\n@=C:\\\\raw\r\n\"Contexts\"=\"21\"\r\n\"Flags\"=dword:21\r\n" +
                       kKey + "\\B]\r\n@=\"C:\\\\open\r\n\"Contexts\" = dword:21\r\n\"Flags\"=hex:01\r\n" + kKey +
                       "\\C]\r\n@\r\n\"Contexts\"\r\n";
    EntrySequence entries = Parse(text);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_STREQ(entries[0].target, "C:\\raw");
    EXPECT_EQ(entries[0].contexts, 0u);
    EXPECT_EQ(entries[0].flags, 0x21u);
    EXPECT_STREQ(entries[1].target, "\"C:\\open");
    EXPECT_EQ(entries[1].contexts, 0u);
    EXPECT_EQ(entries[1].flags, 0u);
    EXPECT_STREQ(entries[2].target, "");
}

TEST(RegParse, LeavesOutEntriesTooLongForTheirBuffers) {
    std::string name64(64, 'n');
    // Eight backslashes in the file are four in the value: 259 bytes, though the line is longer.
    std::string target259 = std::string(255, 't') + "\\\\\\\\\\\\\\\\";
    std::string text = "REGEDIT4\r\n" + Block(name64 + "x", "x") + Block(name64, "x") +
                       Block("LongTarget", std::string(260, 't')) + Block("FitTarget", target259) +
                       Block("Last", "x");
    EntrySequence entries = Parse(text);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, name64);
    EXPECT_STREQ(entries[1].name, "FitTarget");
    EXPECT_EQ(std::string(entries[1].target), std::string(255, 't') + "\\\\\\\\");
    EXPECT_STREQ(entries[2].name, "Last");
}
