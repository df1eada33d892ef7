#include "panel/shell/main_window.h"

#include <commctrl.h>

#include "link/choice/port_rules.h"
#include "link/choice/printer_choice.h"
#include "panel/records/panel_records.h"
#include "panel/resources/resource.h"
#include "panel/exchange/printer_exchange.h"
#include "panel/settings/settings_files.h"
#include "panel/settings/settings_tabs.h"
#include "panel/ui/tooltips.h"
#include "panel/ui/help_file.h"
#include "panel/shell/main_commands.h"
#include "panel/shell/tab_hook.h"
#include "panel/ui/accelerator_slots.h"
#include "panel/ui/show_message.h"

namespace {

// The window that had the focus when the user last left the main window or
// started a command; the focus goes back there afterwards.
HWND g_savedFocus;

const char kMainClass[] = "veldra6";
const UINT_PTR kFocusTimer = 2;
HINSTANCE g_instance;

void ReinstallTabHook() {
    RemoveTabHook();
    InstallTabHook();
}

// ---- messages -------------------------------------------------------------

LRESULT OnCreate(HWND window) {
    MainWindow = window;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    HWND tabs = CreateSettingsTabs(g_instance, window);
    CreateTooltips();
    if (!tabs) return 0;
    RECT client;
    GetClientRect(tabs, &client);
    MoveWindow(tabs, 0, 0, client.right, client.bottom, TRUE);
    ShowWindow(tabs, SW_SHOW);
    SetClassLongPtrA(tabs, GCLP_HICON,
                     reinterpret_cast<LONG_PTR>(LoadIconA(g_instance, MAKEINTRESOURCEA(IDI_PRINTER))));
    return 0;
}

void OnDestroy() {
    CloseAllHelp();
    PostQuitMessage(0);
}

void OnActivate(WPARAM wParam) {
    if (LOWORD(wParam) != WA_INACTIVE) return;
    ReinstallTabHook();
    RememberFocus();
}

void OnKillFocus() {
    RememberFocus();
    Sleep(100);
    ReinstallTabHook();
}

// A click on the main window while the consumables windows are open brings
// them forward instead: they hold the keyboard meanwhile.
bool OnSetCursor(LPARAM lParam) {
    if (HIWORD(lParam) == WM_LBUTTONDOWN) {
        if (ConsumablesWindows.detail && IsWindow(ConsumablesWindows.detail)) {
            SetForegroundWindow(ConsumablesWindows.detail);
        } else if (ConsumablesWindows.window && IsWindow(ConsumablesWindows.window)) {
            SetForegroundWindow(ConsumablesWindows.window);
            return true;
        }
    }
    ReinstallTabHook();
    return false;
}

// ---- exit -----------------------------------------------------------------

void OnClose(HWND window) {
    RememberFocus();
    const int answer = AskQuestion(window, IDS_EXIT_QUESTION, MB_YESNOCANCEL);
    if (answer == IDCANCEL) {
        RestoreSavedFocus();
        return;
    }
    if (answer != IDYES && answer != IDNO) return;
    if (answer == IDYES) SaveTempSettings();
    // An exchange left open would keep the printer in setting mode.
    CancelOpenConversationAtExit(window);
    DestroyWindow(window);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate(window);
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_SIZE:
        if (wParam == SIZE_RESTORED) SetTimer(window, kFocusTimer, 10, nullptr);
        return 0;
    case WM_TIMER:
        if (wParam != kFocusTimer) break;
        KillTimer(window, kFocusTimer);
        RestoreSavedFocus();
        return 0;
    case WM_ACTIVATE:
        OnActivate(wParam);
        return 0;
    case WM_SETFOCUS:
        RestoreSavedFocus();
        ReinstallTabHook();
        return 0;
    case WM_KILLFOCUS:
        OnKillFocus();
        return 0;
    case WM_SETCURSOR:
        if (OnSetCursor(lParam)) return 1;
        return 0;
    case WM_SYSCOMMAND:
        ReinstallTabHook();
        if ((wParam & 0xFFF0) == SC_MINIMIZE) RememberFocus();
        break;
    case WM_CLOSE:
        OnClose(window);
        return 0;
    case WM_COMMAND:
        if (RunMainCommand(window, LOWORD(wParam))) return 0;
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// ---- creation and the first run -------------------------------------------

// The client area is made exactly the container's size, frame and menu bar
// around it, and the window is centred on the screen.
void FitAndCentre(HWND window) {
    RECT client;
    GetClientRect(SettingsTabsWindow(), &client);
    RECT frame = client;
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)), TRUE, 0);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    MoveWindow(window, (GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2,
               width, height, TRUE);
}

// Size and Maximize leave the system menu: the window has one size.
void TrimSystemMenu(HWND window) {
    HMENU menu = GetSystemMenu(window, FALSE);
    DeleteMenu(menu, 2, MF_BYPOSITION);
    DeleteMenu(menu, 3, MF_BYPOSITION);
    DrawMenuBar(window);
}

void ShowText(HWND owner, UINT textId, int icon) { ShowMessageId(MB_USERICON, textId, icon, owner); }

enum ChoiceStep { ChoiceAgain, ChoiceRead, ChoiceEnd };

// What the chosen printer allows: another choice, the first read, or the end.
ChoiceStep JudgeChosenPrinter(HWND window) {
    const PrinterTarget& target = CurrentTarget;
    if (target.Model == ModelUnsupported) {
        ShowText(window, IDS_PRINTER_UNSUPPORTED, IDI_PRINTER_ERROR);
        return ChoiceAgain;
    }
    if (target.ConnectionKind != ConnectSpooler && target.ConnectionKind != ConnectLan) {
        ShowRefusalMessage(target.ConnectionKind, window);
        return ChoiceAgain;
    }
    if (target.ConnectionKind == ConnectSpooler && target.QueuedJobs != 0) {
        ShowQueuedJobsMessage(window);
        return ChoiceAgain;
    }
    if (IsInternetPrintingPort(target.PortName)) {
        ShowText(window, IDS_IPP_PORT, IDI_PRINTER_WARNING);
        return ChoiceEnd;
    }
    return ChoiceRead;
}

ChoiceStep ChoosePrinter(HWND window) {
    const PrinterChoiceResult result = RunPrinterChoice(g_instance, window);
    SetFocus(window);
    if (result == PrinterChosen) return JudgeChosenPrinter(window);
    if (result == NoSupportedPrinter) ShowText(window, IDS_NO_SUPPORTED_PRINTER, IDI_PRINTER_ERROR);
    // Cancelled, no printer, or the dialog failed: nothing to read from.
    return ChoiceEnd;
}

void FocusReadButton() {
    if (SettingsReadButton()) SetFocus(SettingsReadButton());
}

// The printer choice until a printer is read (or the user gives up).
int ChooseAndReadPrinter(HWND window) {
    for (;;) {
        const ChoiceStep step = ChoosePrinter(window);
        if (step == ChoiceEnd) return 0;
        if (step == ChoiceAgain) continue;
        UpdateWindow(window);
        const int read = ReadFromPrinter(ReadModelAndSettings, window);
        if (read == 1) {
            FocusReadButton();
            return 1;
        }
        if (read == -1) {
            ShowText(window, IDS_OTHER_MODEL, IDI_PRINTER_WARNING);
            continue;
        }
        if (read != 0) continue;
        char text[512];
        const int answer = ShowMessage(MB_USERICON | MB_ABORTRETRYIGNORE,
                                       LoadText(IDS_FIRST_READ_FAILED, text, sizeof text), IDI_PRINTER_WARNING, window);
        if (answer == IDRETRY) continue;
        if (answer != IDIGNORE) return 0;
        LoadTempSettings();
        FocusReadButton();
        return 1;
    }
}

}  // namespace

void RestoreSavedFocus() { FocusWindow(g_savedFocus); }

HWND SavedFocus() { return g_savedFocus; }

void RestoreAdjustedFocus(bool keep) {
    // A greyed list cannot take the focus back: the Read button stands in.
    const HWND target = AdjustFocusTarget(g_savedFocus);
    if (keep) g_savedFocus = target;
    FocusWindow(target);
}

void FocusWindow(HWND window) {
    // A page's list dies with its page; nothing is better than a stale handle.
    if (window && IsWindow(window)) SetFocus(window);
}

void RememberFocus() {
    if (HWND focus = GetFocus()) g_savedFocus = focus;
}

bool RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_PRINTER));
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszMenuName = MAKEINTRESOURCEA(IDM_MAIN);
    wc.lpszClassName = kMainClass;
    return RegisterClassA(&wc) != 0;
}

int CreateMainWindow(HINSTANCE instance, int showCommand) {
    g_instance = instance;
    ConsumablesWindows = ConsumablesWindowSet();
    char caption[AppCaptionSize];
    LoadAppCaption(caption);
    HWND window = CreateWindowExA(0, kMainClass, caption, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0,
                                  nullptr, nullptr, instance, nullptr);
    if (!window || !SettingsTabsWindow() || !SettingsPageWindow()) {
        if (window) DestroyWindow(window);
        return 0;
    }
    FitAndCentre(window);
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    TrimSystemMenu(window);
    SetAcceleratorSlot(AccelMain, window, LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDA_MAIN)));
    return ChooseAndReadPrinter(window);
}
