// Drives a modal dialog from inside its own message loop: a thread timer runs the steps one
// after another once a dialog with the given caption is up, as a person would act on it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class ModalScript {
public:
    // A step gets the dialog and returns true when done, false to be run again on the next
    // tick (for waiting on the dialog).
    using Step = std::function<bool(HWND dialog)>;

    ModalScript(const char* caption, std::vector<Step> steps);
    ~ModalScript();
    // All steps ran. A script that cannot finish closes the dialog after some seconds, so a
    // failing test ends instead of waiting in the modal loop.
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
