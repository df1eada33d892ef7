#include "panel/consumables/counter_reset.h"

#include "link/choice/printer_choice.h"
#include "panel/core/consumables_rules.h"
#include "panel/exchange/printer_exchange.h"
#include "panel/records/panel_records.h"
#include "panel/resources/resource.h"
#include "panel/ui/show_message.h"

namespace {

struct ResetQuestion {
    WriteKind reset;
    UINT question;
};

const ResetQuestion kPageQuestions[] = {
    {ResetRibbonLife, IDS_CLEAR_RIBBON_QUESTION},
    {ResetPowerOnTime, IDS_CLEAR_POWER_ON_QUESTION},
    {ResetThicknessCount, IDS_CLEAR_THICKNESS_QUESTION},
    {ResetPlatenFeedCount, IDS_CLEAR_PLATEN_QUESTION},
    {ResetHeadPinCounter, IDS_CLEAR_HEAD_PINS_QUESTION},
};

}  // namespace

UINT PageResetQuestion(WriteKind reset) {
    for (const ResetQuestion& row : kPageQuestions)
        if (row.reset == reset) return row.question;
    return 0;
}

ResetEnd RunCounterReset(WriteKind reset, UINT question, HWND questionOwner, HWND window) {
    if (CheckPrinterReady() != PrinterReady) {
        SetForegroundWindow(questionOwner);
        return ResetRefused;
    }
    ResetEnd end = ResetCancelled;
    if (AskQuestion(questionOwner, question, MB_OKCANCEL) == IDOK) {
        if (WriteToPrinter(reset, window) > 0) {
            // The printer has cleared it; reading it back would only cost time.
            if (Counters) ZeroAfterReset(*Counters, reset);
            end = ResetDone;
        } else {
            ShowMessageId(MB_USERICON, IDS_NO_ANSWER, IDI_PRINTER_ERROR, window);
            end = ResetNoAnswer;
        }
    }
    if (IsWindow(window)) {
        SendMessageA(window, WM_SETREDRAW, 0, 0);
        UpdateWindow(window);
    }
    return end;
}
