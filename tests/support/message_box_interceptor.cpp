#include "tests/support/message_box_interceptor.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

MessageBoxInterceptor* g_active = nullptr;

std::string Text(HWND window) {
    char text[2048] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

UINT StyleOf(HWND box) {
    auto has = [box](int id) { return GetDlgItem(box, id) != nullptr; };
    UINT style = has(IDYES) ? (has(IDCANCEL) ? MB_YESNOCANCEL : MB_YESNO) : (has(IDCANCEL) ? MB_OKCANCEL : MB_OK);
    // The system icons are shared, so the box shows the very handles LoadIcon returns.
    const UINT kIcons[][2] = {{32513, MB_ICONERROR}, {32514, MB_ICONQUESTION}, {32515, MB_ICONWARNING},
                              {32516, MB_ICONINFORMATION}};
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        for (const auto& icon : kIcons)
            if (SendMessageA(child, STM_GETICON, 0, 0) == LRESULT(LoadIconA(nullptr, MAKEINTRESOURCEA(icon[0]))))
                style |= icon[1];
    return style;
}

// A message box is a dialog run by user32's own dialog procedure. Its text static shares the
// id 0xFFFF with every IDC_STATIC label, so the controls alone cannot tell it from a dialog
// of the program's; where its procedure lives can.
bool IsMessageBox(HWND window) {
    char className[16] = {};
    GetClassNameA(window, className, sizeof(className));
    // Read with the window's own character set, or a thunk comes back in place of the address.
    LONG_PTR procedure = IsWindowUnicode(window) ? GetWindowLongPtrW(window, DWLP_DLGPROC)
                                                 : GetWindowLongPtrA(window, DWLP_DLGPROC);
    MEMORY_BASIC_INFORMATION memory;
    return !strcmp(className, "#32770") && procedure &&
           VirtualQuery(reinterpret_cast<void*>(procedure), &memory, sizeof(memory)) &&
           memory.AllocationBase == GetModuleHandleA("user32.dll");
}

}  // namespace

std::string Box(const std::string& text, const std::string& caption, UINT style) {
    char hex[16];
    snprintf(hex, sizeof(hex), "%x", style);
    return text + " | " + caption + " | " + hex;
}

std::vector<std::string> MessageBoxInterceptor::Shown(size_t from) const {
    std::vector<std::string> shown;
    for (size_t i = from; i < boxes_.size(); ++i) shown.push_back(Box(boxes_[i].text, boxes_[i].caption, boxes_[i].style));
    return shown;
}

MessageBoxInterceptor::MessageBoxInterceptor() : hook_(SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId())) {
    g_active = this;
}

MessageBoxInterceptor::~MessageBoxInterceptor() {
    UnhookWindowsHookEx(hook_);
    g_active = nullptr;
}

LRESULT CALLBACK MessageBoxInterceptor::Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && g_active) g_active->Intercept(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void MessageBoxInterceptor::Intercept(HWND box) {
    if (!IsMessageBox(box) || std::count(seen_.begin(), seen_.end(), box)) return;
    // The text is static 0xFFFF on Windows and current Wine; older Wine numbers it 100.
    HWND text = GetDlgItem(box, 0xFFFF) ? GetDlgItem(box, 0xFFFF) : GetDlgItem(box, 100);
    seen_.push_back(box);
    boxes_.push_back({GetWindow(box, GW_OWNER), Text(text), Text(box), StyleOf(box)});
    int answer = GetDlgItem(box, IDOK) ? IDOK : GetDlgItem(box, IDCANCEL) ? IDCANCEL : IDNO;
    if (!answers_.empty()) answer = answers_.front(), answers_.pop_front();
    // Posted, so the box ends from its own modal loop as if the button had been clicked.
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, answer)));
}
