// The console tool over several printers: veldra6c.exe started as a child
// to write one settings file to three printers on local ports (one
// language-monitor stand-in serving all three), and to read them back, with
// the real fixed waits. Prints the wall time of each beside its floor: three
// times one conversation's fixed waits, the printers being taken one after
// another. Medians of a few runs.
#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "panel/core/setting_items.h"
#include "tests/win/bench/bench_clock.h"
#include "tests/win/e2e/e2e_support.h"
#include "tools/lmstand/test_printers.h"

namespace {

// The channel looks at the block 100 ms after posting each request.
const double kFirstLookMs = 100;
// WriteSettings: opening command, setting block, closing command; 2000 ms after.
const double kWriteFloorMs = 3 * kFirstLookMs + 2000;
// ReadModelAndSettings: opening command, query, receive, closing command;
// 200 ms before the receive and 1200 ms after the channel ended.
const double kReadFloorMs = 4 * kFirstLookMs + 200 + 1200;
const int kPrinters = 3;
const int kRuns = 3;

struct BenchPrinter {
    const char* name;
    const char* driver;
    const char* port;
    const char* jobs;
};
const BenchPrinter kBenchPrinters[kPrinters] = {
    {"KOA Fleet Bench 1", "KOA koa2400Max-R(0mm)", "LPT1:", "jobs-lpt.bin"},
    {"KOA Fleet Bench 2", "KOA koa2600Max-R(0mm)", "USB001", "jobs-usb.bin"},
    {"KOA Fleet Bench 3", "KOA koa2400Max-RN", "USB002", "jobs-usb2.bin"},
};

// Runs veldra6c.exe with `arguments` and waits for it; its exit status, or -1.
long RunConsole(const std::string& arguments) {
    std::string line = "\"" + ProgramDirectory() + "veldra6c.exe\" " + arguments;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE sink = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0,
                              nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = sink;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process = {};
    long status = -1;
    if (CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        if (WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(process.hProcess, &code);
            status = static_cast<long>(code);
        } else {
            TerminateProcess(process.hProcess, 99);
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    if (sink != INVALID_HANDLE_VALUE) CloseHandle(sink);
    return status;
}

// Median wall time of `arguments` over kRuns runs; -1 when a run failed.
double Measure(const char* name, const std::string& arguments, double floorMs) {
    std::vector<double> walls;
    for (int run = 0; run < kRuns; ++run) {
        const double start = NowMs();
        const long status = RunConsole(arguments);
        if (status != 0) {
            std::fprintf(stderr, "bench: veldra6c %s ended with %ld\n", name, status);
            return -1;
        }
        walls.push_back(NowMs() - start);
    }
    const double wall = Median(walls);
    std::printf("%s_ms=%.0f\n%s_floor_ms=%.0f\n%s_ratio=%.3f\n", name, wall, name, floorMs, name, wall / floorMs);
    return wall;
}

}  // namespace

int main() {
    std::string error;
    CreateDirectoryA(ScratchPath("").c_str(), nullptr);
    CreateDirectoryA(ScratchPath("out").c_str(), nullptr);
    for (const BenchPrinter& printer : kBenchPrinters) {
        if (!AddTestPrinter(printer.name, printer.driver, printer.port, PRINTER_ATTRIBUTE_ENABLE_BIDI, &error) ||
            !SetPortCommand(printer.port, "|cat >> " + ScratchUnixPath(printer.jobs), &error)) {
            std::fprintf(stderr, "bench: cannot prepare: %s\n", error.c_str());
            return 1;
        }
    }
    std::string more;
    for (int i = 1; i < kPrinters; ++i) {
        const std::string config = "bench-" + std::to_string(i) + ".cfg";
        WriteWholeFile(ScratchPath(config), i == 1 ? "model koa260MR\n" : "model koa240MR\n");
        more += " --printer \"" + ScratchPath(kBenchPrinters[i].jobs) + "\" \"" + ScratchPath(config) + "\"";
    }
    SettingsRecord record;
    CopyFactoryDefaults(&record);
    WriteWholeFile(ScratchPath("fleet.vd6"), std::string(reinterpret_cast<const char*>(record.value), SettingCount));

    StandIn standIn;
    if (!standIn.Start("model koa240MR\n", kBenchPrinters[0].jobs, more)) {
        std::fprintf(stderr, "bench: the language-monitor stand-in did not start\n");
        return 1;
    }
    std::string names;
    for (const BenchPrinter& printer : kBenchPrinters) names += std::string(" \"") + printer.name + "\"";
    // A first run warms Wine's spooler and the stand-in.
    RunConsole("verify \"" + ScratchPath("fleet.vd6") + "\"" + names);
    bool ok = Measure("fleet_write", "write \"" + ScratchPath("fleet.vd6") + "\"" + names,
                      kPrinters * kWriteFloorMs) > 0;
    ok = Measure("fleet_read", "read" + names + " --out \"" + ScratchPath("out") + "\"", kPrinters * kReadFloorMs) > 0 &&
         ok;
    ok = Measure("console_write_one", "write \"" + ScratchPath("fleet.vd6") + "\" \"" + kBenchPrinters[0].name + "\"",
                 kWriteFloorMs) > 0 &&
         ok;
    standIn.Stop();
    for (const BenchPrinter& printer : kBenchPrinters) DeleteTestPrinter(printer.name);
    return ok ? 0 : 1;
}
