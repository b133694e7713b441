// Quorvil.chm as the build leaves it beside Quorvil.exe, read back through the system's own
// reader of compiled help files, the one the help viewer uses.
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

// The compiled-help storage of itss.dll; the SDK headers do not declare it. Outside the unnamed
// namespace: there the compiler may take it that no object of the type exists and drop the calls.
struct IITStorage : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE StgCreateDocfile(const WCHAR*, DWORD, DWORD, IStorage**) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgCreateDocfileOnILockBytes(ILockBytes*, DWORD, DWORD, IStorage**) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgIsStorageFile(const WCHAR*) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgIsStorageILockBytes(ILockBytes*) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgOpenStorage(const WCHAR*, IStorage*, DWORD, SNB, DWORD, IStorage**) = 0;
};
const CLSID kClsidITStorage = {0x5d02926a, 0x212e, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};
const IID kIidITStorage = {0x88cc31de, 0x27ab, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};

namespace {

// A path of the build machine as the program sees it: under Wine, Unix paths are on Z:.
std::string WindowsPath(std::string path) {
    if (path[0] == '/') path = "Z:" + path;
    for (char& c : path) c = c == '/' ? '\\' : c;
    return path;
}

std::wstring Wide(const std::string& text, UINT codePage) {
    std::wstring wide(text.size(), L'\0');
    int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), (int)text.size(), &wide[0],
                                     (int)wide.size());
    wide.resize(length > 0 ? length : 0);
    return wide;
}

std::string Source(const std::string& name) {
    std::string bytes;
    EXPECT_TRUE(TempDir::ReadFile(WindowsPath(QUORVIL_HELP_SOURCE_DIR "/" + name), &bytes)) << name;
    return bytes;
}

// A UTF-8 source as the help file must hold it: code page 932 as Windows itself converts it
// (no character lost or replaced by a look-alike), lines ended by CR LF.
std::string AsShipped(const std::string& utf8) {
    std::wstring wide = Wide(utf8, CP_UTF8);
    EXPECT_FALSE(wide.empty() && !utf8.empty()) << "not UTF-8";
    std::string text(wide.size() * 2, '\0'), lines;
    BOOL lossy = FALSE;
    text.resize(WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide.data(), (int)wide.size(), &text[0],
                                    (int)text.size(), nullptr, &lossy));
    EXPECT_FALSE(lossy) << "a character without a code page 932 form";
    for (char c : text) {
        if (c == '\n') lines += '\r';
        if (c != '\r') lines += c;
    }
    return lines;
}

// The help project's [FILES]: every page the help file holds.
std::vector<std::string> ProjectFiles() {
    std::vector<std::string> files;
    bool inFiles = false;
    std::string project = Source("Quorvil.hhp"), line;
    for (size_t start = 0, end; start < project.size(); start = end + 1) {
        end = project.find('\n', start);
        if (end == std::string::npos) end = project.size();
        line = project.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] == '[') inFiles = line == "[FILES]";
        else if (inFiles && !line.empty()) files.push_back(line);
    }
    return files;
}

class HelpFileTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        CoInitialize(nullptr);
        IITStorage* its = nullptr;
        ASSERT_EQ(CoCreateInstance(kClsidITStorage, nullptr, CLSCTX_INPROC_SERVER, kIidITStorage, (void**)&its), S_OK);
        std::wstring path = Wide(WindowsPath(QUORVIL_HELP_FILE), CP_ACP);
        EXPECT_EQ(its->StgOpenStorage(path.c_str(), nullptr, STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0, &help_),
                  S_OK) << QUORVIL_HELP_FILE;
        its->Release();
    }
    static void TearDownTestSuite() {
        if (help_) help_->Release();
        help_ = nullptr;
        CoUninitialize();
    }
    void SetUp() override { ASSERT_TRUE(help_) << "the build left no readable help file"; }

    // One file of the help file, or "<missing>".
    static std::string Stored(const std::string& name) {
        IStream* stream = nullptr;
        if (help_->OpenStream(Wide(name, CP_ACP).c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream) != S_OK)
            return "<missing>";
        std::string bytes;
        char chunk[4096];
        ULONG read = 0;
        while (stream->Read(chunk, sizeof(chunk), &read) == S_OK && read > 0) bytes.append(chunk, read);
        stream->Release();
        return bytes;
    }

    static IStorage* help_;
};
IStorage* HelpFileTest::help_ = nullptr;

TEST_F(HelpFileTest, HoldsTheContentsAndEveryPageInTheCodePageTheJapaneseViewerReads) {
    std::vector<std::string> files = ProjectFiles();
    EXPECT_GE(files.size(), 8u);
    files.push_back("Quorvil.hhc");
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        std::string stored = Stored(file), expected = AsShipped(Source(file));
        size_t same = std::mismatch(stored.begin(), stored.begin() + std::min(stored.size(), expected.size()),
                                    expected.begin()).first - stored.begin();
        EXPECT_TRUE(stored == expected) << "differs from byte " << same << " on; " << stored.size() << " bytes held, "
                                        << expected.size() << " expected";
        if (file.find(".htm") == std::string::npos) continue;
        EXPECT_NE(stored.find("charset=Shift_JIS"), std::string::npos);
        EXPECT_TRUE(std::regex_search(stored, std::regex("<title>[^<]+</title>")));
    }
}

TEST_F(HelpFileTest, EveryLinkLeadsToAPageOfTheFileAndEveryPageIsInTheContents) {
    std::vector<std::string> files = ProjectFiles();
    std::set<std::string> held(files.begin(), files.end()), inContents;
    const std::regex link("(?:href|value)=\"([^\"#:]+\\.(?:htm|css))[\"#]");
    files.push_back("Quorvil.hhc");
    for (const std::string& file : files) {
        if (file.find(".htm") == std::string::npos && file.find(".hhc") == std::string::npos) continue;
        std::string text = Stored(file);
        for (std::sregex_iterator it(text.begin(), text.end(), link), end; it != end; ++it) {
            EXPECT_EQ(held.count((*it)[1]), 1u) << file << " links to " << (*it)[1];
            if (file == "Quorvil.hhc") inContents.insert((*it)[1]);
        }
    }
    for (const std::string& file : held) {
        if (file.find(".htm") == std::string::npos) continue;
        EXPECT_EQ(inContents.count(file), 1u) << file;
    }
}

}  // namespace
