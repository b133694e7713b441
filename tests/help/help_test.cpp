// Quorvil.chm as the build leaves it beside Quorvil.exe, read back through itss.dll, the
// storage the help viewer reads it with.
#include <regex>
#include <set>

#include "tests/mainwindow/main_dialog_harness.h"

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

// A UTF-8 source as the help file must hold it: code page 932 as Windows itself converts it
// (no character lost or replaced by a look-alike), lines ended by CR LF.
std::string AsShipped(const std::string& name) {
    std::string utf8, text, lines;
    EXPECT_TRUE(TempDir::ReadFile(TempDir::BuildPath(QUORVIL_HELP_SOURCE_DIR "/" + name), &utf8)) << name;
    std::wstring wide = Wide(utf8, CP_UTF8);
    BOOL lossy = FALSE;
    text.resize(wide.size() * 2);
    text.resize(WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide.data(), (int)wide.size(), &text[0],
                                    (int)text.size(), nullptr, &lossy));
    EXPECT_FALSE(lossy) << name << " holds a character that code page 932 has no form for";
    for (char c : text) {
        if (c == '\n') lines += '\r';
        if (c != '\r') lines += c;
    }
    return lines;
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
        EXPECT_TRUE(text == AsShipped(file)) << file << ", " << text.size() << " bytes, is not its source";
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

// The Help item of the real main dialog follows the file the build leaves beside Quorvil.exe.
TEST_F(MainDialogTest, HelpItemIsEnabledBesideTheBuiltHelpFileAndGreyWithoutIt) {
    Open();
    HMENU help = GetSubMenu(GetMenu(dialog_), 3);
    auto enabled = [&] {
        SendMessageA(dialog_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(help), 3);
        return !(GetMenuState(help, IDM_HELP, MF_BYCOMMAND) & MF_GRAYED);
    };
    EXPECT_FALSE(enabled()) << "in a folder without Quorvil.chm";
    lstrcpynA(mainWindow.dataFolder, TempDir::BuildPath(QUORVIL_EXE_DIR "/").c_str(), MAX_PATH);
    EXPECT_TRUE(enabled()) << "beside the built Quorvil.exe";
}

}  // namespace
