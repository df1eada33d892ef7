// The Tab key across the settings and consumables screens: every row of the
// decision table, and the cases that must leave the key alone.
#include <gtest/gtest.h>

#include "panel/core/tab_key_rules.h"

namespace {

enum FocusAt { AtOther, AtTabControl, AtFirst, AtLast, AtFirstAndLast, AtRead, AtUpdate, AtClose };

TabKeyInput Key(bool detail, bool ctrl, bool shift, FocusAt at, int tab = 0) {
    TabKeyInput in = {};
    in.hookCode = 0;
    in.virtualKey = 9;
    in.consumablesOpen = detail;
    in.detailOpen = detail;
    in.active = detail ? TabWindowDetail : TabWindowMain;
    in.ctrl = ctrl;
    in.shift = shift;
    in.focus.tabControl = at == AtTabControl;
    in.focus.pageFirst = at == AtFirst || at == AtFirstAndLast;
    in.focus.pageLast = at == AtLast || at == AtFirstAndLast;
    in.focus.readButton = at == AtRead;
    in.focus.updateButton = at == AtUpdate;
    in.focus.closeButton = at == AtClose;
    in.tabIndex = tab;
    return in;
}

struct Row {
    const char* what;
    TabKeyInput input;
    TabOutcome outcome;
    bool detail;
    int selectTab;
    TabTarget focus;
};

TEST(TabKey, EveryRowOfTheTable) {
    const Row rows[] = {
        // Ctrl combinations switch tabs and wrap; the focus follows unless on the tab control.
        {"detail ctrl+tab on counters", Key(true, true, false, AtOther, 0), TabSwallow, true, 1, TargetPageFirst},
        {"detail ctrl+tab wraps", Key(true, true, false, AtOther, 1), TabSwallow, true, 0, TargetPageFirst},
        {"detail ctrl+shift+tab wraps", Key(true, true, true, AtOther, 0), TabSwallow, true, 1, TargetPageFirst},
        {"detail ctrl+shift+tab", Key(true, true, true, AtOther, 1), TabSwallow, true, 0, TargetPageFirst},
        {"detail ctrl+tab on tab control", Key(true, true, false, AtTabControl, 0), TabSwallow, true, 1, TargetNone},
        {"settings ctrl+tab", Key(false, true, false, AtFirst, 0), TabSwallow, false, 1, TargetPageFirst},
        {"settings ctrl+tab from the fourth page", Key(false, true, false, AtOther, 3), TabSwallow, false, 0,
         TargetPageFirst},
        {"settings ctrl+shift+tab from the first page", Key(false, true, true, AtOther, 0), TabSwallow, false, 3,
         TargetPageFirst},
        {"settings ctrl+shift+tab", Key(false, true, true, AtRead, 2), TabSwallow, false, 1, TargetPageFirst},
        {"settings ctrl+tab on tab control", Key(false, true, false, AtTabControl, 2), TabSwallow, false, 3,
         TargetNone},
        // Detail window.
        {"detail shift+tab on tab control", Key(true, false, true, AtTabControl), TabSwallow, true, -1,
         TargetCloseButton},
        {"detail shift+tab on first", Key(true, false, true, AtFirst), TabSwallow, true, -1, TargetTabControl},
        {"detail shift+tab on update", Key(true, false, true, AtUpdate), TabSwallow, true, -1, TargetPageLast},
        {"detail tab on tab control", Key(true, false, false, AtTabControl), TabSwallow, true, -1, TargetPageFirst},
        {"detail tab on last", Key(true, false, false, AtLast), TabSwallow, true, -1, TargetUpdateButton},
        {"detail tab on close", Key(true, false, false, AtClose), TabSwallow, true, -1, TargetTabControl},
        // The head-pin page has one control, first and last at once.
        {"detail tab on the only control", Key(true, false, false, AtFirstAndLast), TabSwallow, true, -1,
         TargetUpdateButton},
        {"detail shift+tab on the only control", Key(true, false, true, AtFirstAndLast), TabSwallow, true, -1,
         TargetTabControl},
        // Settings container.
        {"settings shift+tab on tab control", Key(false, false, true, AtTabControl), TabSwallow, false, -1,
         TargetExitButton},
        {"settings shift+tab on first", Key(false, false, true, AtFirst), TabSwallow, false, -1, TargetTabControl},
        {"settings shift+tab on read", Key(false, false, true, AtRead), TabSwallow, false, -1, TargetPageLast},
        {"settings tab on tab control", Key(false, false, false, AtTabControl), TabSwallow, false, -1,
         TargetPageFirst},
        {"settings tab on last", Key(false, false, false, AtLast), TabSwallow, false, -1, TargetReadButton},
        // Any other case: the dialog manager moves the focus.
        {"settings tab inside a page", Key(false, false, false, AtOther), TabDefault, false, -1, TargetNone},
        {"settings tab on read", Key(false, false, false, AtRead), TabDefault, false, -1, TargetNone},
        {"settings shift+tab on last", Key(false, false, true, AtLast), TabDefault, false, -1, TargetNone},
        {"settings tab on first", Key(false, false, false, AtFirst), TabDefault, false, -1, TargetNone},
        {"detail tab on update", Key(true, false, false, AtUpdate), TabDefault, false, -1, TargetNone},
        {"detail shift+tab on close", Key(true, false, true, AtClose), TabDefault, false, -1, TargetNone},
        // Buttons of the other window do not count.
        {"settings tab on detail's close", Key(false, false, false, AtClose), TabDefault, false, -1, TargetNone},
        {"detail shift+tab on settings' read", Key(true, false, true, AtRead), TabDefault, false, -1, TargetNone},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const TabKeyDecision d = DecideTabKey(row.input);
        EXPECT_EQ(d.outcome, row.outcome);
        if (row.outcome != TabSwallow) continue;
        EXPECT_EQ(d.detail, row.detail);
        EXPECT_EQ(d.selectTab, row.selectTab);
        EXPECT_EQ(d.focus, row.focus);
    }
}

TEST(TabKey, LeavesOtherKeysAndHookCodesToTheNextHook) {
    TabKeyInput in = Key(false, false, false, AtLast);
    in.virtualKey = 13;
    EXPECT_EQ(DecideTabKey(in).outcome, TabPassOn);
    in = Key(false, false, false, AtLast);
    in.hookCode = -1;
    EXPECT_EQ(DecideTabKey(in).outcome, TabPassOn);
}

TEST(TabKey, ReleasesAndForeignWindowsAreProcessedNormally) {
    TabKeyInput in = Key(false, true, false, AtLast);
    in.keyReleased = true;
    EXPECT_EQ(DecideTabKey(in).outcome, TabDefault);

    in = Key(false, true, false, AtLast);
    in.active = TabWindowOther;  // a message box or a file dialog is active
    EXPECT_EQ(DecideTabKey(in).outcome, TabDefault);
}

TEST(TabKey, ConsumablesWindowAloneKeepsTheDialogManagersOrder) {
    TabKeyInput in = Key(false, true, false, AtLast);
    in.consumablesOpen = true;
    in.detailOpen = false;
    EXPECT_EQ(DecideTabKey(in).outcome, TabDefault);
    in.ctrl = false;
    EXPECT_EQ(DecideTabKey(in).outcome, TabDefault);
}

TEST(TabKey, ATabIndexOutOfRangeStillSelectsATabThatExists) {
    const TabKeyDecision d = DecideTabKey(Key(false, true, false, AtOther, 77));
    EXPECT_GE(d.selectTab, 0);
    EXPECT_LT(d.selectTab, SettingsTabCount);
}

}  // namespace
