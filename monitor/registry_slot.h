// The registry slot the language monitor and the status monitor share:
// HKEY_LOCAL_MACHINE "SOFTWARE\KOA\tzraMonitor-msg\1". Values written by
// another process are untrusted: a string without its terminating zero, of
// any length or of another type never overruns the text buffer, and a
// one-byte value of another length fails the read.
#pragma once

#include "monitor/monitor_state.h"

// Opens the message key and slot "1" with the access chosen at start-up
// into state->messageKey / slotKey. 1 open; 0 failed; 2 the slot does not
// exist (the language monitor removed it: the monitor ends).
int OpenSlot(MonitorState* state);
void CloseSlot(MonitorState* state);

// The slot opened for one exchange and closed again when the holder goes,
// whether or not it could be opened.
class OpenedSlot {
public:
    explicit OpenedSlot(MonitorState* state) : state_(state), opened_(OpenSlot(state) == 1) {}
    ~OpenedSlot() { CloseSlot(state_); }
    OpenedSlot(const OpenedSlot&) = delete;
    OpenedSlot& operator=(const OpenedSlot&) = delete;

    bool IsOpen() const { return opened_; }

private:
    MonitorState* state_;
    bool opened_;
};

// Reads a string value of the open slot into state->text (grown as needed,
// always NUL-terminated). False when the value is missing or unreadable.
bool ReadStringValue(const char* name, MonitorState* state);
// Reads a one-byte REG_BINARY value into state->singleByte; false for any
// other length or type.
bool ReadByteValue(const char* name, MonitorState* state);

// Writes into the open slot (strings with their terminating zero).
bool WriteSlotString(MonitorState* state, const char* name, const char* value);
bool WriteSlotByte(MonitorState* state, const char* name, unsigned char value);
