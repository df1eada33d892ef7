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

bool PostCopy() {
    return CopyLinkBlock(g_channel.view, g_channel.copy, LinkBlockSize, CurrentKernelObjectNames().linkMutex);
}

bool FetchCopy() {
    return CopyLinkBlock(g_channel.copy, g_channel.view, LinkBlockSize, CurrentKernelObjectNames().linkMutex);
}

}  // namespace

bool CopyLinkBlock(void* destination, const void* source, std::size_t size, const char* mutexName) {
    HANDLE mutex = CreateMutexA(nullptr, FALSE, mutexName);
    if (!mutex) return false;
    const DWORD bound = ScaledMilliseconds(LinkAnswerTimeoutMs);
    const DWORD start = GetTickCount();
    bool owned = false;
    for (;;) {
        const DWORD result = WaitForSingleObject(mutex, 1000 < bound ? 1000 : bound);
        if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED) {
            owned = true;
            break;
        }
        if (result != WAIT_TIMEOUT || GetTickCount() - start >= bound) break;
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
    if (!view) {
        FreeBlock(copy);
        CloseHandle(mapping);
        return 0;
    }
    g_channel = ChannelState{mapping, view, copy};
    PostCopy();  // the shared block starts all zeros
    return 1;
}

void AttachLink(const char* printerName) {
    if (!g_channel.copy) return;
    std::memset(g_channel.copy, 0, LinkBlockSize);
    PostCopy();
    long error = 0;
    char* name = static_cast<char*>(AllocBlock(256, &error));
    if (!name) return;
    if (printerName) {
        std::strncpy(name, printerName, 255);
        name[255] = '\0';
    }
    HANDLE thread = CreateThread(nullptr, 0, ConnectionJob, name, 0, nullptr);
    if (thread)
        CloseHandle(thread);
    else
        FreeBlock(name);
}

unsigned LinkExchange(std::uint32_t code, const void* data, unsigned length, bool* timedOut) {
    if (timedOut) *timedOut = false;
    if (!g_channel.copy) return 0;
    unsigned count = length & 0xFFFF;
    if (count > LinkDataSize) count = LinkDataSize;  // never past the data area
    LinkBlock* copy = g_channel.copy;
    copy->request = code;
    if (data && count) std::memcpy(copy->data, data, count);
    copy->length = count;
    copy->status = LinkPending;
    if (!PostCopy()) return 0;

    const DWORD bound = ScaledMilliseconds(LinkAnswerTimeoutMs);
    const DWORD start = GetTickCount();
    Sleep(100);
    for (;;) {
        if (!FetchCopy()) {  // posted, but its outcome cannot be looked at
            if (timedOut) *timedOut = true;
            return 0;
        }
        if (copy->status != LinkPending) break;
        if (GetTickCount() - start >= bound) {  // nobody serves the block
            if (timedOut) *timedOut = true;
            return 0;
        }
        Sleep(1);
    }
    if (copy->status == LinkFailed) return 0;
    if (copy->status == LinkDone) return 1;
    return length;
}

void DetachLink() {
    if (!g_channel.copy) return;
    g_channel.copy->request = LinkEnd;
    PostCopy();
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
