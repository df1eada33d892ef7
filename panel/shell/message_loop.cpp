#include "panel/shell/message_loop.h"

#include "panel/records/panel_records.h"
#include "panel/settings/settings_tabs.h"
#include "panel/ui/accelerator_slots.h"

namespace {

bool Exists(HWND window) { return window && IsWindow(window); }

// Pages before their container, the container's tab control before the
// container itself, and so on: the innermost window that can take a
// navigation key gets it first.
bool NavigateDialogs(MSG* msg) {
    const HWND order[] = {
        SettingsPageWindow(),
        SettingsTabControl(),
        SettingsTabsWindow(),
        ConsumablesWindows.window,
        ConsumablesWindows.countersPage,
        ConsumablesWindows.headPinPage,
        ConsumablesWindows.detailTabs,
        ConsumablesWindows.detail,
    };
    for (HWND window : order) {
        if (Exists(window) && IsDialogMessageA(window, msg)) return true;
    }
    return false;
}

}  // namespace

bool PreTranslatePanelMessage(MSG* msg) { return TranslateSlotAccelerators(msg) || NavigateDialogs(msg); }

int RunMessageLoop() {
    MSG msg = {};
    for (;;) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) break;
        if (got == -1) return 0;
        if (PreTranslatePanelMessage(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
