#include "monitor/registry_slot.h"

#include "monitor/registry_values.h"

namespace {

// A value that another process makes longer between the size query and the
// read is read again, a few times at most.
const int kReadAttempts = 3;

}  // namespace

int OpenSlot(MonitorState* state) {
    CloseSlot(state);
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, MessageKeyPath, 0, state->messageKeyAccess, &state->messageKey) !=
        ERROR_SUCCESS) {
        state->messageKey = nullptr;
        return 0;
    }
    const LONG rc = RegOpenKeyExA(state->messageKey, SlotName, 0, state->slotKeyAccess, &state->slotKey);
    if (rc != ERROR_SUCCESS) {
        state->slotKey = nullptr;
        CloseSlot(state);
        return rc == ERROR_FILE_NOT_FOUND ? 2 : 0;
    }
    return 1;
}

void CloseSlot(MonitorState* state) {
    if (state->slotKey) RegCloseKey(state->slotKey);
    if (state->messageKey) RegCloseKey(state->messageKey);
    state->slotKey = nullptr;
    state->messageKey = nullptr;
}

bool ReadStringValue(const char* name, MonitorState* state) {
    if (!state->slotKey) return false;
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        DWORD type = 0, size = 0;
        if (RegQueryValueExA(state->slotKey, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
        // One byte more than the value: a string stored without its
        // terminating zero (or a value of another type) still ends in one.
        if (size >= MaxMonitorBuffer) return false;
        if (!GrowBuffer(&state->text, &state->textSize, size + 1)) return false;
        ZeroMemory(state->text, state->textSize);
        DWORD room = state->textSize - 1;  // the last byte stays zero
        const LONG rc = RegQueryValueExA(state->slotKey, name, nullptr, &type, reinterpret_cast<BYTE*>(state->text),
                                         &room);
        if (rc == ERROR_SUCCESS) {
            state->text[room < state->textSize - 1 ? room : state->textSize - 1] = '\0';
            return true;
        }
        if (rc != ERROR_MORE_DATA) break;
    }
    ZeroMemory(state->text, state->textSize);
    return false;
}

bool ReadByteValue(const char* name, MonitorState* state) {
    if (!state->slotKey) return false;
    BYTE value = 0;
    DWORD type = 0, size = sizeof value;
    if (RegQueryValueExA(state->slotKey, name, nullptr, &type, &value, &size) != ERROR_SUCCESS) return false;
    if (type != REG_BINARY || size != sizeof value) return false;
    state->singleByte = value;
    return true;
}

bool WriteSlotString(MonitorState* state, const char* name, const char* value) {
    return state->slotKey && SetStringValue(state->slotKey, name, value);
}

bool WriteSlotByte(MonitorState* state, const char* name, unsigned char value) {
    return state->slotKey && SetByteValue(state->slotKey, name, value);
}
