#include "panel/shell/tab_hook.h"

#include <commctrl.h>

#include "panel/core/consumables_rules.h"
#include "panel/core/tab_key_rules.h"
#include "panel/records/panel_records.h"
#include "panel/resources/resource.h"
#include "panel/settings/settings_tabs.h"

namespace {

HHOOK g_hook;

bool Held(int key) { return (GetKeyState(key) & 0x8000) != 0; }

bool IsControl(HWND window, HWND parent, int id) { return window && parent && window == GetDlgItem(parent, id); }

// The detail window's shown page and its first or last button in tab order.
HWND DetailPageButton(bool last) {
    const ConsumablesWindowSet& c = ConsumablesWindows;
    const bool headPins = c.headPinPage && IsWindowVisible(c.headPinPage);
    int ids[DetailPageButtonsMax];
    const int count = DetailPageButtons(headPins ? DetailHeadPinPage : DetailCountersPage, ids, DetailPageButtonsMax);
    if (count == 0) return nullptr;
    return GetDlgItem(headPins ? c.headPinPage : c.countersPage, ids[last ? count - 1 : 0]);
}
HWND DetailFirst() { return DetailPageButton(false); }
HWND DetailLast() { return DetailPageButton(true); }

TabKeyInput GatherInput(int code, WPARAM virtualKey, LPARAM keyFlags) {
    const ConsumablesWindowSet& c = ConsumablesWindows;
    TabKeyInput in = {};
    in.hookCode = code;
    in.virtualKey = static_cast<unsigned>(virtualKey);
    in.keyReleased = (static_cast<unsigned long>(keyFlags) & 0x80000000UL) != 0;
    in.consumablesOpen = c.window && IsWindow(c.window);
    in.detailOpen = c.detail && IsWindow(c.detail);
    const HWND active = GetActiveWindow();
    in.active = active && active == MainWindow ? TabWindowMain
                : active && active == c.detail ? TabWindowDetail
                                                : TabWindowOther;
    in.ctrl = Held(VK_CONTROL);
    in.shift = Held(VK_SHIFT);
    const HWND focus = GetFocus();
    if (in.detailOpen) {
        in.focus.tabControl = focus && focus == c.detailTabs;
        in.focus.pageFirst = focus && focus == DetailFirst();
        in.focus.pageLast = focus && focus == DetailLast();
        in.focus.updateButton = IsControl(focus, c.detail, IDC_DETAIL_UPDATE);
        in.focus.closeButton = IsControl(focus, c.detail, IDC_DETAIL_CLOSE);
        in.tabIndex = static_cast<int>(SendMessageA(c.detailTabs, TCM_GETCURSEL, 0, 0));
    } else {
        in.focus.tabControl = focus && focus == SettingsTabControl();
        in.focus.pageFirst = focus && focus == PageFirstControl();
        in.focus.pageLast = focus && focus == PageLastControl();
        in.focus.readButton = focus && focus == SettingsReadButton();
        in.tabIndex = static_cast<int>(SendMessageA(SettingsTabControl(), TCM_GETCURSEL, 0, 0));
    }
    return in;
}

HWND TargetWindow(const TabKeyDecision& d) {
    if (d.detail) {
        switch (d.focus) {
        case TargetTabControl: return ConsumablesWindows.detailTabs;
        case TargetPageFirst: return DetailFirst();
        case TargetPageLast: return DetailLast();
        case TargetUpdateButton: return GetDlgItem(ConsumablesWindows.detail, IDC_DETAIL_UPDATE);
        case TargetCloseButton: return GetDlgItem(ConsumablesWindows.detail, IDC_DETAIL_CLOSE);
        default: return nullptr;
        }
    }
    switch (d.focus) {
    case TargetTabControl: return SettingsTabControl();
    case TargetPageFirst: return PageFirstControl();
    case TargetPageLast: return PageLastControl();
    case TargetReadButton: return SettingsReadButton();
    case TargetExitButton: return GetDlgItem(SettingsTabsWindow(), IDC_EXIT_BUTTON);
    default: return nullptr;
    }
}

void CarryOut(const TabKeyDecision& d) {
    const HWND owner = d.detail ? ConsumablesWindows.detail : SettingsTabsWindow();
    const HWND tabs = d.detail ? ConsumablesWindows.detailTabs : SettingsTabControl();
    // Selecting by focus sends the change notifications, so the new page
    // exists before the focus is moved onto it.
    if (d.selectTab >= 0 && tabs) SendMessageA(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(d.selectTab), 0);
    const HWND target = TargetWindow(d);
    if (owner && target) SendMessageA(owner, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
}

LRESULT CALLBACK TabKeyHook(int code, WPARAM virtualKey, LPARAM keyFlags) {
    const TabKeyDecision d = DecideTabKey(GatherInput(code, virtualKey, keyFlags));
    switch (d.outcome) {
    case TabPassOn: return CallNextHookEx(g_hook, code, virtualKey, keyFlags);
    case TabDefault: return 0;
    case TabSwallow: break;
    }
    CarryOut(d);
    return 1;
}

}  // namespace

void InstallTabHook() {
    if (g_hook) return;
    g_hook = SetWindowsHookExA(WH_KEYBOARD, TabKeyHook, nullptr, GetCurrentThreadId());
}

BOOL RemoveTabHook() {
    if (!g_hook) return 0;
    const BOOL removed = UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
    return removed;
}
