#include "monitor/window_calls.h"

namespace {

// The system's functions have exactly the seam's signatures.
const MonitorWindowCalls kSystemCalls = {Shell_NotifyIconA, SetTimer, GetWindowPlacement};

const MonitorWindowCalls* g_calls = nullptr;

}  // namespace

const MonitorWindowCalls& WindowCalls() { return g_calls ? *g_calls : kSystemCalls; }

void TestSeam_UseMonitorWindowCalls(const MonitorWindowCalls* calls) { g_calls = calls; }
