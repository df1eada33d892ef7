// ReadFromPrinter: opening command, query, a pause, one receive of at most
// 4096 bytes, parse, closing command.
#include <cstring>

#include "common/timing.h"
#include "common/wait_cursor.h"
#include "link/channel/printer_link.h"
#include "panel/resources/resource.h"
#include "panel/settings/conversation.h"
#include "panel/settings/answer_parse.h"
#include "panel/settings/current_page.h"
#include "panel/settings/printer_exchange.h"
#include "panel/settings/progress_window.h"
#include "panel/shell/panel_state.h"
#include "panel/shell/show_message.h"

namespace {

const unsigned kBeforeAnswerMs = 200;
const unsigned kAfterCloseMs = 1200;

const CommandFrame* QueryOf(int kind) {
    switch (kind) {
    case ReadModelAndSettings: return &StartupQuery;
    case ReadSettings: return &SettingsQuery;
    case ReadCounters: return &CountersQuery;
    case ReadVersion: return &VersionQuery;
    }
    return nullptr;
}

bool OpensConversation(int kind) { return kind != ReadCounters; }

struct ReadRun {
    int kind;
    HWND owner;
    HWND progress;
    unsigned char answer[AnswerBufferSize];
    int length;
};

void OnValueError(int item, void* context) {
    ShowMessage(MB_USERICON, "", IDI_PRINTER_INFO, SettingValueErrorCode(item), static_cast<ReadRun*>(context)->owner);
}

// Ends the run with a result, after the channel was ended.
int Finish(ReadRun& run, int result, UINT messageId, int icon) {
    DestroyProgressWindow(&run.progress);
    SetWaitCursor(CursorArrow);
    if (messageId) ShowMessageId(MB_USERICON, messageId, icon, run.owner);
    return result;
}

// Sends the closing command; a failure leaves the printer in command mode.
void CloseConversation() {
    if (!SendFrame(ClosingCommand)) CancelPending = true;
}

// Parses the answer into the records. Returns 1 to go on to the closing, or
// the final result (the channel already ended).
int Parse(ReadRun& run) {
    int start = 0;
    switch (run.kind) {
    case ReadModelAndSettings:
        // Without the model echo there is nothing to compare: the settings
        // parse then starts at the end and finds no section.
        start = ParseModelAnswer(run.answer, run.length, DetectedModel);
        if (FindAnswerField(run.answer, run.length, 0, "?MODEL  ") >= 0 &&
            *DetectedModel != static_cast<std::uint32_t>(CurrentTarget.Model)) {
            CloseConversation();
            DetachLink();
            return Finish(run, -1, 0, 0);  // the caller tells the user
        }
        [[fallthrough]];  // the settings follow the model identifier
    case ReadSettings:
        if (!ParseSettingsAnswer(run.answer, run.length, start, ReceivedSettings, OnValueError, &run)) {
            CloseConversation();
            DetachLink();
            return Finish(run, 0, IDS_READ_FAILED, IDI_PRINTER_WARNING);
        }
        std::memcpy(CurrentSettings, ReceivedSettings, sizeof(SettingsRecord));
        return 1;
    case ReadCounters:
        if (ParseCountersAnswer(run.answer, run.length, Counters) < 8) {
            DetachLink();
            return Finish(run, 0, IDS_READ_FAILED, IDI_PRINTER_WARNING);
        }
        return 1;
    case ReadVersion:
        ParseVersionAnswer(run.answer, run.length, PrinterVersion);
        return 1;
    }
    return 1;
}

}  // namespace

int ReadFromPrinter(int kind, HWND owner) {
    const CommandFrame* query = QueryOf(kind);
    if (!query) return 0;
    static ReadRun run;
    std::memset(&run, 0, sizeof run);
    run.kind = kind;
    run.owner = owner;
    run.progress = CreateProgressWindow(IDS_PROGRESS_READ);
    SetWaitCursor(CursorHourglass);

    if (!OpenPrinterLink()) return Finish(run, 0, 0, 0);
    if (CurrentTarget.ConnectionKind != ConnectSpooler) return Finish(run, 0, 0, 0);  // LAN: not yet

    AttachAndRepair();

    if (OpensConversation(kind) && !SendFrame(OpeningCommand)) {
        DetachLink();
        return Finish(run, 0, kind == ReadVersion ? IDS_NO_ANSWER : 0, IDI_PRINTER_ERROR);
    }
    if (!SendFrame(*query)) {
        if (OpensConversation(kind)) CancelPending = true;
        DetachLink();
        const bool tell = kind == ReadCounters || kind == ReadVersion;
        return Finish(run, 0, tell ? IDS_NO_ANSWER : 0, IDI_PRINTER_ERROR);
    }

    FixedWait(kBeforeAnswerMs);
    if (LinkExchange(LinkReceive, nullptr, 0) != 1) {
        if (OpensConversation(kind)) CloseConversation();
        DetachLink();
        return Finish(run, 0, IDS_READ_FAILED, IDI_PRINTER_WARNING);
    }
    const LinkBlock* copy = LinkCopy();
    run.length = copy->length > AnswerBufferSize ? AnswerBufferSize : static_cast<int>(copy->length);
    std::memcpy(run.answer, copy->data, run.length);
    AppendToLog(run.answer, run.length);

    const int parsed = Parse(run);
    if (parsed != 1) return parsed;

    const bool closed = !OpensConversation(kind) || SendFrame(ClosingCommand);
    DetachLink();
    FixedWait(kAfterCloseMs);
    DestroyProgressWindow(&run.progress);
    RefreshCurrentPage();
    SetWaitCursor(CursorArrow);
    if (!closed) {
        CancelPending = true;
        ShowMessageId(MB_USERICON, IDS_READ_FAILED, IDI_PRINTER_WARNING, owner);
        return 0;
    }
    CancelPending = false;
    return 1;
}
