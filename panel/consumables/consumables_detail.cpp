// The detail window. Its state hangs on the window; the windows the rest of
// the program must find (it, its tab control, its page) are in
// ConsumablesWindows while they exist.
#include "panel/consumables/consumables_detail.h"

#include <commctrl.h>

#include <memory>
#include <new>

#include "link/choice/printer_choice.h"
#include "panel/consumables/consumables_reports.h"
#include "panel/consumables/count_pages.h"
#include "panel/core/consumables_rules.h"
#include "panel/exchange/printer_exchange.h"
#include "panel/records/panel_records.h"
#include "panel/resources/resource.h"
#include "panel/ui/accelerator_slots.h"
#include "panel/ui/dialog_state.h"
#include "panel/ui/show_message.h"
#include "panel/ui/tab_pages.h"
#include "panel/ui/tooltips.h"

namespace {

bool Exists(HWND window) { return window && IsWindow(window); }

// The tabs, in tab order: caption, the page's dialog and its first button.
struct DetailTab {
    UINT caption;
    HWND (*create)(HINSTANCE instance, HWND detail);
    int firstButton;
};

const DetailTab kTabs[DetailPageCount] = {
    {IDS_DETAIL_TAB_COUNTERS, CreateCountersPage, IDC_CLEAR_RIBBON},
    {IDS_DETAIL_TAB_HEAD_PINS, CreateHeadPinPage, IDC_CLEAR_HEAD_PINS},
};

HWND PageOfTab(int tab) {
    return tab == DetailCountersPage ? ConsumablesWindows.countersPage
           : tab == DetailHeadPinPage ? ConsumablesWindows.headPinPage
                                      : nullptr;
}

struct DetailWindow {
    HINSTANCE instance;
    HWND tabs = nullptr;
    RECT pageArea = {0, 0, 0, 0};
    int selectedTab = DetailCountersPage;  // remembered while the window is open

    // ---- opening ------------------------------------------------------------

    INT_PTR OnInitDialog(HWND window) {
        ConsumablesWindows.detail = window;
        tabs = GetDlgItem(window, IDC_DETAIL_TAB);
        ConsumablesWindows.detailTabs = tabs;
        // The management window waits while this one is open.
        if (Exists(ConsumablesWindows.window)) EnableWindow(ConsumablesWindows.window, FALSE);
        SetAcceleratorSlot(AccelDetail, window, LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDA_DETAIL)));
        SetAcceleratorSlot(AccelConsumables, nullptr, nullptr);
        SendMessageA(window, WM_SETICON, ICON_BIG,
                     reinterpret_cast<LPARAM>(LoadIconA(instance, MAKEINTRESOURCEA(IDI_PRINTER))));
        InsertTabs();
        pageArea = TabPageArea(window, tabs);
        OpenPage(window, DetailCountersPage);
        ShowAlarmHistory(window);
        return FALSE;  // the opener focuses the tabs once the window is shown
    }

    void InsertTabs() {
        for (int i = 0; i < DetailPageCount; ++i) {
            char caption[64];
            TCITEMA item = {};
            item.mask = TCIF_TEXT;
            item.pszText = const_cast<char*>(LoadText(kTabs[i].caption, caption, sizeof caption));
            SendMessageA(tabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
        }
        SendMessageA(tabs, TCM_SETCURSEL, DetailCountersPage, 0);
    }

    void ShowAlarmHistory(HWND window) {
        char text[512];
        if (Counters) {
            BuildAlarmHistoryText(*Counters, text, sizeof text);
        } else {
            text[0] = '\0';
        }
        SetDlgItemTextA(window, IDC_ALARM_HISTORY, text);
    }

    // ---- pages ----------------------------------------------------------------

    // The page of `tab`, made and shown before the other one goes, so that
    // the window never shows an empty tab.
    bool OpenPage(HWND window, int tab) {
        HWND page = kTabs[tab].create(instance, window);
        if (!page) {
            ShowResourceWarning(window);
            return false;
        }
        ShowTabPage(page, pageArea);
        const HWND other = PageOfTab(tab == DetailCountersPage ? DetailHeadPinPage : DetailCountersPage);
        if (Exists(other)) DestroyWindow(other);
        return true;
    }

    void OnTabChanged(HWND window) {
        const int tab = static_cast<int>(SendMessageA(tabs, TCM_GETCURSEL, 0, 0));
        if (tab < 0 || tab >= DetailPageCount) return;
        selectedTab = tab;
        if (!OpenPage(window, tab)) return;
        // From the tab control the focus stays there; from elsewhere (Ctrl+Tab
        // on the page) it goes onto the new page.
        if (GetFocus() != tabs) {
            const HWND first = GetDlgItem(PageOfTab(tab), kTabs[tab].firstButton);
            if (first) SendMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
        }
    }

    void RefreshPage() {
        const HWND page = PageOfTab(selectedTab);
        if (!Exists(page)) return;
        SendMessageA(page, WM_SETREDRAW, 0, 0);
        UpdateWindow(page);
    }

    // ---- commands -------------------------------------------------------------

    void Update(HWND window) {
        const HWND focus = GetFocus();
        if (CheckPrinterReady() == PrinterReady) {
            // A failed read has told the user; the old counts stay on screen.
            ReadFromPrinter(ReadCounters, window);
            ShowAlarmHistory(window);
            RefreshPage();
        }
        SetForegroundWindow(window);
        if (Exists(focus)) SetFocus(focus);
    }

    // Ends with the window destroyed: nothing of the state may be used after.
    void Close(HWND window) {
        const HWND management = ConsumablesWindows.window;
        if (Exists(management)) EnableWindow(management, TRUE);
        SetAcceleratorSlot(AccelDetail, nullptr, nullptr);
        SetAcceleratorSlot(AccelCountersPage, nullptr, nullptr);
        SetAcceleratorSlot(AccelHeadPinPage, nullptr, nullptr);
        if (Exists(management))
            SetAcceleratorSlot(AccelConsumables, management,
                               LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDA_CONSUMABLES)));
        DestroyWindow(window);
        if (Exists(management)) SetForegroundWindow(management);
    }

    void PrintReport(HWND) { PrintConsumablesReport(); }
    void PrintLog(HWND) { PrintErrorLog(); }
    void SaveReport(HWND) { SaveConsumablesReport(); }

    static const DialogCommand<DetailWindow> kCommands[];

    INT_PTR OnCommand(HWND window, int id, int code) {
        return RunDialogCommand(this, kCommands, window, id, code) ? TRUE : FALSE;
    }

    // ---- destruction ----------------------------------------------------------

    void OnDestroy() {
        // The counters page asks the management window to show its resets.
        for (int tab = 0; tab < DetailPageCount; ++tab) {
            const HWND page = PageOfTab(tab);
            if (Exists(page)) SendMessageA(page, WM_CLOSE, 0, 0);
        }
        ConsumablesWindows.detail = nullptr;
        ConsumablesWindows.detailTabs = nullptr;
        CreateTooltips();
        if (Exists(ConsumablesWindows.window)) SetFocus(ConsumablesWindows.window);
    }

    INT_PTR OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (IsRefreshRequest(message, wParam, lParam)) {
            ShowAlarmHistory(window);
            RefreshPage();
            return DialogResult(window, TRUE);
        }
        switch (message) {
            case WM_NOTIFY: {
                const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
                if (header->hwndFrom == tabs && header->code == TCN_SELCHANGE) OnTabChanged(window);
                return FALSE;
            }
            case WM_COMMAND:
                return OnCommand(window, LOWORD(wParam), HIWORD(wParam));
            case WM_CLOSE:
                Close(window);
                return TRUE;
            case WM_DESTROY:
                OnDestroy();
                return FALSE;
        }
        return FALSE;
    }
};

const DialogCommand<DetailWindow> DetailWindow::kCommands[] = {
    {IDC_DETAIL_UPDATE, &DetailWindow::Update},
    {IDC_DETAIL_CLOSE, &DetailWindow::Close},
    {IDM_DETAIL_CLOSE, &DetailWindow::Close},
    {IDCANCEL, &DetailWindow::Close},  // Esc
    {IDM_PRINT_CONSUMABLES, &DetailWindow::PrintReport},
    {IDM_PRINT_ERROR_LOG, &DetailWindow::PrintLog},
    {IDM_SAVE_REPORT, &DetailWindow::SaveReport},
    {0, nullptr},
};

HWND CreateDetailWindow(HINSTANCE instance) {
    std::unique_ptr<DetailWindow> state(new (std::nothrow) DetailWindow());
    if (state) state->instance = instance;
    return CreateStatefulDialog(instance, IDD_DETAIL, MainWindow, std::move(state));
}

}  // namespace

void OpenConsumablesDetail(HWND management) {
    const HWND open = ConsumablesWindows.detail;
    if (Exists(open)) {
        SetForegroundWindow(open);
        SetFocus(open);
        return;
    }
    if (CheckPrinterReady() != PrinterReady) {
        SetForegroundWindow(management);
        return;
    }
    // The version is printed in the error log; both reads tell their own failures.
    if (ReadFromPrinter(ReadCounters, management) == 0 || ReadFromPrinter(ReadVersion, management) == 0) return;
    HWND detail = CreateDetailWindow(ProgramInstance());
    if (!detail) {
        ShowResourceWarning(management);
        return;
    }
    CreateTooltips();
    ShowWindow(detail, SW_SHOW);
    SetForegroundWindow(detail);
    // The tabs first: a clear button is never where the window opens.
    SendMessageA(detail, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(detail, IDC_DETAIL_TAB)), TRUE);
}
