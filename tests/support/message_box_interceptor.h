// Answers the message boxes a test causes and records what they showed. A WH_CBT hook on the
// creating thread acts on each box as it is activated, so code under test runs its real
// MessageBoxA. The program's own dialogs are left alone, labels or not.
#pragma once

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

struct InterceptedBox {
    HWND owner;
    std::string text, caption;
    UINT style;  // MB_OK, MB_OKCANCEL, MB_YESNO or MB_YESNOCANCEL | MB_ICONxxx, from its controls
};

// A box as tests compare them: "text | caption | style", the style in hexadecimal.
std::string Box(const std::string& text, const std::string& caption, UINT style);

class MessageBoxInterceptor {
public:
    MessageBoxInterceptor();
    ~MessageBoxInterceptor();
    // Queues the button (IDOK, IDYES ...) for the next box; else OK, else Cancel, else No.
    void Answer(int button) { answers_.push_back(button); }
    const std::vector<InterceptedBox>& Boxes() const { return boxes_; }
    // The boxes from the `from`th on, each as Box gives it.
    std::vector<std::string> Shown(size_t from = 0) const;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    void Intercept(HWND window);
    HHOOK hook_;
    std::deque<int> answers_;
    std::vector<InterceptedBox> boxes_;
    std::vector<HWND> seen_;  // a box is activated again whenever it gets the focus back
};
