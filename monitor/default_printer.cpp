#include "monitor/default_printer.h"

#include <cstdio>
#include <cstring>

#include "link/channel/spooler_calls.h"
#include "link/channel/supported_drivers.h"
#include "monitor/monitor_messages.h"
#include "monitor/printer_list.h"
#include "monitor/registry_slot.h"
#include "monitor/resources/resource.h"

namespace {

// The whole "device" entry ("name,driver,port"). Printer names are far
// shorter than this (the spooler limits them to a few hundred characters);
// an entry that fills it is taken as cut and matches no printer.
const DWORD kDeviceEntrySize = 1024;
const std::size_t kPrinterNameSize = 512;

// The default printer's name: the "device" entry of the profile's "windows"
// section up to its first comma. Empty when there is none, or when the
// entry is too long to be read whole.
void ReadDefaultPrinter(char* name, std::size_t size) {
    name[0] = '\0';
    char entry[kDeviceEntrySize];
    DWORD n = Spooler().getProfileString("windows", "device", ",,,", entry, sizeof entry);
    if (n >= sizeof entry) n = sizeof entry - 1;
    entry[n] = '\0';
    const std::size_t length = std::strlen(entry);
    const char* comma = static_cast<const char*>(std::memchr(entry, ',', length));
    if (!comma && length == sizeof entry - 1) return;
    const std::size_t nameLength = comma ? static_cast<std::size_t>(comma - entry) : length;
    if (nameLength >= size) return;
    std::memcpy(name, entry, nameLength);
    name[nameLength] = '\0';
}

// "LPT0:" .. "LPT99:" and "USB000" .. "USB099", compared exactly: "LPT01:",
// "lpt1:", "USB100" and "USB001:" are other ports.
bool IsAcceptedPort(const char* port) {
    if (!port) return false;
    char candidate[16];
    for (int n = 0; n <= 99; ++n) {
        std::snprintf(candidate, sizeof candidate, "LPT%1d:", n);
        if (std::strcmp(port, candidate) == 0) return true;
        std::snprintf(candidate, sizeof candidate, "USB%03d", n);
        if (std::strcmp(port, candidate) == 0) return true;
    }
    return false;
}

// The message of the first spooler condition that stops the checks, or 0.
UINT SpoolerCondition(DWORD attributes, DWORD status) {
    if (!(attributes & PRINTER_ATTRIBUTE_ENABLE_BIDI)) return IDS_BIDI_OFF;
    if (status & PRINTER_STATUS_PAUSED) return IDS_PAUSED;
    if (attributes & PRINTER_ATTRIBUTE_WORK_OFFLINE) return IDS_OFFLINE;
    return 0;
}

bool Stop(UINT message, CheckResult why, CheckResult* result) {
    ShowMonitorError(message);
    *result = why;
    return false;
}

// The default printer, supported and on an accepted port: opened, and its
// spooler state looked at.
bool OpenFound(MonitorState* state, DefaultPrinterUse use, const PRINTER_INFO_2A& info, DefaultPrinter* target,
               CheckResult* result) {
    if (!target->printer.Open(target->name)) return Stop(IDS_OPEN_FAILED, CheckEndsProgram, result);
    if (const UINT condition = SpoolerCondition(info.Attributes, info.Status)) {
        if (use == ForStatusRefresh) WriteErrorCode(state, "0");
        return Stop(condition, CheckToldUser, result);
    }
    return true;
}

}  // namespace

bool BeginPrinterCheck(MonitorState* state) {
    if (state->checkRunning) return false;
    state->checkRunning = true;
    return true;
}

bool OpenDefaultPrinter(MonitorState* state, DefaultPrinterUse use, DefaultPrinter* target, CheckResult* result) {
    SpoolerPrinterList& list = target->list;
    if (!ReadMonitorPrinterList(&list)) {
        *result = CheckEndsProgram;
        return false;
    }
    char defaultName[kPrinterNameSize];
    ReadDefaultPrinter(defaultName, sizeof defaultName);

    bool supportedNotDefault = false;
    for (DWORD i = 0; i < list.Count(); ++i) {
        const PRINTER_INFO_2A& info = list.At(i);
        if (!IsSupportedDriver(list.Text(info.pDriverName))) continue;
        const char* name = list.Text(info.pPrinterName);
        if (!name || !defaultName[0] || std::strcmp(name, defaultName) != 0) {
            supportedNotDefault = true;
            continue;
        }
        if (!IsAcceptedPort(list.Text(info.pPortName))) return Stop(IDS_WRONG_PORT, CheckToldUser, result);
        // The name lies in the list's own block, which the target keeps.
        target->name = const_cast<char*>(name);
        return OpenFound(state, use, info, target, result);
    }
    if (supportedNotDefault) return Stop(IDS_NOT_DEFAULT, CheckToldUser, result);
    return Stop(IDS_NO_PRINTER_DRIVER, CheckEndsProgram, result);
}

void WriteErrorCode(MonitorState* state, const char* code) {
    OpenedSlot slot(state);
    if (slot.IsOpen()) WriteSlotString(state, "ERR_CODE", code);
}
