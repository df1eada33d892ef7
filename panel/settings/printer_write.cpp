// WriteToPrinter: the setting block, the settings-list print and the counter
// resets; LoadFactoryDefaults.
#include <cstring>

#include "common/timing.h"
#include "common/wait_cursor.h"
#include "link/channel/printer_link.h"
#include "panel/resources/resource.h"
#include "panel/settings/conversation.h"
#include "panel/settings/current_page.h"
#include "panel/settings/print_finished.h"
#include "panel/settings/printer_exchange.h"
#include "panel/settings/progress_window.h"
#include "panel/settings/setting_block.h"
#include "panel/shell/panel_state.h"

namespace {

const unsigned kAfterWriteMs = 2000;


// Digit of the reset sequence of a reset kind, 0 for the other kinds.
int ResetDigit(int kind) {
    switch (kind) {
    case ResetRibbonLife: return 6;
    case ResetPowerOnTime: return 3;
    case ResetThicknessCount: return 7;
    case ResetPlatenFeedCount: return 5;
    case ResetHeadPinCounter: return 8;
    }
    return 0;
}

int Fail(HWND* progress) {
    SetWaitCursor(CursorArrow);
    DestroyProgressWindow(progress);
    return 0;
}

// The spooler-channel conversation; true when the printer took everything.
bool Converse(int kind, const unsigned char* block, int blockLength) {
    AttachAndRepair();
    if (const int digit = ResetDigit(kind)) {
        const bool sent = SendFrame(CounterResetCommand(digit));
        DetachLink();
        return sent;
    }
    if (!SendFrame(OpeningCommand)) {  // nothing started: nothing to repair
        DetachLink();
        return false;
    }
    const bool settings = kind == WriteSettings;
    const bool payload = settings ? SendFrame(block, blockLength) : SendFrame(PrintListCommand);
    if (payload) {
        bool last = true;
        if (settings) {
            last = SendFrame(SettingBlockEnd);
            if (!last) CancelPending = true;
        }
        DetachLink();
        return last;
    }
    // Take the printer out of the setting mode or the print command.
    if (!SendFrame(settings ? SettingBlockEnd : ClosingCommand)) CancelPending = true;
    DetachLink();
    return false;
}

}  // namespace

int WriteToPrinter(int kind, HWND) {
    const bool withProgress = kind == WriteSettings || kind == PrintSettingsList;
    if (!withProgress && !ResetDigit(kind)) return 0;

    HWND progress = withProgress ? CreateProgressWindow(kind == WriteSettings ? IDS_PROGRESS_WRITE
                                                                                : IDS_PROGRESS_PRINT)
                                 : nullptr;
    SetWaitCursor(CursorHourglass);
    static unsigned char block[SettingBlockBufferSize];
    int blockLength = 0;
    if (kind == WriteSettings) {
        CollectCurrentPage();
        blockLength = BuildSettingBlock(*CurrentSettings, block, sizeof block);
    }

    if (!OpenPrinterLink()) return Fail(&progress);
    if (CurrentTarget.ConnectionKind != ConnectSpooler) return Fail(&progress);  // LAN: not yet

    if (!Converse(kind, block, blockLength)) return Fail(&progress);

    if (withProgress) {
        FixedWait(kAfterWriteMs);
        DestroyProgressWindow(&progress);
        if (kind == PrintSettingsList) ShowPrintFinishedDialog(MainWindow);
    }
    SetWaitCursor(CursorArrow);
    return 1;
}

void LoadFactoryDefaults() {
    CopyFactoryDefaults(CurrentSettings);
    RefreshCurrentPage();
}
