#include "tests/support/message_box_interceptor.h"

namespace {

MessageBoxInterceptor* g_active = nullptr;

// The text of a message box is its static control 0xFFFF on Windows and current Wine; older
// Wine releases number it 100.
const int kMessageBoxTextIds[] = {0xFFFF, 100};

HWND TextControl(HWND box) {
    for (int id : kMessageBoxTextIds)
        if (HWND text = GetDlgItem(box, id)) return text;
    return nullptr;
}

std::string WindowText(HWND window) {
    char buffer[2048] = {};
    GetWindowTextA(window, buffer, sizeof(buffer));
    return buffer;
}

bool IsMessageBox(HWND window) {
    char className[32] = {};
    GetClassNameA(window, className, sizeof(className));
    return lstrcmpA(className, "#32770") == 0 && TextControl(window) != nullptr;
}

UINT ButtonStyle(HWND box) {
    auto has = [box](int id) { return GetDlgItem(box, id) != nullptr; };
    if (has(IDABORT)) return MB_ABORTRETRYIGNORE;
    if (has(IDRETRY)) return MB_RETRYCANCEL;
    if (has(IDYES)) return has(IDCANCEL) ? MB_YESNOCANCEL : MB_YESNO;
    return has(IDCANCEL) ? MB_OKCANCEL : MB_OK;
}

struct IconSearch {
    HICON icon;
};

BOOL CALLBACK FindIcon(HWND child, LPARAM lParam) {
    if ((GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) return TRUE;
    reinterpret_cast<IconSearch*>(lParam)->icon =
        reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    return FALSE;
}

// The system icons are shared, so the box shows the very handles LoadIcon returns.
UINT IconStyle(HWND box) {
    IconSearch search = {nullptr};
    EnumChildWindows(box, FindIcon, reinterpret_cast<LPARAM>(&search));
    if (!search.icon) return 0;
    if (search.icon == LoadIconA(nullptr, MAKEINTRESOURCEA(32513))) return MB_ICONERROR;        // IDI_HAND
    if (search.icon == LoadIconA(nullptr, MAKEINTRESOURCEA(32514))) return MB_ICONQUESTION;     // IDI_QUESTION
    if (search.icon == LoadIconA(nullptr, MAKEINTRESOURCEA(32515))) return MB_ICONWARNING;      // IDI_EXCLAMATION
    if (search.icon == LoadIconA(nullptr, MAKEINTRESOURCEA(32516))) return MB_ICONINFORMATION;  // IDI_ASTERISK
    return 0;
}

int DefaultAnswer(HWND box) {
    if (GetDlgItem(box, IDOK)) return IDOK;
    if (GetDlgItem(box, IDCANCEL)) return IDCANCEL;
    return IDNO;
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

void MessageBoxInterceptor::Answer(int button) { answers_.push_back(button); }

int MessageBoxInterceptor::Count(const char* text, const char* caption) const {
    int count = 0;
    for (const InterceptedBox& box : boxes_)
        if (box.text == text && box.caption == caption) ++count;
    return count;
}

void MessageBoxInterceptor::Intercept(HWND box) {
    // A box can be activated more than once (another window took the focus meanwhile).
    for (HWND known : answered_)
        if (known == box) return;
    answered_.push_back(box);
    InterceptedBox seen;
    seen.owner = GetWindow(box, GW_OWNER);
    seen.text = WindowText(TextControl(box));
    seen.caption = WindowText(box);
    seen.style = ButtonStyle(box) | IconStyle(box);
    seen.answer = DefaultAnswer(box);
    if (!answers_.empty()) {
        seen.answer = answers_.front();
        answers_.pop_front();
    }
    boxes_.push_back(seen);
    // Posted, so the box ends from its own modal loop as if the button had been clicked.
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(seen.answer, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, seen.answer)));
}

LRESULT CALLBACK MessageBoxInterceptor::Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && g_active) {
        HWND window = reinterpret_cast<HWND>(wParam);
        if (IsMessageBox(window)) g_active->Intercept(window);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
