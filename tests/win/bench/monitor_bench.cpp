// The status monitor's two figures: the CPU share it takes while the
// status does not change (the registry is re-read every 500 ms, the screen
// must not be redrawn), and the time from a new status in the registry to
// its text in the window.
//
// The latency is measured on tzrawatch.exe as a child process. The CPU
// share is read with GetProcessTimes on this process, which runs the
// monitor window here (the same code, the same message loop): Wine keeps
// no CPU times of other processes, so the child's would read 0.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "monitor/core/status_rules.h"
#include "monitor/monitor_state.h"
#include "monitor/monitor_window.h"
#include "monitor/resources/resource.h"
#include "monitor/startup.h"
#include "tests/win/bench/bench_clock.h"
#include "tests/win/monitor_test_support.h"

namespace {

const int kStatusText = 1060;
const DWORD kDefaultIdleSeconds = 60;
const int kLatencySamples = 10;

double CpuMs(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    auto ms = [](const FILETIME& t) {
        return ((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

std::string ExpectedText(int code) {
    std::vector<char> text(8192);
    BuildStatusText(code, 0, 0, text.data(), text.size());
    return text.data();
}

// Runs the message loop of tzrawatch's WinMain until `done` or `ms` passed;
// waits for messages, never spins.
void RunLoop(HWND window, HACCEL accelerators, double ms, bool (*done)(HWND)) {
    const double end = NowMs() + ms;
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (accelerators && TranslateAcceleratorA(window, accelerators, &msg)) continue;
            if (IsDialogMessageA(window, &msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        const double left = end - NowMs();
        if ((done && done(window)) || left <= 0) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left) + 1, QS_ALLINPUT);
    }
}

bool Shown(HWND window) { return IsShown(window); }
bool Ended(HWND window) { return EndMarker(window) != 0; }

// The idle CPU share of the monitor window, shown with code 300 on it.
bool MeasureIdle(DWORD seconds) {
    WindowsFamily family;
    if (!QueryWindowsFamily(&family)) return false;
    const MonitorSettings& settings = SettingsFor(family);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    MonitorState* state = WriteDefaultsAtStart(settings) ? CreateMonitorState(instance) : nullptr;
    if (!state) return false;
    ApplySettings(settings, state);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDA_MONITOR));
    if (!ReadDisplayMode(state)) return false;
    HWND window = CreateMonitorWindow(state);
    if (!window) return false;
    ShowAtStart(window, state);
    SetEndMarker(window, 0);
    SetSlotText("ERR_CODE", "300");
    RunLoop(window, accelerators, 10000, Shown);
    const bool shown = IsShown(window);
    if (shown) {
        const double cpu0 = CpuMs(GetCurrentProcess()), wall0 = NowMs();
        RunLoop(window, accelerators, seconds * 1000.0, nullptr);
        const double cpu = CpuMs(GetCurrentProcess()) - cpu0, wall = NowMs() - wall0;
        std::printf("monitor_idle_seconds=%lu\nmonitor_idle_cpu_ms=%.1f\nmonitor_idle_cpu_percent=%.3f\n",
                    static_cast<unsigned long>(seconds), cpu, 100.0 * cpu / wall);
    }
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    RunLoop(window, accelerators, 10000, Ended);
    DestroyWindow(window);
    DestroyMonitorState(state);
    return shown;
}

DWORD IdleSeconds() {
    const char* text = std::getenv("KOA_BENCH_IDLE_SECONDS");
    const long seconds = text ? std::strtol(text, nullptr, 10) : 0;
    return seconds > 0 && seconds <= 3600 ? static_cast<DWORD>(seconds) : kDefaultIdleSeconds;
}

}  // namespace

int main() {
    std::string error;
    if (!InstallMonitorPrinter(&error) || !CreateSlot()) {
        std::fprintf(stderr, "bench: cannot prepare: %s\n", error.c_str());
        return 1;
    }
    if (!MeasureIdle(IdleSeconds())) {
        std::fprintf(stderr, "bench: the monitor window did not show code 300\n");
        return 1;
    }

    RunningMonitor monitor;
    if (!StartMonitor(&monitor)) {
        std::fprintf(stderr, "bench: the status monitor did not start\n");
        return 1;
    }
    HWND text = FindControl(monitor.window, kStatusText);
    SetSlotText("ERR_CODE", "300");
    if (!text || !WaitUntil([&] { return IsShown(monitor.window) && ControlText(text) == ExpectedText(300); })) {
        std::fprintf(stderr, "bench: the status monitor did not show code 300\n");
        return 1;
    }

    // Latency: a new code written, then its text looked for every
    // millisecond. The writes are spread over the 500 ms cycle: written right
    // after the text changed, each would wait a whole cycle.
    std::vector<double> samples;
    for (int i = 0; i < kLatencySamples; ++i) {
        Sleep((i * 137) % 500);
        const int code = i % 2 ? 300 : 310;
        const std::string expected = ExpectedText(code);
        const double start = NowMs();
        SetSlotText("ERR_CODE", std::to_string(code));
        bool shown = false;
        while (NowMs() - start < 5000) {
            if (ControlText(text) == expected) {
                shown = true;
                break;
            }
            Sleep(1);
        }
        if (!shown) {
            std::fprintf(stderr, "bench: code %d did not show within 5 s\n", code);
            return 1;
        }
        samples.push_back(NowMs() - start);
    }
    double sum = 0;
    for (double sample : samples) sum += sample;
    std::printf("monitor_status_latency_ms=%.0f\nmonitor_status_latency_max_ms=%.0f\nmonitor_status_cycle_ms=500\n",
                sum / samples.size(), *std::max_element(samples.begin(), samples.end()));
    PostMessageA(monitor.window, WM_CLOSE, 0, 0);
    monitor.program.WaitForExit();
    return 0;
}
