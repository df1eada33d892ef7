// ReadFromPrinter: the progress window and the cursor around one read
// conversation, and the messages its outcome names.
#include "common/wait_cursor.h"
#include "panel/exchange/exchange_support.h"
#include "panel/exchange/printer_exchange.h"
#include "panel/exchange/shown_page.h"
#include "panel/ui/progress_window.h"

int ReadFromPrinter(ReadKind kind, HWND owner) {
    const ReadPlan* plan = FindReadPlan(kind);
    if (!plan) return 0;
    HWND progress = CreateProgressWindow(plan->progressText);
    SetWaitCursor(CursorHourglass);

    ConversationOutcome outcome = {};
    TargetChannel channel;
    if (channel.get()) {
        PanelHost host(owner);
        ConversationRecords records = PanelRecords();
        RunRead(kind, *channel.get(), records, host, &outcome);
    }

    DestroyProgressWindow(&progress);
    if (outcome.refreshPage) RefreshShownPage();
    SetWaitCursor(CursorArrow);
    ShowOutcomeMessage(outcome, owner);
    return outcome.result;
}
