// Tooltips of the settings and consumables windows.
//
// Each tool is the control's own window; its text is the string resource
// with the control's id, which the tooltip loads itself when it shows. A
// control without a string (the consumables window's 1201 and 1203) gets a
// tool that never shows anything.
#include "panel/ui/tooltips.h"

#include <commctrl.h>

#include "panel/core/consumables_rules.h"
#include "panel/core/page_layout.h"
#include "panel/records/panel_records.h"
#include "panel/resources/resource.h"
#include "panel/ui/show_message.h"

namespace {

// ---- which controls have tools ---------------------------------------------

struct ToolIds {
    const int* ids;
    int count;
};

template <int N>
constexpr ToolIds Ids(const int (&ids)[N]) {
    return ToolIds{ids, N};
}

const int kContainerIds[] = {IDC_READ_BUTTON, IDC_COMMIT_BUTTON, IDC_EXIT_BUTTON};
const int kConsumablesIds[] = {IDC_CONSUMABLES_NOTE, IDC_CONSUMABLES_UPDATE, IDC_OPEN_DETAIL, IDC_CONSUMABLES_EXIT};
const int kDetailIds[] = {IDC_DETAIL_UPDATE, IDC_DETAIL_CLOSE};

const int kAutoPopMilliseconds = 30000;  // long texts need time to read
const int kMaxTipWidth = 400;            // wider texts wrap

HWND g_tooltip;
SettingsTooltipWindows (*g_settingsSource)();

void AddTool(HWND tooltip, HWND owner, HINSTANCE instance, HWND control, int id) {
    TOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    // Before the main window exists the notifications go to the window that
    // holds the control instead.
    tool.hwnd = owner ? owner : GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.hinst = instance;
    tool.lpszText = MAKEINTRESOURCEA(static_cast<WORD>(id));
    SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void AddTools(HWND tooltip, HWND owner, HINSTANCE instance, HWND window, ToolIds tools) {
    if (!window) return;
    for (int i = 0; i < tools.count; ++i) {
        HWND control = GetDlgItem(window, tools.ids[i]);
        if (control) AddTool(tooltip, owner, instance, control, tools.ids[i]);
    }
}

void AddDetailPageTools(HWND tooltip, HWND owner, HINSTANCE instance, HWND page, int index) {
    int ids[DetailPageButtonsMax];
    const int count = DetailPageButtons(index, ids, DetailPageButtonsMax);
    AddTools(tooltip, owner, instance, page, ToolIds{ids, count});
}

// The detail window's page on screen: its selected tab. Both pages exist
// for a moment while the tab changes (the new page is made before the old
// one goes), so the page handles alone cannot tell.
int ShownDetailPage() {
    const ConsumablesWindowSet& c = ConsumablesWindows;
    if (c.detailTabs) {
        const int selected = TabCtrl_GetCurSel(c.detailTabs);
        if (selected == DetailCountersPage || selected == DetailHeadPinPage) return selected;
    }
    if (c.countersPage) return DetailCountersPage;
    if (c.headPinPage) return DetailHeadPinPage;
    return -1;
}

void AddSettingPageTools(HWND tooltip, HWND owner, HINSTANCE instance, HWND page, int index) {
    if (!page) return;
    const PageRow* rows = PageRows(index);
    const int count = rows ? PageRowCount(index) : 0;
    for (int i = 0; i < count; ++i) {
        HWND label = GetDlgItem(page, rows[i].labelId);
        if (label) AddTool(tooltip, owner, instance, label, rows[i].labelId);
    }
}

}  // namespace

HWND RebuildTooltips(const TooltipTargets& targets) {
    if (g_tooltip && IsWindow(g_tooltip)) DestroyWindow(g_tooltip);
    g_tooltip = nullptr;

    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES};  // the tooltip class
    InitCommonControlsEx(&classes);
    const HINSTANCE instance = ProgramInstance();
    HWND tooltip = CreateWindowExA(0, TOOLTIPS_CLASSA, "", WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, targets.owner, nullptr, instance,
                                   nullptr);
    if (!tooltip) return nullptr;
    SetWindowPos(tooltip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    g_tooltip = tooltip;

    AddTools(tooltip, targets.owner, instance, targets.settingsTabs, Ids(kContainerIds));
    AddSettingPageTools(tooltip, targets.owner, instance, targets.settingsPage, targets.settingsPageIndex);
    AddTools(tooltip, targets.owner, instance, targets.consumables, Ids(kConsumablesIds));
    AddTools(tooltip, targets.owner, instance, targets.detail, Ids(kDetailIds));
    AddDetailPageTools(tooltip, targets.owner, instance, targets.detailPage, targets.detailPageIndex);

    SendMessageA(tooltip, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(kAutoPopMilliseconds, 0));
    SendMessageA(tooltip, TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
    return tooltip;
}

HWND CurrentTooltipWindow() {
    // The main window takes its owned tooltip with it when it is destroyed.
    if (g_tooltip && !IsWindow(g_tooltip)) g_tooltip = nullptr;
    return g_tooltip;
}

void SetSettingsTooltipSource(SettingsTooltipWindows (*source)()) { g_settingsSource = source; }

void CreateTooltips() {
    TooltipTargets targets = {};
    targets.owner = MainWindow;
    if (g_settingsSource) {
        const SettingsTooltipWindows settings = g_settingsSource();
        targets.settingsTabs = settings.container;
        targets.settingsPage = settings.page;
        targets.settingsPageIndex = settings.pageIndex;
    }
    // The consumables windows while they are open.
    const ConsumablesWindowSet& c = ConsumablesWindows;
    targets.consumables = c.window;
    targets.detail = c.detail;
    targets.detailPageIndex = ShownDetailPage();
    targets.detailPage = targets.detailPageIndex == DetailCountersPage  ? c.countersPage
                         : targets.detailPageIndex == DetailHeadPinPage ? c.headPinPage
                                                                        : nullptr;
    RebuildTooltips(targets);
}
