#include "link/lan/lan_link.h"

#include <windows.h>

#include <cstring>

#include "common/timing.h"
#include "link/channel/printer_link.h"

namespace {

// The library's side of the conversation, as the program calls it.
typedef int(WINAPI* SxStartupFn)(HINSTANCE instance);
typedef int(WINAPI* SxCleanupFn)();
typedef INT_PTR(WINAPI* SxOpenPortFn)(const char* address);
typedef int(WINAPI* SxClosePortFn)(INT_PTR port);
typedef int(WINAPI* SxReadPortFn)(INT_PTR port, void* buffer, DWORD size, DWORD* count);
typedef int(WINAPI* SxWritePortFn)(INT_PTR port, const void* bytes, WORD count, DWORD* written);
typedef int(WINAPI* SxGetErrorFn)(INT_PTR port);

const INT_PTR kNoPort = -1;
const unsigned kPaceMs = 1000;  // the library needs the printer paced

// Empty between conversations.
struct LanState {
    HMODULE module;
    void* entries[LanEntryPointCount];
    INT_PTR port;
};
LanState g_lan;
LanMessageHandler g_show;

template <typename Fn>
Fn Entry(const char* name) {
    for (int i = 0; i < LanEntryPointCount; ++i)
        if (std::strcmp(LanEntryNames[i], name) == 0) return reinterpret_cast<Fn>(g_lan.entries[i]);
    return nullptr;
}

void* LookUp(const char* name, void* module) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}

void Show(LanFailure failure) {
    if (g_show) g_show(failure, LanFailureText(failure));
}

void Unload() {
    const HMODULE module = g_lan.module;
    g_lan = LanState();
    if (module && !FreeLibrary(module)) Show(LanCloseFailed);
}

}  // namespace

void SetLanMessageHandler(LanMessageHandler show) { g_show = show; }

int OpenLanLink(const char* portName, char* lanAddress, std::size_t size, const char** errorText) {
    if (errorText) *errorText = LanInitFailedText;
    if (g_lan.module) Unload();  // never two conversations at once
    g_lan.module = LoadLibraryA("SxJcp32.dll");
    if (!g_lan.module) return 0;
    if (!BindLanEntryPoints(LookUp, g_lan.module, g_lan.entries) ||
        !Entry<SxStartupFn>("SxStartup")(GetModuleHandleA(nullptr))) {
        FreeLibrary(g_lan.module);
        g_lan = LanState();
        return 0;
    }
    char address[LanAddressSize];
    DeriveLanAddress(portName, address, sizeof address);
    if (lanAddress && size) {
        std::strncpy(lanAddress, address, size - 1);
        lanAddress[size - 1] = '\0';
    }
    const INT_PTR port = Entry<SxOpenPortFn>("SxOpenPort")(address);
    if (port == kNoPort) {
        if (errorText) *errorText = LanNoAnswerText;
        Entry<SxCleanupFn>("SxCleanup")();
        FreeLibrary(g_lan.module);
        g_lan = LanState();
        return 0;
    }
    g_lan.port = port;
    return 1;
}

int LanExchange(std::uint32_t code, void* data, unsigned length) {
    const LanRequest request = LanRequestOf(code);
    if (request == LanNoRequest || !g_lan.module) return 0;
    if (request == LanReceiveRequest) {
        unsigned char buffer[LanAnswerSize];
        std::memset(buffer, 0, sizeof buffer);
        DWORD count = 0;
        const int result = Entry<SxReadPortFn>("SxReadPort")(g_lan.port, buffer, sizeof buffer, &count);
        if (!result) {
            Entry<SxGetErrorFn>("SxGetError")(g_lan.port);
            Show(LanReceiveFailed);
            FixedWait(kPaceMs);
            return 0;
        }
        FixedWait(kPaceMs);
        // A count above the buffer is the library's mistake: what it could
        // have put there is all there is.
        if (LinkBlock* copy = LinkCopy()) copy->length = BoundLanAnswerCount(count);
        if (data) std::memcpy(data, buffer, sizeof buffer);
        return result;
    }
    FixedWait(kPaceMs);
    DWORD written = 0;
    const int result =
        Entry<SxWritePortFn>("SxWritePort")(g_lan.port, data, static_cast<WORD>(length & 0xFFFF), &written);
    if (!result) {
        Entry<SxGetErrorFn>("SxGetError")(g_lan.port);
        Show(LanSendFailed);
    }
    FixedWait(kPaceMs);
    return result;
}

void CloseLanLink() {
    if (!g_lan.module) return;
    if (!Entry<SxClosePortFn>("SxClosePort")(g_lan.port)) {
        FreeLibrary(g_lan.module);
        g_lan = LanState();
        Show(LanCloseFailed);
        return;
    }
    if (!Entry<SxCleanupFn>("SxCleanup")()) {
        FreeLibrary(g_lan.module);
        g_lan = LanState();
        Show(LanCloseFailed);
        return;
    }
    Unload();
}

bool LanChannel::Prepare() { return OpenPrinterLink() == 1; }

bool LanChannel::Begin(const char** errorText) {
    return OpenLanLink(portName_, lanAddress_, LanAddressSize, errorText) == 1;
}

ChannelReply LanChannel::Send(const void* bytes, int length) {
    if (length < 0) length = 0;
    return LanExchange(LinkSend, const_cast<void*>(bytes), static_cast<unsigned>(length)) ? ReplyDone : ReplyFailed;
}

ChannelReply LanChannel::Receive(unsigned char* answer, int* length) {
    std::memset(answer, 0, ChannelAnswerSize);
    *length = 0;
    if (!LanExchange(LinkReceive, answer, 0)) return ReplyFailed;
    const LinkBlock* copy = LinkCopy();
    *length = copy ? static_cast<int>(BoundLanAnswerCount(copy->length)) : 0;
    return ReplyDone;
}

void LanChannel::End() { CloseLanLink(); }
