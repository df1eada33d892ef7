#include "monitor/tray_icon.h"

#include <cstring>

#include "common/cp932_text.h"
#include "monitor/resources/resource.h"
#include "monitor/window_calls.h"

namespace {

const UINT kTrayIconId = 1;
// The tip of the oldest shell's icon data.
const std::size_t kTipSize = 64;

#if !defined(_WIN64)
static_assert(NOTIFYICONDATAA_V1_SIZE == 88, "the shell of every Windows takes the 88-byte icon data");
#endif

}  // namespace

void InitTrayIcon(HWND window, MonitorState* state) {
    NOTIFYICONDATAA& tray = state->tray;
    std::memset(&tray, 0, sizeof tray);
    tray.cbSize = NOTIFYICONDATAA_V1_SIZE;
    tray.hWnd = window;
    tray.uID = kTrayIconId;
    tray.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    tray.uCallbackMessage = TrayMessage;
    tray.hIcon = LoadIconA(state->instance, MAKEINTRESOURCEA(IDI_MONITOR));
}

bool AddTrayIcon(MonitorState* state) { return WindowCalls().notifyIcon(NIM_ADD, &state->tray) != FALSE; }

void DeleteTrayIcon(MonitorState* state) { WindowCalls().notifyIcon(NIM_DELETE, &state->tray); }

void UpdateTrayIcon(MonitorState* state, HICON icon, const char* title) {
    char tip[kTipSize] = {};
    CopyCp932(tip, sizeof tip, title);
    NOTIFYICONDATAA& tray = state->tray;
    const bool changed = tray.hIcon != icon || std::memcmp(tray.szTip, tip, sizeof tip) != 0;
    tray.hIcon = icon;
    std::memcpy(tray.szTip, tip, sizeof tip);
    if (changed && state->iconShown) WindowCalls().notifyIcon(NIM_MODIFY, &tray);
}

UINT TrackTrayMenu(HWND window, const MonitorState* state) {
    HMENU bar = LoadMenuA(state->instance, MAKEINTRESOURCEA(IDM_TRAY));
    if (!bar) return 0;
    POINT at = {};
    GetCursorPos(&at);
    // Foreground first, or the menu would not close when the user clicks
    // elsewhere.
    SetForegroundWindow(window);
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(GetSubMenu(bar, 0),
                                                         TPM_RIGHTALIGN | TPM_BOTTOMALIGN | TPM_RIGHTBUTTON |
                                                             TPM_RETURNCMD,
                                                         at.x, at.y, 0, window, nullptr));
    PostMessageA(window, WM_USER, 0, 0);
    DestroyMenu(bar);
    return chosen;
}
