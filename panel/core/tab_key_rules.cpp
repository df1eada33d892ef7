#include "panel/core/tab_key_rules.h"

namespace {

const unsigned kTabKey = 9;

TabKeyDecision Make(TabOutcome outcome, bool detail = false, int selectTab = -1, TabTarget focus = TargetNone) {
    TabKeyDecision d;
    d.outcome = outcome;
    d.detail = detail;
    d.selectTab = selectTab;
    d.focus = focus;
    return d;
}

// Ctrl+Tab and Ctrl+Shift+Tab: the next or previous tab, wrapping; the
// focus follows to the new page unless it rests on the tab control.
TabKeyDecision SwitchTab(const TabKeyInput& in, bool detail) {
    const int count = detail ? DetailTabCount : SettingsTabCount;
    int index = in.tabIndex;
    if (index < 0 || index >= count) index = 0;
    index = in.shift ? (index + count - 1) % count : (index + 1) % count;
    return Make(TabSwallow, detail, index, in.focus.tabControl ? TargetNone : TargetPageFirst);
}

TabKeyDecision Move(bool detail, TabTarget target) { return Make(TabSwallow, detail, -1, target); }

TabKeyDecision SettingsTab(const TabKeyInput& in) {
    const TabFocus& f = in.focus;
    if (in.shift) {
        if (f.tabControl) return Move(false, TargetExitButton);
        if (f.pageFirst) return Move(false, TargetTabControl);
        if (f.readButton) return Move(false, TargetPageLast);
        return Make(TabDefault);
    }
    if (f.tabControl) return Move(false, TargetPageFirst);
    if (f.pageLast) return Move(false, TargetReadButton);
    return Make(TabDefault);
}

TabKeyDecision DetailTab(const TabKeyInput& in) {
    const TabFocus& f = in.focus;
    if (in.shift) {
        if (f.tabControl) return Move(true, TargetCloseButton);
        if (f.pageFirst) return Move(true, TargetTabControl);
        if (f.updateButton) return Move(true, TargetPageLast);
        return Make(TabDefault);
    }
    if (f.tabControl) return Move(true, TargetPageFirst);
    if (f.pageLast) return Move(true, TargetUpdateButton);
    if (f.closeButton) return Move(true, TargetTabControl);
    return Make(TabDefault);
}

}  // namespace

TabKeyDecision DecideTabKey(const TabKeyInput& in) {
    if (in.hookCode < 0 || in.virtualKey != kTabKey) return Make(TabPassOn);
    if (in.keyReleased) return Make(TabDefault);
    // The consumables window alone keeps the dialog manager's own Tab order.
    if (in.consumablesOpen && !in.detailOpen) return Make(TabDefault);
    if (in.active != TabWindowMain && in.active != TabWindowDetail) return Make(TabDefault);
    const bool detail = in.detailOpen;
    if (in.ctrl) return SwitchTab(in, detail);
    return detail ? DetailTab(in) : SettingsTab(in);
}
