#include "tests/support/message_box_interceptor.h"

#include <algorithm>

namespace {

MessageBoxInterceptor* g_active = nullptr;

std::string WindowText(HWND window) {
    char buffer[2048] = {};
    GetWindowTextA(window, buffer, sizeof(buffer));
    return buffer;
}

// The text is static control 0xFFFF on Windows and current Wine; older Wine numbers it 100.
HWND TextControl(HWND box) {
    HWND text = GetDlgItem(box, 0xFFFF);
    return text ? text : GetDlgItem(box, 100);
}

UINT StyleOf(HWND box) {
    auto has = [box](int id) { return GetDlgItem(box, id) != nullptr; };
    UINT style = has(IDABORT)  ? MB_ABORTRETRYIGNORE
                 : has(IDRETRY) ? MB_RETRYCANCEL
                 : has(IDYES)   ? (has(IDCANCEL) ? MB_YESNOCANCEL : MB_YESNO)
                                : (has(IDCANCEL) ? MB_OKCANCEL : MB_OK);
    // The system icons are shared, so the box shows the very handles LoadIcon returns.
    const struct { int id; UINT style; } kIcons[] = {
        {32513, MB_ICONERROR}, {32514, MB_ICONQUESTION}, {32515, MB_ICONWARNING}, {32516, MB_ICONINFORMATION}};
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) continue;
        HICON icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        for (const auto& known : kIcons)
            if (icon == LoadIconA(nullptr, MAKEINTRESOURCEA(known.id))) style |= known.style;
    }
    return style;
}

}  // namespace

MessageBoxInterceptor::MessageBoxInterceptor() {
    g_active = this;
    hook_ = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

MessageBoxInterceptor::~MessageBoxInterceptor() {
    if (hook_) UnhookWindowsHookEx(hook_);
    if (g_active == this) g_active = nullptr;
}

LRESULT CALLBACK MessageBoxInterceptor::Hook(int code, WPARAM wParam, LPARAM lParam) {
    HWND box = reinterpret_cast<HWND>(wParam);
    char className[32] = {};
    if (code == HCBT_ACTIVATE && g_active && GetClassNameA(box, className, sizeof(className)) &&
        lstrcmpA(className, "#32770") == 0 && TextControl(box) &&
        std::find(g_active->seen_.begin(), g_active->seen_.end(), box) == g_active->seen_.end()) {
        MessageBoxInterceptor& self = *g_active;
        self.seen_.push_back(box);
        int answer = GetDlgItem(box, IDOK) ? IDOK : GetDlgItem(box, IDCANCEL) ? IDCANCEL : IDNO;
        if (!self.answers_.empty()) {
            answer = self.answers_.front();
            self.answers_.pop_front();
        }
        self.boxes_.push_back({GetWindow(box, GW_OWNER), WindowText(TextControl(box)), WindowText(box), StyleOf(box),
                               answer});
        // Posted, so the box ends from its own modal loop as if the button had been clicked.
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, answer)));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
