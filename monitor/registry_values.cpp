#include "monitor/registry_values.h"

#include <cstring>

const char MessageKeyPath[] = "SOFTWARE\\KOA\\tzraMonitor-msg";
const char SlotName[] = "1";
const char SlotKeyPath[] = "SOFTWARE\\KOA\\tzraMonitor-msg\\1";
const char StatusKeyPath[] = "SOFTWARE\\KOA\\tzraMonitor-Status";

bool SetStringValue(HKEY key, const char* name, const char* value) {
    const DWORD size = static_cast<DWORD>(std::strlen(value) + 1);
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), size) == ERROR_SUCCESS;
}

bool SetByteValue(HKEY key, const char* name, unsigned char value) {
    return RegSetValueExA(key, name, 0, REG_BINARY, &value, 1) == ERROR_SUCCESS;
}

HKEY OpenOrCreateKey(HKEY parent, const char* name, REGSAM access) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    LONG rc = RegCreateKeyExA(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE, access | KEY_CREATE_SUB_KEY,
                              nullptr, &key, &disposition);
    if (rc == ERROR_SUCCESS) return key;
    if (rc != ERROR_ACCESS_DENIED) return nullptr;
    rc = RegOpenKeyExA(parent, name, 0, access, &key);
    return rc == ERROR_SUCCESS ? key : nullptr;
}
