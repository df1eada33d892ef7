#include "panel/settings/window_tooltips.h"

#include <windows.h>
#include <commctrl.h>

#include "panel/records/panel_records.h"
#include "panel/settings/settings_tabs.h"
#include "panel/ui/tooltips.h"

namespace {

// The detail window's page on screen: its selected tab. Both pages exist
// for a moment while the tab changes (the new page is made before the old
// one goes), so the page handles alone cannot tell.
int ShownDetailPage() {
    if (ConsumablesWindows.detailTabs) {
        const int selected = TabCtrl_GetCurSel(ConsumablesWindows.detailTabs);
        if (selected == 0 || selected == 1) return selected;
    }
    if (ConsumablesWindows.countersPage) return 0;
    if (ConsumablesWindows.headPinPage) return 1;
    return -1;
}

}  // namespace

void CreateTooltips() {
    TooltipTargets targets = {};
    targets.owner = MainWindow;
    targets.settingsTabs = SettingsTabsWindow();
    targets.settingsPage = SettingsPageWindow();
    targets.settingsPageIndex = CurrentPageIndex();
    // The consumables windows while they are open.
    targets.consumables = ConsumablesWindows.window;
    targets.detail = ConsumablesWindows.detail;
    targets.detailPageIndex = ShownDetailPage();
    targets.detailPage = targets.detailPageIndex == 0   ? ConsumablesWindows.countersPage
                         : targets.detailPageIndex == 1 ? ConsumablesWindows.headPinPage
                                                        : nullptr;
    RebuildTooltips(targets);
}
