// The edit-entry and options dialogs on what they are given, run modally over a window of the
// test's own and driven from inside their own message loops.
#include "common/texts.h"
#include "dialogs/edit_entry_dialog.h"
#include "dialogs/options_dialog.h"
#include "stores/registry_store.h"
#include "tests/support/entry_fixture.h"
#include "tests/support/message_box_interceptor.h"
#include "tests/support/modal_script.h"
#include "tests/support/registry_fixture.h"

// The program-wide instance the edit dialog attaches; the main window defines it.
PathEditControl pathEditControl;

namespace {

using Strings = std::vector<std::string>;

class DialogTest : public testing::Test {
protected:
    void SetUp() override {
        owner_ = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300, nullptr, nullptr,
                                 nullptr, nullptr);
    }
    void TearDown() override { DestroyWindow(owner_); }

    RegistryKeyGuard registry_;
    MessageBoxInterceptor boxes_;
    EntryList names_;
    HWND owner_ = nullptr;
};

// Code page 932 text as the edit holds it, and back.
std::wstring Wide(const std::string& text) {
    std::wstring wide(text.size() + 1, L'\0');
    wide.resize(MultiByteToWideChar(932, 0, text.c_str(), -1, &wide[0], int(wide.size())) - 1);
    return wide;
}

TEST_F(DialogTest, EditEntryValidatesInOrderAndFillsTheBufferFromTheFields) {
    RegistryKeyGuard::CreateSubkey("Abc", "C:\\Abc.htm");
    RegistryKeyGuard::CreateSubkey("Other", "C:\\Other.htm");
    RegistryKeyGuard::CreateSubkey("cafe", "C:\\cafe.htm");
    // A subkey the list keeps out of sight, whose name stays taken.
    RegistryKeyGuard::CreateSubkeyW(L"Kept", REG_SZ, RegistryKeyGuard::Utf16(L"C:\\caf\u00E9.htm"));
    LoadFromRegistry(names_, nullptr);
    const MenuExtEntry kNew = MakeEntry("", "C:\\old.htm", 0x13, 1, 0), kAbc = MakeEntry("Abc", nullptr, 0x1FF, 5, 0);
    auto repeat = [](const wchar_t* text, int times) { std::wstring s; while (times-- > 0) s += text; return s; };
    struct Case {
        MenuExtEntry start;
        int editIndex;
        std::wstring name, target;  // typed into 5001 and 5002
        uint32_t tick;              // boxes 5003 + bit ticked before OK
        const char* refusal;        // nullptr: accepted, and then the buffer holds:
        uint32_t contexts = 0, flags = 0;
        int enabled = 0;
    } kCases[] = {
        {kNew, -1, L"", L"", 0, kNameEmpty},
        {kNew, -1, L"\\abc", L"C:\\x.htm", 0, kNameStartsWithBackslash},
        {kNew, -1, L"a\\b", L"C:\\x.htm", 0x41, nullptr, 0x41, 0, 1},
        {kNew, -1, L"  ", L"C:\\x.htm", 0x80, nullptr, 0, 1, 1},
        {kNew, -1, L"ABC", L"C:\\x.htm", 0, kNameExists},
        {kNew, -1, L"KEPT", L"C:\\x.htm", 0, kNameExists},
        {kNew, -1, L"New", L"", 0, kTargetEmpty},
        // What code page 932 cannot hold is refused before anything else: café is not cafe.
        {kNew, -1, L"caf\u00E9", L"C:\\x.htm", 0, kNameUnusable},
        {kNew, -1, L"\uD55C", L"", 0, kNameUnusable},
        {kNew, -1, L"", L"C:\\\uD55C.htm", 0, kTargetUnusable},
        // 64 bytes of name and 259 of file fit; one byte more does not.
        {kNew, -1, repeat(L"表", 32), L"C:\\表\\ソ.htm", 0, nullptr, 0, 0, 1},
        {kNew, -1, repeat(L"表", 32) + L"x", L"C:\\x.htm", 0, kNameTooLong},
        {kNew, -1, L"New", repeat(L"ソ", 129) + L"x", 0, nullptr, 0, 0, 1},
        {kNew, -1, L"New", repeat(L"ソ", 129) + L"xy", 0, kTargetTooLong},
        {kAbc, 0, L"ABC", L"C:\\Abc.htm", 0, nullptr, 0x7F, 1, 0},
        {kAbc, 0, L"other", L"C:\\Abc.htm", 0, kNameExists},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(&c - kCases);
        EditEntryRequest request = {c.start, c.editIndex, &names_};
        const size_t boxes = boxes_.Boxes().size();
        ModalScript script("編集", {[&](HWND dialog) {
            EXPECT_EQ(pathEditControl.Window(), GetDlgItem(dialog, IDC_ENTRY_FILE));
            char file[MAX_PATH] = {};
            GetDlgItemTextA(dialog, IDC_ENTRY_FILE, file, MAX_PATH);
            EXPECT_STREQ(file, c.editIndex < 0 ? "" : c.start.target);
            for (int bit = 0; bit < 8; ++bit) {
                bool shown = c.editIndex >= 0 && (bit < 7 ? (c.start.contexts >> bit) & 1 : c.start.flags != 0);
                EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_CONTEXT_DEFAULT + bit), shown ? 1u : 0u) << bit;
                if ((c.tick >> bit) & 1) CheckDlgButton(dialog, IDC_CONTEXT_DEFAULT + bit, BST_CHECKED);
            }
            SetDlgItemTextW(dialog, IDC_ENTRY_NAME, c.name.c_str());
            SetDlgItemTextW(dialog, IDC_ENTRY_FILE, c.target.c_str());
            SendMessageA(dialog, WM_COMMAND, IDOK, 0);
            if (!IsWindowVisible(dialog)) return true;
            wchar_t name[128] = {};
            GetDlgItemTextW(dialog, IDC_ENTRY_NAME, name, 128);
            EXPECT_EQ(name, c.name);  // the input stays for the user to mend
            return SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0), true;
        }});
        INT_PTR result = RunEditEntryDialog(owner_, &request);
        EXPECT_EQ(pathEditControl.Window(), nullptr);  // came loose with the dialog
        const MenuExtEntry& got = request.entry;
        EXPECT_EQ(result, c.refusal ? IDCANCEL : IDOK);
        const Strings refused = {Box(c.refusal ? c.refusal : "", "Quorvil", MB_OK | MB_ICONWARNING)};
        EXPECT_EQ(boxes_.Shown(boxes), c.refusal ? refused : Strings{});
        if (c.refusal) {
            // What the buffers cannot hold as typed never reaches them, cut or changed.
            if (c.refusal == kNameUnusable || c.refusal == kNameTooLong) {
                EXPECT_STREQ(got.name, c.start.name);
            }
            if (c.refusal == kTargetUnusable || c.refusal == kTargetTooLong) {
                EXPECT_STREQ(got.target, c.start.target);
            }
            continue;
        }
        EXPECT_EQ(Wide(got.name) + L"|" + Wide(got.target), c.name + L"|" + c.target);
        EXPECT_EQ(got.contexts, c.contexts);
        EXPECT_EQ(got.flags, c.flags);
        EXPECT_EQ(got.enabled, c.enabled);
    }
}

// Typed as the keyboard types it: one character message after another through the dialog's own
// loop. 表 ends in the byte 0x5C, which must arrive as part of 表 in either field.
TEST_F(DialogTest, TypedDoubleByteTextArrivesWholeInBothFields) {
    EditEntryRequest request = {MakeEntry("", "C:\\old.htm"), -1, &names_};
    ModalScript script("編集", {[](HWND dialog) {
                                   for (int id : {IDC_ENTRY_NAME, IDC_ENTRY_FILE})
                                       for (wchar_t c : std::wstring(L"表a"))
                                           PostMessageW(GetDlgItem(dialog, id), WM_CHAR, c, 1);
                                   return true;
                               },
                               [](HWND dialog) { return PostMessageA(dialog, WM_COMMAND, IDOK, 0), true; }});
    ASSERT_EQ(RunEditEntryDialog(owner_, &request), IDOK);
    EXPECT_EQ(std::string(request.entry.name) + "|" + request.entry.target, "表a|表a");
}

TEST_F(DialogTest, OptionsShowAnyNonZeroAsTickedAndStoreZeroOrOne) {
    const int kBoxes[] = {IDC_DIS_SLASH, IDC_DIS_BOTTOM, IDC_DIS_NO_SAVE_POS};
    for (int command : {IDOK, IDCANCEL}) {
        Options options = {7, 0, 1};  // 7 as set by hand in the ini file
        ModalScript script("設定", {[&](HWND dialog) {
            for (int i = 0; i < 3; ++i) EXPECT_EQ(IsDlgButtonChecked(dialog, kBoxes[i]), i == 1 ? 0u : 1u) << i;
            CheckDlgButton(dialog, IDC_DIS_BOTTOM, BST_CHECKED);
            CheckDlgButton(dialog, IDC_DIS_NO_SAVE_POS, BST_UNCHECKED);
            return SendMessageA(dialog, WM_COMMAND, command, 0), true;
        }});
        EXPECT_EQ(RunOptionsDialog(owner_, &options), command);
        EXPECT_EQ(std::vector<int32_t>({options.DisSlash, options.DisBottom, options.DisNoSavePos}),
                  (command == IDOK ? std::vector<int32_t>{1, 1, 0} : std::vector<int32_t>{7, 0, 1})) << command;
    }
}

}  // namespace
