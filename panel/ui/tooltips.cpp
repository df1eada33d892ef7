// Tooltips of the settings and consumables windows.
//
// Each tool is the control's own window; its text is the string resource
// with the control's id, which the tooltip loads itself when it shows. A
// control without a string (the consumables window's 1201 and 1203) gets a
// tool that never shows anything.
#include "panel/ui/tooltips.h"

#include <commctrl.h>

#include "panel/core/page_layout.h"
#include "panel/resources/resource.h"
#include "panel/ui/show_message.h"

namespace {

// ---- which controls have tools ---------------------------------------------

// Controls of the consumables windows (their ids are fixed by the dialogs).
enum {
    ConsumablesSilentControl = 1201,  // has a tool but no text
    ConsumablesUpdateButton = 1202,
    ConsumablesDetailButton = 1203,   // the hidden button: no text
    ConsumablesExitButton = 1204,
    DetailCloseButton = 1209,
    DetailUpdateButton = 1210,
    RibbonClearButton = 1217,
    PowerOnClearButton = 1218,
    ThicknessClearButton = 1219,
    PlatenClearButton = 1220,
    HeadPinClearButton = 1221,
};

struct ToolIds {
    const unsigned short* ids;
    int count;
};

template <int N>
constexpr ToolIds Ids(const unsigned short (&ids)[N]) {
    return ToolIds{ids, N};
}

const unsigned short kContainerIds[] = {IDC_READ_BUTTON, IDC_COMMIT_BUTTON, IDC_EXIT_BUTTON};
const unsigned short kConsumablesIds[] = {ConsumablesSilentControl, ConsumablesUpdateButton, ConsumablesDetailButton,
                                          ConsumablesExitButton};
const unsigned short kDetailIds[] = {DetailUpdateButton, DetailCloseButton};
const unsigned short kCounterPageIds[] = {RibbonClearButton, PowerOnClearButton, ThicknessClearButton,
                                          PlatenClearButton};
const unsigned short kHeadPinPageIds[] = {HeadPinClearButton};

// The detail window's pages by index: counters, head pins.
const ToolIds kDetailPageIds[] = {Ids(kCounterPageIds), Ids(kHeadPinPageIds)};

const int kAutoPopMilliseconds = 30000;  // long texts need time to read
const int kMaxTipWidth = 400;            // wider texts wrap

HWND g_tooltip;

void AddTool(HWND tooltip, HWND owner, HINSTANCE instance, HWND control, unsigned short id) {
    TOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    // Before the main window exists the notifications go to the window that
    // holds the control instead.
    tool.hwnd = owner ? owner : GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.hinst = instance;
    tool.lpszText = MAKEINTRESOURCEA(id);
    SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void AddTools(HWND tooltip, HWND owner, HINSTANCE instance, HWND window, ToolIds tools) {
    if (!window) return;
    for (int i = 0; i < tools.count; ++i) {
        HWND control = GetDlgItem(window, tools.ids[i]);
        if (control) AddTool(tooltip, owner, instance, control, tools.ids[i]);
    }
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
    const int detailPages = static_cast<int>(sizeof kDetailPageIds / sizeof kDetailPageIds[0]);
    if (targets.detailPageIndex >= 0 && targets.detailPageIndex < detailPages)
        AddTools(tooltip, targets.owner, instance, targets.detailPage, kDetailPageIds[targets.detailPageIndex]);

    SendMessageA(tooltip, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(kAutoPopMilliseconds, 0));
    SendMessageA(tooltip, TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
    return tooltip;
}

HWND CurrentTooltipWindow() {
    // The main window takes its owned tooltip with it when it is destroyed.
    if (g_tooltip && !IsWindow(g_tooltip)) g_tooltip = nullptr;
    return g_tooltip;
}
