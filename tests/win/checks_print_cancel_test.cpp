// Print cancel from the status monitor, in this process, with the registry
// stand-in playing the language monitor's side of the slot.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/timing.h"
#include "monitor/print_cancel.h"
#include "tests/win/checks_support.h"

namespace {

class PrintCancel : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string error;
        ASSERT_TRUE(InstallCheckPrinters(&error)) << error;
    }

    void SetUp() override {
        ASSERT_TRUE(EnsureSlot());
        ASSERT_TRUE(SetSlotText("LM_JOB_CANCEL", "RQ_NORMAL"));
        state_ = NewCheckState();
        ASSERT_NE(state_, nullptr);
    }

    void TearDown() override {
        standIn_.Stop();
        TestSeam_ShortenFixedWaits(1);
        DestroyMonitorState(state_);
        EnsureSlot();
    }

    void Serve(const std::string& script, const std::string& options = "") {
        ASSERT_TRUE(standIn_.Start(script, options)) << "registry stand-in did not start";
    }

    MonitorState* state_ = nullptr;
    RegStandIn standIn_;
};

const char kPrinting[] = "set ERR_CODE 2\nset DOC_NAME report.txt\nset USR_NAME tanaka\n";

TEST_F(PrintCancel, LanguageMonitorClearsTheDocumentName) {
    Serve(kPrinting);
    ASSERT_EQ(SlotText("DOC_NAME"), "report.txt");
    const DWORD start = GetTickCount();
    EXPECT_TRUE(RequestPrintCancel(state_));
    EXPECT_LT(GetTickCount() - start, 5000u);
    EXPECT_TRUE(standIn_.WaitFor(" cancel answered\n", 5000)) << standIn_.Log();
    EXPECT_NE(standIn_.Log().find(" cancel requested\n"), std::string::npos);
    EXPECT_EQ(SlotText("DOC_NAME"), "  ");
    EXPECT_EQ(state_->messageKey, nullptr);  // the keys are closed again
    EXPECT_EQ(state_->slotKey, nullptr);
}

TEST_F(PrintCancel, WaitsAThousandPollsWhenTheDocumentNameStays) {
    Serve(kPrinting, "--ignore-cancel");
    TestSeam_ShortenFixedWaits(5);  // 1000 polls 2 ms apart instead of 10 ms
    const DWORD start = GetTickCount();
    EXPECT_TRUE(RequestPrintCancel(state_));
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 1900u);
    EXPECT_LT(elapsed, 15000u);
    EXPECT_TRUE(standIn_.WaitFor(" cancel ignored\n", 5000)) << standIn_.Log();
    // The request stays posted: resetting it is the language monitor's part.
    EXPECT_EQ(SlotText("LM_JOB_CANCEL"), "RQ_CANCEL");
    EXPECT_EQ(SlotText("DOC_NAME"), "report.txt");
}

TEST_F(PrintCancel, RequestIsTenBytesWithItsZero) {
    Serve(kPrinting, "--ignore-cancel");
    TestSeam_ShortenFixedWaits(1000);
    EXPECT_TRUE(RequestPrintCancel(state_));
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\KOA\\tzraMonitor-msg\\1", 0, KEY_QUERY_VALUE, &key),
              ERROR_SUCCESS);
    DWORD type = 0, size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "LM_JOB_CANCEL", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 10u);
}

TEST_F(PrintCancel, OneBlankEndsTheWaitToo) {
    // The real 10 ms polls; the stand-in writes " " about a second in.
    Serve(std::string(kPrinting) + "at 1000 set DOC_NAME \" \"\n", "--ignore-cancel");
    const DWORD start = GetTickCount();
    EXPECT_TRUE(RequestPrintCancel(state_));
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_LT(elapsed, 6000u);
    EXPECT_EQ(SlotText("DOC_NAME"), " ");
}

TEST_F(PrintCancel, UnreadableDocumentNameStopsTheWait) {
    Serve(std::string(kPrinting) + "delete DOC_NAME\n", "--ignore-cancel");
    const DWORD start = GetTickCount();
    EXPECT_FALSE(RequestPrintCancel(state_));
    EXPECT_LT(GetTickCount() - start, 2000u);
    EXPECT_EQ(SlotText("LM_JOB_CANCEL"), "RQ_CANCEL");
    EXPECT_EQ(state_->slotKey, nullptr);
}

TEST_F(PrintCancel, MissingSlotPostsNothing) {
    ASSERT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\KOA\\tzraMonitor-msg\\1"), ERROR_SUCCESS);
    EXPECT_FALSE(RequestPrintCancel(state_));
    EXPECT_EQ(state_->messageKey, nullptr);
    EXPECT_EQ(SlotText("LM_JOB_CANCEL"), "<missing>");
}

}  // namespace
