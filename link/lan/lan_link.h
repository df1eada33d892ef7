// The LAN channel: network printers reached through the LAN communication
// library instead of the spooler and the language monitor.
#pragma once

#include "link/channel/channel.h"

// Opens the library and the printer's port for one conversation. 1 when
// open; 0 otherwise with *errorText set to the text to show the user.
int OpenLanLink(const char** errorText);

// Closes the port and unloads the library.
void CloseLanLink();

// The texts of this channel, kept here in one place.
extern const char LanInitFailedText[];

class LanChannel : public PrinterChannel {
public:
    ChannelKind Kind() const override { return ChannelLan; }
    bool Prepare() override;  // the private block copy carries the answer length on this channel too
    bool Begin(const char** errorText) override;
    ChannelReply Send(const void* bytes, int length) override;
    ChannelReply Receive(unsigned char* answer, int* length) override;
    void End() override;
};
