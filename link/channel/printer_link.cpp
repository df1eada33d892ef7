#include "link/channel/printer_link.h"

#include <windows.h>
#include <winspool.h>

#include <cstring>

#include "common/memory.h"
#include "link/channel/object_names.h"
#include "common/timing.h"
#include "link/channel/spooler_calls.h"

namespace {

struct ChannelState {
    HANDLE mapping;
    LinkBlock* view;
    LinkBlock* copy;
};
ChannelState g_channel;

const char kLogPath[] = "c:\\veldra6.log";

// The shared block as the portable session sees it: whole-block copies
// under the guard mutex, the system's pause and tick count.
class MappedBlock : public SharedBlockAccess {
public:
    bool Post(const LinkBlock& copy) override {
        return CopyLinkBlock(g_channel.view, &copy, LinkBlockSize, CurrentKernelObjectNames().linkMutex);
    }
    bool Fetch(LinkBlock* copy) override {
        return CopyLinkBlock(copy, g_channel.view, LinkBlockSize, CurrentKernelObjectNames().linkMutex);
    }
    void Pause(unsigned milliseconds) override { Sleep(milliseconds); }
    unsigned long Milliseconds() override { return GetTickCount(); }
};
MappedBlock g_block;
BlockSession g_session(g_block);

}  // namespace

bool CopyLinkBlock(void* destination, const void* source, std::size_t size, const char* mutexName) {
    HANDLE mutex = CreateMutexA(nullptr, FALSE, mutexName);
    if (!mutex) return false;
    const DWORD bound = ScaledMilliseconds(LinkGuardTimeoutMs);
    const DWORD start = GetTickCount();
    bool owned = false;
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        const DWORD left = elapsed < bound ? bound - elapsed : 0;
        const DWORD result = WaitForSingleObject(mutex, left < 1000 ? left : 1000);
        if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED) {
            owned = true;
            break;
        }
        if (result != WAIT_TIMEOUT || left == 0) break;
    }
    if (owned) {
        std::memcpy(destination, source, size);
        ReleaseMutex(mutex);
    }
    CloseHandle(mutex);
    return owned;
}

int OpenPrinterLink() {
    if (g_channel.mapping) return 1;
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, LinkBlockSize,
                                        CurrentKernelObjectNames().linkMapping);
    if (!mapping) return 0;
    long error = 0;
    LinkBlock* copy = static_cast<LinkBlock*>(AllocBlock(LinkBlockSize, &error));
    LinkBlock* view = copy ? static_cast<LinkBlock*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0)) : nullptr;
    g_channel = ChannelState{mapping, view, copy};
    // The shared block starts all zeros; a block that cannot be cleared
    // cannot be used, and the next call tries again from the start.
    if (!view || !g_block.Post(*copy)) {
        ClosePrinterLink();
        return 0;
    }
    return 1;
}

bool AttachLink(const char* printerName) {
    if (!g_channel.copy || !g_session.Attach(g_channel.copy)) return false;
    long error = 0;
    char* name = static_cast<char*>(AllocBlock(256, &error));
    if (!name) return true;  // the block is cleared; the requests will find no monitor
    if (printerName) {
        std::strncpy(name, printerName, 255);
        name[255] = '\0';
    }
    HANDLE thread = CreateThread(nullptr, 0, ConnectionJob, name, 0, nullptr);
    if (thread)
        CloseHandle(thread);
    else
        FreeBlock(name);
    return true;
}

unsigned LinkExchange(std::uint32_t code, const void* data, unsigned length, ExchangeEnd* end) {
    ExchangeEnd outcome = ExchangeGuardLost;
    if (g_channel.copy)
        outcome = g_session.Exchange(g_channel.copy, code, data, length, ScaledMilliseconds(LinkAnswerTimeoutMs));
    if (end) *end = outcome;
    switch (outcome) {
    case ExchangeDone: return 1;
    case ExchangeOther: return length;
    default: return 0;
    }
}

void DetachLink() {
    if (g_channel.copy) g_session.Detach(g_channel.copy);
}

void ClosePrinterLink() {
    if (g_channel.view) UnmapViewOfFile(g_channel.view);
    FreeBlock(g_channel.copy);
    if (g_channel.mapping) CloseHandle(g_channel.mapping);
    g_channel = ChannelState{};
}

LinkBlock* LinkCopy() { return g_channel.copy; }

unsigned long __stdcall ConnectionJob(void* printerName) {
    char* name = static_cast<char*>(printerName);
    const SpoolerCalls& spooler = Spooler();
    long error = 0;
    unsigned char* buffer = static_cast<unsigned char*>(AllocBlock(1, &error));
    HANDLE printer = nullptr;
    if (buffer && spooler.openPrinter(name, &printer, nullptr)) {
        buffer[0] = ConnectionJobByte;
        DOC_INFO_1A doc = {};
        doc.pDocName = const_cast<char*>(ConnectionJobName);
        doc.pOutputFile = nullptr;
        doc.pDatatype = const_cast<char*>("RAW");
        if (spooler.startDocPrinter(printer, 1, reinterpret_cast<LPBYTE>(&doc))) {
            DWORD written = 0;
            spooler.writePrinter(printer, buffer, 1, &written);
            spooler.endDocPrinter(printer);
        }
        spooler.closePrinter(printer);
    }
    FreeBlock(buffer);
    FreeBlock(name);
    return 0;
}

void AppendToLog(const void* bytes, std::size_t length) {
    HANDLE file = CreateFileA(kLogPath, GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    if (SetFilePointer(file, 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER) {
        DWORD written = 0;
        WriteFile(file, bytes, static_cast<DWORD>(length), &written, nullptr);
    }
    CloseHandle(file);
}
