// The world of the end-to-end tests: test printers in Wine's spooler whose
// ports append RAW jobs to files, the language-monitor stand-in with the
// printer emulator behind it, and the watcher that reads and answers the
// message boxes the program shows.
#pragma once

#include <windows.h>

#include "panel/core/setting_items.h"
#include "tests/win/box_watcher.h"
#include "tests/win/wait_until.h"

#include <string>
#include <vector>

// The record index of the setting item `name` ("FRC-LFVA"; padded to its
// 8 bytes here), or -1.
inline int SettingIndex(const char* name) {
    std::string field = name;
    field.resize(8, ' ');
    return FindSettingItem(field.c_str());
}

// Unix path of the build's scratch folder (compile definition) and the
// Windows path of a file in it (through Wine's Z: drive).
std::string ScratchUnixPath(const std::string& name);
// The folder of this test program (with its trailing separator), where the
// programs and stand-ins of the build lie.
std::string ProgramDirectory();
std::string ScratchPath(const std::string& name);
std::string ReadWholeFile(const std::string& windowsPath);
bool WriteWholeFile(const std::string& windowsPath, const std::string& bytes);

// Printers installed once per prefix: "KOA Test LPT" on LPT1: and
// "KOA Test USB" on USB001, both koa2400Max-R drivers.
extern const char kLptPrinter[];
extern const char kUsbPrinter[];
bool InstallTestPrinters(std::string* error);

// A stand-in program run by a test: started with this process as its
// --parent (so that it ends with a crashed test too), ended on Stop.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess() { Stop(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // `command` is the whole command line without the --parent option.
    bool Start(const std::string& command);
    void Stop();
    bool running() const { return running_; }
    // Waits up to `ms` for it to end; true when it has ended (or never ran).
    bool Ended(DWORD ms) const;
    // Polls `ready` every 10 ms for up to `ms`, giving up early when the
    // program ends; a busy machine may take seconds to start a Wine process.
    template <typename Ready>
    bool WaitUntilReady(Ready ready, DWORD ms) const {
        WaitUntil([&] { return ready() || Ended(10); }, ms, 0);
        return ready();
    }

private:
    PROCESS_INFORMATION process_ = {};
    bool running_ = false;
};

// The language-monitor stand-in as a child process.
class StandIn {
public:
    StandIn() = default;
    StandIn(const StandIn&) = delete;
    StandIn& operator=(const StandIn&) = delete;

    // Starts it with an emulator config (lines), the jobs file of the test
    // printer's port and extra options; waits until it is up. False when it
    // did not come up. It watches this process and ends with it, so that a
    // test program that crashes leaves no stand-in serving the block.
    bool Start(const std::string& config, const std::string& jobs = "jobs-lpt.bin", const std::string& options = "");
    void Stop();

    // Every byte the printer has received, and the emulator's saved state.
    std::string Received() const;
    std::string State() const;

private:
    ChildProcess child_;
};

// The LAN printer stand-in (lanstand.exe) as a child process, and the
// configuration of the stand-in LAN library (SxJcp32.dll) that points at it.
class LanStandIn {
public:
    LanStandIn() = default;
    LanStandIn(const LanStandIn&) = delete;
    LanStandIn& operator=(const LanStandIn&) = delete;

    // Starts it with an emulator config (lines) and waits until it listens.
    // Then writes the library's configuration, the printer "127.0.0.1" on
    // that port and a fresh log, plus the lines of sxConfigExtra (faults,
    // delays), and points KOA_SXSTAND_CONFIG of this process (and of the
    // programs it starts from now on) at it. False when it did not come up.
    // It watches this process and ends with it.
    bool Start(const std::string& emulatorConfig, const std::string& sxConfigExtra = "");
    // Ends the stand-in; the library's configuration stays, so that a later
    // SxOpenPort finds nobody listening.
    void Stop();

    // Every byte the printer has received, and the emulator's saved state.
    std::string Received() const;
    std::string State() const;
    // The library's log (one line per call), and a fresh start of it.
    std::string SxLog() const;
    void ClearSxLog();

private:
    ChildProcess child_;
};
