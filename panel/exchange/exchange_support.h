// What the panel puts around a conversation with the printer: its records,
// its fixed waits and answer log, the channel of the chosen printer, and
// the message boxes an outcome names.
#pragma once

#include <windows.h>

#include "link/choice/target_channel.h"
#include "panel/core/conversation.h"

class PanelHost : public ConversationHost {
public:
    explicit PanelHost(HWND owner) : owner_(owner) {}
    void Wait(unsigned milliseconds) override;
    void ValueError(int item) override;
    void LogAnswer(const unsigned char* bytes, int length) override;

private:
    HWND owner_;
};

// The process-wide records and the chosen printer, as a conversation sees them.
ConversationRecords PanelRecords();

// The channel that the chosen printer's connection kind names, with the LAN
// channel's own failures shown in the panel's message box.
class TargetChannel : public PrinterTargetChannel {
public:
    TargetChannel();
};

// The message the outcome names, if any, with its user icon.
void ShowOutcomeMessage(const ConversationOutcome& outcome, HWND owner);
