// The language monitor's shared block as a PrinterChannel: one conversation
// is AttachLink, the requests, DetachLink.
#pragma once

#include "link/channel/channel.h"

class SpoolerChannel : public PrinterChannel {
public:
    // `printerName` names the printer the connection job goes to; it must
    // outlive the channel.
    explicit SpoolerChannel(const char* printerName) : printerName_(printerName) {}

    ChannelKind Kind() const override { return ChannelSpooler; }
    bool Prepare() override;
    bool Begin(const char** errorText) override;
    ChannelReply Send(const void* bytes, int length) override;
    ChannelReply Receive(unsigned char* answer, int* length) override;
    void End() override;

private:
    const char* printerName_;
};
