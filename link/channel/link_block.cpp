#include "link/channel/link_block.h"

#include <cstring>

namespace {

const KernelObjectNames kGlobalNames = {
    "Global\\tzra VerodoRared_Mutex",
    "Global\\tzra VerodoRared LM Connection MapFile",
    "Global\\tzra VerodoRared LM Connection MapFile Mutex",
    "Global\\tzraMonitor_MutexForDisposables",
};
const KernelObjectNames kPlainNames = {
    "tzra VerodoRared_Mutex",
    "tzra VerodoRared LM Connection MapFile",
    "tzra VerodoRared LM Connection MapFile Mutex",
    "tzraMonitor_MutexForDisposables",
};

// Frames are spelled with their lengths so that embedded CRs and the
// missing NUL are explicit; sizeof - 1 drops the literal's terminator.
#define KOA_FRAME(text) CommandFrame{text, static_cast<int>(sizeof(text) - 1)}

}  // namespace

const KernelObjectNames& ChooseKernelObjectNames(unsigned long platformId, unsigned long majorVersion) {
    // Terminal-services sessions only share "Global\" objects, which the
    // NT family has from Windows 2000 on; NT 4.0 and 95/98/Me reject the prefix.
    return platformId == PlatformWin32Nt && majorVersion != 4 ? kGlobalNames : kPlainNames;
}

const char ConnectionJobName[] = "tzrahWindow-VerodoRared";
const char DummyJobName[] = "tzrahWindow-Dummy";

const CommandFrame OpeningCommand = KOA_FRAME("\x1b" "eONLINE");
const CommandFrame ClosingCommand = KOA_FRAME("CANCEL  \r");
const CommandFrame CancelSequence = KOA_FRAME("\r\r\r\r\r\r\r\r\rCANCEL  \r");
const CommandFrame StartupQuery = KOA_FRAME("?MODEL  \r?VER    \r?NVRAM  \r");
const CommandFrame SettingsQuery = KOA_FRAME("?VER    \r?NVRAM  \r");
const CommandFrame VersionQuery = KOA_FRAME("?VER    \r");
const CommandFrame CountersQuery =
    KOA_FRAME("\x1b" "eS1" "\x1b" "eS3" "\x1b" "eS4" "\x1b" "eS5" "\x1b" "eS6" "\x1b" "eS7" "\x1b" "eS8" "\x1b" "eS9");
const CommandFrame SettingBlockEnd = KOA_FRAME("\rEXIT    \rEND     \r");
const CommandFrame PrintListCommand = KOA_FRAME("PRINT-E \r");
const CommandFrame SettingBlockStart = KOA_FRAME("SETTING \r");

CommandFrame CounterResetCommand(int digit) {
    static const CommandFrame resets[] = {
        KOA_FRAME("\x1b" "eR3"), KOA_FRAME("\x1b" "eR5"), KOA_FRAME("\x1b" "eR6"),
        KOA_FRAME("\x1b" "eR7"), KOA_FRAME("\x1b" "eR8"),
    };
    for (const CommandFrame& frame : resets)
        if (frame.bytes[3] == '0' + digit) return frame;
    return CommandFrame{"", 0};
}

bool IsUsbPort(const char* portName) { return portName && std::strstr(portName, "USB") != nullptr; }
