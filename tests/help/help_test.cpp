// Quorvil.chm as the build leaves it beside Quorvil.exe, read back through itss.dll, the
// storage the help viewer reads it with.
#include <windows.h>
#include <objidl.h>

#include <algorithm>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

// itss.dll's storage of compiled help; the SDK headers do not declare it. Outside the unnamed
// namespace, where the compiler could take it that no object of the type exists and drop the calls.
struct IITStorage : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE StgCreateDocfile(const WCHAR*, DWORD, DWORD, IStorage**) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgCreateDocfileOnILockBytes(ILockBytes*, DWORD, DWORD, IStorage**) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgIsStorageFile(const WCHAR*) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgIsStorageILockBytes(ILockBytes*) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgOpenStorage(const WCHAR*, IStorage*, DWORD, SNB, DWORD, IStorage**) = 0;
};

namespace {

const CLSID kClsidITStorage = {0x5d02926a, 0x212e, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};
const IID kIidITStorage = {0x88cc31de, 0x27ab, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};

std::wstring Wide(const std::string& text, UINT codePage) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(MultiByteToWideChar(codePage, 0, text.data(), (int)text.size(), &wide[0], (int)wide.size()));
    return wide;
}

// A page's text without its line ends' CRs: of the help file's bytes as the help viewer of a
// Japanese system reads them (code page 932), or of the UTF-8 source.
std::wstring Text(const std::string& bytes, UINT codePage) {
    std::wstring text = Wide(bytes, codePage);
    text.erase(std::remove(text.begin(), text.end(), L'\r'), text.end());
    return text;
}

std::string Source(const std::string& name) {
    std::string utf8;
    EXPECT_TRUE(TempDir::ReadFile(TempDir::BuildPath(QUORVIL_HELP_SOURCE_DIR "/" + name), &utf8)) << name;
    return utf8;
}

std::string Stored(IStorage* help, const std::string& name) {
    IStream* stream = nullptr;
    std::string bytes;
    if (help->OpenStream(Wide(name, CP_ACP).c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream) != S_OK)
        return "<missing>";
    char chunk[4096];
    ULONG read = 0;
    while (stream->Read(chunk, sizeof(chunk), &read) == S_OK && read > 0) bytes.append(chunk, read);
    stream->Release();
    return bytes;
}

TEST(HelpFileTest, HoldsEveryPageAsTheJapaneseViewerReadsItAndEveryLinkLeadsToOne) {
    CoInitialize(nullptr);
    IITStorage* its = nullptr;
    IStorage* help = nullptr;
    ASSERT_EQ(CoCreateInstance(kClsidITStorage, nullptr, CLSCTX_INPROC_SERVER, kIidITStorage, (void**)&its), S_OK);
    its->StgOpenStorage(Wide(TempDir::BuildPath(QUORVIL_HELP_FILE), CP_ACP).c_str(), nullptr,
                        STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0, &help);
    its->Release();
    ASSERT_TRUE(help) << "the build left no readable " QUORVIL_HELP_FILE;

    const std::regex link("(?:href|value)=\"([^\"#:]+\\.(?:htm|css))[\"#]");
    std::set<std::string> held, linked, inContents;
    std::string files = QUORVIL_HELP_FILES "|";
    for (size_t start = 0, end; (end = files.find('|', start)) != std::string::npos; start = end + 1) {
        std::string file = files.substr(start, end - start), text = Stored(help, file);
        EXPECT_TRUE(Text(text, 932) == Text(Source(file), CP_UTF8)) << file << " is not its source";
        for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
            ASSERT_TRUE(at > 0 && text[at - 1] == '\r') << file << ": a line ends without CR LF";
        if (file.find(".htm") != std::string::npos) {
            EXPECT_NE(text.find("charset=Shift_JIS"), std::string::npos) << file;
        }
        held.insert(file);
        for (std::sregex_iterator it(text.begin(), text.end(), link), none; it != none; ++it)
            (file == "Quorvil.hhc" ? inContents : linked).insert((*it)[1]);
    }
    help->Release();
    EXPECT_GE(held.size(), 9u);
    for (const std::string& target : linked) EXPECT_EQ(held.count(target), 1u) << "a link to " << target;
    for (const std::string& page : held) {
        if (page.find(".htm") == std::string::npos) continue;
        EXPECT_EQ(inContents.count(page), 1u) << page << " is missing from the contents";
    }
    for (const std::string& page : inContents) EXPECT_EQ(held.count(page), 1u) << "the contents name " << page;
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

std::string Without(std::string text, const std::string& piece) {
    for (size_t at; (at = text.find(piece)) != std::string::npos;) text.erase(at, piece.size());
    return text;
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
            quoted.push_back({file, Without(cell, "<br>")});
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
