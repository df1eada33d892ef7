// The LAN channel: network printers reached through the LAN communication
// library "SxJcp32.dll" instead of the spooler and the language monitor.
// The library is loaded at the start of each conversation and unloaded at
// its end; nothing of it stays between conversations.
#pragma once

#include <cstddef>
#include <cstdint>

#include "link/channel/channel.h"
#include "link/lan/lan_rules.h"

// Tells the user of a failure of the channel while it happens: the remote
// panel shows `text` in its message box (error icon, owned by the main
// window); the console tool notes `failure` for the printer at hand and
// words it in its own language. Without a handler nothing is told: the
// channel itself never shows anything.
typedef void (*LanMessageHandler)(LanFailure failure, const char* text);
void SetLanMessageHandler(LanMessageHandler show);

// Loads, binds and starts the library, derives the printer's address from
// `portName` into `lanAddress` (`size` bytes) and opens it. 1 when open; 0
// otherwise with *errorText set to the text to show (nothing stays loaded).
int OpenLanLink(const char* portName, char* lanAddress, std::size_t size, const char** errorText);

// One request: LinkReceive fills `data` (room for 4096 bytes) with the whole
// cleared answer buffer and puts the answer's length into LinkCopy's length
// field; LinkSend sends `length` bytes (as a 16-bit count). Returns the
// library's non-zero result on success; 0 on failure (after its message)
// and for any other code, which never reaches the library.
int LanExchange(std::uint32_t code, void* data, unsigned length);

// Closes the port, stops and unloads the library; a failure is told to the
// user, and the channel counts as closed anyway.
void CloseLanLink();

class LanChannel : public PrinterChannel {
public:
    // `portName` and `lanAddress` (LanAddressSize bytes) belong to the
    // chosen printer and must outlive the channel.
    LanChannel(const char* portName, char* lanAddress) : portName_(portName), lanAddress_(lanAddress) {}

    ChannelKind Kind() const override { return ChannelLan; }
    bool Prepare() override;  // the private block copy carries the answer length here too
    bool Begin(const char** errorText) override;
    ChannelReply Send(const void* bytes, int length) override;
    ChannelReply Receive(unsigned char* answer, int* length) override;
    void End() override;

private:
    const char* portName_;
    char* lanAddress_;
};
