// The floor that scripts/bench holds the remote panel's start-up against:
// the least a Win32 program does to put a dialog from its resources on the
// screen. It opens the dialog and waits for the user; nothing else.
#include <windows.h>

#include "tests/win/bench/startbase.h"

namespace {

INT_PTR CALLBACK BaseDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return static_cast<int>(DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_STARTBASE), nullptr, BaseDialogProc, 0));
}
