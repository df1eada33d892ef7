// Entry point of the status monitor. For now the monitor window (dialog 197)
// alone; the registry slot, the timer and the tray icon join it later.
#include <windows.h>

#include "monitor/resources/resource.h"

namespace {

INT_PTR CALLBACK MonitorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) DestroyWindow(dialog);
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(dialog);
        return TRUE;
    case WM_DESTROY:
        PostQuitMessage(0);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MONITOR), nullptr, MonitorDialogProc, 0);
    if (!dialog) return 0;
    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_MONITOR));
    SetClassLongPtrA(dialog, GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));
    ShowWindow(dialog, showCommand);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageA(dialog, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
