// Entry point of Quorvil.exe: the main dialog and the message loop.
#include <windows.h>
#include <commctrl.h>

#include "common/message_box.h"
#include "mainwindow/main_window.h"
#include "common/texts.h"
#include "resources/resource.h"

namespace {

// The process's exit code when it ends for any reason but the main window's close.
constexpr int kExitFailure = 1;

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // The list view class must exist before the dialog template names it.
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc, 0);
    if (!dialog) {
        // Without a window nothing would ever end the message loop.
        ShowMessage(nullptr, kMainWindowNotCreated, kAppCaption, MB_OK | MB_ICONERROR);
        return kExitFailure;
    }

    MSG message;
    BOOL received;
    // Accelerators come first so that Shift+Enter edits instead of pressing OK.
    while ((received = GetMessageA(&message, nullptr, 0, 0)) > 0) {
        if (TranslateAcceleratorA(dialog, accelerators, &message)) continue;
        if (IsDialogMessageA(dialog, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    // A failed GetMessageA leaves `message` as the last message held it: no WM_QUIT, no code.
    if (received < 0) return kExitFailure;
    return static_cast<int>(message.wParam);
}
