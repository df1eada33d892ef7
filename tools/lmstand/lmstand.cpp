// Language-monitor stand-in: serves the command channel's shared block the
// way the printer driver's language monitor does, with the printer emulator
// behind it.
//
//   lmstand --items FILE --jobs FILE [--config FILE] [--record FILE]
//           [--state FILE] [--printer JOBS CONFIG [--printer-state FILE]]...
//           [--plain-names]
//           [--status3] [--fail-request N] [--never-answer]
//           [--answer-late N [--late-ms D]] [--hang-after N] [--parent PID]
//
// It learns of a connection job from the RAW job bytes that Wine's spooler
// appends to the --jobs file (the test printer's port runs "cat >> FILE"):
// a CAN byte starts the service of the block, a LinkEnd request stops it.
// After every request to the first printer it writes the bytes that printer
// has received so far to --record and its emulator's state to --state.
//
// Each --printer adds one more printer on a port of its own: the jobs file of
// that port and the emulator config of that printer (items from --items).
// Whichever printer's port received the latest connection job is the one
// that answers, so a program that chose either printer talks to that one.
// --record and --state belong to the first printer (--jobs, or without it
// the first --printer); --printer-state after a --printer writes that
// printer's state after each of its requests, so that a test can see every
// printer's settings.
//
// Requests are counted from 1 over the whole run, in the order they are taken
// from the block.
//   --fail-request N   the Nth request fails without reaching the printer.
//   --answer-late N    the Nth request goes to the printer at once, but its
//                      result is written back only after D ms (--late-ms,
//                      default 4000): the whole 4108-byte block, with status
//                      Done or Failed, is copied into the shared block under
//                      the guard mutex, over whatever the program posted in
//                      the meantime. Nothing else is served while it waits.
//                      That is a monitor whose answer comes after the
//                      program has given up on it.
//   --hang-after N     after N requests (0: at once) it takes the block's
//                      guard mutex and hangs holding it: a monitor that
//                      froze inside a copy.
//   --parent PID       ends as soon as that process ends, so that a test
//                      program that crashed leaves no stand-in behind.
// Without --parent it runs until it is killed.
#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "link/channel/link_block.h"
#include "tools/printer_emu/emulator_channel.h"
#include "tools/printer_emu/printer_emulator.h"
#include "tools/standin/stand_process.h"

namespace {

// The ports of the printers behind the stand-in, in the order given.
struct PrinterPort {
    std::string jobs, config, state;
};

struct Options {
    std::string items, record, state;
    std::vector<PrinterPort> printers;
    bool plainNames = false;
    bool status3 = false;
    bool neverAnswer = false;
    long failRequest = 0;
    long lateRequest = 0;
    long lateMs = 4000;
    long hangAfter = -1;
    long parent = 0;
};

bool ParseOptions(int argc, char** argv, Options* o) {
    bool lateMsGiven = false;
    PrinterPort first;
    std::vector<PrinterPort> more;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--printer") {
            if (i + 2 >= argc) return false;
            more.push_back(PrinterPort{argv[i + 1], argv[i + 2], ""});
            if (more.back().jobs.empty() || more.back().config.empty()) return false;
            i += 2;
            continue;
        }
        if (a == "--printer-state") {
            // The state file of the --printer just before it.
            if (i + 1 >= argc || more.empty() || !more.back().state.empty()) return false;
            more.back().state = argv[++i];
            if (more.back().state.empty()) return false;
            continue;
        }
        std::string* text = a == "--items" ? &o->items
                            : a == "--jobs" ? &first.jobs
                            : a == "--config" ? &first.config
                            : a == "--record" ? &o->record
                            : a == "--state" ? &o->state
                            : nullptr;
        long* number = a == "--fail-request" ? &o->failRequest
                       : a == "--answer-late" ? &o->lateRequest
                       : a == "--late-ms" ? &o->lateMs
                       : a == "--parent" ? &o->parent
                       : a == "--hang-after" ? &o->hangAfter
                       : nullptr;
        if (text || number) {
            if (i + 1 >= argc) return false;
            ++i;
            if (text) {
                *text = argv[i];
            } else {
                // A delay of up to ten minutes; counts and process ids from 1.
                const long low = number == &o->lateMs || number == &o->hangAfter ? 0 : 1;
                const long high = number == &o->lateMs ? 600000 : 0x7FFFFFFF;
                if (!ParseNumber(argv[i], low, high, number)) return false;
                if (number == &o->lateMs) lateMsGiven = true;
            }
        } else if (a == "--plain-names") {
            o->plainNames = true;
        } else if (a == "--status3") {
            o->status3 = true;
        } else if (a == "--never-answer") {
            o->neverAnswer = true;
        } else {
            return false;
        }
    }
    if (lateMsGiven && o->lateRequest == 0) return false;  // a delay for no request
    if (!first.config.empty() && first.jobs.empty()) return false;  // a config for no port
    if (!first.jobs.empty()) o->printers.push_back(first);
    o->printers.insert(o->printers.end(), more.begin(), more.end());
    // Each port once: one connection job must name one printer.
    for (std::size_t i = 0; i < o->printers.size(); ++i)
        for (std::size_t j = i + 1; j < o->printers.size(); ++j)
            if (o->printers[i].jobs == o->printers[j].jobs) return false;
    return !o->items.empty() && !o->printers.empty();
}

// New bytes appended to the jobs file since the last look.
class JobWatcher {
public:
    explicit JobWatcher(const std::string& path) : path_(path) { offset_ = Size(); }

    // True when a connection job (a CAN byte) arrived since the last call.
    bool ConnectionJobArrived() {
        HANDLE file = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        bool connection = false;
        LARGE_INTEGER at;
        at.QuadPart = offset_;
        if (SetFilePointerEx(file, at, nullptr, FILE_BEGIN)) {
            unsigned char buffer[4096];
            DWORD got = 0;
            while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
                offset_ += got;
                if (std::memchr(buffer, ConnectionJobByte, got)) connection = true;
            }
        }
        CloseHandle(file);
        return connection;
    }

private:
    long long Size() const {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExA(path_.c_str(), GetFileExInfoStandard, &data)) return 0;
        return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    std::string path_;
    long long offset_ = 0;
};

bool Locked(HANDLE mutex, void* destination, const void* source) {
    const DWORD result = WaitForSingleObject(mutex, 10000);
    if (result != WAIT_OBJECT_0 && result != WAIT_ABANDONED) return false;
    std::memcpy(destination, source, LinkBlockSize);
    ReleaseMutex(mutex);
    return true;
}

const char kUsage[] =
    "usage: lmstand --items FILE --jobs FILE [--config FILE] [--record FILE] [--state FILE]"
    " [--printer JOBS CONFIG [--printer-state FILE]]... [--plain-names] [--status3] [--fail-request N]"
    " [--never-answer]"
    " [--answer-late N [--late-ms D]] [--hang-after N] [--parent PID]\n";

// One printer behind the stand-in: its emulator and the port it listens on.
struct Printer {
    Printer(const std::string& jobsFile, const std::string& stateFile) : jobs(jobsFile), state(stateFile) {}
    PrinterEmulator emulator;
    JobWatcher jobs;
    std::string state;  // --printer-state, or empty
};

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, &options)) {
        std::fprintf(stderr, "%s", kUsage);
        return 2;
    }
    HANDLE parent = nullptr;
    if (!OpenParentProcess(options.parent, "lmstand", &parent)) return 1;
    // Each printer its own emulator: copies of one emulator would share it.
    std::vector<std::unique_ptr<Printer>> printers;
    for (const PrinterPort& port : options.printers) {
        printers.push_back(std::make_unique<Printer>(port.jobs, port.state));
        if (!LoadPrinter(&printers.back()->emulator, options.items, port.config, "lmstand")) return 1;
    }
    const KernelObjectNames& names =
        options.plainNames ? ChooseKernelObjectNames(PlatformWin32Nt, 4) : ChooseKernelObjectNames(PlatformWin32Nt, 10);
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, LinkBlockSize,
                                        names.linkMapping);
    HANDLE mutex = CreateMutexA(nullptr, FALSE, names.linkMutex);
    LinkBlock* view = mapping ? static_cast<LinkBlock*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0)) : nullptr;
    if (!view || !mutex) {
        std::fprintf(stderr, "lmstand: cannot open the shared block (error %lu)\n", GetLastError());
        return 1;
    }
    SaveRecord(printers.front()->emulator, options.record, options.state);
    for (std::size_t i = 0; i < printers.size(); ++i)
        if (!printers[i]->state.empty()) SaveRecord(printers[i]->emulator, "", printers[i]->state);
    std::printf("lmstand: ready\n");
    std::fflush(stdout);

    bool serving = false;
    std::size_t current = 0;  // the printer whose connection job came last
    long requests = 0;
    static LinkBlock block;
    do {
        for (std::size_t i = 0; i < printers.size(); ++i) {
            if (printers[i]->jobs.ConnectionJobArrived()) {
                serving = true;
                current = i;
            }
        }
        if (options.hangAfter >= 0 && requests >= options.hangAfter) {
            const DWORD taken = WaitForSingleObject(mutex, INFINITE);
            if (taken != WAIT_OBJECT_0 && taken != WAIT_ABANDONED) return 1;
            while (!PauseUnlessParentEnds(parent, 100)) {
            }
            break;
        }
        PrinterEmulator& printer = printers[current]->emulator;
        if (serving && Locked(mutex, &block, view)) {
            if (block.request == LinkEnd) {
                serving = false;
            } else if ((block.request == LinkSend || block.request == LinkReceive) && block.status == LinkPending &&
                       !options.neverAnswer) {
                ++requests;
                std::uint32_t status = requests == options.failRequest ? static_cast<std::uint32_t>(LinkFailed)
                                                                       : ServeLinkRequest(printer, block);
                if (options.status3) status = 3;
                block.status = status;
                if (current == 0) SaveRecord(printer, options.record, options.state);
                if (!printers[current]->state.empty())
                    SaveRecord(printer, "", printers[current]->state);
                // A late answer still lands, over whatever is in the block by then.
                if (requests == options.lateRequest && PauseUnlessParentEnds(parent, static_cast<DWORD>(options.lateMs))) break;
                Locked(mutex, view, &block);
            }
        }
    } while (!PauseUnlessParentEnds(parent, 1));
    return 0;
}
