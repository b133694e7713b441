// The edit-entry dialog: fills its fields from the entry being edited, reads them back and
// refuses input the entry list or the registry could not keep.
#include "settings/edit_entry_dialog.h"

#include <cstring>
#include <string>

#include "controls/path_edit.h"
#include "mainwindow/main_window.h"
#include "mainwindow/messages.h"
#include "resources/resource.h"
#include "settings/window_utils.h"

namespace {

// The edits count characters, the entry's buffers bytes: 64 double-byte characters are
// 128 bytes. The fields are therefore read whole and measured before anything is copied.
constexpr int kNameCharacters = 64;
constexpr int kTargetCharacters = 258;

// Check boxes 5003 to 5009 stand for the context bits 0x01 to 0x40, in order.
constexpr int kFirstContextBox = IDC_CONTEXT_DEFAULT;

std::string FieldText(HWND dialog, int id) {
    HWND field = GetDlgItem(dialog, id);
    std::string text(static_cast<size_t>(GetWindowTextLengthA(field)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(field, &text[0], static_cast<int>(text.size()))));
    return text;
}

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

// Copies `text` into a buffer of `size` bytes when it fits whole; a text that does not fit
// leaves the buffer as it was, since a cut one would be a name the user never typed.
void CopyIfFits(const std::string& text, char* buffer, size_t size) {
    if (text.size() < size) memcpy(buffer, text.c_str(), text.size() + 1);
}

BOOL OnInitDialog(HWND dialog) {
    CenterWindow(dialog, GetWindow(dialog, GW_OWNER));
    // Fails only while a previous edit of the instance still exists; the field then stays plain.
    pathEditControl.Attach(GetDlgItem(dialog, IDC_ENTRY_FILE), PathEditMode::OpenFile);
    SendDlgItemMessageA(dialog, IDC_ENTRY_NAME, EM_LIMITTEXT, kNameCharacters, 0);
    SendDlgItemMessageA(dialog, IDC_ENTRY_FILE, EM_LIMITTEXT, kTargetCharacters, 0);
    MenuExtEntry& entry = mainWindow.editBuffer;
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

// The first thing wrong with the typed entry, or nullptr when it can be kept.
const char* RefusalOf(const std::string& name, const std::string& target) {
    if (name.empty()) return kNameEmpty;
    if (name[0] == '\\') return kNameStartsWithBackslash;
    int found = entryList.FindEntryByName(name.c_str());
    if (found != -1 && found != mainWindow.editIndex) return kNameExists;
    if (target.empty()) return kTargetEmpty;
    if (name.size() >= static_cast<size_t>(kNameSize)) return kNameTooLong;
    if (target.size() >= static_cast<size_t>(kTargetSize)) return kTargetTooLong;
    return nullptr;
}

BOOL OnOk(HWND dialog) {
    const std::string name = FieldText(dialog, IDC_ENTRY_NAME);
    const std::string target = FieldText(dialog, IDC_ENTRY_FILE);
    MenuExtEntry& entry = mainWindow.editBuffer;
    CopyIfFits(name, entry.name, sizeof(entry.name));
    CopyIfFits(target, entry.target, sizeof(entry.target));
    entry.contexts = 0;
    for (int bit = 0; bit < kContextBitCount; ++bit)
        if (Checked(dialog, kFirstContextBox + bit)) entry.contexts |= 1u << bit;
    entry.flags = Checked(dialog, IDC_SHOW_AS_DIALOG) ? 1 : 0;

    if (const char* refusal = RefusalOf(name, target)) {
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

INT_PTR CALLBACK EditEntryDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam));
    default: return FALSE;
    }
}
