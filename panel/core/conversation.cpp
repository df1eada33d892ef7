// Every conversation with the printer: the plans of the read and write kinds
// and the one road each of them takes.
#include "panel/core/conversation.h"

#include <cstring>

#include "panel/core/answer_parse.h"
#include "panel/core/setting_block.h"
#include "panel/resources/resource.h"

namespace {

const ReadPlan kReadPlans[] = {
    // kind                 progress line      opens  query           parse                  opening fails  query fails
    {ReadModelAndSettings, IDS_PROGRESS_READ, true, &StartupQuery, ParseModelAndSettings, 0, 0},
    {ReadSettings, IDS_PROGRESS_READ, true, &SettingsQuery, ParseSettingsOnly, 0, 0},
    {ReadCounters, IDS_PROGRESS_READ, false, &CountersQuery, ParseCounters, 0, IDS_NO_ANSWER},
    {ReadVersion, IDS_PROGRESS_READ, true, &VersionQuery, ParseVersion, IDS_NO_ANSWER, IDS_NO_ANSWER},
};

const WritePlan kWritePlans[] = {
    // kind              progress line       payload              frame              digit  after payload     after a failed payload  wait  print
    {WriteSettings, IDS_PROGRESS_WRITE, PayloadSettingBlock, nullptr, 0, &SettingBlockEnd, &SettingBlockEnd, WaitAfterWriteMs, false},
    {ResetRibbonLife, 0, PayloadReset, nullptr, 6, nullptr, nullptr, 0, false},
    {ResetPowerOnTime, 0, PayloadReset, nullptr, 3, nullptr, nullptr, 0, false},
    {ResetThicknessCount, 0, PayloadReset, nullptr, 7, nullptr, nullptr, 0, false},
    {ResetPlatenFeedCount, 0, PayloadReset, nullptr, 5, nullptr, nullptr, 0, false},
    {ResetHeadPinCounter, 0, PayloadReset, nullptr, 8, nullptr, nullptr, 0, false},
    {PrintSettingsList, IDS_PROGRESS_PRINT, PayloadFrame, &PrintListCommand, 0, nullptr, &ClosingCommand, WaitAfterWriteMs, true},
};

// One conversation in progress. It lives on the caller's stack: a message
// box shown during the parse runs a message loop, and nothing it reaches
// can touch this run.
class Conversation {
public:
    Conversation(PrinterChannel& channel, ConversationRecords& records, ConversationHost& host,
                 ConversationOutcome* outcome)
        : channel_(channel), records_(records), host_(host), outcome_(*outcome) {
        std::memset(&outcome_, 0, sizeof outcome_);
    }

    // Readies the channel and begins. False: the outcome already says why.
    bool Begin() {
        if (!channel_.Prepare()) return false;
        const char* text = nullptr;
        if (!channel_.Begin(&text)) {
            outcome_.channelText = text;
            outcome_.messageIcon = IDI_PRINTER_ERROR;
            return false;
        }
        return true;
    }

    // A conversation left open before: the flag is cleared and, where the
    // channel needs it, the recovery sequence takes the printer out of the
    // old command first. Its result is not looked at.
    void Repair(bool reading) {
        if (!*records_.cancelPending) return;
        *records_.cancelPending = false;
        if (!SendsRecoveryFirst(channel_.Kind(), reading, records_.portName)) return;
        Send(CancelSequence);
        host_.Wait(WaitAfterRecoveryMs);
    }

    // A request nobody finished in time comes back failed, like one the
    // monitor failed: the failed step's row decides what follows.
    bool Send(const void* bytes, int length) { return channel_.Send(bytes, length) == ReplyDone; }
    bool Send(const CommandFrame& frame) { return Send(frame.bytes, frame.length); }

    bool Receive(unsigned char* answer, int* length) {
        std::memset(answer, 0, ChannelAnswerSize);
        *length = 0;
        if (channel_.Receive(answer, length) != ReplyDone) return false;
        if (*length < 0) *length = 0;
        if (*length > ChannelAnswerSize) *length = ChannelAnswerSize;
        return true;
    }

    // The closing command; when even that fails, the printer may be stuck
    // inside the command and the next conversation must repair it.
    bool Close(const CommandFrame& frame) {
        if (Send(frame)) return true;
        *records_.cancelPending = true;
        return false;
    }

    void SetPending() { *records_.cancelPending = true; }
    void End() { channel_.End(); }
    void Wait(unsigned milliseconds) { host_.Wait(milliseconds); }

    void Finish(int result, unsigned messageId = 0, int icon = 0) {
        outcome_.result = result;
        outcome_.messageId = messageId;
        if (messageId) outcome_.messageIcon = icon;
        outcome_.cancelPending = *records_.cancelPending;
    }

    ConversationRecords& records() { return records_; }
    ConversationHost& host() { return host_; }
    ConversationOutcome& outcome() { return outcome_; }

private:
    PrinterChannel& channel_;
    ConversationRecords& records_;
    ConversationHost& host_;
    ConversationOutcome& outcome_;
};

void NoteValueError(int item, void* context) {
    Conversation& run = *static_cast<Conversation*>(context);
    ConversationOutcome& outcome = run.outcome();
    if (outcome.valueErrorCount < KeptValueErrors) outcome.valueErrorItems[outcome.valueErrorCount] = item;
    ++outcome.valueErrorCount;
    run.host().ValueError(item);
}

enum ParseEnd { ParseGoesOn, ParseFinished };

// Takes the answer apart into the records. ParseFinished: the conversation
// has ended and its outcome is set.
ParseEnd ParseAnswer(Conversation& run, const ReadPlan& plan, const unsigned char* answer, int length) {
    ConversationRecords& records = run.records();
    int start = 0;
    switch (plan.parse) {
    case ParseModelAndSettings:
        // Without the model echo there is nothing to compare: the settings
        // parse then starts at the end and finds no section.
        start = ParseModelAnswer(answer, length, records.detectedModel);
        if (FindAnswerField(answer, length, 0, "?MODEL  ") >= 0 &&
            *records.detectedModel != static_cast<std::uint32_t>(records.targetModel)) {
            run.Close(ClosingCommand);
            run.End();
            run.Finish(-1);  // the caller tells the user
            return ParseFinished;
        }
        [[fallthrough]];  // the settings follow the model identifier
    case ParseSettingsOnly:
        if (!ParseSettingsAnswer(answer, length, start, records.received, NoteValueError, &run)) {
            run.Close(ClosingCommand);
            run.End();
            run.Finish(0, IDS_READ_FAILED, IDI_PRINTER_WARNING);
            return ParseFinished;
        }
        std::memcpy(records.current, records.received, sizeof(SettingsRecord));
        return ParseGoesOn;
    case ParseCounters:
        if (ParseCountersAnswer(answer, length, records.counters) < 8) {
            run.End();
            run.Finish(0, IDS_READ_FAILED, IDI_PRINTER_WARNING);
            return ParseFinished;
        }
        return ParseGoesOn;
    case ParseVersion:
        ParseVersionAnswer(answer, length, records.version);
        return ParseGoesOn;
    }
    return ParseGoesOn;
}

}  // namespace

const ReadPlan* FindReadPlan(int kind) {
    for (const ReadPlan& plan : kReadPlans)
        if (plan.kind == kind) return &plan;
    return nullptr;
}

const WritePlan* FindWritePlan(int kind) {
    for (const WritePlan& plan : kWritePlans)
        if (plan.kind == kind) return &plan;
    return nullptr;
}

bool SendsRecoveryFirst(ChannelKind kind, bool reading, const char* portName) {
    if (kind == ChannelLan) return reading;
    return !IsUsbPort(portName);
}

void RunRead(ReadKind kind, PrinterChannel& channel, ConversationRecords& records, ConversationHost& host,
             ConversationOutcome* outcome) {
    Conversation run(channel, records, host, outcome);
    const ReadPlan* plan = FindReadPlan(kind);
    if (!plan || !run.Begin()) return run.Finish(0, 0);
    run.Repair(true);

    if (plan->opens && !run.Send(OpeningCommand)) {
        run.End();
        return run.Finish(0, plan->openingFailedMessage, IDI_PRINTER_ERROR);
    }
    if (!run.Send(*plan->query)) {
        // The opening command went through: the printer waits in command mode.
        if (plan->opens) run.SetPending();
        run.End();
        return run.Finish(0, plan->queryFailedMessage, IDI_PRINTER_ERROR);
    }

    run.Wait(WaitBeforeAnswerMs);
    unsigned char answer[ChannelAnswerSize];
    int length = 0;
    if (!run.Receive(answer, &length)) {
        if (plan->opens) run.Close(ClosingCommand);
        run.End();
        return run.Finish(0, IDS_READ_FAILED, IDI_PRINTER_WARNING);
    }
    host.LogAnswer(answer, length);

    if (ParseAnswer(run, *plan, answer, length) == ParseFinished) return;

    const bool closed = !plan->opens || run.Close(ClosingCommand);
    run.End();
    run.Wait(WaitAfterReadMs);
    run.outcome().refreshPage = true;
    if (!closed) return run.Finish(0, IDS_READ_FAILED, IDI_PRINTER_WARNING);
    *records.cancelPending = false;
    run.Finish(1);
}

void RunExitCancel(PrinterChannel& channel, ConversationRecords& records, ConversationOutcome* outcome) {
    class NoHost : public ConversationHost {
        void Wait(unsigned) override {}
        void ValueError(int) override {}
        void LogAnswer(const unsigned char*, int) override {}
    } host;
    Conversation run(channel, records, host, outcome);
    if (!*records.cancelPending) return run.Finish(1);
    if (channel.Kind() == ChannelSpooler && IsUsbPort(records.portName)) return run.Finish(1);
    // The printer may still be stuck inside a command: a channel that cannot
    // even be readied is no reason to stay silent about it.
    if (!run.Begin()) {
        if (run.outcome().channelText) return run.Finish(0);
        return run.Finish(0, IDS_EXIT_NO_ANSWER, IDI_PRINTER_ERROR);
    }
    const bool sent = run.Send(CancelSequence);
    run.End();
    if (!sent) return run.Finish(0, IDS_EXIT_NO_ANSWER, IDI_PRINTER_ERROR);
    run.Finish(1);
}

void RunWrite(WriteKind kind, PrinterChannel& channel, ConversationRecords& records, ConversationHost& host,
              ConversationOutcome* outcome) {
    Conversation run(channel, records, host, outcome);
    const WritePlan* plan = FindWritePlan(kind);
    if (!plan) return run.Finish(0);

    unsigned char block[SettingBlockBufferSize];
    int blockLength = 0;
    if (plan->payload == PayloadSettingBlock) blockLength = BuildSettingBlock(*records.current, block, sizeof block);

    if (!run.Begin()) return run.Finish(0);
    run.Repair(false);

    if (plan->payload == PayloadReset) {
        const bool sent = run.Send(CounterResetCommand(plan->resetDigit));
        run.End();
        return run.Finish(sent ? 1 : 0);
    }

    // A failed opening command started nothing: there is nothing to repair.
    if (!run.Send(OpeningCommand)) {
        run.End();
        return run.Finish(0);
    }
    const bool payload = plan->payload == PayloadSettingBlock ? run.Send(block, blockLength) : run.Send(*plan->frame);
    if (!payload) {
        // Take the printer out of the setting mode or the print command.
        run.Close(*plan->closeAfterFailure);
        run.End();
        return run.Finish(0);
    }
    const bool closed = !plan->closeAfterPayload || run.Close(*plan->closeAfterPayload);
    run.End();
    if (!closed) return run.Finish(0);

    if (plan->waitAfterMs) run.Wait(plan->waitAfterMs);
    run.outcome().printFinished = plan->printFinished;
    run.Finish(1);
}
