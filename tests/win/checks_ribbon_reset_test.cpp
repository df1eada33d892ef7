// The ribbon reset from the status monitor, in this process: the question,
// the default printer's checks, ESC e R6 through the command channel to the
// language-monitor stand-in and the printer emulator, and the registry slot.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/timing.h"
#include "link/channel/object_names.h"
#include "link/channel/printer_link.h"
#include "monitor/ribbon_reset.h"
#include "tests/win/checks_support.h"
#include "tests/win/e2e/e2e_support.h"

namespace {

// The channel's bound becomes 3 s.
const unsigned kDivisor = 20;
const std::string kCaption = "ｽﾃｰﾀｽﾓﾆﾀｰ";
const std::string kRibbonReset = std::string("\x1b") + "eR6";

const std::string kQuestion =
    "リボン消耗情報を初期化します。\nよろしいですか？\n\nプリンターがオンラインになっていることを確認してください。";
const std::string kNoAnswer =
    "プリンターからの応答がありません｡\n\nプリンターが接続されていないか電源が入っていないか、\n"
    "又はオフラインになっています。\n\nプリンターのエラーを解除してプリンターの電源を再投入して下さい。";
const std::string kSpoolBusy =
    "スプールに印刷ジョブが残っています。\n\nスプールに残っている印刷ジョブの印刷を完了させてから\n"
    "[OK]ボタンをクリックして再度選択して下さい。";
const std::string kPaused =
    "プリンターは一時停止状態です。\n\n[プリンター]フォルダーを開いて、一時停止チェックを解除してください。";

// Holds a named mutex on a thread of its own (a mutex is re-entrant for the
// thread that owns it, so the test's own thread cannot play the other holder).
class OtherHolder {
public:
    explicit OtherHolder(const char* name) : name_(name) {
        held_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        release_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, Hold, this, 0, nullptr);
        WaitForSingleObject(held_, 10000);
    }
    ~OtherHolder() {
        SetEvent(release_);
        WaitForSingleObject(thread_, 10000);
        CloseHandle(thread_);
        CloseHandle(release_);
        CloseHandle(held_);
    }
    OtherHolder(const OtherHolder&) = delete;
    OtherHolder& operator=(const OtherHolder&) = delete;

private:
    static DWORD WINAPI Hold(void* self) {
        OtherHolder& h = *static_cast<OtherHolder*>(self);
        HANDLE mutex = CreateMutexA(nullptr, TRUE, h.name_);
        SetEvent(h.held_);
        WaitForSingleObject(h.release_, INFINITE);
        if (mutex) {
            ReleaseMutex(mutex);
            CloseHandle(mutex);
        }
        return 0;
    }
    const char* name_;
    HANDLE held_;
    HANDLE release_;
    HANDLE thread_;
};

class RibbonReset : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string error;
        ASSERT_TRUE(InstallCheckPrinters(&error)) << error;
        ASSERT_TRUE(EnsureSlot());
    }

    void SetUp() override {
        state_ = NewCheckState();
        ASSERT_NE(state_, nullptr);
        window_ = CreateWindowExA(0, "STATIC", "monitor", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        page_ = CreateWindowExA(0, "STATIC", "consumables", WS_POPUP, 0, 0, 10, 10, window_, nullptr, nullptr,
                                nullptr);
        ASSERT_TRUE(window_ && page_);
        TestSeam_ShortenFixedWaits(kDivisor);
        UseSpoolerScript(SpoolerScript());  // Wine's spooler, an empty job list
        ASSERT_TRUE(MakeDefaultPrinter(kCheckLpt));
        // The ribbon is due: code 204, RIBBON_SPAN 100.
        ASSERT_TRUE(SetSlotText("ERR_CODE", "204"));
        ASSERT_TRUE(SetSlotByte("RIBBON_SPAN", 100));
        state_->currentCode = 204;
        ASSERT_TRUE(standIn_.Start("counter 6 123456\n")) << "language-monitor stand-in did not start";
    }

    void TearDown() override {
        standIn_.Stop();
        UseRealSpooler();
        TestSeam_ShortenFixedWaits(1);
        if (page_) DestroyWindow(page_);
        if (window_) DestroyWindow(window_);
        DestroyMonitorState(state_);
    }

    int Reset() {
        const int result = ResetRibbonFromMonitor(page_, window_, state_);
        EXPECT_FALSE(state_->checkRunning);
        return result;
    }

    // The question (owned by the page), then the result box of the reset
    // (owned by the monitor window) with its user icon.
    void ExpectQuestionThen(const BoxWatcher& watcher, const std::string& text, int icon) {
        const std::vector<BoxWatcher::Box> boxes = watcher.Boxes();
        ASSERT_EQ(boxes.size(), 2u);
        ExpectQuestion(boxes[0]);
        EXPECT_EQ(boxes[1].text, text);
        EXPECT_EQ(boxes[1].caption, kCaption);
        EXPECT_EQ(boxes[1].owner, window_);
        EXPECT_EQ(boxes[1].icon, icon);
    }

    void ExpectQuestion(const BoxWatcher::Box& box) {
        EXPECT_EQ(box.text, kQuestion);
        EXPECT_EQ(box.caption, kCaption);
        EXPECT_EQ(box.owner, page_);
        EXPECT_EQ(box.icon, BoxWatcher::IconQuestion);
    }

    // Nothing reached the printer, no connection job went out, and the slot
    // is as it was.
    void ExpectNothingSent(const std::string& jobsBefore) {
        EXPECT_EQ(standIn_.Received(), "");
        EXPECT_EQ(LptJobs(), jobsBefore);
        EXPECT_NE(standIn_.State().find("counter 6 123456\n"), std::string::npos);
        EXPECT_EQ(SlotText("ERR_CODE"), "204");
        EXPECT_EQ(SlotBinary("RIBBON_SPAN"), std::string(1, '\x64'));
    }

    MonitorState* state_ = nullptr;
    HWND window_ = nullptr;
    HWND page_ = nullptr;
    StandIn standIn_;
};

TEST_F(RibbonReset, ReachesThePrinterAndClearsTheRibbonInTheSlot) {
    const std::string before = LptJobs();
    BoxWatcher watcher(IDOK);
    EXPECT_EQ(Reset(), 0);
    const std::vector<BoxWatcher::Box> boxes = watcher.Boxes();
    ASSERT_EQ(boxes.size(), 1u);  // the question only
    ExpectQuestion(boxes[0]);
    // The connection job reached the port, the command the printer.
    EXPECT_EQ(LptJobs(), before + "\x18");
    EXPECT_EQ(standIn_.Received(), kRibbonReset);
    EXPECT_NE(standIn_.State().find("counter 6 0\n"), std::string::npos) << standIn_.State();
    EXPECT_EQ(SlotBinary("RIBBON_SPAN"), std::string(1, '\0'));
    EXPECT_EQ(SlotText("ERR_CODE"), "0");
}

TEST_F(RibbonReset, CancelledQuestionDoesNothing) {
    const std::string before = LptJobs();
    BoxWatcher watcher(IDCANCEL);
    EXPECT_EQ(Reset(), 0);
    const std::vector<BoxWatcher::Box> boxes = watcher.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    ExpectQuestion(boxes[0]);
    ExpectNothingSent(before);
}

TEST_F(RibbonReset, JobPrintingGivesTheSpoolMessageAndSendsNothing) {
    SpoolerScript script;
    script.jobs = SpoolerScript::OnePrinting;
    UseSpoolerScript(script);
    const std::string before = LptJobs();
    BoxWatcher watcher(IDOK);
    EXPECT_EQ(Reset(), 0);
    ExpectQuestionThen(watcher, kSpoolBusy, 212);
    ExpectNothingSent(before);
}

TEST_F(RibbonReset, UnreadableJobListGivesTheSpoolMessageToo) {
    SpoolerScript script;
    script.jobs = SpoolerScript::JobsUnreadable;
    UseSpoolerScript(script);
    const std::string before = LptJobs();
    BoxWatcher watcher(IDOK);
    EXPECT_EQ(Reset(), 0);
    ExpectQuestionThen(watcher, kSpoolBusy, 212);
    ExpectNothingSent(before);
}

TEST_F(RibbonReset, AnotherHolderOfTheDisposablesMutexMeansNoAnswer) {
    const std::string before = LptJobs();
    OtherHolder holder(CurrentKernelObjectNames().disposablesMutex);
    BoxWatcher watcher(IDOK);
    const DWORD start = GetTickCount();
    EXPECT_EQ(Reset(), 0);
    EXPECT_LT(GetTickCount() - start, 2000u);  // the monitor never waits for it
    ExpectQuestionThen(watcher, kNoAnswer, 213);
    ExpectNothingSent(before);
}

TEST_F(RibbonReset, PrinterThatDoesNotTakeTheCommandMeansNoAnswer) {
    ASSERT_TRUE(standIn_.Start("counter 6 123456\n", "jobs-lpt.bin", "--fail-request 1"));
    BoxWatcher watcher(IDOK);
    EXPECT_EQ(Reset(), 0);
    ExpectQuestionThen(watcher, kNoAnswer, 213);
    EXPECT_EQ(standIn_.Received(), "");
    EXPECT_EQ(SlotText("ERR_CODE"), "204");
    EXPECT_EQ(SlotBinary("RIBBON_SPAN"), std::string(1, '\x64'));
}

// A request of the remote panel that the language monitor finishes only
// after the panel gave up on it (the bound is 3 s): its copy lands while the
// reset waits for its own outcome. The reset is posted again and reaches the
// printer, and only then is the ribbon cleared in the slot.
TEST_F(RibbonReset, ALateCopyOfAnotherRequestIsNotTakenForTheReset) {
    ASSERT_TRUE(standIn_.Start("counter 6 123456\n", "jobs-lpt.bin", "--answer-late 1 --late-ms 5500"));
    ASSERT_EQ(OpenPrinterLink(), 1);
    ASSERT_TRUE(AttachLink(kCheckLpt));
    EXPECT_EQ(LinkExchange(LinkSend, "CANCEL  \r", 9), 0u);
    DetachLink();
    ClosePrinterLink();

    BoxWatcher watcher(IDOK);
    EXPECT_EQ(Reset(), 0);
    ASSERT_EQ(watcher.Boxes().size(), 1u) << "the question only";
    EXPECT_EQ(standIn_.Received(), "CANCEL  \r" + kRibbonReset);
    EXPECT_NE(standIn_.State().find("counter 6 0\n"), std::string::npos) << standIn_.State();
    EXPECT_EQ(SlotBinary("RIBBON_SPAN"), std::string(1, '\0'));
    EXPECT_EQ(SlotText("ERR_CODE"), "0");
}

TEST_F(RibbonReset, PausedPrinterIsReportedWithoutTouchingTheStatus) {
    SpoolerScript script;
    script.pausedPrinter = kCheckLpt;
    UseSpoolerScript(script);
    const std::string before = LptJobs();
    BoxWatcher watcher(IDOK);
    EXPECT_EQ(Reset(), 0);
    const std::vector<BoxWatcher::Box> boxes = watcher.Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, kPaused);
    EXPECT_EQ(boxes[1].icon, BoxWatcher::IconError);
    EXPECT_EQ(boxes[1].owner, nullptr);
    ExpectNothingSent(before);  // ERR_CODE stays: the ribbon reset does not set "0"
}

TEST_F(RibbonReset, FatalCheckEndsTheProgram) {
    SpoolerScript script;
    script.openFails = true;
    UseSpoolerScript(script);
    BoxWatcher watcher(IDOK);
    EXPECT_EQ(Reset(), 2);
    EXPECT_EQ(watcher.Boxes().size(), 2u);
}

}  // namespace
