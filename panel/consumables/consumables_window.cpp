// The management window. Its state (the saved focus, the levels last shown,
// the brushes of the red warnings) hangs on the window.
#include "panel/consumables/consumables_window.h"

#include <commctrl.h>

#include <memory>
#include <new>

#include "link/choice/printer_choice.h"
#include "panel/consumables/consumables_detail.h"
#include "panel/consumables/counter_reset.h"
#include "panel/core/consumables_rules.h"
#include "panel/exchange/printer_exchange.h"
#include "panel/exchange/shown_page.h"
#include "panel/records/panel_records.h"
#include "panel/resources/resource.h"
#include "panel/ui/accelerator_slots.h"
#include "panel/ui/dialog_state.h"
#include "panel/ui/help_file.h"
#include "panel/ui/show_message.h"
#include "panel/ui/tooltips.h"

namespace {

const COLORREF kWarningText = RGB(255, 0, 0);
const int kGaugeTop = 100;

bool Exists(HWND window) { return window && IsWindow(window); }

// One gauge with its warning: where it is shown, and what it was last.
struct Gauge {
    int gauge;
    int text;
    int level;        // the colour follows this until the next refresh
    HBRUSH face;      // the button face behind the red warning
};

struct ConsumablesWindow {
    HINSTANCE instance;
    HWND savedFocus;  // the main window's control when the command was given
    Gauge head = {IDC_HEAD_GAUGE, IDC_HEAD_TEXT, 0, nullptr};
    Gauge ribbon = {IDC_RIBBON_GAUGE, IDC_RIBBON_TEXT, 0, nullptr};

    // ---- opening and refresh ------------------------------------------------

    INT_PTR OnInitDialog(HWND window) {
        ConsumablesWindows.window = window;
        if (MainWindow) EnableWindow(MainWindow, FALSE);
        INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&classes);
        // Its own keys while it is open; the main window's come back when it closes.
        SetAcceleratorSlot(AccelConsumables, window, LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDA_CONSUMABLES)));
        SetAcceleratorSlot(AccelMain, nullptr, nullptr);
        SendMessageA(window, WM_SETICON, ICON_BIG,
                     reinterpret_cast<LPARAM>(LoadIconA(instance, MAKEINTRESOURCEA(IDI_PRINTER))));
        Refresh(window);
        return TRUE;  // the dialog manager focuses the first button
    }

    void ShowGauge(HWND window, Gauge& g, int level, const char* text) {
        g.level = level;
        const HWND bar = GetDlgItem(window, g.gauge);
        SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(0, kGaugeTop));
        // Above 100 the gauge is simply full.
        SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(level), 0);
        SetDlgItemTextA(window, g.text, text);
    }

    void Refresh(HWND window) {
        SetForegroundWindow(window);
        const HeadWear wear = Counters ? HeadWearOf(*Counters) : HeadWear{1, 0, 0};
        ShowGauge(window, head, wear.level, HeadWearText(wear.level));
        const int ribbonLevel = Counters ? RibbonWearLevel(CounterFieldValue(*Counters, FieldRibbonLife)) : 0;
        ShowGauge(window, ribbon, ribbonLevel, RibbonWearText(ribbonLevel));
    }

    // The warnings turn red from 90 on, on the button face. The brush is made
    // anew for each such paint, so that it follows a changed system colour.
    INT_PTR OnColour(HDC dc, HWND control) {
        const int id = GetDlgCtrlID(control);
        Gauge* g = id == head.text ? &head : id == ribbon.text ? &ribbon : nullptr;
        if (!g || !WearTextInRed(g->level)) return FALSE;
        if (g->face) DeleteObject(g->face);
        g->face = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
        SetTextColor(dc, kWarningText);
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<INT_PTR>(g->face);
    }

    // ---- commands -------------------------------------------------------------

    void Update(HWND window) {
        if (CheckPrinterReady() == PrinterReady) {
            // A failed read has told the user; the old counts are shown again.
            ReadFromPrinter(ReadCounters, window);
            SendMessageA(window, WM_SETREDRAW, 0, 0);
        }
        SetForegroundWindow(window);
        UpdateWindow(window);
    }

    void ResetRibbon(HWND window) { RunCounterReset(ResetRibbonLife, IDS_RIBBON_RESET_QUESTION, window, window); }

    void Help(HWND window) { OpenHelpFile(window); }

    void OpenDetail(HWND window) { OpenConsumablesDetail(window); }

    // Ends with the window destroyed: nothing of the state may be used after.
    void Close(HWND window) {
        const HWND focus = savedFocus;
        // Enabled first, so that the main window is the one activated next.
        if (MainWindow) EnableWindow(MainWindow, TRUE);
        DestroyWindow(window);
        if (Exists(focus)) SetFocus(focus);
    }

    static const DialogCommand<ConsumablesWindow> kCommands[];

    INT_PTR OnCommand(HWND window, int id, int code) {
        return RunDialogCommand(this, kCommands, window, id, code) ? TRUE : FALSE;
    }

    // ---- destruction ----------------------------------------------------------

    void OnDestroy(HWND window) {
        if (ConsumablesWindows.window == window) ConsumablesWindows.window = nullptr;
        // The detail window belongs to this one, though the main window owns it.
        if (Exists(ConsumablesWindows.detail)) DestroyWindow(ConsumablesWindows.detail);
        if (MainWindow)
            SetAcceleratorSlot(AccelMain, MainWindow, LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDA_MAIN)));
        SetAcceleratorSlot(AccelConsumables, nullptr, nullptr);
        for (Gauge* g : {&head, &ribbon}) {
            if (g->face) DeleteObject(g->face);
            g->face = nullptr;
        }
        CreateTooltips();
        if (MainWindow) SetForegroundWindow(MainWindow);
    }

    INT_PTR OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (IsRefreshRequest(message, wParam, lParam)) {
            Refresh(window);
            return DialogResult(window, TRUE);
        }
        switch (message) {
            case WM_CTLCOLORSTATIC:
                return OnColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
            case WM_COMMAND:
                return OnCommand(window, LOWORD(wParam), HIWORD(wParam));
            case WM_CLOSE:
                Close(window);
                return TRUE;
            case WM_DESTROY:
                OnDestroy(window);
                return FALSE;
        }
        return FALSE;
    }
};

const DialogCommand<ConsumablesWindow> ConsumablesWindow::kCommands[] = {
    {IDC_CONSUMABLES_UPDATE, &ConsumablesWindow::Update},
    {IDM_CONSUMABLES_UPDATE, &ConsumablesWindow::Update},
    {IDC_CONSUMABLES_EXIT, &ConsumablesWindow::Close},
    {IDM_CONSUMABLES_EXIT, &ConsumablesWindow::Close},
    {IDCANCEL, &ConsumablesWindow::Close},  // Esc
    {IDM_RIBBON_RESET, &ConsumablesWindow::ResetRibbon},
    {IDM_CONSUMABLES_HELP, &ConsumablesWindow::Help},
    {IDC_OPEN_DETAIL, &ConsumablesWindow::OpenDetail},
    {0, nullptr},
};

}  // namespace

bool BringConsumablesWindowForward() {
    if (!Exists(ConsumablesWindows.window)) return false;
    SetForegroundWindow(ConsumablesWindows.window);
    return true;
}

ConsumablesOpening OpenConsumablesWindow(HWND mainWindow, HWND savedFocus) {
    if (CheckPrinterReady() != PrinterReady) return ConsumablesNotReady;
    // Whatever the user chose on the page on screen stays chosen.
    CollectShownPage();
    if (ReadFromPrinter(ReadCounters, mainWindow) == 0) return ConsumablesReadFailed;
    const HINSTANCE instance = ProgramInstance();
    std::unique_ptr<ConsumablesWindow> state(new (std::nothrow) ConsumablesWindow());
    if (state) {
        state->instance = instance;
        state->savedFocus = savedFocus;
    }
    HWND window = CreateStatefulDialog(instance, IDD_CONSUMABLES, mainWindow, std::move(state));
    if (!window) {
        ShowResourceWarning(nullptr);
        return ConsumablesNotCreated;
    }
    CreateTooltips();
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    return ConsumablesOpened;
}
