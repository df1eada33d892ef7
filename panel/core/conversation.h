// The conversations of the remote panel with the printer: the order of
// every read and write, which step failing shows which message, and what
// becomes of the pending-cancel flag. Portable: the conversation talks to
// the printer through a PrinterChannel and to the user through a
// ConversationHost; the Win32 layer around it shows the progress window,
// the cursor and the message boxes that the outcome names.
#pragma once

#include <cstdint>

#include "link/channel/channel.h"
#include "link/channel/link_block.h"
#include "link/channel/model_code.h"
#include "panel/core/counters.h"
#include "panel/core/setting_items.h"

enum ReadKind : short {
    ReadSettings = 1,
    ReadCounters = 2,
    ReadVersion = 6,
    ReadModelAndSettings = 7,
};

enum WriteKind : short {
    WriteSettings = 1,
    ResetRibbonLife = 3,       // ESC e R6
    ResetPowerOnTime = 4,      // ESC e R3
    ResetThicknessCount = 5,   // ESC e R7
    ResetPlatenFeedCount = 6,  // ESC e R5
    ResetHeadPinCounter = 7,   // ESC e R8
    PrintSettingsList = 8,
};

// Fixed waits that pace the printer (milliseconds).
enum {
    WaitAfterRecoveryMs = 5000,  // the printer leaves an unfinished command
    WaitBeforeAnswerMs = 200,    // between a query and asking for its answer
    WaitAfterReadMs = 1200,      // between the end of a read and closing its window
    WaitAfterWriteMs = 2000,     // the printer stores or prints before the window closes
};

// How the answer of a read is taken apart.
enum AnswerParse { ParseModelAndSettings, ParseSettingsOnly, ParseCounters, ParseVersion };

// One row per read kind.
struct ReadPlan {
    ReadKind kind;
    unsigned progressText;            // string id of the progress window's line
    bool opens;                       // opening command before the query, closing command after
    const CommandFrame* query;
    AnswerParse parse;
    unsigned openingFailedMessage;    // string id, 0: the caller reports
    unsigned queryFailedMessage;      // string id, 0: the caller reports
};

// What a write sends after the opening command.
enum WritePayload { PayloadSettingBlock, PayloadFrame, PayloadReset };

// One row per write kind.
struct WritePlan {
    WriteKind kind;
    unsigned progressText;                   // 0: no progress window
    WritePayload payload;
    const CommandFrame* frame;               // PayloadFrame: the command
    int resetDigit;                          // PayloadReset: ESC e R<digit>
    const CommandFrame* closeAfterPayload;   // null: nothing follows a good payload
    const CommandFrame* closeAfterFailure;   // leaves the command a failed payload left open
    unsigned waitAfterMs;                    // after a good write, before the window closes
    bool printFinished;                      // ask whether the print came out
};

// The plan of a kind, or null for a code no caller uses (codes come from
// callers as numbers; the table decides which are kinds).
const ReadPlan* FindReadPlan(int kind);
const WritePlan* FindWritePlan(int kind);

// The records a conversation reads and changes, all owned by the caller.
struct ConversationRecords {
    SettingsRecord* current;         // shown and written
    SettingsRecord* received;        // scratch of the settings parse
    ConsumablesCounters* counters;
    std::uint32_t* detectedModel;    // ModelCode of the connected printer, 0 until known
    unsigned char* version;          // 12 bytes, text in bytes 0-6
    bool* cancelPending;             // a conversation was left open
    ModelCode targetModel;           // the model of the chosen driver
    const char* portName;            // the chosen printer's port
};

// What the conversation needs from the program around it.
class ConversationHost {
public:
    virtual ~ConversationHost() = default;
    virtual void Wait(unsigned milliseconds) = 0;
    // A value outside item's list: returns when the user has closed the
    // message, so that the parse stops at each one.
    virtual void ValueError(int item) = 0;
    virtual void LogAnswer(const unsigned char* bytes, int length) = 0;
};

enum { KeptValueErrors = 128 };

struct ConversationOutcome {
    int result;                 // 1 success, 0 failure, -1 another model answered
    unsigned messageId;         // string id to show afterwards, 0 for none
    int messageIcon;            // the user icon of that message (or of channelText)
    const char* channelText;    // the channel's own text when it could not begin, or null
    bool cancelPending;         // the flag as the conversation left it
    bool refreshPage;           // the records were replaced: the page on screen reloads
    bool printFinished;         // the settings list went out: ask whether it printed
    int valueErrorCount;        // values outside their lists, in answer order
    int valueErrorItems[KeptValueErrors];
};

// The whole read or write. Never shows anything itself: value errors go to
// the host as they are found, everything else is in the outcome.
void RunRead(ReadKind kind, PrinterChannel& channel, ConversationRecords& records, ConversationHost& host,
             ConversationOutcome* outcome);
void RunWrite(WriteKind kind, PrinterChannel& channel, ConversationRecords& records, ConversationHost& host,
              ConversationOutcome* outcome);

// At program exit, a conversation left open gets the recovery sequence on
// its own (not on a USB port of the spooler channel). A channel that cannot
// begin hands on its text; one without a text of its own, or a failed send,
// names IDS_EXIT_NO_ANSWER.
void RunExitCancel(PrinterChannel& channel, ConversationRecords& records, ConversationOutcome* outcome);

// Whether a conversation that finds the flag set starts with the recovery
// sequence: on the spooler channel unless the port is a USB port, on the
// LAN channel for reads only (a LAN write just clears the flag).
bool SendsRecoveryFirst(ChannelKind kind, bool reading, const char* portName);
