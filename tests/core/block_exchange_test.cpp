// One request through the shared block against a monitor scripted look by
// look: which outcome is taken, stale write-backs, the bound with a clock
// that wraps, the answer length, and a guard mutex that cannot be taken.
#include "link/channel/block_exchange.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

namespace {

const char kCancel[] = "CANCEL  \r";
const unsigned kCancelLength = 9;
const unsigned long kBound = 60000;

// The shared block; before each look the script may change it, as the
// monitor would between two looks.
class ScriptedBlock : public SharedBlockAccess {
public:
    std::function<void(LinkBlock& shared, int look)> monitor = [](LinkBlock&, int) {};
    bool guardFree = true;

    bool Post(const LinkBlock& copy) override {
        if (!guardFree) return false;
        shared = copy;
        ++posts;
        return true;
    }
    bool Fetch(LinkBlock* copy) override {
        if (!guardFree) return false;
        monitor(shared, looks++);
        *copy = shared;
        return true;
    }
    void Pause(unsigned milliseconds) override { now += milliseconds; }
    unsigned long Milliseconds() override { return now; }

    LinkBlock shared = {};
    unsigned long now = 0;
    int posts = 0;
    int looks = 0;
};

struct Exchange {
    ScriptedBlock block;
    BlockSession session{block};
    LinkBlock copy = {};

    Exchange() { EXPECT_TRUE(session.Attach(&copy)); }
    ExchangeEnd Send(const char* bytes = kCancel, unsigned length = kCancelLength) {
        return session.Exchange(&copy, LinkSend, bytes, length, kBound);
    }
    ExchangeEnd Receive() { return session.Exchange(&copy, LinkReceive, nullptr, 0, kBound); }
};

void Finish(LinkBlock& shared, std::uint32_t status) { shared.status = status; }

TEST(BlockExchange, TheMonitorsStatusDecidesAndAnyOtherCountsForASendOnly) {
    for (std::uint32_t status : {1u, 2u, 3u, 77u}) {
        SCOPED_TRACE(status);
        Exchange send;
        send.block.monitor = [status](LinkBlock& shared, int) { Finish(shared, status); };
        const ExchangeEnd end = send.Send();
        EXPECT_EQ(end, status == LinkFailed ? ExchangeFailed : status == LinkDone ? ExchangeDone : ExchangeOther);
        EXPECT_EQ(SendReply(end), status == LinkFailed ? ReplyFailed : ReplyDone);
        EXPECT_EQ(send.block.posts, 2) << "the clear and the request, no more";
        EXPECT_EQ(send.block.now, 100u) << "the first look comes after 100 ms";

        Exchange receive;
        receive.block.monitor = [status](LinkBlock& shared, int) { Finish(shared, status); };
        unsigned char answer[ChannelAnswerSize];
        int length = -1;
        EXPECT_EQ(ReceiveReply(receive.Receive(), &receive.copy, answer, &length),
                  status == LinkDone ? ReplyDone : ReplyFailed);
        EXPECT_EQ(length, 0);
    }
}

TEST(BlockExchange, AStaleWriteBackIsPostedOverAndTheRealOutcomeTaken) {
    // What a monitor that finished an earlier request late writes back: the
    // whole block of that request, done, over the one just posted.
    const struct {
        const char* name;
        std::uint32_t request;
        const char* bytes;
        unsigned length;
    } stale[] = {
        {"an earlier receive", LinkReceive, "", 0},
        {"another command", LinkSend, "\x1b" "eONLINE", 8},
        {"a longer command with the same start", LinkSend, "CANCEL  \rEXIT", 13},
        {"the same length, other bytes", LinkSend, "\x1b" "eR6\x1b" "eR7\r", 9},
        {"an idle block", LinkIdle, "", 0},
    };
    for (const auto& s : stale) {
        SCOPED_TRACE(s.name);
        Exchange e;
        int servedAt = -1;
        e.block.monitor = [&](LinkBlock& shared, int look) {
            if (look == 3) {  // the late copy lands
                shared.request = s.request;
                std::memcpy(shared.data, s.bytes, s.length);
                shared.length = s.length;
                shared.status = LinkDone;
            } else if (look > 3 && shared.status == LinkPending && servedAt < 0) {
                servedAt = look;
                EXPECT_EQ(std::string(reinterpret_cast<char*>(shared.data), shared.length), kCancel);
                shared.status = LinkFailed;  // this request's own outcome
            }
        };
        EXPECT_EQ(e.Send(), ExchangeFailed);
        EXPECT_EQ(e.block.posts, 3) << "posted once more after the stale copy";
        EXPECT_EQ(servedAt, 4);
    }
}

TEST(BlockExchange, AReceiveIsKnownByItsCodeAndItsAnswerBoundedByTheDataArea) {
    Exchange e;
    e.block.monitor = [](LinkBlock& shared, int look) {
        if (look == 0) {  // a stale send lands first
            shared.request = LinkSend;
            shared.status = LinkDone;
            return;
        }
        if (shared.status != LinkPending) return;
        std::memset(shared.data, 'A', sizeof shared.data);
        shared.length = 5000;  // more than there is room for
        shared.status = LinkDone;
    };
    unsigned char answer[ChannelAnswerSize];
    int length = 0;
    EXPECT_EQ(ReceiveReply(e.Receive(), &e.copy, answer, &length), ReplyDone);
    EXPECT_EQ(length, ChannelAnswerSize);
    EXPECT_EQ(answer[ChannelAnswerSize - 1], 'A');
    EXPECT_EQ(e.block.posts, 3);
}

TEST(BlockExchange, NobodyAnsweringEndsAtTheBoundAlsoWhenTheClockWraps) {
    for (unsigned long start : {0ul, 0xFFFFFFFFul - 30000ul}) {
        SCOPED_TRACE(start);
        Exchange e;
        e.block.now = start;
        EXPECT_EQ(e.Send(), ExchangeTimedOut);
        const unsigned long waited = (e.block.now - start) & 0xFFFFFFFFul;
        EXPECT_GE(waited, kBound);
        EXPECT_LE(waited, kBound + 1);
        EXPECT_EQ(e.block.posts, 2);
    }
}

TEST(BlockExchange, AGuardMutexThatCannotBeTakenEndsTheConversation) {
    Exchange e;
    e.block.monitor = [&](LinkBlock& shared, int look) {
        if (look == 2) e.block.guardFree = false;  // a holder hangs after this look
        Finish(shared, LinkPending);
    };
    EXPECT_EQ(e.Send(), ExchangeGuardLost);
    EXPECT_TRUE(e.session.GuardLost());
    EXPECT_LT(e.block.now, 200u);

    // Nothing more is posted or looked at: not even once the mutex is free.
    e.block.guardFree = true;
    const int posts = e.block.posts, looks = e.block.looks;
    EXPECT_EQ(e.Receive(), ExchangeGuardLost);
    e.session.Detach(&e.copy);
    EXPECT_EQ(e.block.posts, posts);
    EXPECT_EQ(e.block.looks, looks);

    // The next conversation starts afresh.
    e.block.monitor = [](LinkBlock& shared, int) { Finish(shared, LinkDone); };
    ASSERT_TRUE(e.session.Attach(&e.copy));
    EXPECT_EQ(e.Send(), ExchangeDone);
    e.session.Detach(&e.copy);
    EXPECT_EQ(e.block.shared.request, static_cast<std::uint32_t>(LinkEnd));
}

TEST(BlockExchange, AClearThatCannotBePostedRefusesTheConversation) {
    ScriptedBlock block;
    block.guardFree = false;
    BlockSession session(block);
    LinkBlock copy;
    std::memset(&copy, 0x5A, sizeof copy);
    EXPECT_FALSE(session.Attach(&copy));
    EXPECT_EQ(copy.status, static_cast<std::uint32_t>(LinkPending)) << "cleared all the same";
    EXPECT_EQ(session.Exchange(&copy, LinkSend, kCancel, kCancelLength, kBound), ExchangeGuardLost);
}

TEST(BlockExchange, TheLengthIsTakenAsSixteenBitsAndNeverPastTheDataArea) {
    static char big[70000];
    std::memset(big, 'x', sizeof big);
    Exchange e;
    e.block.monitor = [](LinkBlock& shared, int) { Finish(shared, LinkDone); };
    EXPECT_EQ(e.Send(big, 65536 + 9), ExchangeDone);
    EXPECT_EQ(e.copy.length, 9u);
    EXPECT_EQ(e.Send(big, 5000), ExchangeDone);
    EXPECT_EQ(e.copy.length, LinkDataSize);
}

}  // namespace
