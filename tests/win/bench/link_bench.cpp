// One settings read and one settings write end to end against the printer
// emulator, with the real fixed waits. Prints, for each, the wall time
// beside the floor that the fixed waits and the language-monitor round trips
// set, their ratio, and the CPU time this process spent meanwhile.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "panel/exchange/printer_exchange.h"
#include "panel/records/panel_records.h"
#include "tests/win/bench/bench_clock.h"
#include "tests/win/e2e/e2e_support.h"

namespace {

// The channel looks at the block 100 ms after posting each request.
const double kFirstLookMs = 100;
// ReadSettings: opening command, query, receive, closing command; 200 ms
// before the receive and 1200 ms after the channel ended.
const double kReadFloorMs = 4 * kFirstLookMs + 200 + 1200;
// WriteSettings: opening command, setting block, closing command; 2000 ms after.
const double kWriteFloorMs = 3 * kFirstLookMs + 2000;
// The LAN library is paced: 1000 ms before and after each send, 1000 ms
// after each receive. ReadSettings: three sends and a receive, plus the read's
// own 200 ms and 1200 ms; WriteSettings: three sends plus 2000 ms.
const double kLanReadFloorMs = 3 * 2000 + 1000 + 200 + 1200;
const double kLanWriteFloorMs = 3 * 2000 + 2000;

double CpuMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& t) {
        return ((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

template <typename Operation>
bool Measure(const char* name, double floorMs, Operation operation) {
    const double cpu0 = CpuMs(), wall0 = NowMs();
    const int result = operation();
    const double wall = NowMs() - wall0, cpu = CpuMs() - cpu0;
    std::printf("%s_result=%d\n%s_ms=%.0f\n%s_floor_ms=%.0f\n%s_ratio=%.3f\n%s_cpu_ms=%.1f\n%s_cpu_percent=%.2f\n",
                name, result, name, wall, name, floorMs, name, wall / floorMs, name, cpu, name,
                100.0 * cpu / wall);
    return result == 1;
}

}  // namespace

int main() {
    std::string error;
    if (!InstallTestPrinters(&error) || !AllocateGlobals()) {
        std::fprintf(stderr, "bench: cannot prepare: %s\n", error.c_str());
        return 1;
    }
    std::strcpy(CurrentTarget.PrinterName, kLptPrinter);
    std::strcpy(CurrentTarget.PortName, "LPT1:");
    CurrentTarget.ConnectionKind = ConnectSpooler;
    CurrentTarget.Model = ModelKoa2400MaxR;

    StandIn standIn;
    if (!standIn.Start("model koa240MR\n")) {
        std::fprintf(stderr, "bench: the language-monitor stand-in did not start\n");
        return 1;
    }
    // A first read warms Wine's spooler and the printer's answer path.
    ReadFromPrinter(ReadSettings, nullptr);
    bool ok = Measure("read_settings", kReadFloorMs, [] { return ReadFromPrinter(ReadSettings, nullptr); });
    ok = Measure("write_settings", kWriteFloorMs, [] { return WriteToPrinter(WriteSettings, nullptr); }) && ok;
    standIn.Stop();

    // The same over the LAN channel, through the stand-in library.
    LanStandIn lanStandIn;
    if (!lanStandIn.Start("model koa240MR\n")) {
        std::fprintf(stderr, "bench: the LAN printer stand-in did not start\n");
        return 1;
    }
    std::strcpy(CurrentTarget.PortName, "127.0.0.1:lp");
    CurrentTarget.ConnectionKind = ConnectLan;
    ReadFromPrinter(ReadSettings, nullptr);
    ok = Measure("lan_read_settings", kLanReadFloorMs, [] { return ReadFromPrinter(ReadSettings, nullptr); }) && ok;
    ok = Measure("lan_write_settings", kLanWriteFloorMs, [] { return WriteToPrinter(WriteSettings, nullptr); }) &&
         ok;
    lanStandIn.Stop();
    ReleaseGlobals();
    return ok ? 0 : 1;
}
