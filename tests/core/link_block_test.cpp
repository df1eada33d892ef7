// The kernel object names by Windows version, the counter reset frames
// (the other frames are checked on the wire, against the emulator), and the
// USB port rule.
#include "link/channel/link_block.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Bytes(const CommandFrame& frame) { return std::string(frame.bytes, frame.length); }

TEST(KernelObjectNames, GlobalPrefixFromWindows2000On) {
    // Windows 2000 (5.0), XP (5.1), Vista and later (6.x, 10.0): NT family.
    for (unsigned long major : {5ul, 6ul, 10ul}) {
        const KernelObjectNames& names = ChooseKernelObjectNames(PlatformWin32Nt, major);
        EXPECT_STREQ(names.instanceMutex, "Global\\tzra VerodoRared_Mutex") << major;
        EXPECT_STREQ(names.linkMapping, "Global\\tzra VerodoRared LM Connection MapFile") << major;
        EXPECT_STREQ(names.linkMutex, "Global\\tzra VerodoRared LM Connection MapFile Mutex") << major;
        EXPECT_STREQ(names.disposablesMutex, "Global\\tzraMonitor_MutexForDisposables") << major;
    }
    // NT 3.51 is not NT 4.0: the rule gives it the prefix as well.
    EXPECT_STREQ(ChooseKernelObjectNames(PlatformWin32Nt, 3).linkMapping,
                 "Global\\tzra VerodoRared LM Connection MapFile");
}

TEST(KernelObjectNames, PlainNamesOnNt4AndWindows9x) {
    const KernelObjectNames& nt4 = ChooseKernelObjectNames(PlatformWin32Nt, 4);
    EXPECT_STREQ(nt4.instanceMutex, "tzra VerodoRared_Mutex");
    EXPECT_STREQ(nt4.linkMapping, "tzra VerodoRared LM Connection MapFile");
    EXPECT_STREQ(nt4.linkMutex, "tzra VerodoRared LM Connection MapFile Mutex");
    EXPECT_STREQ(nt4.disposablesMutex, "tzraMonitor_MutexForDisposables");
    // 95 is 4.0, 98 is 4.10, Me is 4.90: all platform 1.
    EXPECT_STREQ(ChooseKernelObjectNames(PlatformWin32Windows, 4).linkMapping,
                 "tzra VerodoRared LM Connection MapFile");
    EXPECT_STREQ(ChooseKernelObjectNames(PlatformWin32Windows, 5).linkMutex,
                 "tzra VerodoRared LM Connection MapFile Mutex");
    EXPECT_STREQ(ChooseKernelObjectNames(0, 6).instanceMutex, "tzra VerodoRared_Mutex");  // Win32s
}

TEST(CommandFrames, CounterResetsOnlyForTheirDigits) {
    for (int digit : {3, 5, 6, 7, 8}) {
        const CommandFrame frame = CounterResetCommand(digit);
        EXPECT_EQ(Bytes(frame), std::string("\x1b" "eR") + char('0' + digit));
    }
    for (int digit : {0, 1, 2, 4, 9, -1, 48})
        EXPECT_EQ(CounterResetCommand(digit).length, 0) << digit;
}

TEST(Ports, UsbIsFoundAnywhereInTheName) {
    EXPECT_TRUE(IsUsbPort("USB001"));
    EXPECT_TRUE(IsUsbPort("KOA_USB_3"));
    EXPECT_FALSE(IsUsbPort("LPT1:"));
    EXPECT_FALSE(IsUsbPort("usb001"));  // the rule is case-sensitive
    EXPECT_FALSE(IsUsbPort(""));
    EXPECT_FALSE(IsUsbPort(nullptr));
}

}  // namespace
