// The conversations against the printer emulator in this process: every
// read and write kind with a fault at each of its requests, the repair of a
// conversation left open, and the time-out rule.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "panel/resources/resource.h"
#include "panel/core/conversation.h"
#include "panel/core/setting_block.h"
#include "tools/printer_emu/emulator_channel.h"

namespace {

const std::string kOnline = std::string("\x1b" "eONLINE");
const std::string kCancel = "CANCEL  \r";
const std::string kRecovery = std::string(9, '\r') + "CANCEL  \r";
const std::string kBlockEnd = "\rEXIT    \rEND     \r";
const std::string kPrint = "PRINT-E \r";
const std::string kStartupQuery = "?MODEL  \r?VER    \r?NVRAM  \r";
const std::string kSettingsQuery = "?VER    \r?NVRAM  \r";
const std::string kVersionQuery = "?VER    \r";
const std::string kCountersQuery =
    "\x1b" "eS1" "\x1b" "eS3" "\x1b" "eS4" "\x1b" "eS5" "\x1b" "eS6" "\x1b" "eS7" "\x1b" "eS8" "\x1b" "eS9";
const char kLanText[] = "the library cannot be loaded";

class RecordingHost : public ConversationHost {
public:
    void Wait(unsigned milliseconds) override { waits.push_back(milliseconds); }
    void ValueError(int item) override { valueErrors.push_back(item); }
    void LogAnswer(const unsigned char* bytes, int length) override {
        logged.append(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(length));
    }
    std::vector<unsigned> waits;
    std::vector<int> valueErrors;
    std::string logged;
};

// The printer, the channel to it and the panel's records.
struct World {
    explicit World(ChannelKind kind = ChannelSpooler, const char* port = "LPT1:") : channel(printer, kind) {
        std::string error;
        EXPECT_TRUE(printer.LoadItems(KOA_PRINTER_ITEMS_PATH, &error)) << error;
        CopyFactoryDefaults(&current);
        records = ConversationRecords{&current, &received, &counters, &detected, version, &pending,
                                      ModelKoa2400MaxR, port};
    }

    ConversationOutcome Read(int kind) {
        ConversationOutcome outcome;
        RunRead(static_cast<ReadKind>(kind), channel, records, host, &outcome);
        return outcome;
    }
    ConversationOutcome Write(int kind) {
        ConversationOutcome outcome;
        RunWrite(static_cast<WriteKind>(kind), channel, records, host, &outcome);
        return outcome;
    }
    std::string Received() const {
        const std::vector<std::uint8_t>& bytes = printer.Received();
        return std::string(bytes.begin(), bytes.end());
    }

    PrinterEmulator printer;
    EmulatorChannel channel;
    SettingsRecord current = {}, received = {};
    ConsumablesCounters counters = {};
    std::uint32_t detected = 0;
    unsigned char version[12] = {};
    bool pending = false;
    ConversationRecords records = {};
    RecordingHost host;
};

std::string FactoryBlock() {
    SettingsRecord factory;
    CopyFactoryDefaults(&factory);
    unsigned char block[SettingBlockBufferSize];
    const int length = BuildSettingBlock(factory, block, sizeof block);
    return std::string(reinterpret_cast<char*>(block), static_cast<std::size_t>(length));
}

// The bytes a conversation leaves at the printer, spelled as letters:
// O opening, Q the kind's query, C closing, B setting block, E its end,
// P print command, 6 ... the reset digits.
std::string Spell(const std::string& letters, const std::string& query = "") {
    std::string bytes;
    for (char letter : letters) {
        switch (letter) {
        case 'O': bytes += kOnline; break;
        case 'Q': bytes += query; break;
        case 'C': bytes += kCancel; break;
        case 'B': bytes += FactoryBlock(); break;
        case 'E': bytes += kBlockEnd; break;
        case 'P': bytes += kPrint; break;
        default: bytes += std::string("\x1b" "eR") + letter; break;
        }
    }
    return bytes;
}

// ---- reads ------------------------------------------------------------------

struct ReadCase {
    int kind;
    int failing;         // the request that fails (0: none)
    int result;
    unsigned message;
    int icon;
    bool pending;
    const char* printerGot;  // letters, see Spell
};

const std::string& QueryOf(int kind) {
    switch (kind) {
    case ReadModelAndSettings: return kStartupQuery;
    case ReadSettings: return kSettingsQuery;
    case ReadCounters: return kCountersQuery;
    default: return kVersionQuery;
    }
}

// What each failed step of a read comes to: the result, the message, the
// pending-cancel flag and what the printer got.
const ReadCase kReadCases[] = {
    // requests of 7, 1, 6: opening, query, receive, closing
    {ReadModelAndSettings, 0, 1, 0, 0, false, "OQC"},
    {ReadModelAndSettings, 1, 0, 0, 0, false, ""},
    {ReadModelAndSettings, 2, 0, 0, 0, true, "O"},
    {ReadModelAndSettings, 3, 0, IDS_READ_FAILED, IDI_PRINTER_WARNING, false, "OQC"},
    {ReadModelAndSettings, 4, 0, IDS_READ_FAILED, IDI_PRINTER_WARNING, true, "OQ"},
    {ReadSettings, 0, 1, 0, 0, false, "OQC"},
    {ReadSettings, 1, 0, 0, 0, false, ""},
    {ReadSettings, 2, 0, 0, 0, true, "O"},
    {ReadSettings, 3, 0, IDS_READ_FAILED, IDI_PRINTER_WARNING, false, "OQC"},
    {ReadSettings, 4, 0, IDS_READ_FAILED, IDI_PRINTER_WARNING, true, "OQ"},
    {ReadVersion, 0, 1, 0, 0, false, "OQC"},
    {ReadVersion, 1, 0, IDS_NO_ANSWER, IDI_PRINTER_ERROR, false, ""},
    {ReadVersion, 2, 0, IDS_NO_ANSWER, IDI_PRINTER_ERROR, true, "O"},
    {ReadVersion, 3, 0, IDS_READ_FAILED, IDI_PRINTER_WARNING, false, "OQC"},
    {ReadVersion, 4, 0, IDS_READ_FAILED, IDI_PRINTER_WARNING, true, "OQ"},
    // requests of 2: query, receive; no opening or closing command
    {ReadCounters, 0, 1, 0, 0, false, "Q"},
    {ReadCounters, 1, 0, IDS_NO_ANSWER, IDI_PRINTER_ERROR, false, ""},
    {ReadCounters, 2, 0, IDS_READ_FAILED, IDI_PRINTER_WARNING, false, "Q"},
};

TEST(ReadConversation, EachFailedStepGivesItsOutcome) {
    for (const ReadCase& c : kReadCases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << ", request " << c.failing << " fails");
        World world;
        world.channel.Faults().failRequest = c.failing;
        const ConversationOutcome outcome = world.Read(c.kind);
        EXPECT_EQ(outcome.result, c.result);
        EXPECT_EQ(outcome.messageId, c.message);
        if (c.message) {
            EXPECT_EQ(outcome.messageIcon, c.icon);
        }
        EXPECT_EQ(outcome.channelText, nullptr);
        EXPECT_EQ(world.pending, c.pending);
        EXPECT_EQ(outcome.cancelPending, c.pending);
        EXPECT_EQ(world.Received(), Spell(c.printerGot, QueryOf(c.kind)));
        EXPECT_TRUE(world.channel.Balanced());
    }
}

TEST(ReadConversation, AGoodReadPausesBeforeTheAnswerAndLogsIt) {
    World world;
    world.printer.SetValue("FRC-LFVA", "8LPI");
    const ConversationOutcome outcome = world.Read(ReadSettings);
    ASSERT_EQ(outcome.result, 1);
    EXPECT_EQ(world.host.waits, (std::vector<unsigned>{200, 1200}));
    EXPECT_NE(world.host.logged.find("?NVRAM  "), std::string::npos);
    EXPECT_TRUE(outcome.refreshPage);
    EXPECT_EQ(world.current.value[0], 3) << "8LPI is the fourth line spacing";
}

TEST(ReadConversation, AnotherModelLeavesTheSettingsAndIsClosed) {
    World world;
    world.printer.SetModel("koa260MR");
    world.printer.SetValue("FRC-LFVA", "8LPI");
    std::memset(&world.current, 0x5A, sizeof world.current);
    const ConversationOutcome outcome = world.Read(ReadModelAndSettings);
    EXPECT_EQ(outcome.result, -1);
    EXPECT_EQ(outcome.messageId, 0u);
    EXPECT_EQ(world.detected, 18u);
    EXPECT_EQ(world.current.value[0], 0x5A);
    EXPECT_EQ(world.Received(), Spell("OQC", kStartupQuery));
    EXPECT_FALSE(outcome.refreshPage);
}

TEST(ReadConversation, AnUnknownIdentifierKeepsTheModelFoundBefore) {
    World world;
    world.printer.SetModel("koa999MR");
    EXPECT_EQ(world.Read(ReadModelAndSettings).result, -1) << "nothing known yet: 0 is not 17";
    EXPECT_EQ(world.detected, 0u);
    world.printer.SetModel("koa240MR");
    EXPECT_EQ(world.Read(ReadModelAndSettings).result, 1);
    world.printer.SetModel("koa999MR");
    world.printer.SetValue("STANDBY", "15min");
    EXPECT_EQ(world.Read(ReadModelAndSettings).result, 1) << "compares the model found before";
    EXPECT_EQ(world.detected, 17u);
    EXPECT_EQ(world.current.value[108], 14);
}

TEST(ReadConversation, WithoutTheModelEchoThereIsNoSettingsSection) {
    World world;
    world.printer.Faults().silentModel = true;
    std::memset(&world.current, 0x44, sizeof world.current);
    const ConversationOutcome outcome = world.Read(ReadModelAndSettings);
    EXPECT_EQ(outcome.result, 0);
    EXPECT_EQ(outcome.messageId, static_cast<unsigned>(IDS_READ_FAILED));
    EXPECT_EQ(outcome.messageIcon, IDI_PRINTER_WARNING);
    EXPECT_EQ(world.current.value[0], 0x44);
    EXPECT_EQ(world.Received(), Spell("OQC", kStartupQuery));
    EXPECT_FALSE(world.pending);
}

TEST(ReadConversation, ValueErrorsStopAtTheHostOneByOneAndTheRestIsRead) {
    World world;
    world.printer.Faults().badKeywordItem = "FRC-LFVA";
    world.printer.SetValue("STANDBY", "15min");
    const ConversationOutcome outcome = world.Read(ReadSettings);
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(world.host.valueErrors, std::vector<int>{0});
    ASSERT_EQ(outcome.valueErrorCount, 1);
    EXPECT_EQ(outcome.valueErrorItems[0], 0);
    EXPECT_EQ(world.current.value[0], FactoryDefaults.value[0]);
    EXPECT_EQ(world.current.value[108], 14) << "STANDBY 15min";
}

TEST(ReadConversation, CountersAndVersionArriveInTheirRecords) {
    World world;
    world.printer.SetCounter(6, 123456);
    world.printer.SetHeadPin(24, 0x01020304);
    world.printer.SetVersion("2.07A");
    ASSERT_EQ(world.Read(ReadCounters).result, 1);
    EXPECT_EQ(CounterValue(world.counters.ribbonLife, 4), 123456u);
    EXPECT_EQ(CounterValue(world.counters.headPins, 4 + 23 * 4), 0x01020304u);
    ASSERT_EQ(world.Read(ReadVersion).result, 1);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(world.version), 5), "2.07A");
    EXPECT_EQ(world.version[7], 0) << "the text stays NUL-terminated";
}

TEST(ReadConversation, AMissingCounterRecordFailsWithoutClosing) {
    World world;
    world.printer.Faults().missingCounterIds = {7};
    const ConversationOutcome outcome = world.Read(ReadCounters);
    EXPECT_EQ(outcome.result, 0);
    EXPECT_EQ(outcome.messageId, static_cast<unsigned>(IDS_READ_FAILED));
    EXPECT_EQ(world.Received(), kCountersQuery);
    EXPECT_FALSE(world.pending) << "a counter read never leaves a command open";
}

// ---- writes -----------------------------------------------------------------

struct WriteCase {
    int kind;
    int failing;     // the request that fails (0: none)
    bool laterToo;   // and every request after it
    int result;
    bool pending;
    const char* printerGot;
};

const WriteCase kWriteCases[] = {
    // settings: opening, block, end
    {WriteSettings, 0, false, 1, false, "OBE"},
    {WriteSettings, 1, false, 0, false, ""},
    {WriteSettings, 2, false, 0, false, "OE"},
    {WriteSettings, 2, true, 0, true, "O"},
    {WriteSettings, 3, false, 0, true, "OB"},
    // settings list: opening, print command; a failed print command is cancelled
    {PrintSettingsList, 0, false, 1, false, "OP"},
    {PrintSettingsList, 1, false, 0, false, ""},
    {PrintSettingsList, 2, false, 0, false, "OC"},
    {PrintSettingsList, 2, true, 0, true, "O"},
    // resets: one request each
    {ResetRibbonLife, 0, false, 1, false, "6"},
    {ResetRibbonLife, 1, false, 0, false, ""},
    {ResetPowerOnTime, 0, false, 1, false, "3"},
    {ResetPowerOnTime, 1, false, 0, false, ""},
    {ResetThicknessCount, 0, false, 1, false, "7"},
    {ResetThicknessCount, 1, false, 0, false, ""},
    {ResetPlatenFeedCount, 0, false, 1, false, "5"},
    {ResetPlatenFeedCount, 1, false, 0, false, ""},
    {ResetHeadPinCounter, 0, false, 1, false, "8"},
    {ResetHeadPinCounter, 1, false, 0, false, ""},
};

TEST(WriteConversation, EachFailedStepGivesItsOutcome) {
    for (const WriteCase& c : kWriteCases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << ", request " << c.failing << " fails"
                                        << (c.laterToo ? " and all after it" : ""));
        World world;
        world.channel.Faults().failRequest = c.failing;
        world.channel.Faults().failLaterRequests = c.laterToo;
        const ConversationOutcome outcome = world.Write(c.kind);
        EXPECT_EQ(outcome.result, c.result);
        EXPECT_EQ(outcome.messageId, 0u) << "a write leaves its message to the caller";
        EXPECT_EQ(outcome.channelText, nullptr);
        EXPECT_EQ(world.pending, c.pending);
        EXPECT_EQ(world.Received(), Spell(c.printerGot));
        EXPECT_TRUE(world.channel.Balanced());
        EXPECT_EQ(outcome.printFinished, c.kind == PrintSettingsList && c.result == 1);
    }
}

TEST(WriteConversation, GoodWritesWaitForThePrinterAndResetsDoNot) {
    World settings;
    ASSERT_EQ(settings.Write(WriteSettings).result, 1);
    EXPECT_EQ(settings.host.waits, std::vector<unsigned>{2000});
    World print;
    ASSERT_EQ(print.Write(PrintSettingsList).result, 1);
    EXPECT_EQ(print.printer.SettingsListsPrinted(), 1);
    EXPECT_EQ(print.host.waits, std::vector<unsigned>{2000});
    World reset;
    ASSERT_EQ(reset.Write(ResetRibbonLife).result, 1);
    EXPECT_TRUE(reset.host.waits.empty());
}

TEST(WriteConversation, EachResetClearsItsOwnCounterAndNoOther) {
    const struct {
        int kind;
        int clearedId;  // 8: the head pins
    } resets[] = {
        {ResetRibbonLife, 6}, {ResetPowerOnTime, 3}, {ResetThicknessCount, 7},
        {ResetPlatenFeedCount, 5}, {ResetHeadPinCounter, 8},
    };
    for (const auto& r : resets) {
        SCOPED_TRACE(testing::Message() << "kind " << r.kind);
        World world;
        for (int id : {3, 4, 5, 6, 7}) world.printer.SetCounter(id, 1000u + id);
        for (int pin = 1; pin <= 24; ++pin) world.printer.SetHeadPin(pin, 50u + pin);
        ASSERT_EQ(world.Write(r.kind).result, 1);
        for (int id : {3, 4, 5, 6, 7}) EXPECT_EQ(world.printer.Counter(id), id == r.clearedId ? 0u : 1000u + id) << id;
        for (int pin = 1; pin <= 24; ++pin)
            EXPECT_EQ(world.printer.HeadPin(pin), r.clearedId == 8 ? 0u : 50u + pin) << "pin " << pin;
    }
}

TEST(WriteConversation, TheWrittenValuesReachThePrinter) {
    World world;
    world.current.value[0] = 3;     // FRC-LFVA 8LPI
    world.current.value[108] = 14;  // STANDBY 15min
    ASSERT_EQ(world.Write(WriteSettings).result, 1);
    EXPECT_EQ(world.printer.Value("FRC-LFVA"), "8LPI");
    EXPECT_EQ(world.printer.Value("STANDBY"), "15min");
    EXPECT_FALSE(world.printer.InSettingMode());
    EXPECT_TRUE(world.printer.IgnoredLines().empty());
}

// ---- a conversation left open -------------------------------------------------

TEST(Repair, TheNextConversationOnLptStartsWithTheRecoverySequence) {
    for (int kind : {ReadSettings, ReadCounters}) {
        World world;
        world.pending = true;
        EXPECT_EQ(world.Read(kind).result, 1);
        EXPECT_EQ(world.Received().substr(0, kRecovery.size()), kRecovery) << kind;
        EXPECT_EQ(world.host.waits.front(), 5000u);
        EXPECT_FALSE(world.pending);
    }
    for (int kind : {WriteSettings, PrintSettingsList, ResetRibbonLife, ResetHeadPinCounter}) {
        World world;
        world.pending = true;
        EXPECT_EQ(world.Write(kind).result, 1);
        EXPECT_EQ(world.Received().substr(0, kRecovery.size()), kRecovery) << kind;
        EXPECT_FALSE(world.pending);
    }
}

TEST(Repair, UsbPortsAndLanWritesOnlyClearTheFlag) {
    World usb(ChannelSpooler, "USB001");
    usb.pending = true;
    EXPECT_EQ(usb.Read(ReadSettings).result, 1);
    EXPECT_EQ(usb.Received(), Spell("OQC", kSettingsQuery));
    EXPECT_FALSE(usb.pending);

    World lanWrite(ChannelLan, "192.168.0.5:lp");
    lanWrite.pending = true;
    EXPECT_EQ(lanWrite.Write(ResetRibbonLife).result, 1);
    EXPECT_EQ(lanWrite.Received(), Spell("6"));
    EXPECT_FALSE(lanWrite.pending);

    // A LAN read repairs whatever the port is called.
    World lanRead(ChannelLan, "USB:lp");
    lanRead.pending = true;
    EXPECT_EQ(lanRead.Read(ReadVersion).result, 1);
    EXPECT_EQ(lanRead.Received().substr(0, kRecovery.size()), kRecovery);
}

TEST(Repair, APrinterStuckInSettingModeIsFreedOnLptButNotOnUsb) {
    for (const char* port : {"LPT1:", "USB001"}) {
        SCOPED_TRACE(port);
        World world(ChannelSpooler, port);
        world.printer.Faults().stickInSettingMode = true;
        world.channel.Faults().failRequest = 3;  // the block's closing command
        EXPECT_EQ(world.Write(WriteSettings).result, 0);
        ASSERT_TRUE(world.pending);
        ASSERT_TRUE(world.printer.InSettingMode());

        world.channel.Faults().failRequest = 0;
        const int result = world.Read(ReadSettings).result;
        EXPECT_FALSE(world.pending);
        if (std::string(port) == "LPT1:") {
            EXPECT_EQ(result, 1);
            EXPECT_FALSE(world.printer.InSettingMode());
        } else {
            EXPECT_EQ(result, 0) << "the stuck printer ignores the query";
            EXPECT_TRUE(world.printer.InSettingMode());
        }
    }
}

// ---- channels that cannot begin ---------------------------------------------

TEST(ChannelBegin, NoBlockMeansNoConversationAndNoMessage) {
    World world;
    world.channel.Faults().prepareFails = true;
    world.pending = true;
    for (int kind : {ReadModelAndSettings, ReadCounters}) {
        const ConversationOutcome outcome = world.Read(kind);
        EXPECT_EQ(outcome.result, 0);
        EXPECT_EQ(outcome.messageId, 0u);
        EXPECT_EQ(outcome.channelText, nullptr);
    }
    EXPECT_EQ(world.Write(WriteSettings).result, 0);
    EXPECT_EQ(world.channel.Begun(), 0);
    EXPECT_EQ(world.channel.Requests(), 0);
    EXPECT_TRUE(world.pending) << "nothing was repaired";
}

TEST(ChannelBegin, TheChannelsOwnTextIsHandedOnAndNothingIsSent) {
    World world(ChannelLan, "10.0.0.1:lp");
    world.channel.Faults().beginFailsWith = kLanText;
    world.pending = true;
    const ConversationOutcome read = world.Read(ReadSettings);
    EXPECT_EQ(read.result, 0);
    EXPECT_STREQ(read.channelText, kLanText);
    EXPECT_EQ(read.messageIcon, IDI_PRINTER_ERROR);
    const ConversationOutcome write = world.Write(ResetRibbonLife);
    EXPECT_EQ(write.result, 0);
    EXPECT_STREQ(write.channelText, kLanText);
    EXPECT_EQ(world.channel.Requests(), 0);
    EXPECT_TRUE(world.pending) << "the flag stays for a conversation that reaches the printer";
}

// ---- time-outs, late answers and a hung guard mutex ----------------------------

// The kinds with the number of requests of a clean conversation.
const struct {
    int kind;
    bool read;
    int requests;
} kKinds[] = {
    {ReadModelAndSettings, true, 4}, {ReadSettings, true, 4}, {ReadVersion, true, 4}, {ReadCounters, true, 2},
    {WriteSettings, false, 3}, {PrintSettingsList, false, 2}, {ResetRibbonLife, false, 1},
};

ConversationOutcome RunKind(World& world, int kind, bool read) { return read ? world.Read(kind) : world.Write(kind); }

// The same step failing: the result, the message and the flag it leaves.
void ExpectOutcomeOfAFailedStep(const ConversationOutcome& outcome, const World& world,
                                const ConversationOutcome& failed, const World& failing) {
    EXPECT_EQ(outcome.result, failed.result);
    EXPECT_EQ(outcome.messageId, failed.messageId);
    EXPECT_EQ(world.pending, failing.pending);
    EXPECT_EQ(outcome.cancelPending, failing.pending);
}

// A request that nobody finishes within the bound is a failed step: the
// result, message and flag are those of the same request failing, and the
// late outcome, which lands over whatever is posted by then, is never taken
// for a later request's. Every request the conversation made reached the
// printer exactly once.
TEST(TimeOut, ALateRequestIsAFailedStepAndTheRestStillReachesThePrinter) {
    for (const auto& k : kKinds) {
        for (int late = 1; late <= k.requests; ++late) {
            SCOPED_TRACE(testing::Message() << "kind " << k.kind << (k.read ? " read" : " write") << ", request "
                                            << late << " late");
            World failing;
            failing.channel.Faults().failRequest = late;
            const ConversationOutcome expected = RunKind(failing, k.kind, k.read);
            World world;
            world.channel.Faults().lateRequest = late;
            ExpectOutcomeOfAFailedStep(RunKind(world, k.kind, k.read), world, expected, failing);
            const int posted = failing.channel.Requests();
            EXPECT_EQ(world.channel.Requests(), posted) << "each request taken once, none lost";
            EXPECT_EQ(world.channel.Monitor().StaleLandings(), late < posted ? 1 : 0);
            EXPECT_TRUE(world.channel.Balanced());
        }
    }
}

// Visible at the exit: a driver whose monitor never answers fails the first
// read at its opening command, which leaves nothing open, so the program
// ends at once without the recovery sequence.
TEST(TimeOut, AnUnansweredOpeningCommandLeavesNothingToRepair) {
    for (int kind : {ReadModelAndSettings, ReadSettings}) {
        World world;
        world.channel.Faults().lateRequest = 1;
        world.channel.Faults().lateMs = 1000000;
        EXPECT_EQ(world.Read(kind).result, 0);
        EXPECT_FALSE(world.pending);
        ConversationOutcome exit;
        RunExitCancel(world.channel, world.records, &exit);
        EXPECT_EQ(exit.result, 1);
        EXPECT_EQ(world.channel.Begun(), 1) << "the exit began no conversation";
    }
}

// The late outcome of a conversation's last request lands while the next
// conversation's first request is posted: that request is posted again and
// reaches the printer. On LPT the first request is the recovery sequence;
// on USB it is the opening command, without which the query would be print
// data; the LAN library has no shared block, and its failed request only
// leaves the flag.
TEST(TimeOut, ALateOutcomeLandingInTheNextConversationIsNotTakenForItsFirstRequest) {
    const struct {
        ChannelKind kind;
        const char* port;
        const char* second;  // what the printer gets of the second read
    } cases[] = {
        {ChannelSpooler, "LPT1:", "ROQC"},
        {ChannelSpooler, "USB001", "OQC"},
        {ChannelLan, "10.0.0.1:lp", "ROQC"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.port);
        World world(c.kind, c.port);
        world.channel.Faults().lateRequest = 4;  // the first read's closing command
        ASSERT_EQ(world.Read(ReadSettings).result, 0);
        ASSERT_TRUE(world.pending);
        world.printer.ClearReceived();

        const ConversationOutcome second = world.Read(ReadSettings);
        EXPECT_EQ(second.result, 1);
        EXPECT_FALSE(world.pending);
        std::string expected;
        for (char letter : std::string(c.second))
            expected += letter == 'R' ? kRecovery : Spell(std::string(1, letter), kSettingsQuery);
        EXPECT_EQ(world.Received(), expected);
        if (c.kind == ChannelSpooler) {
            EXPECT_EQ(world.channel.Monitor().StaleLandings(), 1);
        }
    }
}

// The monitor's ribbon reset has one request: a late outcome of a read's
// request landing over it must not pass for the reset's.
TEST(TimeOut, ALateOutcomeIsNotTakenForAResetThatFollows) {
    World world(ChannelSpooler, "USB001");
    world.channel.Faults().lateRequest = 3;  // the read's answer request
    world.channel.Faults().lateMs = 2 * EmulatorChannel::kBoundMs + 50;  // after the closing command's bound
    world.printer.SetCounter(6, 777);  // the ribbon life
    EXPECT_EQ(world.Read(ReadSettings).result, 0);
    EXPECT_EQ(world.Write(ResetRibbonLife).result, 1);
    EXPECT_EQ(world.printer.Counter(6), 0u) << "the reset reached the printer";
    EXPECT_EQ(world.channel.Monitor().StaleLandings(), 1);
}

// A process that hangs holding the block's guard mutex: the copy that cannot
// take it fails its step, and nothing more is posted in that conversation.
TEST(GuardMutex, AHungHolderEndsTheConversationAtTheStepItStops) {
    for (const auto& k : kKinds) {
        for (int hung = 1; hung <= k.requests; ++hung) {
            SCOPED_TRACE(testing::Message() << "kind " << k.kind << (k.read ? " read" : " write")
                                            << ", guard held from request " << hung);
            World failing;
            failing.channel.Faults().failRequest = hung;
            failing.channel.Faults().failLaterRequests = true;
            const ConversationOutcome expected = RunKind(failing, k.kind, k.read);
            World world;
            world.channel.Faults().guardHungAtRequest = hung;
            ExpectOutcomeOfAFailedStep(RunKind(world, k.kind, k.read), world, expected, failing);
            EXPECT_EQ(world.channel.Requests(), hung - 1);
            EXPECT_EQ(world.channel.Monitor().Posts(), 1 + (hung - 1)) << "the clear and the requests before";
            EXPECT_EQ(world.channel.Monitor().RefusedCopies(), 1) << "one wait for the guard, not one per step";
            EXPECT_LT(world.channel.Monitor().Milliseconds(), EmulatorChannel::kBoundMs) << "no wait for an answer";
        }
    }
}

TEST(GuardMutex, HeldFromTheStartNothingIsPostedAndTheCallerTells) {
    World world;
    world.channel.Faults().guardHungAtBegin = true;
    world.pending = true;
    const ConversationOutcome read = world.Read(ReadSettings);
    EXPECT_EQ(read.result, 0);
    EXPECT_EQ(read.messageId, 0u) << "the caller's no-answer message";
    EXPECT_EQ(read.channelText, nullptr);
    EXPECT_EQ(world.channel.Monitor().Posts(), 0);
    EXPECT_EQ(world.channel.Monitor().RefusedCopies(), 1);
    EXPECT_TRUE(world.pending);

    ConversationOutcome exit;
    RunExitCancel(world.channel, world.records, &exit);
    EXPECT_EQ(exit.result, 0);
    EXPECT_EQ(exit.messageId, static_cast<unsigned>(IDS_EXIT_NO_ANSWER));
    EXPECT_EQ(exit.messageIcon, IDI_PRINTER_ERROR);
}

// ---- the exit -----------------------------------------------------------------

TEST(ExitCancel, OnlyAConversationLeftOpenIsRepairedAndNotOnUsb) {
    const struct {
        ChannelKind kind;
        const char* port;
        bool pending;
        bool sends;
    } cases[] = {
        {ChannelSpooler, "LPT1:", false, false}, {ChannelSpooler, "LPT1:", true, true},
        {ChannelSpooler, "USB001", true, false}, {ChannelLan, "USB:lp", true, true},
        {ChannelLan, "10.0.0.1:lp", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.port << (c.pending ? " pending" : ""));
        World world(c.kind, c.port);
        world.pending = c.pending;
        ConversationOutcome outcome;
        RunExitCancel(world.channel, world.records, &outcome);
        EXPECT_EQ(outcome.result, 1);
        EXPECT_EQ(outcome.messageId, 0u);
        EXPECT_EQ(world.Received(), c.sends ? kRecovery : "");
        EXPECT_EQ(world.channel.Begun(), c.sends ? 1 : 0);
        EXPECT_TRUE(world.channel.Balanced());
    }
}

TEST(ExitCancel, AFailedSendOrChannelIsTold) {
    World lpt;
    lpt.pending = true;
    lpt.channel.Faults().failRequest = 1;
    ConversationOutcome outcome;
    RunExitCancel(lpt.channel, lpt.records, &outcome);
    EXPECT_EQ(outcome.result, 0);
    EXPECT_EQ(outcome.messageId, static_cast<unsigned>(IDS_EXIT_NO_ANSWER));
    EXPECT_EQ(outcome.messageIcon, IDI_PRINTER_ERROR);
    EXPECT_TRUE(lpt.channel.Balanced());

    World closed;
    closed.pending = true;
    closed.channel.Faults().prepareFails = true;
    RunExitCancel(closed.channel, closed.records, &outcome);
    EXPECT_EQ(outcome.result, 0);
    EXPECT_EQ(outcome.messageId, static_cast<unsigned>(IDS_EXIT_NO_ANSWER)) << "the block could not be opened";

    World lan(ChannelLan, "10.0.0.1:lp");
    lan.pending = true;
    lan.channel.Faults().beginFailsWith = kLanText;
    RunExitCancel(lan.channel, lan.records, &outcome);
    EXPECT_EQ(outcome.result, 0);
    EXPECT_STREQ(outcome.channelText, kLanText);
    EXPECT_EQ(lan.channel.Requests(), 0);
}

TEST(Plans, EveryKindACallerUsesHasOneAndNoOtherDoes) {
    for (int kind = -2; kind < 20; ++kind) {
        const bool read = kind == 1 || kind == 2 || kind == 6 || kind == 7;
        const bool write = kind == 1 || (kind >= 3 && kind <= 8);
        EXPECT_EQ(FindReadPlan(kind) != nullptr, read) << kind;
        EXPECT_EQ(FindWritePlan(kind) != nullptr, write) << kind;
    }
    World world;
    EXPECT_EQ(world.Read(3).result, 0);
    EXPECT_EQ(world.Write(2).result, 0);
    EXPECT_EQ(world.channel.Begun(), 0);
}

}  // namespace
