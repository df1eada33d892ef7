// WriteToPrinter: the progress window and the cursor around one write
// conversation; LoadFactoryDefaults.
#include "common/wait_cursor.h"
#include "panel/core/message_text.h"
#include "panel/exchange/exchange_support.h"
#include "panel/exchange/print_finished.h"
#include "panel/exchange/printer_exchange.h"
#include "panel/exchange/shown_page.h"
#include "panel/records/panel_records.h"
#include "panel/resources/resource.h"
#include "panel/ui/progress_window.h"
#include "panel/ui/show_message.h"

namespace {

// A byte outside its item's list (a damaged file, an empty selection) would
// reach the printer as an item line without a value: refuse the whole write
// before anything is sent and name the item, so that the user can choose.
bool RefuseOutOfListValue() {
    const int item = FindOutOfListSetting(*CurrentSettings);
    if (item < 0) return false;
    char text[512];
    BuildOutOfListText(item, text, sizeof text);
    ShowMessage(MB_USERICON, text, IDI_PRINTER_WARNING, MainWindow);
    return true;
}

}  // namespace

int WriteToPrinter(WriteKind kind, HWND) {
    const WritePlan* plan = FindWritePlan(kind);
    if (!plan) return 0;
    // What is on screen is what gets written.
    if (plan->payload == PayloadSettingBlock) {
        CollectShownPage();
        if (RefuseOutOfListValue()) return -1;
    }
    HWND progress = plan->progressText ? CreateProgressWindow(plan->progressText) : nullptr;
    SetWaitCursor(CursorHourglass);

    ConversationOutcome outcome = {};
    TargetChannel channel;
    if (channel.get()) {
        PanelHost host(MainWindow);
        ConversationRecords records = PanelRecords();
        RunWrite(kind, *channel.get(), records, host, &outcome);
    }

    // Only the channel's own failure is told here; the caller tells the rest.
    ShowOutcomeMessage(outcome, MainWindow);
    DestroyProgressWindow(&progress);
    if (outcome.printFinished) ShowPrintFinishedDialog(MainWindow);
    SetWaitCursor(CursorArrow);
    return outcome.result;
}

void CancelOpenConversationAtExit(HWND owner) {
    TargetChannel channel;
    if (!channel.get()) return;
    ConversationRecords records = PanelRecords();
    ConversationOutcome outcome = {};
    RunExitCancel(*channel.get(), records, &outcome);
    ShowOutcomeMessage(outcome, owner);
}

void LoadFactoryDefaults() {
    CopyFactoryDefaults(CurrentSettings);
    RefreshShownPage();
}
