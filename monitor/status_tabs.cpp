#include "monitor/status_tabs.h"

#include <commctrl.h>

#include "monitor/resources/resource.h"

namespace {

// Where the pages sit: pixels from the client area's left edge, and below
// the bottom of the first tab's item rectangle.
const int kPageLeft = 14;
const int kPageGapBelowTabs = 9;

struct TabPage {
    int tab;
    UINT title;  // string id
    int dialog;
};
const TabPage kPages[] = {
    {StatusTab, IDS_TAB_STATUS, IDD_STATUS_PAGE},
    {SuppliesTab, IDS_TAB_SUPPLIES, IDD_SUPPLIES_PAGE},
};

HWND Tabs(HWND window) { return GetDlgItem(window, IDC_TABS); }

HWND PageOf(const MonitorState* state, int tab) { return tab == StatusTab ? state->statusPage : state->suppliesPage; }

INT_PTR CALLBACK StatusPageProc(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CTLCOLORSTATIC) return PaintReadOnlyEditWhite(wParam, lParam);
    return message == WM_INITDIALOG;
}

// Focus must not stay on a control that is being hidden: it moves on to the
// next control; from the lists of the consumables page it goes by the
// ribbon reset button, the page's last control.
void MoveFocusOffPage(HWND window, const MonitorState* state, HWND page) {
    HWND focus = GetFocus();
    if (!focus || !IsChild(page, focus)) return;
    const int id = GetDlgCtrlID(focus);
    if (page == state->suppliesPage && (id == IDC_PREPARE_LIST || id == IDC_REPLACE_LIST))
        SetFocus(GetDlgItem(page, IDC_RIBBON_RESET));
    SendMessageA(window, WM_NEXTDLGCTL, 0, FALSE);
}

void ShowPage(HWND window, MonitorState* state, int tab) {
    HWND shown = PageOf(state, tab);
    HWND hidden = PageOf(state, tab == StatusTab ? SuppliesTab : StatusTab);
    ShowWindow(shown, SW_SHOW);
    MoveFocusOffPage(window, state, hidden);
    ShowWindow(hidden, SW_HIDE);
}

}  // namespace

INT_PTR PaintReadOnlyEditWhite(WPARAM deviceContext, LPARAM control) {
    char cls[16] = {};
    GetClassNameA(reinterpret_cast<HWND>(control), cls, sizeof cls);
    if (lstrcmpiA(cls, "Edit") != 0) return FALSE;
    HDC dc = reinterpret_cast<HDC>(deviceContext);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
}

bool CreateStatusTabs(HWND window, MonitorState* state, DLGPROC suppliesProc) {
    HWND tabs = Tabs(window);
    for (const TabPage& page : kPages) {
        char title[64];
        if (!LoadStringA(state->instance, page.title, title, sizeof title)) title[0] = '\0';
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = title;
        SendMessageA(tabs, TCM_INSERTITEMA, page.tab, reinterpret_cast<LPARAM>(&item));
    }
    state->statusPage =
        CreateDialogParamA(state->instance, MAKEINTRESOURCEA(IDD_STATUS_PAGE), window, StatusPageProc, 0);
    state->suppliesPage = CreateDialogParamA(state->instance, MAKEINTRESOURCEA(IDD_SUPPLIES_PAGE), window,
                                             suppliesProc, reinterpret_cast<LPARAM>(state));
    if (!state->statusPage || !state->suppliesPage) return false;
    RECT item = {};
    SendMessageA(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    const HWND pages[] = {state->statusPage, state->suppliesPage};
    for (HWND page : pages)
        SetWindowPos(page, nullptr, kPageLeft, kPageGapBelowTabs + item.bottom, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

void SelectStatusTab(HWND window, MonitorState* state) {
    SendMessageA(Tabs(window), TCM_SETCURSEL, StatusTab, 0);
    ShowPage(window, state, StatusTab);
}

void ShowSelectedPage(HWND window, MonitorState* state) {
    const int tab = static_cast<int>(SendMessageA(Tabs(window), TCM_GETCURSEL, 0, 0));
    ShowPage(window, state, tab == SuppliesTab ? SuppliesTab : StatusTab);
}

void SwitchToOtherTab(HWND window, MonitorState* state) {
    const int tab = static_cast<int>(SendMessageA(Tabs(window), TCM_GETCURSEL, 0, 0));
    const int other = tab == SuppliesTab ? StatusTab : SuppliesTab;
    SendMessageA(Tabs(window), TCM_SETCURSEL, other, 0);
    ShowPage(window, state, other);
}

HWND PageItem(const MonitorState* state, int id) {
    HWND item = state->statusPage ? GetDlgItem(state->statusPage, id) : nullptr;
    if (!item && state->suppliesPage) item = GetDlgItem(state->suppliesPage, id);
    return item;
}
