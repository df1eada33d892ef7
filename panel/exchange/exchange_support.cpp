#include "panel/exchange/exchange_support.h"

#include "common/timing.h"
#include "link/channel/printer_link.h"
#include "panel/core/message_text.h"
#include "panel/records/panel_records.h"
#include "panel/resources/resource.h"
#include "panel/ui/show_message.h"

void PanelHost::Wait(unsigned milliseconds) { FixedWait(milliseconds); }

void PanelHost::ValueError(int item) {
    char text[1024];
    BuildMessageText(SettingValueErrorCode(item), "", text, sizeof text);
    ShowMessage(MB_USERICON, text, IDI_PRINTER_INFO, owner_);
}

void PanelHost::LogAnswer(const unsigned char* bytes, int length) {
    if (length > 0) AppendToLog(bytes, static_cast<std::size_t>(length));
}

ConversationRecords PanelRecords() {
    ConversationRecords records;
    records.current = CurrentSettings;
    records.received = ReceivedSettings;
    records.counters = Counters;
    records.detectedModel = DetectedModel;
    records.version = PrinterVersion;
    records.cancelPending = &CancelPending;
    records.targetModel = CurrentTarget.Model;
    records.portName = CurrentTarget.PortName;
    return records;
}

namespace {

// The LAN channel's own failures, told as they happen.
void ShowLanMessage(LanFailure, const char* text) { ShowMessage(MB_USERICON, text, IDI_PRINTER_ERROR, MainWindow); }

}  // namespace

TargetChannel::TargetChannel() : PrinterTargetChannel(CurrentTarget) { SetLanMessageHandler(ShowLanMessage); }

void ShowOutcomeMessage(const ConversationOutcome& outcome, HWND owner) {
    if (outcome.channelText)
        ShowMessage(MB_USERICON, outcome.channelText, outcome.messageIcon, owner);
    else if (outcome.messageId)
        ShowMessageId(MB_USERICON, outcome.messageId, outcome.messageIcon, owner);
}
