#include "panel/settings/conversation.h"

#include "common/timing.h"
#include "link/channel/printer_link.h"
#include "panel/shell/panel_state.h"

namespace {
const unsigned kAfterRecoveryMs = 5000;
}

bool SendFrame(const void* bytes, int length) {
    return LinkExchange(LinkSend, bytes, static_cast<unsigned>(length)) != 0;
}

bool SendFrame(const CommandFrame& frame) { return SendFrame(frame.bytes, frame.length); }

void AttachAndRepair() {
    AttachLink(CurrentTarget.PrinterName);
    if (!CancelPending) return;
    CancelPending = false;
    if (IsUsbPort(CurrentTarget.PortName)) return;
    SendFrame(CancelSequence);
    FixedWait(kAfterRecoveryMs);
}
