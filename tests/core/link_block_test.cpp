// The shared block layout, the kernel object names by Windows version, and
// the exact bytes of every command frame.
#include "link/channel/link_block.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string Bytes(const CommandFrame& frame) { return std::string(frame.bytes, frame.length); }

TEST(LinkBlockLayout, LittleEndianFieldsAtFixedOffsets) {
    LinkBlock block;
    std::memset(&block, 0, sizeof block);
    block.request = LinkSend;
    block.length = 0x0102;
    block.status = LinkDone;
    const unsigned char* raw = reinterpret_cast<const unsigned char*>(&block);
    EXPECT_EQ(raw[0], 2);
    EXPECT_EQ(raw[4100], 0x02);
    EXPECT_EQ(raw[4101], 0x01);
    EXPECT_EQ(raw[4104], 2);
    EXPECT_EQ(sizeof block, 4108u);
}

TEST(KernelObjectNames, GlobalPrefixFromWindows2000On) {
    // Windows 2000 (5.0), XP (5.1), Vista and later (6.x, 10.0): NT family.
    for (unsigned long major : {5ul, 6ul, 10ul}) {
        const KernelObjectNames& names = ChooseKernelObjectNames(PlatformWin32Nt, major);
        EXPECT_STREQ(names.instanceMutex, "Global\\tzra VerodoRared_Mutex") << major;
        EXPECT_STREQ(names.linkMapping, "Global\\tzra VerodoRared LM Connection MapFile") << major;
        EXPECT_STREQ(names.linkMutex, "Global\\tzra VerodoRared LM Connection MapFile Mutex") << major;
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
    // 95 is 4.0, 98 is 4.10, Me is 4.90: all platform 1.
    EXPECT_STREQ(ChooseKernelObjectNames(PlatformWin32Windows, 4).linkMapping,
                 "tzra VerodoRared LM Connection MapFile");
    EXPECT_STREQ(ChooseKernelObjectNames(PlatformWin32Windows, 5).linkMutex,
                 "tzra VerodoRared LM Connection MapFile Mutex");
    EXPECT_STREQ(ChooseKernelObjectNames(0, 6).instanceMutex, "tzra VerodoRared_Mutex");  // Win32s
}

TEST(CommandFrames, ExactBytesAndLengths) {
    EXPECT_EQ(Bytes(OpeningCommand), std::string("\x1b" "eONLINE"));
    EXPECT_EQ(OpeningCommand.length, 8);
    EXPECT_EQ(Bytes(ClosingCommand), "CANCEL  \r");
    EXPECT_EQ(Bytes(CancelSequence), std::string(9, '\r') + "CANCEL  \r");
    EXPECT_EQ(CancelSequence.length, 18);
    EXPECT_EQ(StartupQuery.length, 27);
    EXPECT_EQ(Bytes(SettingsQuery), "?VER    \r?NVRAM  \r");
    EXPECT_EQ(VersionQuery.length, 9);
    EXPECT_EQ(CountersQuery.length, 32);
    EXPECT_EQ(Bytes(CountersQuery).find("\x1b" "eS2"), std::string::npos);
    for (int n : {1, 3, 4, 5, 6, 7, 8, 9})
        EXPECT_NE(Bytes(CountersQuery).find(std::string("\x1b" "eS") + char('0' + n)), std::string::npos) << n;
    EXPECT_EQ(Bytes(SettingBlockEnd), "\rEXIT    \rEND     \r");
    EXPECT_EQ(SettingBlockEnd.length, 19);
    EXPECT_EQ(Bytes(PrintListCommand), "PRINT-E \r");
    EXPECT_EQ(Bytes(SettingBlockStart), "SETTING \r");
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
