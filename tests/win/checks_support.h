// The world of the status monitor's printer checks, run in the test process
// itself: printers in Wine's spooler with supported drivers, a scripted
// spooler for what Wine cannot show (paused printers, job lists), the
// registry slot, the registry stand-in, and the watcher that reads and
// answers the message boxes this process shows (box_watcher.h).
#pragma once

#include <windows.h>

#include <string>

#include "monitor/monitor_state.h"
#include "tests/win/box_watcher.h"
#include "tests/win/e2e/e2e_support.h"

// Printers with supported drivers, on the ports the checks accept or refuse.
extern const char kCheckLpt[];      // "KOA koa2400Max-R(0mm)" on LPT1:, bidirectional
extern const char kCheckUsb[];      // "KOA koa2600Max-RN" on USB001, bidirectional
extern const char kCheckUsb100[];   // on USB100
extern const char kCheckCom1[];     // on COM1:
extern const char kCheckNoBidi[];   // on LPT1:, bidirectional support off
extern const char kCheckOffline[];  // on LPT1:, bidirectional, work offline
extern const char kOtherPrinter[];  // a printer of another make, on LPT2:
// A supported printer whose name is far longer than 50 characters, and
// another named by its first 50.
std::string LongPrinterName();

// Installs the printers above (and the end-to-end world's test ports, whose
// jobs land in the files below). False with a message.
bool InstallCheckPrinters(std::string* error);
bool MakeDefaultPrinter(const std::string& name);
// Bytes the port of LPT1: / USB001 has received so far.
std::string LptJobs();
std::string UsbJobs();

// The slot HKLM "SOFTWARE\KOA\tzraMonitor-msg\1", read and written directly.
bool EnsureSlot();
bool SetSlotText(const char* name, const std::string& value);
bool SetSlotByte(const char* name, unsigned char value);
// A REG_SZ value without its zero; "<missing>" when absent, "<type N>" for
// another type.
std::string SlotText(const char* name);
// The raw bytes of a REG_BINARY value; "<missing>" when absent.
std::string SlotBinary(const char* name);

// A state record as the monitor holds it on Windows 2000 and later.
MonitorState* NewCheckState();

// The spooler as the tests want it: Wine's own, with a printer paused, the
// job list scripted, supported printers hidden or failures injected. Wine's
// EnumJobsA is a stub that fails (with error code 0), so the job list is
// always scripted: empty unless the test says otherwise.
struct SpoolerScript {
    std::string pausedPrinter;  // its status gets PRINTER_STATUS_PAUSED
    enum Jobs { NoJobs, OnePrinting, OneDeleting, JobsUnreadable } jobs = NoJobs;
    bool hideSupported = false;  // the list keeps only other drivers
    int listFailures = 0;        // EnumPrinters fails this many times first (-1: always)
    bool openFails = false;
    bool startDocFails = false;
};
// Installs the script (copied) for every spooler call of this process.
void UseSpoolerScript(const SpoolerScript& script);
// Back to Wine's spooler alone.
void UseRealSpooler();
int EnumPrintersCalls();
int EnumJobsCalls();

// The registry stand-in (regstand.exe) as a child process that ends with
// this one, serving the slot and watching the LPT1: port's jobs file.
class RegStandIn {
public:
    RegStandIn() = default;
    RegStandIn(const RegStandIn&) = delete;
    RegStandIn& operator=(const RegStandIn&) = delete;

    // Starts it with a script (lines) and extra options; waits until it
    // reports ready. False when it did not come up.
    bool Start(const std::string& script, const std::string& options = "");
    void Stop();
    std::string Log() const;
    // Waits up to `ms` for `event` to appear in its log.
    bool WaitFor(const std::string& event, DWORD ms) const;

private:
    ChildProcess child_;
};

// Waits up to `ms` for the slot's string value to read `expected`.
bool WaitForSlotText(const char* name, const std::string& expected, DWORD ms);
