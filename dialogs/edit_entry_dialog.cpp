// The edit-entry dialog: fills its fields from the entry being edited, reads them back and
// refuses input the entry list or the registry could not keep.
#include "dialogs/edit_entry_dialog.h"

#include <cstring>
#include <string>

#include "controls/path_edit.h"
#include "formats/unicode_text.h"
#include "common/message_box.h"
#include "common/texts.h"
#include "resources/resource.h"
#include "shell/window_utils.h"

namespace {

// The edits count characters, the entry's buffers bytes: 64 double-byte characters are
// 128 bytes. The fields are therefore read whole and measured before anything is copied.
constexpr int kNameCharacters = 64;
constexpr int kTargetCharacters = 258;

// Check boxes 5003 to 5009 stand for the context bits 0x01 to 0x40, in order.
constexpr int kFirstContextBox = IDC_CONTEXT_DEFAULT;

// A field's text in code page 932. The edit holds Unicode, which the ANSI functions would hand
// over with a best-fit look-alike or "?" in place of a character code page 932 lacks (café as
// cafe): such a text, and one with a line break, is not the one typed, so `whole` says false.
std::string FieldText(HWND dialog, int id, bool* whole) {
    HWND field = GetDlgItem(dialog, id);
    *whole = true;
    std::string text;
    if (!SystemKeepsUnicode()) {
        // Windows 95 and 98 keep the text in the ANSI code page already.
        text.assign(static_cast<size_t>(GetWindowTextLengthA(field)) + 1, '\0');
        text.resize(static_cast<size_t>(GetWindowTextA(field, &text[0], static_cast<int>(text.size()))));
    } else {
        std::wstring wide(static_cast<size_t>(GetWindowTextLengthW(field)) + 1, L'\0');
        wide.resize(static_cast<size_t>(GetWindowTextW(field, &wide[0], static_cast<int>(wide.size()))));
        *whole = AppendProgramCodePage(wide.c_str(), wide.size(), &text);
    }
    if (HasLineBreak(text.c_str())) *whole = false;
    return text;
}

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

// Copies `text` into a buffer of `size` bytes when it fits whole; a text that does not fit
// leaves the buffer as it was, since a cut one would be a name the user never typed.
void CopyIfFits(const std::string& text, char* buffer, size_t size) {
    if (text.size() < size) memcpy(buffer, text.c_str(), text.size() + 1);
}

EditEntryRequest* RequestOf(HWND dialog) {
    return reinterpret_cast<EditEntryRequest*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

BOOL OnInitDialog(HWND dialog, EditEntryRequest* request) {
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(request));
    CenterWindow(dialog, GetWindow(dialog, GW_OWNER));
    // Fails only while a previous edit of the instance still exists; the field then stays plain.
    pathEditControl.Attach(GetDlgItem(dialog, IDC_ENTRY_FILE), PathEditMode::OpenFile);
    SendDlgItemMessageA(dialog, IDC_ENTRY_NAME, EM_LIMITTEXT, kNameCharacters, 0);
    SendDlgItemMessageA(dialog, IDC_ENTRY_FILE, EM_LIMITTEXT, kTargetCharacters, 0);
    MenuExtEntry& entry = request->entry;
    if (entry.name[0] == '\0') {
        entry.enabled = 1;
        return TRUE;
    }
    SetDlgItemTextA(dialog, IDC_ENTRY_NAME, entry.name);
    SetDlgItemTextA(dialog, IDC_ENTRY_FILE, entry.target);
    for (int bit = 0; bit < kContextBitCount; ++bit)
        CheckDlgButton(dialog, kFirstContextBox + bit, (entry.contexts & (1u << bit)) ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_SHOW_AS_DIALOG, entry.flags ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

// The first thing wrong with the typed entry, or nullptr when it can be kept. A character that
// cannot be kept comes first: café is no duplicate of an existing cafe.
const char* RefusalOf(const EditEntryRequest& request, const std::string& name, bool nameWhole,
                      const std::string& target, bool targetWhole) {
    if (!nameWhole) return kNameUnusable;
    if (!targetWhole) return kTargetUnusable;
    if (name.empty()) return kNameEmpty;
    if (name[0] == '\\') return kNameStartsWithBackslash;
    // Also the name of a subkey the list keeps out of sight: Update would write into it.
    if (request.names && request.names->IsNameTaken(name.c_str(), request.index)) return kNameExists;
    if (target.empty()) return kTargetEmpty;
    if (name.size() >= static_cast<size_t>(kNameSize)) return kNameTooLong;
    if (target.size() >= static_cast<size_t>(kTargetSize)) return kTargetTooLong;
    return nullptr;
}

BOOL OnOk(HWND dialog) {
    bool nameWhole, targetWhole;
    const std::string name = FieldText(dialog, IDC_ENTRY_NAME, &nameWhole);
    const std::string target = FieldText(dialog, IDC_ENTRY_FILE, &targetWhole);
    EditEntryRequest* request = RequestOf(dialog);
    MenuExtEntry& entry = request->entry;
    if (nameWhole) CopyIfFits(name, entry.name, sizeof(entry.name));
    if (targetWhole) CopyIfFits(target, entry.target, sizeof(entry.target));
    entry.contexts = 0;
    for (int bit = 0; bit < kContextBitCount; ++bit)
        if (Checked(dialog, kFirstContextBox + bit)) entry.contexts |= 1u << bit;
    entry.flags = Checked(dialog, IDC_SHOW_AS_DIALOG) ? 1 : 0;

    if (const char* refusal = RefusalOf(*request, name, nameWhole, target, targetWhole)) {
        ShowMessage(dialog, refusal, kAppCaption, MB_OK | MB_ICONWARNING);
        return TRUE;
    }
    EndDialog(dialog, IDOK);
    return TRUE;
}

BOOL OnCommand(HWND dialog, int id) {
    switch (id) {
    case IDOK: return OnOk(dialog);
    case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
    default: return FALSE;
    }
}

}  // namespace

INT_PTR RunEditEntryDialog(HWND owner, EditEntryRequest* request) {
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_EDIT_ENTRY), owner, EditEntryDialog,
                           reinterpret_cast<LPARAM>(request));
}

INT_PTR CALLBACK EditEntryDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog, reinterpret_cast<EditEntryRequest*>(lParam));
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam));
    default: return FALSE;
    }
}
