#include "monitor/startup.h"

#include <cstdlib>

#include "common/handles.h"
#include "link/channel/link_block.h"
#include "monitor/message_defaults.h"
#include "monitor/monitor_messages.h"
#include "monitor/registry_slot.h"
#include "monitor/registry_values.h"
#include "monitor/resources/resource.h"
#include "monitor/supported_printer.h"

namespace {

const REGSAM kReadWrite = KEY_READ | KEY_WRITE;

const MonitorSettings kSettings[] = {
    {Windows9x, "tzraMonitor_Mutex", HKEY_LOCAL_MACHINE, kReadWrite, kReadWrite, false, false},
    {WindowsNt4, "tzraMonitor_Mutex", HKEY_LOCAL_MACHINE, kReadWrite, kReadWrite, true, false},
    {Windows2000OrLater, "Global\\tzraMonitor_Mutex", HKEY_CURRENT_USER, KEY_READ, KEY_READ | KEY_SET_VALUE, true,
     true},
};

const int kInstanceAttempts = 50;
const DWORD kInstanceRetryMs = 30;

}  // namespace

bool QueryWindowsFamily(WindowsFamily* family) {
    OSVERSIONINFOEXA extended = {};
    extended.dwOSVersionInfoSize = sizeof extended;
    OSVERSIONINFOA& info = reinterpret_cast<OSVERSIONINFOA&>(extended);
    if (!GetVersionExA(&info)) {
        extended = OSVERSIONINFOEXA();
        info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        if (!GetVersionExA(&info)) return false;
    }
    switch (info.dwPlatformId) {
    case VER_PLATFORM_WIN32_WINDOWS:
        *family = Windows9x;
        return true;
    case VER_PLATFORM_WIN32_NT:
        *family = info.dwMajorVersion >= 5 ? Windows2000OrLater : WindowsNt4;
        return true;
    default:  // Win32s
        return false;
    }
}

const MonitorSettings& SettingsFor(WindowsFamily family) {
    for (const MonitorSettings& row : kSettings)
        if (row.family == family) return row;
    return kSettings[0];
}

void ApplySettings(const MonitorSettings& settings, MonitorState* state) {
    state->instanceMutexName = settings.instanceMutex;
    state->positionRoot = settings.positionRoot;
    state->messageKeyAccess = settings.messageKeyAccess;
    state->slotKeyAccess = settings.slotKeyAccess;
    state->nt4 = settings.family == WindowsNt4;
    const KernelObjectNames& names = settings.family == Windows2000OrLater
                                         ? ChooseKernelObjectNames(PlatformWin32Nt, 5)
                                         : ChooseKernelObjectNames(PlatformWin32Windows, 4);
    state->disposablesMutexName = names.disposablesMutex;
}

bool CheckPrintersAtStart(const MonitorSettings& settings) {
    if (!settings.checksPrinters) return true;
    const SupportedPrinterSearch found = FindSupportedPrinter();
    if (found == PrinterListFailed) return false;  // the listing failure had its own message
    bool present = found == SupportedDriverFound;
    if (present && settings.checksSlotKey) {
        OwnedKey slot;
        present = RegOpenKeyExA(HKEY_LOCAL_MACHINE, SlotKeyPath, 0, KEY_READ | KEY_SET_VALUE, slot.Receive()) ==
                  ERROR_SUCCESS;
    }
    if (present) return true;
    ShowMonitorError(IDS_NO_PRINTER_DRIVER);
    return false;
}

HANDLE TakeInstanceMutex(const char* name) {
    for (int attempt = 0; attempt < kInstanceAttempts; ++attempt) {
        if (attempt > 0) Sleep(kInstanceRetryMs);
        HANDLE mutex = CreateMutexA(nullptr, FALSE, name);
        if (!mutex) continue;
        const DWORD wait = WaitForSingleObject(mutex, 0);
        if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) return mutex;
        CloseHandle(mutex);  // owned by the running monitor
    }
    return nullptr;
}

bool WriteDefaultsAtStart(const MonitorSettings& settings) {
    HKEY software = OpenOrCreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE", KEY_READ);
    HKEY company = software ? OpenOrCreateKey(software, "KOA", KEY_READ) : nullptr;
    HKEY message = company ? OpenOrCreateKey(company, "tzraMonitor-msg", settings.messageKeyAccess) : nullptr;
    HKEY slot = message ? OpenOrCreateKey(message, SlotName, settings.slotKeyAccess | KEY_SET_VALUE) : nullptr;
    const bool written = slot && WriteMessageDefaults(slot);
    const HKEY opened[] = {slot, message, company, software};
    for (HKEY key : opened)
        if (key) RegCloseKey(key);
    return written;
}

bool ReadDisplayMode(MonitorState* state) {
    if (OpenSlot(state) != 1) {
        CloseSlot(state);
        return false;
    }
    const bool read = ReadStringValue("DSP_MODE", state);
    if (read) state->displayMode = static_cast<int>(std::strtol(state->text, nullptr, 10));
    CloseSlot(state);
    return read;
}

void MarkMonitorEnded() {
    HKEY key = OpenOrCreateKey(HKEY_LOCAL_MACHINE, StatusKeyPath, KEY_SET_VALUE);
    if (!key) return;
    SetStringValue(key, "STS_RUN", "0");
    RegCloseKey(key);
}
