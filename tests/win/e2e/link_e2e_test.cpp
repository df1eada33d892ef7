// Reading and writing settings end to end: the program's channel code in
// this process, Wine's real spooler delivering the connection job to the
// test printer's port, the language-monitor stand-in serving the shared
// block, and the printer emulator behind it.
#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>

#include "common/timing.h"
#include "link/channel/object_names.h"
#include "link/channel/printer_link.h"
#include "link/channel/spooler_calls.h"
#include "panel/exchange/printer_exchange.h"
#include "panel/records/panel_records.h"
#include "tests/win/e2e/e2e_support.h"

namespace {

// Fixed waits run at a twentieth: 5 s becomes 250 ms, the channel bound 3 s.
const unsigned kDivisor = 20;

const std::string kOnline = std::string("\x1b" "eONLINE");
const std::string kCancel = "CANCEL  \r";
const std::string kRecovery = std::string(9, '\r') + "CANCEL  \r";
const std::string kBlockEnd = "\rEXIT    \rEND     \r";
const std::string kCaption = "KOA koa2400Max-R/koa2600Max-R リモートパネル";
const std::string kReadFailed = "プリンターから設定内容の読み込みに失敗しました。";
const std::string kExitNoAnswer = "プリンターからの応答がありませんでした｡\n\nプリンターの電源を再投入して下さい。";

class LinkEndToEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string error;
        ASSERT_TRUE(InstallTestPrinters(&error)) << error;
    }

    void SetUp() override {
        ASSERT_TRUE(AllocateGlobals());
        TestSeam_ShortenFixedWaits(kDivisor);
        CancelPending = false;
        UseTarget(kLptPrinter, "LPT1:");
    }

    void TearDown() override {
        standIn_.Stop();
        ReleaseGlobals();
        TestSeam_ShortenFixedWaits(1);
        TestSeam_UseWindowsVersion(0, 0);
    }

    static void UseTarget(const char* printer, const char* port) {
        std::memset(&CurrentTarget, 0, sizeof CurrentTarget);
        std::strcpy(CurrentTarget.PrinterName, printer);
        std::strcpy(CurrentTarget.PortName, port);
        CurrentTarget.ConnectionKind = ConnectSpooler;
        CurrentTarget.Model = ModelKoa2400MaxR;
    }

    void Serve(const std::string& config, const std::string& jobs = "jobs-lpt.bin",
               const std::string& options = "") {
        ASSERT_TRUE(standIn_.Start(config, jobs, options)) << "language-monitor stand-in did not start";
    }

    StandIn standIn_;
};

TEST_F(LinkEndToEnd, StartupReadFillsCurrentSettingsFromThePrinter) {
    Serve("model koa240MR\nvalue FRC-LFVA 8LPI\nvalue STANDBY 15min\nvalue FF-LSP 45.2mm\n"
          "value CUT-BACK 1sec\nvalue FT-PAGEL 12LINE\n");
    BoxWatcher watcher;
    EXPECT_EQ(ReadFromPrinter(ReadModelAndSettings, nullptr), 1);

    EXPECT_EQ(*DetectedModel, 17u);
    SettingsRecord expected = FactoryDefaults;
    expected.value[SettingIndex("FRC-LFVA")] = 3;
    expected.value[SettingIndex("STANDBY")] = 14;
    expected.value[SettingIndex("FF-LSP")] = 160;
    expected.value[SettingIndex("CUT-BACK")] = 0;
    expected.value[SettingIndex("FT-PAGEL")] = 11;
    for (int i = 0; i < SettingCount; ++i) EXPECT_EQ(CurrentSettings->value[i], expected.value[i]) << "item " << i;

    EXPECT_EQ(standIn_.Received(), kOnline + "?MODEL  \r?VER    \r?NVRAM  \r" + kCancel);
    EXPECT_TRUE(watcher.Boxes().empty());
    ASSERT_FALSE(watcher.ProgressTexts().empty());
    EXPECT_EQ(watcher.ProgressTexts()[0], "プリンターから設定情報を読み込んでいます。");
    EXPECT_FALSE(CancelPending);
}

TEST_F(LinkEndToEnd, ValueOutsideItsListShowsItsMessageOnceAndTheRestIsRead) {
    Serve("model koa240MR\nvalue STANDBY 15min\nfault bad-keyword FRC-LFVA\n");
    BoxWatcher watcher;
    EXPECT_EQ(ReadFromPrinter(ReadSettings, nullptr), 1);
    const auto messages = watcher.Boxes();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, kCaption);
    EXPECT_EQ(messages[0].text,
              "プリンターから以下の項目において\n規定外のデータを読み取りました。\n\n改行量(手差し,前ASF,後ASF)"
              "\n\n他のアプリケーションからの印刷が無いことを確認し、\nプリンターの電源を再投入して下さい。");
    EXPECT_EQ(messages[0].icon, 182);
    EXPECT_EQ(CurrentSettings->value[SettingIndex("FRC-LFVA")], 2);  // factory "6LPI"
    EXPECT_EQ(CurrentSettings->value[SettingIndex("STANDBY")], 14);
}

TEST_F(LinkEndToEnd, FactoryWriteDeliversTheExactBlock) {
    Serve("model koa240MR\nvalue FRC-LFVA 3LPI\nvalue STANDBY 30min\n");
    BoxWatcher watcher;
    LoadFactoryDefaults();
    EXPECT_EQ(WriteToPrinter(WriteSettings, nullptr), 1);

    const std::string received = standIn_.Received();
    ASSERT_EQ(received.size(), kOnline.size() + 1972 + kBlockEnd.size());
    EXPECT_EQ(received.substr(0, 8), kOnline);
    const std::string block = received.substr(8, 1972);
    EXPECT_EQ(block.substr(0, 9 + 3 * 18),
              "SETTING \r\rFRC-LFVA:6LPI    \rPATH-MD :FRICTION\rFRC-MODE:FRC     ");
    EXPECT_EQ(block.substr(1972 - 3 * 18 - 1),
              "\rEJCT-CTL:COMMAND \rCUT-BACK:OFF     \rSTANDBY :1min    \r");
    EXPECT_EQ(received.substr(8 + 1972), kBlockEnd);

    // The printer, with its own item table, now holds its factory values.
    const std::string state = standIn_.State();
    EXPECT_NE(state.find("value FRC-LFVA 6LPI"), std::string::npos) << state;
    EXPECT_NE(state.find("value STANDBY 1min"), std::string::npos);
    EXPECT_FALSE(CancelPending);
    ASSERT_FALSE(watcher.ProgressTexts().empty());
    EXPECT_EQ(watcher.ProgressTexts()[0], "プリンターに設定内容を書き込んでいます。");
}

TEST_F(LinkEndToEnd, AValueOutsideItsListRefusesTheWriteBeforeAnythingIsSent) {
    Serve("model koa240MR\n");
    BoxWatcher watcher;
    LoadFactoryDefaults();
    CurrentSettings->value[SettingIndex("STANDBY")] = 255;  // an empty selection
    CancelPending = true;                             // left as it was: nothing is sent
    EXPECT_EQ(WriteToPrinter(WriteSettings, nullptr), -1);
    EXPECT_EQ(standIn_.Received(), "");
    EXPECT_TRUE(CancelPending);
    ASSERT_EQ(watcher.Boxes().size(), 1u);
    EXPECT_NE(watcher.Boxes()[0].text.find(SettingTitle(SettingIndex("STANDBY"))), std::string::npos)
        << watcher.Boxes()[0].text;
    EXPECT_EQ(watcher.Boxes()[0].icon, 183);
    EXPECT_TRUE(watcher.ProgressTexts().empty());
}

TEST_F(LinkEndToEnd, FailedClosingCommandLeadsToRecoveryOnTheNextLptWrite) {
    Serve("model koa240MR\nvalue STANDBY 15min\nfault fail-send 3\n");  // ONLINE, query, CANCEL
    BoxWatcher watcher;
    EXPECT_EQ(ReadFromPrinter(ReadSettings, nullptr), 0);
    EXPECT_TRUE(CancelPending);
    EXPECT_EQ(CurrentSettings->value[SettingIndex("STANDBY")], 14);  // the parse was already done
    ASSERT_EQ(watcher.Boxes().size(), 1u);
    EXPECT_EQ(watcher.Boxes()[0].text, kReadFailed);
    EXPECT_EQ(watcher.Boxes()[0].icon, 183);

    Serve("model koa240MR\n");
    const DWORD start = GetTickCount();
    EXPECT_EQ(WriteToPrinter(WriteSettings, nullptr), 1);
    const DWORD elapsed = GetTickCount() - start;
    const std::string received = standIn_.Received();
    EXPECT_EQ(received.substr(0, 18), kRecovery);
    EXPECT_EQ(received.substr(18, 8), kOnline);
    EXPECT_GE(elapsed, 5000 / kDivisor);
    EXPECT_FALSE(CancelPending);
}

TEST_F(LinkEndToEnd, UsbPortGetsNoRecoverySequenceButTheFlagIsCleared) {
    UseTarget(kUsbPrinter, "USB001");
    Serve("model koa240MR\n", "jobs-usb.bin");
    CancelPending = true;
    EXPECT_EQ(WriteToPrinter(WriteSettings, nullptr), 1);
    EXPECT_EQ(standIn_.Received().substr(0, 8), kOnline);
    EXPECT_FALSE(CancelPending);
}

TEST_F(LinkEndToEnd, SettingsListPrintEndsWithThePrintFinishedDialog) {
    Serve("model koa240MR\n");
    BoxWatcher watcher;
    EXPECT_EQ(WriteToPrinter(PrintSettingsList, nullptr), 1);
    EXPECT_EQ(watcher.PrintFinishedDialogs(), 1);
    // Frame 188 before the first tick, then the sequence from its start.
    EXPECT_EQ(watcher.PrintingFrames(), (std::vector<int>{188, 187, 188}));
    EXPECT_EQ(standIn_.Received(), kOnline + "PRINT-E \r");
}

TEST_F(LinkEndToEnd, CounterResetSendsItsSequenceAndTheCounterIsCleared) {
    Serve("model koa240MR\ncounter 6 5000\n");
    EXPECT_EQ(WriteToPrinter(ResetRibbonLife, nullptr), 1);
    EXPECT_EQ(standIn_.Received(), std::string("\x1b" "eR6"));
    EXPECT_NE(standIn_.State().find("counter 6 0"), std::string::npos) << standIn_.State();
}

TEST_F(LinkEndToEnd, AnswersAreLoggedOnlyWhileTheLogFileExists) {
    const char* log = "c:\\veldra6.log";
    ASSERT_TRUE(WriteWholeFile(log, ""));
    Serve("model koa240MR\n");
    EXPECT_EQ(ReadFromPrinter(ReadSettings, nullptr), 1);
    const std::string logged = ReadWholeFile(log);
    EXPECT_EQ(logged.substr(0, 8), "?VER    ");
    EXPECT_NE(logged.find("?NVRAM  "), std::string::npos);
    EXPECT_NE(logged.find("FRC-LFVA"), std::string::npos);
    ASSERT_TRUE(DeleteFileA(log));
    EXPECT_EQ(ReadFromPrinter(ReadSettings, nullptr), 1);
    EXPECT_EQ(GetFileAttributesA(log), INVALID_FILE_ATTRIBUTES);  // never created
}

// ---- the channel alone ---------------------------------------------------

TEST_F(LinkEndToEnd, UnknownStatusReturnsTheLengthArgument) {
    Serve("model koa240MR\n", "jobs-lpt.bin", "--status3");
    ASSERT_EQ(OpenPrinterLink(), 1);
    AttachLink(kLptPrinter);
    EXPECT_EQ(LinkExchange(LinkSend, "CANCEL  \r", 9), 9u);
    EXPECT_EQ(LinkExchange(LinkReceive, nullptr, 0), 0u);
    DetachLink();
}

TEST_F(LinkEndToEnd, AMonitorThatNeverAnswersCountsAsFailedAfterTheBound) {
    Serve("model koa240MR\n", "jobs-lpt.bin", "--never-answer");
    ASSERT_EQ(OpenPrinterLink(), 1);
    AttachLink(kLptPrinter);
    const DWORD start = GetTickCount();
    EXPECT_EQ(LinkExchange(LinkSend, "CANCEL  \r", 9), 0u);
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, LinkAnswerTimeoutMs / kDivisor);
    EXPECT_LT(elapsed, LinkAnswerTimeoutMs / kDivisor + 5000);
    DetachLink();
}

TEST_F(LinkEndToEnd, NothingServesTheBlockWithoutTheConnectionJob) {
    // The stand-in watches the USB port's jobs; the job goes to LPT1:.
    Serve("model koa240MR\n", "jobs-usb.bin");
    EXPECT_EQ(ReadFromPrinter(ReadSettings, nullptr), 0);
    EXPECT_EQ(standIn_.Received(), "");
    EXPECT_FALSE(CancelPending) << "a failed opening command leaves nothing open";
}

// A monitor that answers after the bound copies its whole block back, over
// whatever was posted since. The late request is a failed step; the closing
// command posted after it is posted again once the late copy has landed, and
// reaches the printer.
TEST_F(LinkEndToEnd, ALateAnswerAfterTheBoundDoesNoHarm) {
    Serve("model koa240MR\nvalue STANDBY 15min\n", "jobs-lpt.bin", "--answer-late 3 --late-ms 5000");
    BoxWatcher watcher;
    const DWORD start = GetTickCount();
    EXPECT_EQ(ReadFromPrinter(ReadSettings, nullptr), 0);
    EXPECT_GE(GetTickCount() - start, LinkAnswerTimeoutMs / kDivisor);
    ASSERT_EQ(watcher.Boxes().size(), 1u);
    EXPECT_EQ(watcher.Boxes()[0].text, kReadFailed);
    EXPECT_EQ(standIn_.Received(), kOnline + "?VER    \r?NVRAM  \r" + kCancel);
    EXPECT_FALSE(CancelPending) << "the closing command went through";

    EXPECT_EQ(ReadFromPrinter(ReadSettings, nullptr), 1);
    EXPECT_EQ(CurrentSettings->value[SettingIndex("STANDBY")], 14);
}

// The late copy of a read's closing command lands while the next read's
// first request waits for its outcome (the bound is 3 s, the late copy
// comes 6 s after the command was taken): that request is posted again and
// reaches the printer. Returns what the printer got of the second read.
std::string SecondReadAfterALateClose(StandIn& standIn) {
    BoxWatcher watcher;
    EXPECT_EQ(ReadFromPrinter(ReadSettings, nullptr), 0);
    EXPECT_TRUE(CancelPending) << "the closing command did not come back in time";
    const std::string first = standIn.Received();
    EXPECT_EQ(first, kOnline + "?VER    \r?NVRAM  \r" + kCancel);
    EXPECT_EQ(ReadFromPrinter(ReadSettings, nullptr), 1);
    EXPECT_FALSE(CancelPending);
    EXPECT_EQ(CurrentSettings->value[SettingIndex("STANDBY")], 14);
    return standIn.Received().substr(first.size());
}

TEST_F(LinkEndToEnd, ALateCopyLandingInTheNextReadDoesNotSwallowItsRecoverySequence) {
    Serve("model koa240MR\nvalue STANDBY 15min\n", "jobs-lpt.bin", "--answer-late 4 --late-ms 6000");
    EXPECT_EQ(SecondReadAfterALateClose(standIn_), kRecovery + kOnline + "?VER    \r?NVRAM  \r" + kCancel);
}

TEST_F(LinkEndToEnd, ALateCopyLandingInTheNextReadDoesNotSwallowItsOpeningCommandOnUsb) {
    UseTarget(kUsbPrinter, "USB001");
    Serve("model koa240MR\nvalue STANDBY 15min\n", "jobs-usb.bin", "--answer-late 4 --late-ms 6000");
    EXPECT_EQ(SecondReadAfterALateClose(standIn_), kOnline + "?VER    \r?NVRAM  \r" + kCancel);
}

// A monitor that hangs holding the block's guard mutex: the copy that waits
// for it in vain ends the read, and nothing more is posted, so the program
// is back after one wait for the mutex instead of one per request.
TEST_F(LinkEndToEnd, AHungHolderOfTheGuardMutexEndsTheReadAfterOneWait) {
    Serve("model koa240MR\n", "jobs-lpt.bin", "--hang-after 2");
    BoxWatcher watcher;
    const DWORD start = GetTickCount();
    EXPECT_EQ(ReadFromPrinter(ReadSettings, nullptr), 0);
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, LinkGuardTimeoutMs / kDivisor);
    // Waiting for the mutex at every later step, each wait as long as an
    // answer's, took three such waits.
    EXPECT_LT(elapsed, 2 * LinkAnswerTimeoutMs / kDivisor) << "one wait for the mutex";
    EXPECT_EQ(standIn_.Received(), kOnline + "?VER    \r?NVRAM  \r");
    EXPECT_TRUE(CancelPending) << "the printer waits in command mode";
}

TEST_F(LinkEndToEnd, BeforeWindows2000TheObjectsCarryNoGlobalPrefix) {
    TestSeam_UseWindowsVersion(PlatformWin32Nt, 4);
    Serve("model koa240MR\nvalue STANDBY 15min\n", "jobs-lpt.bin", "--plain-names");
    EXPECT_EQ(ReadFromPrinter(ReadSettings, nullptr), 1);
    EXPECT_EQ(CurrentSettings->value[SettingIndex("STANDBY")], 14);
    HANDLE global = OpenFileMappingA(FILE_MAP_READ, FALSE, "Global\\tzra VerodoRared LM Connection MapFile");
    EXPECT_EQ(global, nullptr) << "the plain name only";
    if (global) CloseHandle(global);
}

TEST_F(LinkEndToEnd, AGuardMutexThatCannotBeCreatedFailsTheExchange) {
    TestSeam_ShortenFixedWaits(1);  // a wait for the mutex would take 10 s
    // An object of another kind under the mutex's name makes CreateMutex fail.
    HANDLE squatter = CreateEventA(nullptr, TRUE, FALSE, "Global\\tzra VerodoRared LM Connection MapFile Mutex");
    ASSERT_NE(squatter, nullptr);
    const DWORD start = GetTickCount();
    EXPECT_EQ(OpenPrinterLink(), 0) << "the block cannot even be cleared";
    EXPECT_EQ(LinkExchange(LinkSend, "CANCEL  \r", 9), 0u);
    EXPECT_LT(GetTickCount() - start, LinkGuardTimeoutMs / 2);  // at once, not after the bound

    // At the exit, a conversation left open is not dropped silently.
    CancelPending = true;
    BoxWatcher watcher;
    CancelOpenConversationAtExit(nullptr);
    ASSERT_EQ(watcher.Boxes().size(), 1u);
    EXPECT_EQ(watcher.Boxes()[0].text, kExitNoAnswer);
    EXPECT_EQ(watcher.Boxes()[0].icon, 181);
    CloseHandle(squatter);
}

TEST_F(LinkEndToEnd, SecondOpenDoesNotClearTheSharedBlock) {
    ASSERT_EQ(OpenPrinterLink(), 1);
    HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, "Global\\tzra VerodoRared LM Connection MapFile");
    ASSERT_NE(mapping, nullptr);
    auto* view = static_cast<LinkBlock*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    ASSERT_NE(view, nullptr);
    view->data[0] = 0xA5;
    view->length = 77;
    EXPECT_EQ(OpenPrinterLink(), 1);
    EXPECT_EQ(view->data[0], 0xA5);
    EXPECT_EQ(view->length, 77u);
    UnmapViewOfFile(view);
    CloseHandle(mapping);
}

// What the connection job hands the spooler, recorded in place of the
// spooler (the port sees only the bytes).
struct RecordedJob {
    std::string printer, document, datatype;
    bool outputFile = true;
    unsigned long level = 0;
    std::string bytes;
    std::atomic<bool> closed{false};  // set on the connection job's thread
};
RecordedJob g_job;

BOOL WINAPI RecordOpen(LPSTR name, LPHANDLE printer, LPPRINTER_DEFAULTSA defaults) {
    g_job.printer = name ? name : "";
    *printer = &g_job;
    return defaults == nullptr;
}
DWORD WINAPI RecordStartDoc(HANDLE, DWORD level, LPBYTE info) {
    const DOC_INFO_1A* doc = reinterpret_cast<const DOC_INFO_1A*>(info);
    g_job.level = level;
    g_job.document = doc->pDocName ? doc->pDocName : "";
    g_job.datatype = doc->pDatatype ? doc->pDatatype : "";
    g_job.outputFile = doc->pOutputFile != nullptr;
    return 7;
}
BOOL WINAPI RecordWrite(HANDLE, LPVOID bytes, DWORD count, LPDWORD written) {
    g_job.bytes.append(static_cast<const char*>(bytes), count);
    *written = count;
    return TRUE;
}
BOOL WINAPI RecordEndDoc(HANDLE) { return TRUE; }
BOOL WINAPI RecordClose(HANDLE) {
    g_job.closed = true;
    return TRUE;
}

TEST(ConnectionJob, IsOneRawCanByteNamedForTheLanguageMonitor) {
    SpoolerCalls recorder = Spooler();
    recorder.openPrinter = RecordOpen;
    recorder.startDocPrinter = RecordStartDoc;
    recorder.writePrinter = RecordWrite;
    recorder.endDocPrinter = RecordEndDoc;
    recorder.closePrinter = RecordClose;
    TestSeam_UseSpoolerCalls(&recorder);
    ASSERT_TRUE(AllocateGlobals());
    ASSERT_EQ(OpenPrinterLink(), 1);
    AttachLink("KOA Test LPT");
    WaitUntil([] { return g_job.closed.load(); });
    ReleaseGlobals();
    TestSeam_UseSpoolerCalls(nullptr);
    ASSERT_TRUE(g_job.closed);
    EXPECT_EQ(g_job.printer, "KOA Test LPT");
    EXPECT_EQ(g_job.level, 1u);
    EXPECT_EQ(g_job.document, "tzrahWindow-VerodoRared");
    EXPECT_EQ(g_job.datatype, "RAW");
    EXPECT_FALSE(g_job.outputFile);
    EXPECT_EQ(g_job.bytes, std::string(1, '\x18'));
}

TEST(ProcessRecords, AFreshProgramHoldsPositionZeroNotTheFactoryValues) {
    ASSERT_TRUE(AllocateGlobals());
    for (int i = 0; i < SettingCount; ++i) EXPECT_EQ(CurrentSettings->value[i], 0) << "item " << i;
    EXPECT_EQ(*DetectedModel, 0u);
    ReleaseGlobals();
    EXPECT_EQ(CurrentSettings, nullptr);
}

}  // namespace
