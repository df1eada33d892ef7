// Which channel a printer's port and spooler state allow, the bounded name
// copy, and which kinds bring a message.
#include "link/choice/port_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "link/choice/choice_texts.h"

namespace {

const std::uint32_t kBidi = PortAttributeEnableBidi;
const std::uint32_t kOffline = PortAttributeWorkOffline;
const std::uint32_t kPaused = PortStatusPaused;
// Every reason to refuse at once: only the port tests can get past them.
const std::uint32_t kAllWrongAttributes = kOffline;  // bidi off, offline

TEST(PortRules, LocalPortsWithBidiAndNothingElseUseTheSpooler) {
    for (const char* port : {"LPT1:", "LPT2:", "USB001", "USB100", "IP_USB1", "DOT4_LPT1", "LPT1:,USB001"})
        EXPECT_EQ(ClassifyPort(port, kBidi, 0, nullptr), 0) << port;
    EXPECT_EQ(ClassifyPort("USB001", kBidi, 0, ""), 0) << "an empty separator file is none";
}

TEST(PortRules, LanPortSkipsEveryOtherTest) {
    EXPECT_EQ(ClassifyPort("192.168.1.20:lp", kBidi, 0, nullptr), 1);
    EXPECT_EQ(ClassifyPort("192.168.1.20:lp", kAllWrongAttributes, kPaused, "sep.sep"), 1);
    EXPECT_EQ(ClassifyPort("FILE::lp", 0, kPaused, nullptr), 1) << "before the FILE test";
    EXPECT_EQ(ClassifyPort("printer:lp1", 0, 0, nullptr), 1) << "anywhere in the name";
    EXPECT_EQ(ClassifyPort("192.168.1.20:LP", kBidi, 0, nullptr), 16) << "case-sensitive";
    EXPECT_EQ(ClassifyPort("192.168.1.20lp", kBidi, 0, nullptr), 16) << "the colon belongs to it";
}

TEST(PortRules, FileOnlyAtTheStart) {
    EXPECT_EQ(ClassifyPort("FILE:", kBidi, 0, nullptr), 2);
    EXPECT_EQ(ClassifyPort("FILE:", kAllWrongAttributes, kPaused, "x"), 2);
    EXPECT_EQ(ClassifyPort("FILE:LPT1", kBidi, 0, nullptr), 2);
    EXPECT_EQ(ClassifyPort("LPT1:,FILE:", kBidi, 0, nullptr), 0) << "FILE: later in a port list";
    EXPECT_EQ(ClassifyPort("USB001,FILE:", 0, 0, nullptr), 4);
    EXPECT_EQ(ClassifyPort(" FILE:", kBidi, 0, nullptr), 16);
    EXPECT_EQ(ClassifyPort("file:", kBidi, 0, nullptr), 16);
    EXPECT_EQ(ClassifyPort("FILE", kBidi, 0, nullptr), 16);
}

TEST(PortRules, OtherPortsAreRefusedWhateverTheirState) {
    for (const char* port : {"COM1:", "usb001", "lpt1:", "Usb001", "http://host/ipp/print", "", "NUL:", "XPSPort:"})
        EXPECT_EQ(ClassifyPort(port, kBidi, 0, nullptr), 16) << port;
    EXPECT_EQ(ClassifyPort("usb001", 0, kPaused, nullptr), 16) << "before the bidirectional test";
    EXPECT_EQ(ClassifyPort(nullptr, kBidi, 0, nullptr), 16);
    EXPECT_EQ(ClassifyPort("COM1:,USB001", kBidi, 0, nullptr), 0) << "a list with one local port";
}

TEST(PortRules, BidiOffComesBeforePausedOfflineAndSeparator) {
    EXPECT_EQ(ClassifyPort("LPT1:", 0, 0, nullptr), 4);
    EXPECT_EQ(ClassifyPort("LPT1:", 0, kPaused, nullptr), 4);
    EXPECT_EQ(ClassifyPort("LPT1:", kOffline, kPaused, "sep.sep"), 4);
    EXPECT_EQ(ClassifyPort("USB001", ~kBidi, 0xFFFFFFFF, "sep.sep"), 4) << "no other bit stands for bidi";
}

TEST(PortRules, PausedThenOfflineThenSeparator) {
    EXPECT_EQ(ClassifyPort("LPT1:", kBidi | kOffline, kPaused, "sep.sep"), 3);
    EXPECT_EQ(ClassifyPort("LPT1:", kBidi, kPaused | 0x80, nullptr), 3);
    EXPECT_EQ(ClassifyPort("LPT1:", kBidi | kOffline, 0, "sep.sep"), 5);
    EXPECT_EQ(ClassifyPort("USB001", kBidi, 0, "C:\\WINDOWS\\system32\\pcl.sep"), 6);
    // Status bits other than paused (busy, error, paper out ...) are not refusals here.
    EXPECT_EQ(ClassifyPort("USB001", kBidi, ~kPaused, nullptr), 0);
    EXPECT_EQ(ClassifyPort("USB001", kBidi | ~(kBidi | kOffline), 0, nullptr), 0);
}

// Every refusal code has its own message; other kinds (the channels among
// them) have none, so that nothing is shown for a printer that may be used.
TEST(ChoiceMessages, OnlyRefusalsHaveAMessage) {
    const int refusals[] = {RefuseFilePort, RefusePaused, RefuseBidiOff, RefuseOffline, RefuseSeparator, RefuseOtherPort};
    for (int kind : refusals) {
        ASSERT_NE(RefusalMessage(kind).text, nullptr) << kind;
        for (int other : refusals) {
            if (other == kind) continue;
            EXPECT_STRNE(RefusalMessage(kind).text, RefusalMessage(other).text) << kind << " " << other;
        }
    }
    for (int kind : {-1, 0, 1, 7, 8, 15, 17, 240, 0x7FFFFFFF})
        EXPECT_EQ(RefusalMessage(kind).text, nullptr) << kind;
}

}  // namespace
