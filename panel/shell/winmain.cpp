// Entry point of the remote panel. For now the main window only: class
// "veldra6", fixed size, centred, with its menu and accelerators; the setting
// pages, the printer choice and the first read join it later.
#include <windows.h>

#include "common/library_search.h"
#include "panel/resources/resource.h"

namespace {

const char kMainClass[] = "veldra6";
const int kClientWidth = 560;
const int kClientHeight = 360;

HINSTANCE g_instance;

void OnCreate(HWND) {}

void OnCommand(HWND window, int id) {
    if (id == IDM_FILE_EXIT) DestroyWindow(window);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        OnCreate(window);
        return 0;
    case WM_COMMAND:
        OnCommand(window, LOWORD(wParam));
        return 0;
    case WM_CTLCOLORSTATIC:  // labels on the white client area, not grey boxes
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterMainClass() {
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = g_instance;
    wc.hIcon = LoadIconA(g_instance, MAKEINTRESOURCEA(IDI_PRINTER));
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszMenuName = MAKEINTRESOURCEA(IDM_MAIN);
    wc.lpszClassName = kMainClass;
    return RegisterClassA(&wc) != 0;
}

HWND CreateMainWindow(int showCommand) {
    char caption[128];
    if (!LoadStringA(g_instance, IDS_APP_CAPTION, caption, sizeof caption)) caption[0] = '\0';
    const DWORD style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame = {0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, style, TRUE, 0);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    HWND window = CreateWindowExA(0, kMainClass, caption, style, left, top, width, height, nullptr, nullptr,
                                  g_instance, nullptr);
    if (window) {
        ShowWindow(window, showCommand);
        UpdateWindow(window);
    }
    return window;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    // Before any library is loaded by name (the LAN library among them).
    KeepCurrentFolderOutOfLibrarySearch();
    g_instance = instance;
    if (!RegisterMainClass()) return 0;
    HWND window = CreateMainWindow(showCommand);
    if (!window) return 0;
    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDA_MAIN));
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (accelerators && TranslateAcceleratorA(window, accelerators, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
