#include "panel/settings/exchange_support.h"

#include "common/timing.h"
#include "link/channel/printer_link.h"
#include "panel/resources/resource.h"
#include "panel/shell/panel_state.h"
#include "panel/shell/show_message.h"

void PanelHost::Wait(unsigned milliseconds) { FixedWait(milliseconds); }

void PanelHost::ValueError(int item) {
    ShowMessage(MB_USERICON, "", IDI_PRINTER_INFO, SettingValueErrorCode(item), owner_);
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
void ShowLanMessage(const char* text) { ShowMessage(MB_USERICON, text, IDI_PRINTER_ERROR, 0, MainWindow); }

}  // namespace

TargetChannel::TargetChannel()
    : spooler_(CurrentTarget.PrinterName), lan_(CurrentTarget.PortName, CurrentTarget.LanAddress), chosen_(nullptr) {
    SetLanMessageHandler(ShowLanMessage);
    if (CurrentTarget.ConnectionKind == ConnectSpooler) chosen_ = &spooler_;
    if (CurrentTarget.ConnectionKind == ConnectLan) chosen_ = &lan_;
}

void ShowOutcomeMessage(const ConversationOutcome& outcome, HWND owner) {
    if (outcome.channelText)
        ShowMessage(MB_USERICON, outcome.channelText, outcome.messageIcon, 0, owner);
    else if (outcome.messageId)
        ShowMessageId(MB_USERICON, outcome.messageId, outcome.messageIcon, owner);
}
