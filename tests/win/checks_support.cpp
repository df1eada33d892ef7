#include "tests/win/checks_support.h"

#include <winspool.h>

#include <algorithm>
#include <atomic>
#include <cstring>

#include "link/channel/object_names.h"
#include "link/channel/spooler_calls.h"
#include "tests/win/e2e/e2e_support.h"
#include "tools/lmstand/test_printers.h"

const char kCheckLpt[] = "KOA Check LPT";
const char kCheckUsb[] = "KOA Check USB";
const char kCheckUsb100[] = "KOA Check USB100";
const char kCheckCom1[] = "KOA Check COM1";
const char kCheckNoBidi[] = "KOA Check No Bidi";
const char kCheckOffline[] = "KOA Check Offline";
const char kOtherPrinter[] = "Other Make Printer";

namespace {

const char kSlotPath[] = "SOFTWARE\\KOA\\tzraMonitor-msg\\1";
const unsigned long kBidi = PRINTER_ATTRIBUTE_ENABLE_BIDI;

// The six driver names the monitor supports, as the requirement lists them.
const char* const kSupported[] = {
    "KOA koa2400Max-R(0mm)", "KOA koa2400Max-R(8.5mm)", "KOA koa2600Max-R(0mm)",
    "KOA koa2600Max-R(8.5mm)", "KOA koa2400Max-RN", "KOA koa2600Max-RN",
};

bool IsSupported(const char* driver) {
    for (const char* name : kSupported)
        if (driver && std::strcmp(driver, name) == 0) return true;
    return false;
}

HKEY OpenSlotKey(REGSAM access) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSlotPath, 0, nullptr, 0, access, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

// What the tests put in place of Wine's spooler.
SpoolerScript g_script;
SpoolerCalls g_calls;
std::atomic<int> g_enumPrintersCalls{0};
std::atomic<int> g_enumJobsCalls{0};
int g_listFailuresLeft = 0;

BOOL WINAPI ScriptedEnumPrinters(DWORD flags, LPSTR name, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed,
                                 LPDWORD returned) {
    ++g_enumPrintersCalls;
    if (g_listFailuresLeft != 0) {
        if (g_listFailuresLeft > 0) --g_listFailuresLeft;
        *needed = 0;
        *returned = 0;
        SetLastError(RPC_S_SERVER_UNAVAILABLE);  // the spooler service is not running
        return FALSE;
    }
    if (!EnumPrintersA(flags, name, level, buffer, size, needed, returned)) return FALSE;
    if (level != 2 || !buffer) return TRUE;
    PRINTER_INFO_2A* info = reinterpret_cast<PRINTER_INFO_2A*>(buffer);
    DWORD kept = 0;
    for (DWORD i = 0; i < *returned; ++i) {
        PRINTER_INFO_2A entry = info[i];
        if (g_script.hideSupported && IsSupported(entry.pDriverName)) continue;
        if (entry.pPrinterName && g_script.pausedPrinter == entry.pPrinterName) entry.Status |= PRINTER_STATUS_PAUSED;
        info[kept++] = entry;
    }
    *returned = kept;
    return TRUE;
}

BOOL WINAPI ScriptedOpenPrinter(LPSTR name, LPHANDLE printer, LPPRINTER_DEFAULTSA defaults) {
    if (!g_script.openFails) return OpenPrinterA(name, printer, defaults);
    SetLastError(ERROR_INVALID_PRINTER_NAME);
    return FALSE;
}

DWORD WINAPI ScriptedStartDoc(HANDLE printer, DWORD level, LPBYTE info) {
    if (!g_script.startDocFails) return StartDocPrinterA(printer, level, info);
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
}

// A queue of two jobs: the statuses of positions 0 and 1.
bool ScriptedJob(DWORD position, DWORD* status) {
    static const DWORD printing[] = {JOB_STATUS_SPOOLING, JOB_STATUS_PRINTING};
    static const DWORD finishing[] = {JOB_STATUS_PRINTING | JOB_STATUS_DELETING,
                                      JOB_STATUS_PRINTING | JOB_STATUS_PRINTED};
    if (position > 1) return false;
    *status = g_script.jobs == SpoolerScript::OnePrinting ? printing[position] : finishing[position];
    return true;
}

BOOL WINAPI ScriptedEnumJobs(HANDLE printer, DWORD first, DWORD count, DWORD level, LPBYTE buffer, DWORD size,
                             LPDWORD needed, LPDWORD returned) {
    ++g_enumJobsCalls;
    *needed = 0;
    *returned = 0;
    (void)printer;
    switch (g_script.jobs) {
    case SpoolerScript::NoJobs:
        return TRUE;
    case SpoolerScript::JobsUnreadable:
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    default:
        break;
    }
    DWORD status = 0;
    if (level != 1 || count == 0 || !ScriptedJob(first, &status)) return TRUE;
    static const char document[] = "report.txt";
    const DWORD wanted = sizeof(JOB_INFO_1A) + sizeof document;
    if (size < wanted) {
        *needed = wanted;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    JOB_INFO_1A* job = reinterpret_cast<JOB_INFO_1A*>(buffer);
    std::memset(job, 0, sizeof *job);
    char* text = reinterpret_cast<char*>(buffer + sizeof(JOB_INFO_1A));
    std::memcpy(text, document, sizeof document);
    job->JobId = first + 1;
    job->pDocument = text;
    job->Status = status;
    *needed = wanted;
    *returned = 1;
    return TRUE;
}

}  // namespace

std::string LongPrinterName() { return "KOA Check " + std::string(180, 'L') + " on LPT1"; }

bool InstallCheckPrinters(std::string* error) {
    return InstallTestPrinters(error) && AddTestPrinter(kCheckLpt, "KOA koa2400Max-R(0mm)", "LPT1:", kBidi, error) &&
           AddTestPrinter(kCheckUsb, "KOA koa2600Max-RN", "USB001", kBidi, error) &&
           AddTestPrinter(kCheckUsb100, "KOA koa2400Max-R(8.5mm)", "USB100", kBidi, error) &&
           AddTestPrinter(kCheckCom1, "KOA koa2600Max-R(0mm)", "COM1:", kBidi, error) &&
           AddTestPrinter(kCheckNoBidi, "KOA koa2400Max-RN", "LPT1:", 0, error) &&
           AddTestPrinter(kCheckOffline, "KOA koa2600Max-R(8.5mm)", "LPT1:", kBidi | PRINTER_ATTRIBUTE_WORK_OFFLINE,
                          error) &&
           AddTestPrinter(kOtherPrinter, "Other Make Laser", "LPT2:", kBidi, error) &&
           AddTestPrinter(LongPrinterName(), "KOA koa2400Max-R(0mm)", "LPT1:", kBidi, error) &&
           AddTestPrinter(LongPrinterName().substr(0, 50), "KOA koa2400Max-R(0mm)", "LPT1:", kBidi, error);
}

bool MakeDefaultPrinter(const std::string& name) { return SetDefaultTestPrinter(name, nullptr); }

std::string LptJobs() { return ReadWholeFile(ScratchPath("jobs-lpt.bin")); }
std::string UsbJobs() { return ReadWholeFile(ScratchPath("jobs-usb.bin")); }

bool EnsureSlot() {
    HKEY key = OpenSlotKey(KEY_READ);
    if (key) RegCloseKey(key);
    return key != nullptr;
}

bool SetSlotText(const char* name, const std::string& value) {
    HKEY key = OpenSlotKey(KEY_SET_VALUE);
    if (!key) return false;
    const bool ok = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                   static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

bool SetSlotByte(const char* name, unsigned char value) {
    HKEY key = OpenSlotKey(KEY_SET_VALUE);
    if (!key) return false;
    const bool ok = RegSetValueExA(key, name, 0, REG_BINARY, &value, 1) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

namespace {
// The raw value and its type; false when missing.
bool SlotRaw(const char* name, DWORD* type, std::string* bytes) {
    HKEY key = OpenSlotKey(KEY_QUERY_VALUE);
    if (!key) return false;
    char buffer[4096];
    DWORD size = sizeof buffer;
    const bool ok =
        RegQueryValueExA(key, name, nullptr, type, reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    if (ok) bytes->assign(buffer, size < sizeof buffer ? size : sizeof buffer);
    return ok;
}
}  // namespace

std::string SlotText(const char* name) {
    DWORD type = 0;
    std::string bytes;
    if (!SlotRaw(name, &type, &bytes)) return "<missing>";
    if (type != REG_SZ) return "<type " + std::to_string(type) + ">";
    if (!bytes.empty() && bytes.back() == '\0') bytes.pop_back();
    return bytes;
}

std::string SlotBinary(const char* name) {
    DWORD type = 0;
    std::string bytes;
    if (!SlotRaw(name, &type, &bytes)) return "<missing>";
    if (type != REG_BINARY) return "<type " + std::to_string(type) + ">";
    return bytes;
}

MonitorState* NewCheckState() {
    MonitorState* state = CreateMonitorState(GetModuleHandleA(nullptr));
    if (!state) return nullptr;
    // What the monitor chooses on Windows 2000 and later.
    state->messageKeyAccess = KEY_READ;
    state->slotKeyAccess = KEY_QUERY_VALUE | KEY_SET_VALUE;
    state->disposablesMutexName = CurrentKernelObjectNames().disposablesMutex;
    return state;
}

void UseSpoolerScript(const SpoolerScript& script) {
    TestSeam_UseSpoolerCalls(nullptr);
    g_script = script;
    g_listFailuresLeft = script.listFailures;
    g_enumPrintersCalls = 0;
    g_enumJobsCalls = 0;
    g_calls = Spooler();
    g_calls.enumPrinters = ScriptedEnumPrinters;
    g_calls.openPrinter = ScriptedOpenPrinter;
    g_calls.enumJobs = ScriptedEnumJobs;
    g_calls.startDocPrinter = ScriptedStartDoc;
    TestSeam_UseSpoolerCalls(&g_calls);
}

void UseRealSpooler() { TestSeam_UseSpoolerCalls(nullptr); }
int EnumPrintersCalls() { return g_enumPrintersCalls; }
int EnumJobsCalls() { return g_enumJobsCalls; }

bool RegStandIn::Start(const std::string& script, const std::string& options) {
    Stop();
    DeleteFileA(ScratchPath("regstand.log").c_str());
    if (!WriteWholeFile(ScratchPath("regstand.txt"), script)) return false;
    std::string command = "\"" + ProgramDirectory() + "regstand.exe\" --jobs \"" + ScratchPath("jobs-lpt.bin") +
                          "\" --script \"" + ScratchPath("regstand.txt") + "\" --log \"" +
                          ScratchPath("regstand.log") + "\" " + options;
    if (!child_.Start(command)) return false;
    if (WaitFor(" ready\n", 10000)) return true;
    Stop();
    return false;
}

void RegStandIn::Stop() { child_.Stop(); }

std::string RegStandIn::Log() const { return ReadWholeFile(ScratchPath("regstand.log")); }

bool RegStandIn::WaitFor(const std::string& event, DWORD ms) const {
    // A stand-in that ended writes nothing more.
    WaitUntil([&] { return Log().find(event) != std::string::npos || child_.Ended(10); }, ms, 0);
    return Log().find(event) != std::string::npos;
}

bool WaitForSlotText(const char* name, const std::string& expected, DWORD ms) {
    return WaitUntil([&] { return SlotText(name) == expected; }, ms);
}
