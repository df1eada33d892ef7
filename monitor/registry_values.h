// Small registry helpers of the status monitor: values written the way the
// language monitor expects them, and keys opened or created by path.
#pragma once

#include <windows.h>

// The slot the language monitor and the status monitor share, below
// HKEY_LOCAL_MACHINE, and the key of the monitor's own values (its window
// position, and on Windows NT 4.0 STS_RUN).
extern const char MessageKeyPath[];  // "SOFTWARE\KOA\tzraMonitor-msg"
extern const char SlotName[];        // "1"
extern const char SlotKeyPath[];     // "SOFTWARE\KOA\tzraMonitor-msg\1"
extern const char StatusKeyPath[];   // "SOFTWARE\KOA\tzraMonitor-Status"

// A REG_SZ value with its terminating zero.
bool SetStringValue(HKEY key, const char* name, const char* value);
// A REG_BINARY value of one byte.
bool SetByteValue(HKEY key, const char* name, unsigned char value);

// Opens `name` below `parent` with `access`, creating it when it is missing.
// Where the user may not create keys (a limited account on Windows 2000 and
// later reads HKEY_LOCAL_MACHINE\SOFTWARE only), an existing key is still
// opened with `access` alone. Null on failure.
HKEY OpenOrCreateKey(HKEY parent, const char* name, REGSAM access);
