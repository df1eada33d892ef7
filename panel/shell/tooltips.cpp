// Tooltips of the settings and consumables windows, and the help file.
//
// Each tool is the control's own window; its text is the string resource
// with the control's id, which the tooltip loads itself when it shows. A
// control without a string (the consumables window's 1201 and 1203) gets a
// tool that never shows anything.
#include "panel/shell/tooltips.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "panel/resources/resource.h"
#include "panel/settings/page_layout.h"
#include "panel/settings/settings_tabs.h"
#include "panel/shell/folders.h"
#include "panel/shell/message_loop.h"
#include "panel/shell/panel_state.h"
#include "panel/shell/tooltip_tools.h"

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

HINSTANCE ProgramInstance() {
    if (MainWindow) return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(MainWindow, GWLP_HINSTANCE));
    return GetModuleHandleA(nullptr);
}

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

// ---- help --------------------------------------------------------------------

typedef HWND(WINAPI* HtmlHelpFunction)(HWND, LPCSTR, UINT, DWORD_PTR);

const char kHelpFileName[] = "VELDRA6.CHM";
const UINT kHelpDisplayTopic = 0x0000;  // HH_DISPLAY_TOPIC
const UINT kHelpCloseAll = 0x0012;      // HH_CLOSE_ALL

// Loaded on the first use and kept to the end: the help windows live in it.
HMODULE g_helpLibrary;
HtmlHelpFunction g_htmlHelp;

// The help system is looked up at run time: the program must start where it
// is not installed.
HtmlHelpFunction HtmlHelpEntry() {
    if (g_htmlHelp) return g_htmlHelp;
    if (!g_helpLibrary) g_helpLibrary = LoadLibraryA("hhctrl.ocx");
    if (!g_helpLibrary) return nullptr;
    g_htmlHelp = reinterpret_cast<HtmlHelpFunction>(
        reinterpret_cast<void*>(GetProcAddress(g_helpLibrary, "HtmlHelpA")));
    return g_htmlHelp;
}

// A drive root ("C:\") already ends in the separator. Stepped by characters:
// the last byte of a double-byte character may be 5Ch too.
bool EndsWithSeparator(const char* path, size_t length) {
    if (length == 0) return false;
    const char* end = path + length;
    const char* last = CharPrevA(path, end);
    return last == end - 1 && *last == '\\';
}

// StartDirectory\VELDRA6.CHM; false when the start directory is unknown or
// the path does not fit whole.
bool BuildHelpPath(char* path, size_t size) {
    const void* end = std::memchr(StartDirectory, '\0', sizeof StartDirectory);
    if (!end) return false;
    const size_t length = static_cast<size_t>(static_cast<const char*>(end) - StartDirectory);
    if (length == 0) return false;
    const char* separator = EndsWithSeparator(StartDirectory, length) ? "" : "\\";
    const int n = std::snprintf(path, size, "%.*s%s%s", static_cast<int>(length), StartDirectory, separator,
                                kHelpFileName);
    return n > 0 && static_cast<size_t>(n) < size;
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

void OpenHelpFile(HWND owner) {
    char path[sizeof StartDirectory + sizeof kHelpFileName];
    if (!BuildHelpPath(path, sizeof path)) return;
    SetCurrentDirectoryA(StartDirectory);
    // A missing help file shows nothing: the help system is not even asked,
    // so that it cannot put up a complaint of its own.
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) return;
    HtmlHelpFunction htmlHelp = HtmlHelpEntry();
    if (htmlHelp) htmlHelp(owner, path, kHelpDisplayTopic, 0);
}

void CloseAllHelp() {
    // Only a loaded help system can have windows open.
    if (g_htmlHelp) g_htmlHelp(nullptr, nullptr, kHelpCloseAll, 0);
}
