// Entry point of the status monitor: the start-up checks, the single
// instance, the slot's defaults, the monitor window and the message loop.
#include <windows.h>
#include <commctrl.h>

#include "monitor/monitor_state.h"
#include "monitor/monitor_window.h"
#include "monitor/resources/resource.h"
#include "monitor/startup.h"

namespace {

// The end marker that the window's destruction leaves, and so the exit code
// of every run that got as far as the window.
const int kEndedExitCode = 1;

void RunMessageLoop(HWND window, HACCEL accelerators) {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (EndMarker(window)) break;
        if (accelerators && TranslateAcceleratorA(window, accelerators, &msg)) continue;
        if (IsDialogMessageA(window, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// From the defaults to the end of the message loop; the exit code.
int RunMonitor(HINSTANCE instance, const MonitorSettings& settings) {
    if (!WriteDefaultsAtStart(settings)) return 0;
    MonitorState* state = CreateMonitorState(instance);
    if (!state) return 0;
    ApplySettings(settings, state);
    if (!ReadDisplayMode(state)) {
        DestroyMonitorState(state);
        return 0;
    }
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDA_MONITOR));
    HWND window = CreateMonitorWindow(state);
    if (!window) {
        DestroyMonitorState(state);
        return 0;
    }
    ShowAtStart(window, state);
    UpdateWindow(window);
    SetEndMarker(window, 0);
    RunMessageLoop(window, accelerators);
    DestroyWindow(window);
    DestroyMonitorState(state);
    return kEndedExitCode;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WindowsFamily family;
    if (!QueryWindowsFamily(&family)) return 0;
    const MonitorSettings& settings = SettingsFor(family);
    if (!CheckPrintersAtStart(settings)) return 0;
    HANDLE mutex = TakeInstanceMutex(settings.instanceMutex);
    if (!mutex) return 0;  // another monitor runs: end silently
    const int exitCode = RunMonitor(instance, settings);
    ReleaseMutex(mutex);
    CloseHandle(mutex);
    if (exitCode == kEndedExitCode && family == WindowsNt4) MarkMonitorEnded();
    return exitCode;
}
