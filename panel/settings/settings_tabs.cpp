// The settings container: the tab control over the four setting pages, the
// Read, Commit and Exit buttons, and the one page on screen. A page exists
// only while its tab is selected; leaving it collects its selections into
// CurrentSettings first, and the next page is built from CurrentSettings.
#include "panel/settings/settings_tabs.h"

#include <commctrl.h>

#include <memory>
#include <new>

#include "panel/core/page_layout.h"
#include "panel/exchange/shown_page.h"
#include "panel/records/panel_records.h"
#include "panel/resources/resource.h"
#include "panel/settings/current_page.h"
#include "panel/settings/setting_pages.h"
#include "panel/settings/settings_commands.h"
#include "panel/ui/show_message.h"
#include "panel/ui/tab_pages.h"
#include "panel/ui/tooltips.h"

namespace {

struct TabsState {
    HINSTANCE instance;
    HWND container;
    HWND tabControl;
    HWND readButton;
    HWND pages[PageCount];  // only the current page's handle is set
    int currentPage;        // the page on screen (or that failed to open)
    RECT pageArea;          // where every page sits, in container coordinates
};

// The one container of the run; its state hangs on it (DWLP_USER).
HWND g_container;

const UINT kTabCaptions[PageCount] = {IDS_TAB_HARDWARE, IDS_TAB_SHEETS, IDS_TAB_FORMS, IDS_TAB_OTHER};

TabsState* StateOf(HWND dialog) { return reinterpret_cast<TabsState*>(GetWindowLongPtrA(dialog, DWLP_USER)); }

TabsState* Tabs() { return g_container && IsWindow(g_container) ? StateOf(g_container) : nullptr; }

bool Exists(HWND window) { return window && IsWindow(window); }

HWND ShownPage(const TabsState* s) {
    return s->currentPage >= 0 && s->currentPage < PageCount ? s->pages[s->currentPage] : nullptr;
}

// ---- pages -------------------------------------------------------------------

void InsertTabs(TabsState* s) {
    for (int i = 0; i < PageCount; ++i) {
        char caption[64];
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(LoadText(kTabCaptions[i], caption, sizeof caption));
        SendMessageA(s->tabControl, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageA(s->tabControl, TCM_SETCURSEL, s->currentPage, 0);
}

void DestroyPages(TabsState* s) {
    for (HWND& page : s->pages) {
        if (Exists(page)) DestroyWindow(page);
        page = nullptr;
    }
}

// Opens page `index` (the current page index already names it).
bool OpenPage(TabsState* s, int index) {
    HWND page = CreateSettingPage(s->instance, s->container, index);
    if (!page) {
        ShowResourceWarning(s->container);
        return false;
    }
    s->pages[index] = page;
    ShowTabPage(page, s->pageArea);
    return true;
}

// ---- focus -------------------------------------------------------------------

// Through the dialog manager where it can, so that the default button
// follows the focus.
void MoveFocus(TabsState* s, HWND target) {
    if (!Exists(target)) return;
    if (IsChild(s->container, target)) {
        SendMessageA(s->container, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
    } else {
        SetFocus(target);
    }
}

HWND TopLevel(const TabsState* s) { return GetAncestor(s->container, GA_ROOT); }

// ---- messages ----------------------------------------------------------------

INT_PTR OnInitDialog(HWND dialog, TabsState* s) {
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(s));
    g_container = dialog;
    s->container = dialog;
    s->tabControl = GetDlgItem(dialog, IDC_SETTINGS_TAB);
    s->readButton = GetDlgItem(dialog, IDC_READ_BUTTON);
    // The container is made once per run and always opens on the hardware page.
    s->currentPage = PageHardware;
    InsertTabs(s);
    s->pageArea = TabPageArea(dialog, s->tabControl);
    if (OpenPage(s, PageHardware)) SetFocus(s->readButton);
    return FALSE;  // the focus is set
}

void OnTabChanged(TabsState* s) {
    CollectCurrentPage();  // still the page being left
    const int index = static_cast<int>(SendMessageA(s->tabControl, TCM_GETCURSEL, 0, 0));
    if (index < 0 || index >= PageCount) return;
    s->currentPage = index;
    DestroyPages(s);
    if (!OpenPage(s, index)) return;
    if (GetFocus() != s->tabControl) MoveFocus(s, PageFirstControl());
}

INT_PTR OnNotify(TabsState* s, const NMHDR* header) {
    if (header->hwndFrom == s->tabControl && header->code == TCN_SELCHANGE) OnTabChanged(s);
    return FALSE;
}

// Read and Commit: the same steps as the menu's commands; afterwards the
// user is back where the button was pressed.
struct PrinterButton {
    int id;
    const CommandSteps* steps;
};

const PrinterButton kPrinterButtons[] = {
    {IDC_READ_BUTTON, &ReadSettingsSteps},
    {IDC_COMMIT_BUTTON, &CommitSettingsSteps},
};

void RunPrinterButton(HWND dialog, const PrinterButton& button) {
    const HWND remembered = GetFocus();
    RunCommandSteps(*button.steps, dialog);
    TabsState* s = Tabs();
    if (!s || s->container != dialog) return;  // gone while the boxes were up
    SetForegroundWindow(TopLevel(s));
    MoveFocus(s, AdjustFocusTarget(remembered));
}

// Exit goes through the main window, which asks whether to keep the
// settings. The container may be gone when this returns.
void CloseMainWindow(TabsState* s) {
    const HWND main = MainWindow ? MainWindow : TopLevel(s);
    SendMessageA(main, WM_CLOSE, 0, 0);
}

INT_PTR OnCommand(HWND dialog, TabsState* s, int id, int code) {
    if (code != BN_CLICKED) return FALSE;
    if (id == IDC_EXIT_BUTTON) {
        CloseMainWindow(s);
        return TRUE;
    }
    for (const PrinterButton& button : kPrinterButtons) {
        if (button.id == id) {
            RunPrinterButton(dialog, button);
            return TRUE;
        }
    }
    return FALSE;
}

// A click anywhere over the container brings forward the window that holds
// the keyboard: the consumables windows while they are open, else the main
// window. The click goes on as usual.
void OnMouseDown() {
    const ConsumablesWindowSet& c = ConsumablesWindows;
    const HWND target = Exists(c.detail) ? c.detail : Exists(c.window) ? c.window : MainWindow;
    if (Exists(target)) SetForegroundWindow(target);
}

void OnNcDestroy(HWND dialog) {
    delete StateOf(dialog);
    SetWindowLongPtrA(dialog, DWLP_USER, 0);
    if (g_container == dialog) g_container = nullptr;
}

// The container's part of the tooltips.
SettingsTooltipWindows TooltipWindows() {
    const TabsState* s = Tabs();
    if (!s) return SettingsTooltipWindows{nullptr, nullptr, -1};
    return SettingsTooltipWindows{g_container, ShownPage(s), s->currentPage};
}

INT_PTR CALLBACK SettingsTabsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        // The creator's holder hands the state over to the window.
        auto* holder = reinterpret_cast<std::unique_ptr<TabsState>*>(lParam);
        return OnInitDialog(dialog, holder->release());
    }
    TabsState* s = StateOf(dialog);
    if (!s) return FALSE;
    switch (message) {
        case WM_NOTIFY:
            return OnNotify(s, reinterpret_cast<const NMHDR*>(lParam));
        case WM_COMMAND:
            return OnCommand(dialog, s, LOWORD(wParam), HIWORD(wParam));
        case WM_SETCURSOR:
            if (HIWORD(lParam) == WM_LBUTTONDOWN) OnMouseDown();
            return FALSE;
        case WM_NCDESTROY:
            OnNcDestroy(dialog);
            return FALSE;
    }
    return FALSE;
}

}  // namespace

HWND CreateSettingsTabs(HINSTANCE instance, HWND mainWindow) {
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_TAB_CLASSES};
    InitCommonControlsEx(&classes);
    std::unique_ptr<TabsState> state(new (std::nothrow) TabsState());
    if (!state) return nullptr;
    state->instance = instance;
    state->currentPage = -1;
    // A write stores this container's page first; a settings read redraws it.
    SetShownPageCalls({CollectCurrentPage, RefreshCurrentPage});
    SetSettingsTooltipSource(TooltipWindows);
    // Freed by the window from WM_INITDIALOG on, by the holder before that.
    return CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_SETTINGS_TABS), mainWindow, SettingsTabsProc,
                              reinterpret_cast<LPARAM>(&state));
}

HWND SettingsTabsWindow() { return Tabs() ? g_container : nullptr; }

HWND SettingsTabControl() {
    const TabsState* s = Tabs();
    return s ? s->tabControl : nullptr;
}

HWND SettingsReadButton() {
    const TabsState* s = Tabs();
    return s ? s->readButton : nullptr;
}

HWND SettingsPageWindow() {
    const TabsState* s = Tabs();
    return s ? ShownPage(s) : nullptr;
}

int CurrentPageIndex() {
    const TabsState* s = Tabs();
    return s ? s->currentPage : -1;
}

HWND PageFirstControl() {
    const TabsState* s = Tabs();
    return s ? PageRowList(ShownPage(s), s->currentPage, 0) : nullptr;
}

HWND PageLastControl() {
    const TabsState* s = Tabs();
    return s ? PageRowList(ShownPage(s), s->currentPage, PageRowCount(s->currentPage) - 1) : nullptr;
}

HWND AdjustFocusTarget(HWND window) {
    const TabsState* s = Tabs();
    if (!s || !window || !CurrentSettings || s->currentPage != PageForms) return window;
    const HWND page = ShownPage(s);
    int count = 0;
    const GreyingRule* rules = PageGreyingRules(PageForms, &count);
    for (int i = 0; i < count; ++i) {
        const PageRow* row = FindPageRow(PageForms, rules[i].adjustmentByte);
        if (row && window == GetDlgItem(page, row->listId) &&
            !PageRowEnabled(PageForms, row->recordByte, *CurrentSettings))
            return s->readButton;
    }
    return window;
}
