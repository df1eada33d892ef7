// The registry stand-in itself: the scripted status sequence, the fresh
// status after the monitor's dummy job, and the state written again over the
// defaults of a starting monitor.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/timing.h"
#include "monitor/status_refresh.h"
#include "tests/win/checks_support.h"
#include "tests/win/wait_until.h"

namespace {

class RegistryStandIn : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string error;
        ASSERT_TRUE(InstallCheckPrinters(&error)) << error;
    }
    void SetUp() override {
        ASSERT_TRUE(EnsureSlot());
        // The slot outlives the tests of the run: a cancel request or a
        // monitor's start that another test left in it would be answered by
        // the stand-in here, changing the state it writes back.
        ASSERT_TRUE(SetSlotText("LM_JOB_CANCEL", "RQ_NORMAL"));
        ASSERT_TRUE(SetSlotText("RST_DVD", "0"));
    }
    void TearDown() override {
        standIn_.Stop();
        UseRealSpooler();
        TestSeam_ShortenFixedWaits(1);
    }
    RegStandIn standIn_;
};

TEST_F(RegistryStandIn, PlaysTheStatusSequenceOverTime) {
    ASSERT_TRUE(standIn_.Start("# printing, then offline, then printable with the head due\n"
                               "set ERR_CODE 2\nset HEAD_SPAN byte 0\n"
                               "at 300 set ERR_CODE 300\n"
                               "at 600 set HEAD_SPAN byte 90\nat 600 set ERR_CODE 0\n"));
    EXPECT_EQ(SlotText("ERR_CODE"), "2");  // before it reports ready
    EXPECT_TRUE(WaitForSlotText("ERR_CODE", "300", 5000));
    EXPECT_TRUE(WaitForSlotText("ERR_CODE", "0", 5000));
    EXPECT_EQ(SlotBinary("HEAD_SPAN"), std::string(1, '\x5a'));
    const std::string log = standIn_.Log();
    const std::size_t ready = log.find(" ready\n");
    const std::size_t offline = log.find(" set ERR_CODE \"300\"\n");
    const std::size_t head = log.find(" set HEAD_SPAN byte 90\n");
    EXPECT_LT(log.find(" set ERR_CODE \"2\"\n"), ready);
    EXPECT_LT(ready, offline);
    EXPECT_LT(offline, head);
    EXPECT_NE(head, std::string::npos);
}

TEST_F(RegistryStandIn, AnswersTheDummyJobWithAFreshStatus) {
    ASSERT_TRUE(MakeDefaultPrinter(kCheckLpt));
    ASSERT_TRUE(standIn_.Start("set PRT_NAME KOA Check LPT\nset ERR_CODE 300\n", "--dummy-ms 1000"));
    MonitorState* state = NewCheckState();
    ASSERT_NE(state, nullptr);
    TestSeam_ShortenFixedWaits(20);
    UseSpoolerScript(SpoolerScript());  // Wine's spooler, an empty job list
    EXPECT_EQ(RefreshPrinterStatus(state), CheckDone);
    DestroyMonitorState(state);
    EXPECT_EQ(SlotText("ERR_CODE"), "100");  // "[情報取得中]" until the fresh status
    EXPECT_TRUE(standIn_.WaitFor(" job tzrahWindow-Dummy\n", 5000)) << standIn_.Log();
    EXPECT_TRUE(WaitForSlotText("ERR_CODE", "300", 5000));
    EXPECT_NE(standIn_.Log().find(" state written again\n"), std::string::npos);
}

TEST_F(RegistryStandIn, WritesItsStateAgainOverAStartingMonitorsDefaults) {
    ASSERT_TRUE(standIn_.Start("set PRT_NAME KOA Check LPT\nset ERR_CODE 302\nset DOC_NAME report.txt\n"));
    // What a starting status monitor writes, in its order.
    ASSERT_TRUE(SetSlotText("RST_DVD", "999"));
    ASSERT_TRUE(SetSlotText("PRT_NAME", "  "));
    ASSERT_TRUE(SetSlotText("ERR_CODE", "0000"));
    ASSERT_TRUE(SetSlotText("DOC_NAME", "  "));
    ASSERT_TRUE(SetSlotText("RST_DVD", "0"));
    // The slot itself, not the log: a write of the state that raced the
    // defaults above also logs "state written again", and only the one after
    // RST_DVD "0" must leave the whole state in place.
    EXPECT_TRUE(WaitUntil(
        [] {
            return SlotText("PRT_NAME") == "KOA Check LPT" && SlotText("ERR_CODE") == "302" &&
                   SlotText("DOC_NAME") == "report.txt";
        },
        5000))
        << "PRT_NAME \"" << SlotText("PRT_NAME") << "\", ERR_CODE \"" << SlotText("ERR_CODE") << "\", DOC_NAME \""
        << SlotText("DOC_NAME") << "\"\n" << standIn_.Log();
    EXPECT_NE(standIn_.Log().find(" monitor started\n"), std::string::npos);
}

TEST_F(RegistryStandIn, RefusesAScriptLineItDoesNotUnderstand) {
    EXPECT_FALSE(standIn_.Start("set ERR_CODE 0\nat soon set ERR_CODE 300\n"));
    EXPECT_FALSE(standIn_.Start("set HEAD_SPAN byte 256\n"));
}

}  // namespace
