#include "monitor/print_cancel.h"

#include <cstring>

#include "common/timing.h"
#include "monitor/registry_slot.h"

namespace {

const DWORD kCancelPolls = 1000;
const DWORD kCancelPollMs = 10;

// The language monitor's cleared document name.
bool IsCleared(const char* documentName) {
    return std::strcmp(documentName, "  ") == 0 || std::strcmp(documentName, " ") == 0;
}

}  // namespace

bool RequestPrintCancel(MonitorState* state) {
    OpenedSlot slot(state);
    if (!slot.IsOpen() || !WriteSlotString(state, "LM_JOB_CANCEL", "RQ_CANCEL")) return false;
    // The language monitor cancels the job and clears the document name.
    for (DWORD poll = 0; poll < kCancelPolls; ++poll) {
        if (!ReadStringValue("DOC_NAME", state)) return false;
        if (IsCleared(state->text)) break;
        FixedWait(kCancelPollMs);
    }
    return true;
}
