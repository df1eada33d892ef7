#include "panel/ui/progress_window.h"

#include "panel/records/panel_records.h"
#include "panel/resources/resource.h"
#include "panel/ui/show_message.h"

HWND CreateProgressWindow(UINT textId) {
    const HINSTANCE instance = ProgramInstance();
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
