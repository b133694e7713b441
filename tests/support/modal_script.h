// Drives a modal dialog from inside its own loop, as a person would: a thread timer runs the
// steps in turn once a dialog with the caption is up. A step returns false to run again on
// the next tick (to wait for the dialog). A script that cannot finish closes the dialog after
// some seconds, so a failing test ends.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class ModalScript {
public:
    using Step = std::function<bool(HWND dialog)>;
    ModalScript(const char* caption, std::vector<Step> steps);
    ~ModalScript();
    bool Finished() const { return next_ == steps_.size(); }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    std::string caption_;
    std::vector<Step> steps_;
    size_t next_ = 0;
    int ticks_ = 0;
    bool running_ = false;
    UINT_PTR timer_;
};
