#include "link/channel/spooler_channel.h"

#include <cstring>

#include "link/channel/printer_link.h"

bool SpoolerChannel::Prepare() { return OpenPrinterLink() == 1; }

bool SpoolerChannel::Begin(const char** errorText) {
    if (errorText) *errorText = nullptr;
    AttachLink(printerName_);
    return true;
}

ChannelReply SpoolerChannel::Send(const void* bytes, int length) {
    if (length < 0) length = 0;
    bool timedOut = false;
    // Any status but LinkFailed counts as sent: the monitor took the request.
    const unsigned result = LinkExchange(LinkSend, bytes, static_cast<unsigned>(length), &timedOut);
    if (timedOut) return ReplyTimedOut;
    return result != 0 ? ReplyDone : ReplyFailed;
}

ChannelReply SpoolerChannel::Receive(unsigned char* answer, int* length) {
    std::memset(answer, 0, ChannelAnswerSize);
    *length = 0;
    bool timedOut = false;
    const unsigned result = LinkExchange(LinkReceive, nullptr, 0, &timedOut);
    if (timedOut) return ReplyTimedOut;
    if (result != 1) return ReplyFailed;
    // The length field is the monitor's word: never past the data area.
    const LinkBlock* copy = LinkCopy();
    const std::uint32_t limit = static_cast<std::uint32_t>(ChannelAnswerSize);
    const std::uint32_t count = copy->length > limit ? limit : copy->length;
    std::memcpy(answer, copy->data, count);
    *length = static_cast<int>(count);
    return ReplyDone;
}

void SpoolerChannel::End() { DetachLink(); }
