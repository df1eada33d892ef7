// One conversation through the shared block against a monitor whose every
// look at the block is the input's: the request code, length and status it
// writes back, stale copies, and a guard mutex that is suddenly held. The
// first byte picks the requests; every look takes three more bytes.
#include "fuzz_common.h"

#include "link/channel/block_exchange.h"

namespace {

const unsigned long kBoundMs = 300;
const char kCommand[] = "CANCEL  \r";

class InputBlock : public SharedBlockAccess {
public:
    InputBlock(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool Post(const LinkBlock& copy) override {
        if (guardHeld_) return false;
        shared_ = copy;
        ++posts_;
        return true;
    }
    bool Fetch(LinkBlock* copy) override {
        if (guardHeld_) return false;
        Look();
        if (guardHeld_) return false;
        *copy = shared_;
        ++looks_;
        return true;
    }
    void Pause(unsigned milliseconds) override { now_ += milliseconds; }
    unsigned long Milliseconds() override { return now_; }

    int posts() const { return posts_; }
    int looks() const { return looks_; }

private:
    // What the monitor does before this look, from the next three bytes.
    void Look() {
        if (at_ + 3 > size_) return;  // input spent: a monitor that never answers
        const std::uint8_t what = data_[at_], value = data_[at_ + 1], extra = data_[at_ + 2];
        at_ += 3;
        switch (what % 5) {
        case 0: break;  // still busy
        case 1: shared_.status = value % 4; break;
        case 2:  // a receive's answer with any length the monitor claims
            shared_.length = static_cast<std::uint32_t>(value) << (extra % 24);
            std::memset(shared_.data, extra, sizeof shared_.data);
            shared_.status = LinkDone;
            break;
        case 3:  // a stale write-back of some earlier request
            shared_.request = value % 6;
            shared_.length = extra;
            shared_.data[0] ^= value;
            shared_.status = LinkDone;
            break;
        case 4: guardHeld_ = value == 0; break;
        }
    }

    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
    LinkBlock shared_ = {};
    unsigned long now_ = 0;
    bool guardHeld_ = false;
    int posts_ = 0;
    int looks_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const unsigned requests = data[0];
    InputBlock block(data + 1, size - 1);
    BlockSession session(block);
    static LinkBlock copy;
    std::unique_ptr<unsigned char[]> answer(new unsigned char[ChannelAnswerSize]);
    if (!session.Attach(&copy)) return 0;

    bool lost = false;
    for (int i = 0; i < 4; ++i) {
        const bool send = (requests >> i & 1) != 0;
        const int looksBefore = block.looks(), postsBefore = block.posts();
        const ExchangeEnd end = send ? session.Exchange(&copy, LinkSend, kCommand, sizeof kCommand - 1, kBoundMs)
                                     : session.Exchange(&copy, LinkReceive, nullptr, 0, kBoundMs);
        // Bounded: one look per millisecond at most, after the first 100.
        FUZZ_CHECK(block.looks() - looksBefore <= static_cast<int>(kBoundMs));
        if (lost) {
            FUZZ_CHECK(end == ExchangeGuardLost);
            FUZZ_CHECK(block.posts() == postsBefore && block.looks() == looksBefore);
        }
        if (end == ExchangeGuardLost) {
            lost = true;
            FUZZ_CHECK(session.GuardLost());
        }
        if (end == ExchangeDone || end == ExchangeFailed || end == ExchangeOther) {
            // An outcome is only ever taken from a block that carries the request.
            FUZZ_CHECK(copy.request == (send ? LinkSend : LinkReceive));
            if (send) FUZZ_CHECK(copy.length == sizeof kCommand - 1 && std::memcmp(copy.data, kCommand, 9) == 0);
        }
        int length = -1;
        const ChannelReply reply =
            send ? SendReply(end) : ReceiveReply(end, &copy, answer.get(), &length);
        if (!send) {
            FUZZ_CHECK(length >= 0 && length <= ChannelAnswerSize);
            FUZZ_CHECK(reply == ReplyDone || length == 0);
        }
        FUZZ_CHECK(reply == ReplyDone || reply == ReplyFailed);
    }
    const int postsBefore = block.posts();
    session.Detach(&copy);
    FUZZ_CHECK(block.posts() == postsBefore + (lost ? 0 : 1) || session.GuardLost());
    return 0;
}
