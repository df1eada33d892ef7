#include "panel/shell/message_loop.h"

#include "panel/settings/settings_tabs.h"

ConsumablesWindowSet ConsumablesWindows;

namespace {

struct Slot {
    HWND window;
    HACCEL table;
};
Slot g_slots[AccelSlotCount];

bool Exists(HWND window) { return window && IsWindow(window); }

bool TranslateAccelerators(MSG* msg) {
    for (Slot& slot : g_slots) {
        if (slot.table && Exists(slot.window) && TranslateAcceleratorA(slot.window, slot.table, msg)) return true;
    }
    return false;
}

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

void SetAcceleratorSlot(AcceleratorSlot slot, HWND window, HACCEL table) {
    if (slot < 0 || slot >= AccelSlotCount) return;
    Slot& s = g_slots[slot];
    if (s.table && s.table != table) DestroyAcceleratorTable(s.table);
    s.window = window;
    s.table = table;
}

bool PreTranslatePanelMessage(MSG* msg) { return TranslateAccelerators(msg) || NavigateDialogs(msg); }

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
