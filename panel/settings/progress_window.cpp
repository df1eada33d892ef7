#include "panel/settings/progress_window.h"

#include "panel/resources/resource.h"
#include "panel/shell/panel_state.h"
#include "panel/shell/show_message.h"

HWND CreateProgressWindow(UINT textId) {
    HINSTANCE instance = MainWindow ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(MainWindow, GWLP_HINSTANCE))
                                    : GetModuleHandleA(nullptr);
    HWND window = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_PROGRESS), MainWindow, nullptr, 0);
    if (!window) return nullptr;
    char text[256];
    SetDlgItemTextA(window, IDC_PROGRESS_TEXT, LoadText(textId, text, sizeof text));
    SendMessageA(window, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadIconA(instance, MAKEINTRESOURCEA(IDI_PRINTER))));
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);  // painted once: no messages are pumped while the printer works
    return window;
}

void DestroyProgressWindow(HWND* window) {
    if (*window) DestroyWindow(*window);
    *window = nullptr;
}
