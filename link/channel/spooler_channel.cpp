#include "link/channel/spooler_channel.h"

#include "link/channel/printer_link.h"

bool SpoolerChannel::Prepare() { return OpenPrinterLink() == 1; }

bool SpoolerChannel::Begin(const char** errorText) {
    if (errorText) *errorText = nullptr;
    return AttachLink(printerName_);
}

ChannelReply SpoolerChannel::Send(const void* bytes, int length) {
    if (length < 0) length = 0;
    ExchangeEnd end = ExchangeFailed;
    LinkExchange(LinkSend, bytes, static_cast<unsigned>(length), &end);
    return SendReply(end);
}

ChannelReply SpoolerChannel::Receive(unsigned char* answer, int* length) {
    ExchangeEnd end = ExchangeFailed;
    LinkExchange(LinkReceive, nullptr, 0, &end);
    return ReceiveReply(end, LinkCopy(), answer, length);
}

void SpoolerChannel::End() { DetachLink(); }
