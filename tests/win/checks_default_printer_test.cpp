// The status monitor's checks of the default printer, in this process:
// Wine's spooler for what it shows (printers, ports, attributes, the
// default printer, the dummy job reaching the port), a scripted spooler for
// what it cannot (paused printers, job lists, failures).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/timing.h"
#include "monitor/status_refresh.h"
#include "monitor/supported_printer.h"
#include "tests/win/checks_support.h"

namespace {

const unsigned kDivisor = 20;  // the 2 s pause becomes 100 ms
const std::string kCaption = "ｽﾃｰﾀｽﾓﾆﾀｰ";
const std::string kDummyJob(15, '\0');

const std::string kWrongPort =
    "プリンターポートの設定が異なります。\n[プリンター]フォルダーからプロパティを開いて、ポート設定を変更してください。";
const std::string kNotDefault =
    "下記の何れかのプリンターを接続し、通常使うプリンターに設定してください。\n\n     KOA koa2400Max-R\n     KOA "
    "koa2600Max-R";
const std::string kNoPrinter = "プリンター（ドライバー）が見つかりません。\n\nプログラムを終了します。";
const std::string kBidiOff =
    "プリンターの双方向機能が無効になっています。\n\n[プリンター]フォルダーからプロパティを開いて、"
    "双方向機能を有効にしてください。";
const std::string kPaused =
    "プリンターは一時停止状態です。\n\n[プリンター]フォルダーを開いて、一時停止チェックを解除してください。";
const std::string kOffline =
    "プリンターはオフラインになっています。\n\n[プリンター]フォルダーを開いて、オフラインチェックを解除してください。";
const std::string kJobsFailed =
    "プリンター（ドライバー）情報取得に失敗しました。\nError : EnumJobs\n\nプログラムを終了します。";
const std::string kOpenFailed =
    "プリンター情報の獲得に失敗しました。\nError : OpenPrinter\n\nプログラムを終了します。";
const std::string kStartDocFailed =
    "プリンター（ドライバー）情報取得に失敗しました。\nError : StartDocPrinter\n\nプログラムを終了します。";
const std::string kListFailed =
    "プリンター（ドライバー）情報取得に失敗しました。\nError : EnumPrinters\n\nプログラムを終了します。";

class DefaultPrinterCheck : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string error;
        ASSERT_TRUE(InstallCheckPrinters(&error)) << error;
        ASSERT_TRUE(EnsureSlot());
    }

    void SetUp() override {
        state_ = NewCheckState();
        ASSERT_NE(state_, nullptr);
        TestSeam_ShortenFixedWaits(kDivisor);
        UseSpoolerScript(SpoolerScript());  // Wine's spooler, an empty job list
        // A status the checks either leave alone or replace.
        ASSERT_TRUE(SetSlotText("ERR_CODE", "300"));
        state_->currentCode = 300;
        state_->previousCode = 300;
    }

    void TearDown() override {
        UseRealSpooler();
        TestSeam_ShortenFixedWaits(1);
        DestroyMonitorState(state_);
    }

    // One check as the tray double-click runs it; the guard is the caller's.
    int Check() {
        const int result = RefreshPrinterStatus(state_);
        EXPECT_TRUE(state_->checkRunning);
        state_->checkRunning = false;
        return result;
    }

    // The one message the check showed: the monitor's caption, error icon,
    // no owner.
    static void ExpectOneError(const BoxWatcher& watcher, const std::string& text) {
        const std::vector<BoxWatcher::Box> boxes = watcher.Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, text);
        EXPECT_EQ(boxes[0].caption, kCaption);
        EXPECT_EQ(boxes[0].icon, BoxWatcher::IconError);
        EXPECT_EQ(boxes[0].owner, nullptr);
    }

    MonitorState* state_ = nullptr;
};

TEST_F(DefaultPrinterCheck, StatusRefreshSendsTheDummyJobToTheLptPort) {
    ASSERT_TRUE(MakeDefaultPrinter(kCheckLpt));
    const std::string before = LptJobs();
    BoxWatcher watcher;
    const DWORD start = GetTickCount();
    EXPECT_EQ(Check(), 0);
    EXPECT_GE(GetTickCount() - start, 2000 / kDivisor);  // the pause after the job
    EXPECT_TRUE(watcher.Boxes().empty());
    // Wine's spooler hands the port the job's bytes at EndDocPrinter.
    EXPECT_EQ(LptJobs(), before + kDummyJob);
    EXPECT_EQ(SlotText("ERR_CODE"), "100");
    EXPECT_EQ(state_->currentCode, 100);
    EXPECT_EQ(state_->previousCode, 100);
}

TEST_F(DefaultPrinterCheck, Usb001IsAnAcceptedPortToo) {
    ASSERT_TRUE(MakeDefaultPrinter(kCheckUsb));
    const std::string lpt = LptJobs();
    const std::string usb = UsbJobs();
    BoxWatcher watcher;
    EXPECT_EQ(Check(), 0);
    EXPECT_TRUE(watcher.Boxes().empty());
    EXPECT_EQ(UsbJobs(), usb + kDummyJob);
    EXPECT_EQ(LptJobs(), lpt);
    EXPECT_EQ(SlotText("ERR_CODE"), "100");
}

TEST_F(DefaultPrinterCheck, Usb100AndCom1AreWrongPorts) {
    for (const char* printer : {kCheckUsb100, kCheckCom1}) {
        ASSERT_TRUE(MakeDefaultPrinter(printer));
        const std::string before = LptJobs();
        BoxWatcher watcher;
        EXPECT_EQ(Check(), 1) << printer;
        ExpectOneError(watcher, kWrongPort);
        EXPECT_EQ(SlotText("ERR_CODE"), "300") << printer;
        EXPECT_EQ(LptJobs(), before);
    }
}

TEST_F(DefaultPrinterCheck, SupportedPrinterThatIsNotTheDefault) {
    ASSERT_TRUE(MakeDefaultPrinter(kOtherPrinter));
    BoxWatcher watcher;
    EXPECT_EQ(Check(), 1);
    ExpectOneError(watcher, kNotDefault);
    EXPECT_EQ(SlotText("ERR_CODE"), "300");
}

TEST_F(DefaultPrinterCheck, NoSupportedPrinterAtAllIsFatal) {
    ASSERT_TRUE(MakeDefaultPrinter(kOtherPrinter));
    SpoolerScript script;
    script.hideSupported = true;
    UseSpoolerScript(script);
    BoxWatcher watcher;
    EXPECT_EQ(Check(), 2);
    ExpectOneError(watcher, kNoPrinter);
}

TEST_F(DefaultPrinterCheck, FindSupportedPrinterLooksAtEveryPrinter) {
    BoxWatcher watcher;
    EXPECT_EQ(FindSupportedPrinter(), 1);
    SpoolerScript script;
    script.hideSupported = true;
    UseSpoolerScript(script);
    EXPECT_EQ(FindSupportedPrinter(), 0);
    EXPECT_TRUE(watcher.Boxes().empty());
}

TEST_F(DefaultPrinterCheck, BidirectionalSupportOff) {
    ASSERT_TRUE(MakeDefaultPrinter(kCheckNoBidi));
    const std::string before = LptJobs();
    BoxWatcher watcher;
    EXPECT_EQ(Check(), 1);
    ExpectOneError(watcher, kBidiOff);
    EXPECT_EQ(SlotText("ERR_CODE"), "0");
    EXPECT_EQ(LptJobs(), before);
}

TEST_F(DefaultPrinterCheck, WorkOffline) {
    ASSERT_TRUE(MakeDefaultPrinter(kCheckOffline));
    BoxWatcher watcher;
    EXPECT_EQ(Check(), 1);
    ExpectOneError(watcher, kOffline);
    EXPECT_EQ(SlotText("ERR_CODE"), "0");
}

TEST_F(DefaultPrinterCheck, PausedPrinterSetsCodeZeroAndTellsTheUser) {
    ASSERT_TRUE(MakeDefaultPrinter(kCheckLpt));
    SpoolerScript script;
    script.pausedPrinter = kCheckLpt;
    UseSpoolerScript(script);
    const std::string before = LptJobs();
    BoxWatcher watcher;
    EXPECT_EQ(Check(), 1);
    ExpectOneError(watcher, kPaused);
    EXPECT_EQ(SlotText("ERR_CODE"), "0");
    EXPECT_EQ(LptJobs(), before);
    EXPECT_EQ(EnumJobsCalls(), 0);
}

TEST_F(DefaultPrinterCheck, BidirectionalSupportIsLookedAtBeforeThePause) {
    ASSERT_TRUE(MakeDefaultPrinter(kCheckNoBidi));
    SpoolerScript script;
    script.pausedPrinter = kCheckNoBidi;
    UseSpoolerScript(script);
    BoxWatcher watcher;
    EXPECT_EQ(Check(), 1);
    ExpectOneError(watcher, kBidiOff);
}

TEST_F(DefaultPrinterCheck, JobPrintingSetsCodeHundredWithoutTheDummyJob) {
    ASSERT_TRUE(MakeDefaultPrinter(kCheckLpt));
    SpoolerScript script;
    script.jobs = SpoolerScript::OnePrinting;  // position 0 spooling, 1 printing
    UseSpoolerScript(script);
    const std::string before = LptJobs();
    BoxWatcher watcher;
    const DWORD start = GetTickCount();
    EXPECT_EQ(Check(), 0);
    EXPECT_GE(GetTickCount() - start, 2000 / kDivisor);
    EXPECT_TRUE(watcher.Boxes().empty());
    EXPECT_EQ(SlotText("ERR_CODE"), "100");
    EXPECT_EQ(state_->currentCode, 100);
    EXPECT_EQ(state_->previousCode, 100);
    EXPECT_EQ(LptJobs(), before);
}

TEST_F(DefaultPrinterCheck, DeletedAndPrintedJobsDoNotCount) {
    ASSERT_TRUE(MakeDefaultPrinter(kCheckLpt));
    SpoolerScript script;
    script.jobs = SpoolerScript::OneDeleting;  // printing but deleting; printing but printed
    UseSpoolerScript(script);
    const std::string before = LptJobs();
    BoxWatcher watcher;
    EXPECT_EQ(Check(), 0);
    EXPECT_TRUE(watcher.Boxes().empty());
    EXPECT_EQ(LptJobs(), before + kDummyJob);
    EXPECT_GE(EnumJobsCalls(), 3);  // positions 0, 1 and the end of the list
}

TEST_F(DefaultPrinterCheck, UnreadableJobListIsFatal) {
    ASSERT_TRUE(MakeDefaultPrinter(kCheckLpt));
    SpoolerScript script;
    script.jobs = SpoolerScript::JobsUnreadable;
    UseSpoolerScript(script);
    const std::string before = LptJobs();
    BoxWatcher watcher;
    EXPECT_EQ(Check(), 2);
    ExpectOneError(watcher, kJobsFailed);
    EXPECT_EQ(SlotText("ERR_CODE"), "300");
    EXPECT_EQ(LptJobs(), before);
}

TEST_F(DefaultPrinterCheck, PrinterThatCannotBeOpenedIsFatal) {
    ASSERT_TRUE(MakeDefaultPrinter(kCheckLpt));
    SpoolerScript script;
    script.openFails = true;
    UseSpoolerScript(script);
    BoxWatcher watcher;
    EXPECT_EQ(Check(), 2);
    ExpectOneError(watcher, kOpenFailed);
}

TEST_F(DefaultPrinterCheck, DummyJobThatCannotStartIsFatal) {
    ASSERT_TRUE(MakeDefaultPrinter(kCheckLpt));
    SpoolerScript script;
    script.startDocFails = true;
    UseSpoolerScript(script);
    const std::string before = LptJobs();
    BoxWatcher watcher;
    EXPECT_EQ(Check(), 2);
    ExpectOneError(watcher, kStartDocFailed);
    EXPECT_EQ(SlotText("ERR_CODE"), "300");
    EXPECT_EQ(LptJobs(), before);
}

TEST_F(DefaultPrinterCheck, PrinterListIsAskedAgainAfterFailures) {
    TestSeam_ShortenFixedWaits(1000);  // 1 s between attempts becomes 1 ms
    ASSERT_TRUE(MakeDefaultPrinter(kCheckLpt));
    SpoolerScript script;
    script.listFailures = 3;
    UseSpoolerScript(script);
    BoxWatcher watcher;
    EXPECT_EQ(Check(), 0);
    EXPECT_TRUE(watcher.Boxes().empty());
    // Three failures, then the size query and the list itself.
    EXPECT_EQ(EnumPrintersCalls(), 5);
}

TEST_F(DefaultPrinterCheck, PrinterListFailingSixtyOneTimesIsFatal) {
    TestSeam_ShortenFixedWaits(1000);
    SpoolerScript script;
    script.listFailures = -1;
    UseSpoolerScript(script);
    BoxWatcher watcher;
    EXPECT_EQ(Check(), 2);
    ExpectOneError(watcher, kListFailed);
    EXPECT_EQ(EnumPrintersCalls(), 61);
    EXPECT_EQ(FindSupportedPrinter(), 2);
}

TEST_F(DefaultPrinterCheck, CheckWhileAnotherRunsDoesNothing) {
    ASSERT_TRUE(MakeDefaultPrinter(kCheckLpt));
    const std::string before = LptJobs();
    state_->checkRunning = true;
    BoxWatcher watcher;
    EXPECT_EQ(RefreshPrinterStatus(state_), CheckDone);
    EXPECT_TRUE(state_->checkRunning);
    state_->checkRunning = false;
    EXPECT_TRUE(watcher.Boxes().empty());
    EXPECT_EQ(LptJobs(), before);
    EXPECT_EQ(SlotText("ERR_CODE"), "300");
}

TEST_F(DefaultPrinterCheck, LongDefaultPrinterNameIsMatchedWhole) {
    const std::string name = LongPrinterName();
    ASSERT_GT(name.size(), 150u);
    ASSERT_TRUE(MakeDefaultPrinter(name));
    const std::string before = LptJobs();
    BoxWatcher watcher;
    EXPECT_EQ(Check(), 0);
    EXPECT_TRUE(watcher.Boxes().empty());
    EXPECT_EQ(LptJobs(), before + kDummyJob);
    EXPECT_EQ(SlotText("ERR_CODE"), "100");
}

TEST_F(DefaultPrinterCheck, PrinterNamedAfterTheDefaultsFirstFiftyCharactersIsNotIt) {
    // With the default printer's name cut at 50 characters, the printer
    // named by those 50 would be taken for it; paused, it would say so.
    ASSERT_TRUE(MakeDefaultPrinter(LongPrinterName()));
    SpoolerScript script;
    script.pausedPrinter = LongPrinterName().substr(0, 50);
    UseSpoolerScript(script);
    BoxWatcher watcher;
    EXPECT_EQ(Check(), 0);
    EXPECT_TRUE(watcher.Boxes().empty());
}

}  // namespace
