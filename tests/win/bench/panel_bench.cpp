// The remote panel as a user meets it: from starting veldra6.exe to the
// printer choice on screen, beside a minimal dialog program started and
// waited for the same way, and from the click on OK in the choice to the
// main window showing the printer's settings, against the language-monitor
// stand-in and the emulator with the real fixed waits. The read is cut into
// its phases from outside: the windows, the jobs file of the printer's port
// (the connection job) and the shared block (each request of the
// conversation). Then, in one running program, command 40007 (ツール →
// 消耗品管理) to the management window showing the printer's counters.
// Prints each figure on its own line, medians of the runs.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "link/channel/link_block.h"
#include "panel/resources/resource.h"
#include "tests/win/bench/bench_clock.h"
#include "tests/win/bench/startbase.h"
#include "tests/win/e2e/e2e_support.h"
#include "tools/lmstand/test_printers.h"
#include "tools/paneldriver/panel_driver.h"

namespace {

// The first read's floor. The conversation's fixed waits: the channel first
// looks 100 ms after posting each of its four requests (opening command,
// query, receive, closing command), waits 200 ms before the receive and
// 1200 ms after the channel ended. And the main window's focus waits: it
// waits 100 ms whenever it loses the focus (WM_KILLFOCUS), and in the first
// run the focus comes to it and it hands it on to the saved control three
// times: when the choice closes, when it is given the focus after the
// choice, and when the progress window goes. All of it on the program's
// one thread, one after the other.
const double kFirstLookMs = 100;
const double kFirstReadWaitsMs = 4 * kFirstLookMs + 200 + 1200;
const double kFocusWaitMs = 100;
const double kFirstReadFocusWaitsMs = 3 * kFocusWaitMs;
const double kFirstReadFloorMs = kFirstReadWaitsMs + kFirstReadFocusWaitsMs;
// The consumables window's floor: the counters read has no opening or
// closing command, so the channel's first look comes after two requests
// (the query and the receive), with the wait before the receive and the
// wait after the read between them. The progress window going gives the
// main window the focus, which it hands on to its saved control: one focus
// wait.
const double kCountersReadWaitsMs = 2 * kFirstLookMs + 200 + 1200;
const double kConsumablesFocusWaitsMs = 1 * kFocusWaitMs;
const double kConsumablesFloorMs = kCountersReadWaitsMs + kConsumablesFocusWaitsMs;
const int kConsumablesRuns = 5;
// The bench printer's counts and the ribbon gauge they give (109,500 / 1,500).
const char kBenchPrinter[] = "model koa240MR\ncounter 6 109500\nheadpin 7 552000000\n";
const int kBenchRibbonLevel = 73;
const char kPrinter[] = "KOA Bench LPT";
const char kJobsFile[] = "jobs-lpt.bin";  // the port's file, where the connection job lands
const int kStartRuns = 7;                 // of each program, taken in turns
const int kReadRuns = 3;
const DWORD kDriverPollMs = 2;  // the windows are looked for this often

// Starts `program` of the build and waits for its dialog that holds
// `controlId`. The time from CreateProcess to the dialog on screen, or -1.
double StartToDialog(const char* program, int controlId, ChildProcess* child, paneldriver::PanelDriver* driver) {
    const double start = NowMs();
    if (!child->Start("\"" + ProgramDirectory() + program + "\"")) return -1;
    if (!driver->WaitDialogWithControl(controlId)) {
        std::fprintf(stderr, "bench: %s showed no dialog: %s\n", program, driver->error().c_str());
        return -1;
    }
    return NowMs() - start;
}

// ---- the first read, phase by phase --------------------------------------

// Points in time of one first read, in ms from the click on OK; -1 where
// the point was not seen.
struct ReadTimes {
    double choiceGone = -1;      // OK handled: the printer looked at, the choice closed
    double progressShown = -1;   // the progress window on screen
    double connectionJob = -1;   // the connection job's byte reached the port's file
    double posted[4] = {-1, -1, -1, -1};  // opening command, query, receive, closing command
    double served[4] = {-1, -1, -1, -1};  // the stand-in's answer in the block
    double ended = -1;           // the channel ended (LinkEnd posted)
    double progressGone = -1;    // after the 1200 ms wait
    double answering = -1;       // the main window answers again: the pages refreshed
};

// The block as this process sees it, copied without the guard mutex: only
// whole 32-bit fields and the first data bytes are looked at, to tell one
// posted request from the next.
struct BlockLook {
    std::uint32_t request, length, status;
    unsigned char head[8];
    bool operator!=(const BlockLook& o) const {
        return request != o.request || length != o.length || status != o.status ||
               std::memcmp(head, o.head, sizeof head) != 0;
    }
};

BlockLook Look(const LinkBlock* view) {
    BlockLook look;
    look.request = view->request;
    look.length = view->length;
    look.status = view->status;
    std::memcpy(look.head, view->data, sizeof look.head);
    return look;
}

long long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// A shown dialog of the program holding `controlId`; the dialogs alone are
// looked at, as the driver does.
HWND FindShownDialog(DWORD processId, int controlId) {
    for (HWND window = FindWindowExA(nullptr, nullptr, "#32770", nullptr); window;
         window = FindWindowExA(nullptr, window, "#32770", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window) && GetDlgItem(window, controlId)) return window;
    }
    return nullptr;
}

// Watches one first read from the click on: looks at the windows, the jobs
// file and the block every millisecond until the progress window has gone,
// then waits for the main window to answer. False when the read did not end.
bool WatchRead(paneldriver::PanelDriver& driver, HWND choice, const LinkBlock* view, const std::string& jobsPath,
               double click, ReadTimes* t) {
    const long long jobsBefore = FileSize(jobsPath);
    HWND progress = nullptr;
    BlockLook last = Look(view);
    int request = -1;  // the conversation's request last seen posted
    const double deadline = click + 30000;
    for (;;) {
        const BlockLook now = Look(view);
        const double at = NowMs() - click;
        if (t->choiceGone < 0 && !IsWindowVisible(choice)) t->choiceGone = at;
        if (!progress) {
            progress = FindShownDialog(driver.processId(), IDC_PROGRESS_TEXT);
            if (progress) t->progressShown = at;
        }
        if (t->connectionJob < 0 && FileSize(jobsPath) > jobsBefore) t->connectionJob = at;
        if (now != last) {
            const bool conversing = now.request == LinkSend || now.request == LinkReceive;
            // A new request: another kind, other bytes, or pending again.
            if (conversing && request < 3 &&
                (now.status == LinkPending || now.request != last.request || now.length != last.length ||
                 std::memcmp(now.head, last.head, sizeof now.head) != 0)) {
                if (request < 0 || t->served[request] >= 0 || now.status == LinkPending) {
                    ++request;
                    t->posted[request] = at;
                }
            }
            if (request >= 0 && conversing && now.status != LinkPending && t->served[request] < 0)
                t->served[request] = at;
            if (now.request == LinkEnd && t->ended < 0) t->ended = at;
            last = now;
        }
        if (progress && !IsWindowVisible(progress)) {
            t->progressGone = at;
            break;
        }
        if (at + click > deadline) return false;
        Sleep(1);
    }
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(driver.WaitMainWindow(), WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result)) return false;
    t->answering = NowMs() - click;
    return true;
}

// One run of the remote panel: started, its choice on screen, the bench
// printer chosen, the first read watched. `times` null: a warming run.
bool RunRead(const LinkBlock* view, ReadTimes* times) {
    ChildProcess program;
    paneldriver::PanelDriver driver;
    driver.SetPollInterval(kDriverPollMs);
    if (StartToDialog("veldra6.exe", paneldriver::ChoiceDialogList, &program, &driver) < 0) return false;
    HWND choice = driver.WaitDialogWithControl(paneldriver::ChoiceDialogList);
    if (!choice || !driver.Attach() || !driver.WaitControl(paneldriver::SettingsReadButton)) {
        std::fprintf(stderr, "bench: no printer choice: %s\n", driver.error().c_str());
        return false;
    }
    ReadTimes local;
    ReadTimes* t = times ? times : &local;
    // Finding the row and clicking are the driver's work: the read is timed
    // from the posted click.
    if (!driver.ChoosePrinter(choice, kPrinter)) {
        std::fprintf(stderr, "bench: cannot choose the printer: %s\n", driver.error().c_str());
        return false;
    }
    const double click = NowMs();
    if (!WatchRead(driver, choice, view, ScratchPath(kJobsFile), click, t)) {
        std::fprintf(stderr, "bench: the first read did not end\n");
        return false;
    }
    program.Stop();
    return true;
}

// The span between two points of every run, as a median; -1 when a point
// was missing in any run.
using Point = std::function<double(const ReadTimes&)>;
double Span(const std::vector<ReadTimes>& runs, const Point& from, const Point& to) {
    std::vector<double> spans;
    for (const ReadTimes& t : runs) {
        const double a = from(t), b = to(t);
        if (a < 0 || b < 0) return -1;
        spans.push_back(b - a);
    }
    return Median(spans);
}

void PrintReadPhases(const std::vector<ReadTimes>& runs) {
    auto click = [](const ReadTimes&) { return 0.0; };
    auto choiceGone = [](const ReadTimes& t) { return t.choiceGone; };
    auto progressShown = [](const ReadTimes& t) { return t.progressShown; };
    auto job = [](const ReadTimes& t) { return t.connectionJob; };
    auto ended = [](const ReadTimes& t) { return t.ended; };
    auto gone = [](const ReadTimes& t) { return t.progressGone; };
    auto answering = [](const ReadTimes& t) { return t.answering; };
    auto posted = [](int i) { return [i](const ReadTimes& t) { return t.posted[i]; }; };
    auto served = [](int i) { return [i](const ReadTimes& t) { return t.served[i]; }; };

    const double total = Span(runs, click, answering);
    std::printf("first_read_ms=%.0f\n", total);
    // The phases, one after the other; together they make first_read_ms.
    // Closing the choice looks at the chosen printer's state and queue.
    std::printf("first_read_preflight_ms=%.0f\n", Span(runs, click, choiceGone));
    // Two of the focus waits, then the progress window is made.
    std::printf("first_read_focus_and_progress_ms=%.0f\n", Span(runs, choiceGone, progressShown));
    // The shared block opened, the connection job's thread started.
    std::printf("first_read_channel_start_ms=%.0f\n", Span(runs, progressShown, posted(0)));
    // Each request from its post to the next post (or to the channel's end).
    static const char* const kRequests[4] = {"opening", "query", "receive", "closing"};
    double spans[4];
    for (int i = 0; i < 4; ++i) {
        const Point next = i < 3 ? Point(posted(i + 1)) : Point(ended);
        spans[i] = Span(runs, posted(i), next);
        std::printf("first_read_%s_ms=%.0f\n", kRequests[i], spans[i]);
    }
    // The query's span holds the wait before the receive; the opening's is
    // the same first look without it.
    std::printf("first_read_wait_before_answer_ms=%.0f\n", spans[1] - spans[0]);
    // The channel ended to the progress window gone: the wait after the read.
    std::printf("first_read_after_read_ms=%.0f\n", Span(runs, ended, gone));
    // The third focus wait and the pages refreshed with the settings read.
    std::printf("first_read_focus_and_refresh_ms=%.0f\n", Span(runs, gone, answering));
    // Inside the phases: the connection job's way through the spooler to the
    // port, and how long each request waited for the stand-in (the opening
    // command waits for the connection job); both end within the first look.
    std::printf("first_read_connection_job_ms=%.0f\n", Span(runs, progressShown, job));
    for (int i = 0; i < 4; ++i)
        std::printf("first_read_%s_served_ms=%.0f\n", kRequests[i], Span(runs, posted(i), served(i)));

    std::printf("first_read_floor_waits_ms=%.0f\nfirst_read_floor_focus_ms=%.0f\n", kFirstReadWaitsMs,
                kFirstReadFocusWaitsMs);
    std::printf("first_read_floor_ms=%.0f\nfirst_read_ratio=%.3f\n", kFirstReadFloorMs, total / kFirstReadFloorMs);
}

// ---- the consumables window ------------------------------------------------

// Points in time of one opening, in ms from the posted command; -1 where the
// point was not seen.
struct OpenTimes {
    double progressShown = -1;  // the pre-flight check passed, the read begins
    double progressGone = -1;   // the read and its wait after it are done
    double shown = -1;          // the window on screen, its ribbon gauge answering with the printer's level
};

// The program's thread answers again; false when it did not within 30 s.
bool Answering(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result) != 0;
}

// Opens the management window from the menu command, watched every
// millisecond from outside, then closes it again.
bool OpenConsumablesOnce(paneldriver::PanelDriver& driver, OpenTimes* t) {
    HWND main = driver.WaitMainWindow();
    if (!main || !driver.MenuCommand(IDM_TOOLS_SUPPLIES)) return false;
    const double click = NowMs();
    HWND progress = nullptr;
    for (;;) {
        const double at = NowMs() - click;
        if (!progress) {
            progress = FindShownDialog(driver.processId(), IDC_PROGRESS_TEXT);
            if (progress) t->progressShown = at;
        } else if (t->progressGone < 0 && !IsWindowVisible(progress)) {
            t->progressGone = at;
        }
        // Asked only once it is on screen: until then the program's thread
        // is busy with the printer.
        if (HWND window = FindShownDialog(driver.processId(), IDC_HEAD_GAUGE)) {
            DWORD_PTR position = 0;
            if (!SendMessageTimeoutA(GetDlgItem(window, IDC_RIBBON_GAUGE), PBM_GETPOS, 0, 0, SMTO_NORMAL, 30000,
                                     &position) ||
                static_cast<int>(position) != kBenchRibbonLevel) {
                std::fprintf(stderr, "bench: the consumables window shows %d, not %d\n", static_cast<int>(position),
                             kBenchRibbonLevel);
                return false;
            }
            t->shown = NowMs() - click;
            if (t->progressGone < 0) t->progressGone = t->shown;
            if (!driver.WindowCommand(IDC_HEAD_GAUGE, IDM_CONSUMABLES_EXIT) || !driver.WaitGone(window)) return false;
            return WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, 10000, 1) && Answering(main);
        }
        if (at > 30000) return false;
        Sleep(1);
    }
}

// One program, chosen and read, then the window opened a warming time and
// kConsumablesRuns measured times.
bool RunConsumablesOpen(std::vector<OpenTimes>* runs) {
    ChildProcess program;
    paneldriver::PanelDriver driver;
    driver.SetPollInterval(kDriverPollMs);
    if (StartToDialog("veldra6.exe", paneldriver::ChoiceDialogList, &program, &driver) < 0) return false;
    HWND choice = driver.WaitDialogWithControl(paneldriver::ChoiceDialogList);
    if (!choice || !driver.Attach() || !driver.ChoosePrinter(choice, kPrinter)) {
        std::fprintf(stderr, "bench: cannot choose the printer: %s\n", driver.error().c_str());
        return false;
    }
    // The first read is done once the Read button has the focus.
    HWND read = driver.WaitControl(paneldriver::SettingsReadButton);
    const bool readDone = read && WaitUntil(
                                      [&] {
                                          GUITHREADINFO info = {};
                                          info.cbSize = sizeof info;
                                          return GetGUIThreadInfo(GetWindowThreadProcessId(read, nullptr), &info) &&
                                                 info.hwndFocus == read;
                                      },
                                      30000, 5);
    if (!readDone) {
        std::fprintf(stderr, "bench: the first read did not end\n");
        return false;
    }
    for (int run = 0; run <= kConsumablesRuns; ++run) {
        OpenTimes t;
        if (!OpenConsumablesOnce(driver, &t)) {
            std::fprintf(stderr, "bench: the consumables window did not open: %s\n", driver.error().c_str());
            return false;
        }
        if (run > 0) runs->push_back(t);
    }
    program.Stop();
    return true;
}

double OpenSpan(const std::vector<OpenTimes>& runs, double OpenTimes::*from, double OpenTimes::*to) {
    std::vector<double> spans;
    for (const OpenTimes& t : runs) {
        const double a = from ? t.*from : 0.0, b = t.*to;
        if (a < 0 || b < 0) return -1;
        spans.push_back(b - a);
    }
    return Median(spans);
}

void PrintConsumablesOpen(const std::vector<OpenTimes>& runs) {
    const double total = OpenSpan(runs, nullptr, &OpenTimes::shown);
    std::printf("consumables_open_ms=%.0f\n", total);
    // The pre-flight check and the setting page collected.
    std::printf("consumables_open_preflight_ms=%.0f\n", OpenSpan(runs, nullptr, &OpenTimes::progressShown));
    // The counters read with its fixed waits.
    std::printf("consumables_open_read_ms=%.0f\n",
                OpenSpan(runs, &OpenTimes::progressShown, &OpenTimes::progressGone));
    // The focus wait, the window made, refreshed and shown.
    std::printf("consumables_open_window_ms=%.0f\n", OpenSpan(runs, &OpenTimes::progressGone, &OpenTimes::shown));
    std::printf("consumables_open_floor_waits_ms=%.0f\nconsumables_open_floor_focus_ms=%.0f\n", kCountersReadWaitsMs,
                kConsumablesFocusWaitsMs);
    std::printf("consumables_open_floor_ms=%.0f\nconsumables_open_ratio=%.3f\n", kConsumablesFloorMs,
                total / kConsumablesFloorMs);
}

}  // namespace

int main() {
    std::string error;
    if (!InstallTestPrinters(&error) || !AddTestPrinter(kPrinter, "KOA koa2400Max-R(0mm)", "LPT1:", 0x800, &error)) {
        std::fprintf(stderr, "bench: cannot prepare: %s\n", error.c_str());
        return 1;
    }
    // Start-up: both programs in turns, after a first start of each that
    // warms Wine (its libraries, the spooler, the fonts).
    bool ok = true;
    std::vector<double> panel, base;
    for (int run = 0; ok && run <= kStartRuns; ++run) {
        ChildProcess child;
        paneldriver::PanelDriver driver;
        driver.SetPollInterval(kDriverPollMs);
        const double b = StartToDialog("startbase.exe", IDC_STARTBASE_TEXT, &child, &driver);
        child.Stop();
        ChildProcess program;
        paneldriver::PanelDriver panelDriver;
        panelDriver.SetPollInterval(kDriverPollMs);
        const double p = StartToDialog("veldra6.exe", paneldriver::ChoiceDialogList, &program, &panelDriver);
        program.Stop();
        ok = b >= 0 && p >= 0;
        if (run > 0) {
            base.push_back(b);
            panel.push_back(p);
        }
    }
    if (ok) {
        const double p = Median(panel), b = Median(base);
        std::printf("startup_to_choice_ms=%.0f\nstartbase_to_dialog_ms=%.0f\nstartup_to_choice_ratio=%.2f\n", p, b,
                    p / b);
    }

    StandIn standIn;
    if (!standIn.Start(kBenchPrinter)) {
        std::fprintf(stderr, "bench: the language-monitor stand-in did not start\n");
        return 1;
    }
    const KernelObjectNames& names = ChooseKernelObjectNames(PlatformWin32Nt, 10);
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, names.linkMapping);
    const LinkBlock* view =
        mapping ? static_cast<const LinkBlock*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0)) : nullptr;
    if (!view) {
        std::fprintf(stderr, "bench: cannot see the shared block (error %lu)\n", GetLastError());
        standIn.Stop();
        return 1;
    }

    // The first read: a warming run, then the measured ones.
    std::vector<ReadTimes> reads;
    ok = ok && RunRead(view, nullptr);
    for (int run = 0; ok && run < kReadRuns; ++run) {
        ReadTimes t;
        ok = RunRead(view, &t);
        if (ok) reads.push_back(t);
    }
    if (ok) PrintReadPhases(reads);

    std::vector<OpenTimes> opens;
    ok = ok && RunConsumablesOpen(&opens);
    if (ok) PrintConsumablesOpen(opens);

    UnmapViewOfFile(view);
    CloseHandle(mapping);
    standIn.Stop();
    return ok ? 0 : 1;
}
