#include "tests/support/modal_script.h"

namespace {
ModalScript* g_script = nullptr;
}  // namespace

ModalScript::ModalScript(const char* caption, std::vector<Step> steps)
    : caption_(caption), steps_(std::move(steps)), timer_(SetTimer(nullptr, 0, 20, Tick)) {
    g_script = this;
}

ModalScript::~ModalScript() {
    KillTimer(nullptr, timer_);
    g_script = nullptr;
}

void CALLBACK ModalScript::Tick(HWND, UINT, UINT_PTR, DWORD) {
    ModalScript* script = g_script;
    // A step that opens a message box runs a loop of its own, which ticks too.
    if (!script || script->running_ || script->Finished()) return;
    HWND dialog = FindWindowA("#32770", script->caption_.c_str());
    if (!dialog || !IsWindowVisible(dialog)) return;
    if (++script->ticks_ > 1000) return static_cast<void>(PostMessageA(dialog, WM_CLOSE, 0, 0));
    script->running_ = true;
    if (script->steps_[script->next_](dialog)) ++script->next_;
    script->running_ = false;
}
