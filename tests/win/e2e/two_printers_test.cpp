// One language-monitor stand-in serving two printers, each on its own port
// with its own emulator (lmstand --printer): whichever printer the program
// talks to is the one that answers, as on a machine with both models.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/timing.h"
#include "link/choice/printer_target.h"
#include "panel/exchange/printer_exchange.h"
#include "panel/core/setting_items.h"
#include "panel/records/panel_records.h"
#include "tests/win/e2e/e2e_support.h"

namespace {

const unsigned kDivisor = 20;  // fixed waits at a twentieth

class TwoPrinters : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string error;
        ASSERT_TRUE(InstallTestPrinters(&error)) << error;
    }

    void SetUp() override {
        ASSERT_TRUE(AllocateGlobals());
        TestSeam_ShortenFixedWaits(kDivisor);
        CancelPending = false;
        // The first printer (LPT1:) a koa2400Max-R, the second (USB001) a
        // koa2600Max-R, each set apart from the factory values and from
        // each other.
        ASSERT_TRUE(WriteWholeFile(ScratchPath("usb-emulator.cfg"), "model koa260MR\nvalue FRC-LFVA 3LPI\n"));
        const std::string second =
            "--printer \"" + ScratchPath("jobs-usb.bin") + "\" \"" + ScratchPath("usb-emulator.cfg") + "\"";
        ASSERT_TRUE(standIn_.Start("model koa240MR\nvalue FRC-LFVA 8LPI\n", "jobs-lpt.bin", second))
            << "language-monitor stand-in did not start";
    }

    void TearDown() override {
        standIn_.Stop();
        ReleaseGlobals();
        TestSeam_ShortenFixedWaits(1);
    }

    static void UseTarget(const char* printer, const char* port, ModelCode model) {
        std::memset(&CurrentTarget, 0, sizeof CurrentTarget);
        std::strcpy(CurrentTarget.PrinterName, printer);
        std::strcpy(CurrentTarget.PortName, port);
        CurrentTarget.ConnectionKind = ConnectSpooler;
        CurrentTarget.Model = model;
    }

    StandIn standIn_;
};

TEST_F(TwoPrinters, EachPrinterAnswersForItsOwnPort) {
    BoxWatcher watcher;
    UseTarget(kUsbPrinter, "USB001", ModelKoa2600MaxR);
    ASSERT_EQ(ReadFromPrinter(ReadModelAndSettings, nullptr), 1);
    EXPECT_EQ(*DetectedModel, static_cast<std::uint32_t>(ModelKoa2600MaxR));
    EXPECT_EQ(CurrentSettings->value[SettingIndex("FRC-LFVA")], 0);  // "3LPI"
    // The record is the first printer's: the second one's talk is not in it.
    EXPECT_EQ(standIn_.Received(), "");

    UseTarget(kLptPrinter, "LPT1:", ModelKoa2400MaxR);
    ASSERT_EQ(ReadFromPrinter(ReadModelAndSettings, nullptr), 1);
    EXPECT_EQ(*DetectedModel, static_cast<std::uint32_t>(ModelKoa2400MaxR));
    EXPECT_EQ(CurrentSettings->value[SettingIndex("FRC-LFVA")], 3);  // "8LPI"
    EXPECT_NE(standIn_.Received().find("?NVRAM  \r"), std::string::npos);

    // And back: the second printer again, after the first one's service ended.
    UseTarget(kUsbPrinter, "USB001", ModelKoa2600MaxR);
    ASSERT_EQ(ReadFromPrinter(ReadModelAndSettings, nullptr), 1);
    EXPECT_EQ(*DetectedModel, static_cast<std::uint32_t>(ModelKoa2600MaxR));
    EXPECT_TRUE(watcher.Boxes().empty());
}

}  // namespace
