// The remote panel as a user meets it: from starting veldra6.exe to the
// printer choice on screen, and from OK in the choice to the main window
// showing the printer's settings, against the language-monitor stand-in and
// the emulator with the real fixed waits. Prints each figure on its own line.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/win/e2e/e2e_support.h"
#include "tools/lmstand/test_printers.h"
#include "tools/paneldriver/panel_driver.h"

namespace {

// The first read: opening command, query, receive and closing command (the
// channel first looks 100 ms after posting each), 200 ms before the receive
// and 1200 ms after the channel ended.
const double kFirstReadFloorMs = 4 * 100 + 200 + 1200;
const char kPrinter[] = "KOA Bench LPT";

double NowMs() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return counter.QuadPart * 1000.0 / frequency.QuadPart;
}

// The read's progress window comes and goes; the program's thread answers
// again once the pages show the settings.
bool WaitReadDone(paneldriver::PanelDriver& driver) {
    HWND progress = driver.WaitDialogWithControl(1252);
    if (!progress || !driver.WaitGone(progress)) return false;
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(driver.WaitMainWindow(), WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result) != 0;
}

bool RunOnce(bool print) {
    ChildProcess program;
    paneldriver::PanelDriver driver;
    const double start = NowMs();
    if (!program.Start("\"" + ProgramDirectory() + "veldra6.exe\"")) return false;
    HWND choice = driver.WaitDialogWithControl(paneldriver::ChoiceDialogList);
    const double shown = NowMs();
    if (!choice || !driver.Attach()) {
        std::fprintf(stderr, "bench: no printer choice: %s\n", driver.error().c_str());
        return false;
    }
    HWND read = driver.WaitControl(paneldriver::SettingsReadButton);
    const double ok = NowMs();
    if (!read || !driver.ChoosePrinter(choice, kPrinter) || !WaitReadDone(driver)) {
        std::fprintf(stderr, "bench: the first read did not end: %s\n", driver.error().c_str());
        return false;
    }
    const double done = NowMs();
    if (print) {
        std::printf("startup_to_choice_ms=%.0f\n", shown - start);
        std::printf("first_read_ms=%.0f\nfirst_read_floor_ms=%.0f\nfirst_read_ratio=%.3f\n", done - ok,
                    kFirstReadFloorMs, (done - ok) / kFirstReadFloorMs);
    }
    program.Stop();
    return true;
}

}  // namespace

int main() {
    std::string error;
    if (!InstallTestPrinters(&error) || !AddTestPrinter(kPrinter, "KOA koa2400Max-R(0mm)", "LPT1:", 0x800, &error)) {
        std::fprintf(stderr, "bench: cannot prepare: %s\n", error.c_str());
        return 1;
    }
    StandIn standIn;
    if (!standIn.Start("model koa240MR\n")) {
        std::fprintf(stderr, "bench: the language-monitor stand-in did not start\n");
        return 1;
    }
    // A first run warms Wine (its libraries, the spooler, the fonts).
    const bool ok = RunOnce(false) && RunOnce(true);
    standIn.Stop();
    return ok ? 0 : 1;
}
