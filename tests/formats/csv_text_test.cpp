// The CSV text without files: quoting, field splitting and the line rules of the reader.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "formats/csv_text.h"

namespace {

std::vector<std::string> Fields(std::string line) {
    std::vector<std::string> fields;
    CsvLineCursor cursor;
    for (char* field = CsvNextField(&line[0], &cursor); field; field = CsvNextField(nullptr, &cursor))
        fields.push_back(field);
    return fields;
}

std::string Unquoted(const std::string& field, size_t size = 64) {
    std::vector<char> out(size, 'X');
    EXPECT_EQ(CsvUnquoteField(field.c_str(), out.data(), size), 1) << field;
    return out.data();
}

EntrySequence Parse(std::string text) {
    EntrySequence out;
    ParseCsvText(&text[0], out);
    return out;
}

}  // namespace

TEST(CsvQuote, QuotesOnlyForCommasAndQuotes) {
    const struct { const char* text; const char* written; } cases[] = {
        {"Sample", "Sample"}, {" a\tb ", " a\tb "}, {"a,b", "\"a,b\""}, {"a\"b", "\"a\"\"b\""},
        {"\"\"", "\"\"\"\"\"\""}, {"表,ソ", "\"表,ソ\""}, {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        char out[32] = {};
        EXPECT_EQ(CsvQuotedLength(c.text), static_cast<int>(strlen(c.written)));
        EXPECT_EQ(CsvQuoteField(c.text, out), 1);
        EXPECT_STREQ(out, c.written);
        EXPECT_EQ(Unquoted(c.written), c.text);
    }
    char out[4];
    EXPECT_EQ(CsvQuotedLength(nullptr), -1);
    EXPECT_EQ(CsvQuoteField(nullptr, out), 0);
    EXPECT_EQ(CsvQuoteField("a", nullptr), 0);
}

TEST(CsvFields, SplitsAtCommasOutsideQuotes) {
    EXPECT_EQ(Fields("a,\"b,c\",\"d\"\"e\",,\"\"\"f\"\"\",g\"h,\"\"\"\""),
              (std::vector<std::string>{"a", "\"b,c\"", "\"d\"\"e\"", "", "\"\"\"f\"\"\"", "g\"h", "\"\"\"\""}));
    EXPECT_EQ(Fields("a,b,"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(Fields("\"x\"y,z\",w"), (std::vector<std::string>{"\"x\"y", "z\"", "w"}));
    EXPECT_EQ(Fields(""), std::vector<std::string>{});
}

TEST(CsvFields, UnquotesWithinTheFieldAndTheBuffer) {
    EXPECT_EQ(Unquoted("\"b,c\""), "b,c");
    EXPECT_EQ(Unquoted("\"\"\"f\"\"\""), "\"f\"");
    EXPECT_EQ(Unquoted("g\"\"h"), "g\"h");
    EXPECT_EQ(Unquoted("\"\""), "");
    EXPECT_EQ(Unquoted("\""), "");    // a lone quote is an empty value
    EXPECT_EQ(Unquoted("\"ab"), "a");  // the last character counts as the closing quote
    EXPECT_EQ(Unquoted("abc", 4), "abc");
    char out[4] = "XY";
    EXPECT_EQ(CsvUnquoteField("abcd", out, sizeof(out)), 0);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(CsvUnquoteField(nullptr, out, sizeof(out)), 0);
    EXPECT_EQ(CsvUnquoteField("a", nullptr, 4), 0);
}

TEST(CsvParse, ReadsFiveFieldsAndTheirNumbers) {
    EntrySequence entries = Parse(
        "P,C:\\p.htm,33,1,1\rshort,C:\\s.htm,1,1\nsix,C:\\6.htm,-2147483647,-1,0,extra\r\n"
        ",C:\\noname.htm,1,1,1\r\nname,target,contexts,flags,enabled\n\n"
        "\"a,\"\"b\"\"\",T, -5,+7x,2\r\nS,D:\\a,b.htm,33,1,1\nq,t,1,1,\"");
    ASSERT_EQ(entries.size(), 6u);
    EXPECT_STREQ(entries[0].name, "P");
    EXPECT_STREQ(entries[0].target, "C:\\p.htm");
    EXPECT_EQ(entries[0].contexts, 33u);
    EXPECT_EQ(entries[0].enabled, 1);
    EXPECT_STREQ(entries[1].name, "six");
    EXPECT_EQ(entries[1].contexts, 0x80000001u);
    EXPECT_EQ(entries[1].flags, 0xFFFFFFFFu);
    EXPECT_EQ(entries[1].enabled, 0);
    EXPECT_STREQ(entries[2].name, "name");  // a header-like line is an entry like any other
    EXPECT_STREQ(entries[2].target, "target");
    EXPECT_EQ(entries[2].contexts, 0u);
    EXPECT_STREQ(entries[3].name, "a,\"b\"");
    EXPECT_EQ(entries[3].contexts, 0xFFFFFFFBu);
    EXPECT_EQ(entries[3].flags, 7u);
    EXPECT_EQ(entries[3].enabled, 1);
    // A comma in an unquoted target shifts the fields that follow it.
    EXPECT_STREQ(entries[4].target, "D:\\a");
    EXPECT_EQ(entries[4].contexts, 0u);
    EXPECT_EQ(entries[4].flags, 33u);
    EXPECT_EQ(entries[4].enabled, 1);
    EXPECT_STREQ(entries[5].name, "q");  // a lone quote at the end of the text reads as empty
    EXPECT_EQ(entries[5].enabled, 0);
}

TEST(CsvParse, LeavesOutLinesWithFieldsTooLongForTheirBuffers) {
    std::string name64(64, 'n'), target259(259, 't');
    EntrySequence entries = Parse(name64 + "x,t,1,1,1\r\n" + name64 + "," + target259 + ",1,1,1\r\n" +
                                  "T," + target259 + "x,1,1,1\r\nN,t,000000000000001,1,1\r\n" +
                                  "M,t,0000000000000001,1,1\r\n" + std::string(66, '"') + ",t,1,1,1\r\n");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, name64);
    EXPECT_EQ(entries[0].target, target259);
    EXPECT_STREQ(entries[1].name, "N");
    EXPECT_EQ(entries[1].contexts, 1u);
    EXPECT_EQ(std::string(entries[2].name), std::string(32, '"'));  // 66 bytes written, 32 read
}
