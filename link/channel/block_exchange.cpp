#include "link/channel/block_exchange.h"

#include <cstring>

static_assert(ChannelAnswerSize == static_cast<int>(LinkDataSize), "an answer fills at most the data area");

namespace {

// The request as posted: code, bytes (never past the data area), length
// taken as the 16-bit number the block has always carried, status pending.
void FillRequest(LinkBlock* copy, std::uint32_t code, const void* data, std::uint32_t count) {
    copy->request = code;
    if (data && count) std::memcpy(copy->data, data, count);
    copy->length = count;
    copy->status = LinkPending;
}

}  // namespace

bool CarriesRequest(const LinkBlock& seen, std::uint32_t code, const unsigned char* data, std::uint32_t length) {
    if (seen.request != code) return false;
    if (code != LinkSend) return true;
    if (seen.length != length || length > LinkDataSize) return false;
    return !data || std::memcmp(seen.data, data, length) == 0;
}

bool BlockSession::Attach(LinkBlock* copy) {
    guardLost_ = false;
    std::memset(copy, 0, sizeof *copy);
    if (access_.Post(*copy)) return true;
    guardLost_ = true;
    return false;
}

ExchangeEnd BlockSession::Exchange(LinkBlock* copy, std::uint32_t code, const void* data, unsigned length,
                                   unsigned long boundMs) {
    if (guardLost_) return ExchangeGuardLost;
    std::uint32_t count = length & 0xFFFFu;
    if (count > LinkDataSize) count = LinkDataSize;
    const unsigned char* bytes = static_cast<const unsigned char*>(data);

    FillRequest(copy, code, bytes, count);
    if (!access_.Post(*copy)) {
        guardLost_ = true;
        return ExchangeGuardLost;
    }
    const unsigned long start = access_.Milliseconds();
    access_.Pause(100);
    for (;;) {
        if (!access_.Fetch(copy)) {
            guardLost_ = true;
            return ExchangeGuardLost;
        }
        if (!CarriesRequest(*copy, code, bytes, count)) {
            // A late write-back of an earlier request landed over ours: the
            // monitor never saw this one. Post it again.
            FillRequest(copy, code, bytes, count);
            if (!access_.Post(*copy)) {
                guardLost_ = true;
                return ExchangeGuardLost;
            }
        } else if (copy->status != LinkPending) {
            break;
        }
        if (access_.Milliseconds() - start >= boundMs) return ExchangeTimedOut;
        access_.Pause(1);
    }
    if (copy->status == LinkFailed) return ExchangeFailed;
    if (copy->status == LinkDone) return ExchangeDone;
    return ExchangeOther;
}

void BlockSession::Detach(LinkBlock* copy) {
    if (guardLost_) return;
    copy->request = LinkEnd;
    if (!access_.Post(*copy)) guardLost_ = true;
}

ChannelReply SendReply(ExchangeEnd end) {
    return end == ExchangeDone || end == ExchangeOther ? ReplyDone : ReplyFailed;
}

ChannelReply ReceiveReply(ExchangeEnd end, const LinkBlock* copy, unsigned char* answer, int* length) {
    std::memset(answer, 0, ChannelAnswerSize);
    *length = 0;
    if (end != ExchangeDone || !copy) return ReplyFailed;
    // The length field is the monitor's word: never past the data area.
    const std::uint32_t limit = static_cast<std::uint32_t>(ChannelAnswerSize);
    const std::uint32_t count = copy->length > limit ? limit : copy->length;
    std::memcpy(answer, copy->data, count);
    *length = static_cast<int>(count);
    return ReplyDone;
}
