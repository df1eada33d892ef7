// The block shared with the printer driver's language monitor, the names of
// the kernel objects, and the command frames of the printer language.
// Portable: the layout is fixed little-endian with fixed-size fields, so a
// 32-bit program and a 64-bit spooler see the same 4108 bytes.
#pragma once

#include <cstddef>
#include <cstdint>

enum LinkRequest : std::uint32_t { LinkIdle = 0, LinkReceive = 1, LinkSend = 2, LinkEnd = 4 };
enum LinkStatus : std::uint32_t { LinkPending = 0, LinkFailed = 1, LinkDone = 2 };

constexpr std::uint32_t LinkDataSize = 4096;
constexpr std::uint32_t LinkBlockSize = 4108;

struct LinkBlock {
    std::uint32_t request;  // LinkRequest
    unsigned char data[LinkDataSize];
    std::uint32_t length;   // valid bytes in data
    std::uint32_t status;   // LinkStatus
};
static_assert(sizeof(LinkBlock) == LinkBlockSize, "the shared block is exactly 4108 bytes");
static_assert(offsetof(LinkBlock, data) == 4 && offsetof(LinkBlock, length) == 4100 &&
                  offsetof(LinkBlock, status) == 4104,
              "field offsets are part of the contract with the language monitor");

// Kernel object names, chosen once from the Windows version: "Global\" names
// on the NT family from Windows 2000 on, plain names on 95/98/Me and NT 4.0.
struct KernelObjectNames {
    const char* instanceMutex;
    const char* linkMapping;
    const char* linkMutex;
    const char* disposablesMutex;  // the status monitor's hold on the channel
};

enum { PlatformWin32Windows = 1, PlatformWin32Nt = 2 };

const KernelObjectNames& ChooseKernelObjectNames(unsigned long platformId, unsigned long majorVersion);

// Document names of the RAW jobs that signal the language monitor, and their data.
extern const char ConnectionJobName[];  // "tzrahWindow-VerodoRared", one CAN byte
extern const char DummyJobName[];       // "tzrahWindow-Dummy", 15 zero bytes
enum { ConnectionJobByte = 0x18, DummyJobLength = 15 };

// Command frames: exact bytes, no NUL sent. Each is a pointer and a length.
struct CommandFrame {
    const char* bytes;
    int length;
};
extern const CommandFrame OpeningCommand;      // ESC e "ONLINE"
extern const CommandFrame ClosingCommand;      // "CANCEL  \r"
extern const CommandFrame CancelSequence;      // 9 CR then "CANCEL  \r"
extern const CommandFrame StartupQuery;        // "?MODEL  \r?VER    \r?NVRAM  \r"
extern const CommandFrame SettingsQuery;       // "?VER    \r?NVRAM  \r"
extern const CommandFrame VersionQuery;        // "?VER    \r"
extern const CommandFrame CountersQuery;       // ESC e S1, S3 .. S9
extern const CommandFrame SettingBlockEnd;     // "\rEXIT    \rEND     \r"
extern const CommandFrame PrintListCommand;    // "PRINT-E \r"
extern const CommandFrame SettingBlockStart;   // "SETTING \r"

// Counter reset ESC e R<digit> for digit 3, 5, 6, 7 or 8; length 0 otherwise.
CommandFrame CounterResetCommand(int digit);

// True when a port name contains "USB": such ports get no cancel sequence.
bool IsUsbPort(const char* portName);
