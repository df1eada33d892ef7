#include "monitor/monitor_window.h"

#include <commctrl.h>

#include "monitor/core/status_rules.h"
#include "monitor/print_cancel.h"
#include "monitor/resources/resource.h"
#include "monitor/ribbon_reset.h"
#include "monitor/status_display.h"
#include "monitor/status_refresh.h"
#include "monitor/status_tabs.h"
#include "monitor/tray_icon.h"
#include "monitor/window_calls.h"
#include "monitor/window_position.h"

namespace {

const UINT kCycleMs = 500;
// A refused tray icon is asked for again every 2 s for a minute: long enough
// for a taskbar that comes up late at log-on, and then it stops costing
// anything. The cycle's timer id is the record's address, never 1.
const UINT_PTR kTrayRetryTimerId = 1;
const UINT kTrayRetryMs = 2000;
const int kTrayRetries = 30;
// Positions in the system menu of Restore, Size and Maximize, deleted one
// after the other (each deletion moves the later items up).
const int kTrimmedSystemMenuPositions[] = {0, 1, 2, 4};

MonitorState* StateOf(HWND window) { return reinterpret_cast<MonitorState*>(GetWindowLongPtrA(window, DWLP_USER)); }

// Topmost and back: the window comes above the others without staying
// there, and takes the foreground.
void BringToFront(HWND window) {
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(window);
}

// Makes `id` (OK or "印刷中止") the default button and the other a plain one.
void MakeDefaultButton(HWND window, int id) {
    const int other = id == IDC_MINIMISE ? IDC_PRINT_CANCEL : IDC_MINIMISE;
    SendDlgItemMessageA(window, other, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    SendMessageA(window, DM_SETDEFID, id, 0);
    SendDlgItemMessageA(window, id, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

void FocusControl(HWND window, HWND control) {
    SendMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

// ---- ending -----------------------------------------------------------

// Everything the window holds goes, the position is saved (not when a
// fatal printer check ends the program at once), and the message loop is
// woken to see the end marker.
void CloseMonitor(HWND window, MonitorState* state, bool savePosition) {
    if (EndMarker(window)) return;
    if (state->iconShown) DeleteTrayIcon(state);
    state->iconShown = false;
    KillTimer(window, state->timerId);
    KillTimer(window, kTrayRetryTimerId);
    state->trayRetriesLeft = 0;
    if (savePosition) SaveWindowPosition(window, state);
    SetEndMarker(window, 1);
    ShowWindow(window, SW_HIDE);
    PostMessageA(window, WM_NULL, 0, 0);
}

void EndMonitor(HWND window, MonitorState* state) { CloseMonitor(window, state, true); }
void EndMonitorAtOnce(HWND window, MonitorState* state) { CloseMonitor(window, state, false); }

// ---- minimised to the tray and back -----------------------------------

void StopTrayRetries(HWND window, MonitorState* state) {
    if (state->trayRetriesLeft) KillTimer(window, kTrayRetryTimerId);
    state->trayRetriesLeft = 0;
}

// The icon goes into the tray and the window leaves the screen; false when
// the shell refuses the icon, and then the window stays where it is.
bool TryPutIconInTray(HWND window, MonitorState* state) {
    if (!AddTrayIcon(state)) return false;
    state->iconShown = true;
    StopTrayRetries(window, state);
    ShowWindow(window, SW_HIDE);
    return true;
}

// Without a timer there is no retry: the window then simply stays
// minimised on the screen, which the user can still restore.
void StartTrayRetries(HWND window, MonitorState* state) {
    if (WindowCalls().setTimer(window, kTrayRetryTimerId, kTrayRetryMs, nullptr)) state->trayRetriesLeft = kTrayRetries;
}

// WM_SIZE with SIZE_MINIMIZED: the window leaves the taskbar for the tray.
// A window hidden without its icon could never be brought back, so while
// the shell refuses the icon the window stays minimised where the user
// sees it, and the icon is asked for again.
void OnMinimised(HWND window, MonitorState* state) {
    if (state->iconShown) {
        ShowWindow(window, SW_HIDE);
        return;
    }
    if (state->trayRetriesLeft) return;  // asked for again on the retry timer
    if (!TryPutIconInTray(window, state)) StartTrayRetries(window, state);
}

// The retry timer: the icon is wanted only while the window is minimised.
void OnTrayRetry(HWND window, MonitorState* state) {
    if (!state->trayRetriesLeft) return;
    if (state->iconShown || !IsIconic(window)) {
        StopTrayRetries(window, state);
        return;
    }
    if (TryPutIconInTray(window, state)) return;
    if (--state->trayRetriesLeft == 0) KillTimer(window, kTrayRetryTimerId);
}

// Explorer restarted: the new taskbar knows no icons. A window waiting for
// its icon gets a new round of attempts, as the taskbar is there now.
void OnTaskbarCreated(HWND window, MonitorState* state) {
    if (!state->iconShown && !IsIconic(window)) return;  // shown: no icon belongs in the tray
    StopTrayRetries(window, state);
    // Sent by anyone else, the message may find the icon still there, and a
    // second add of an existing icon is refused.
    if (state->iconShown) DeleteTrayIcon(state);
    if (TryPutIconInTray(window, state)) return;
    state->iconShown = false;
    StartTrayRetries(window, state);
    ShowWindow(window, SW_SHOWMINNOACTIVE);
}

void MinimiseToTray(HWND window, MonitorState* state) {
    if (state->iconShown || IsIconic(window)) return;
    ShowWindow(window, SW_MINIMIZE);
    // Some window managers report the minimising before the window is
    // shown minimised; it must not stay on the screen then.
    if (IsIconic(window) && IsWindowVisible(window)) OnMinimised(window, state);
}

// WM_QUERYOPEN: about to be restored from the tray.
void OnAboutToRestore(HWND window, MonitorState* state) {
    if (state->iconShown) DeleteTrayIcon(state);
    state->iconShown = false;
    StopTrayRetries(window, state);
    BringToFront(window);
    const int button = IsSevereCode(state->currentCode) ? IDC_PRINT_CANCEL : IDC_MINIMISE;
    if (button == IDC_MINIMISE) EnableWindow(GetDlgItem(window, IDC_MINIMISE), TRUE);
    MakeDefaultButton(window, button);
    state->nextFocus = GetDlgItem(window, button);
}

// A double-click on the tray icon, menu item 200, or the timer's pop-up.
void ShowFromTray(HWND window, MonitorState* state) {
    if (state->checkRunning) return;
    CheckResult check = CheckDone;
    // Nothing new to show: ask the printer for a fresh status first.
    if (state->currentCode == state->previousCode) {
        check = RefreshPrinterStatus(state);
        state->checkRunning = false;
        if (check == CheckEndsProgram) {
            EndMonitorAtOnce(window, state);
            return;
        }
    }
    SelectStatusTab(window, state);
    if (check != CheckDone) return;  // the check has told the user why
    ShowWindow(window, SW_SHOWNOACTIVATE);
    if (state->nextFocus) {
        FocusControl(window, state->nextFocus);
        state->nextFocus = nullptr;
    }
    if (state->currentCode == state->previousCode) return;
    BringToFront(window);
    if (IsSevereCode(state->currentCode)) {
        MakeDefaultButton(window, IDC_PRINT_CANCEL);
        FocusControl(window, GetDlgItem(window, IDC_PRINT_CANCEL));
    } else if (IsSevereCode(state->previousCode)) {
        EnableWindow(GetDlgItem(window, IDC_MINIMISE), TRUE);
        MakeDefaultButton(window, IDC_MINIMISE);
        FocusControl(window, GetDlgItem(window, IDC_MINIMISE));
    }
}

void CancelPrinting(HWND window, MonitorState* state) {
    if (RequestPrintCancel(state)) MinimiseToTray(window, state);
}

void OnTrayMenu(HWND window, MonitorState* state) {
    const UINT chosen = TrackTrayMenu(window, state);
    if (!state->iconShown) return;
    switch (chosen) {
    case IDM_TRAY_RESTORE:
        ShowFromTray(window, state);
        break;
    case IDM_TRAY_CANCEL:
        CancelPrinting(window, state);
        break;
    case IDM_TRAY_EXIT:
        EndMonitor(window, state);
        break;
    }
}

void OnTrayMessage(HWND window, MonitorState* state, LPARAM mouse) {
    if (mouse == WM_LBUTTONDBLCLK)
        ShowFromTray(window, state);
    else if (mouse == WM_RBUTTONDOWN)
        OnTrayMenu(window, state);
}

// ---- the 500 ms cycle -------------------------------------------------

void OnTimer(HWND window, MonitorState* state) {
    const int result = PollStatus(window, state);
    UpdateTrayIcon(state, LoadIconA(state->instance, MAKEINTRESOURCEA(TrayIconFor(state->currentCode))),
                   state->statusTitle);
    if (result != CycleDone) PostMessageA(window, WM_COMMAND, IDCANCEL, 0);

    const PopUpDecision popUp = DecidePopUp(state->displayMode, state->currentCode, state->previousCode);
    if (popUp.popUp) PostMessageA(window, TrayMessage, 1, WM_LBUTTONDBLCLK);
    if (popUp.minimise) MinimiseToTray(window, state);

    FlashAction flash = FlashNothing;
    state->flashState = NextFlashState(state->flashState, state->flashEnabled, state->currentCode,
                                       state->previousCode, GetForegroundWindow() == window, &flash);
    if (flash == FlashOnce) FlashWindow(window, TRUE);
    if (flash == FlashStop) FlashWindow(window, FALSE);
}

// ---- creation ---------------------------------------------------------

INT_PTR CALLBACK SuppliesPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(page, DWLP_USER, lParam);
        return TRUE;
    }
    if (message == WM_CTLCOLORSTATIC) return PaintReadOnlyEditWhite(wParam, lParam);
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_RIBBON_RESET) {
        MonitorState* state = StateOf(page);
        HWND window = GetParent(page);
        const CheckResult result = ResetRibbonFromMonitor(page, window, state);
        state->checkRunning = false;
        if (result == CheckEndsProgram) EndMonitorAtOnce(window, state);
        return TRUE;
    }
    return FALSE;
}

void SetClassIcons(HWND window, HINSTANCE instance) {
    HICON large = LoadIconA(instance, MAKEINTRESOURCEA(IDI_MONITOR));
    HICON small = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_MONITOR), IMAGE_ICON,
                                                GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                                LR_SHARED));
    SetClassLongPtrA(window, GCLP_HICON, reinterpret_cast<LONG_PTR>(large));
    if (small) SetClassLongPtrA(window, GCLP_HICONSM, reinterpret_cast<LONG_PTR>(small));
}

void TrimSystemMenu(HWND window) {
    HMENU menu = GetSystemMenu(window, FALSE);
    for (int position : kTrimmedSystemMenuPositions) DeleteMenu(menu, position, MF_BYPOSITION);
    DrawMenuBar(window);
}

BOOL OnInitDialog(HWND window, MonitorState* state) {
    SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    state->taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
    // The pages exist before the first cycle, so that its status shows at
    // once rather than one tick later.
    if (!CreateStatusTabs(window, state, SuppliesPageProc)) PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    if (PollStatus(window, state) != CycleDone) PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    SetClassIcons(window, state->instance);
    TrimSystemMenu(window);
    InitTrayIcon(window, state);
    state->timerId = reinterpret_cast<UINT_PTR>(state);
    // A monitor without its cycle would show one status for ever: it ends
    // as a failed cycle ends it.
    if (!WindowCalls().setTimer(window, state->timerId, kCycleMs, nullptr))
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    state->started = 1;
    RestoreWindowPosition(window, state);
    SelectStatusTab(window, state);
    const int button = IsSevereCode(state->currentCode) ? IDC_PRINT_CANCEL : IDC_MINIMISE;
    MakeDefaultButton(window, button);
    SetFocus(GetDlgItem(window, button));
    return FALSE;  // focus set here
}

// ---- the procedure ----------------------------------------------------

struct Command {
    int id;
    void (*run)(HWND window, MonitorState* state);
};
const Command kCommands[] = {
    {IDC_MINIMISE, MinimiseToTray},
    {IDC_PRINT_CANCEL, CancelPrinting},
    {IDCANCEL, EndMonitor},
    {IDM_NEXT_TAB, SwitchToOtherTab},
    {IDM_PREVIOUS_TAB, SwitchToOtherTab},
};

void OnCommand(HWND window, MonitorState* state, int id) {
    for (const Command& command : kCommands)
        if (command.id == id) command.run(window, state);
}

void OnNotify(HWND window, MonitorState* state, const NMHDR* header) {
    if (header->idFrom == IDC_TABS && header->code == TCN_SELCHANGE) ShowSelectedPage(window, state);
}

INT_PTR CALLBACK MonitorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) return OnInitDialog(window, reinterpret_cast<MonitorState*>(lParam));
    MonitorState* state = StateOf(window);
    if (!state) return FALSE;
    switch (message) {
    case WM_COMMAND:
        OnCommand(window, state, LOWORD(wParam));
        return TRUE;
    case WM_NOTIFY:
        OnNotify(window, state, reinterpret_cast<const NMHDR*>(lParam));
        return TRUE;
    case WM_TIMER:
        if (wParam == state->timerId)
            OnTimer(window, state);
        else if (wParam == kTrayRetryTimerId)
            OnTrayRetry(window, state);
        return TRUE;
    case TrayMessage:
        OnTrayMessage(window, state, lParam);
        return TRUE;
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED) OnMinimised(window, state);
        return TRUE;
    case WM_QUERYOPEN:
        OnAboutToRestore(window, state);
        return FALSE;  // the default answer lets the window open
    case WM_CLOSE:
    case WM_DESTROY:
        EndMonitor(window, state);
        return TRUE;
    }
    if (message == state->taskbarCreatedMessage && state->taskbarCreatedMessage) OnTaskbarCreated(window, state);
    return FALSE;
}

}  // namespace

LONG_PTR EndMarker(HWND window) { return GetWindowLongPtrA(window, GWLP_USERDATA); }

void SetEndMarker(HWND window, LONG_PTR marker) { SetWindowLongPtrA(window, GWLP_USERDATA, marker); }

HWND CreateMonitorWindow(MonitorState* state) {
    return CreateDialogParamA(state->instance, MAKEINTRESOURCEA(IDD_MONITOR), nullptr, MonitorWindowProc,
                              reinterpret_cast<LPARAM>(state));
}

void ShowAtStart(HWND window, MonitorState* state) {
    switch (state->displayMode) {
    case 1:
        MinimiseToTray(window, state);
        break;
    case 2:
        if (IsErrorCode(state->currentCode)) {
            ShowWindow(window, SW_SHOWNORMAL);
            SetForegroundWindow(window);
        } else {
            MinimiseToTray(window, state);
        }
        break;
    default:
        ShowWindow(window, SW_SHOWNORMAL);
        BringToFront(window);
        break;
    }
}
