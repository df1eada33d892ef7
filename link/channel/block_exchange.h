// One conversation through the language monitor's shared block, as far as
// it can be decided without the platform: how a request is posted, when an
// outcome read back belongs to it, the bound on the wait, and what a guard
// mutex that cannot be taken means. Portable: the copies under the guard
// mutex, the pause and the clock come through SharedBlockAccess.
#pragma once

#include <cstdint>

#include "link/channel/channel.h"
#include "link/channel/link_block.h"

// The longest the program waits for the language monitor to finish one
// request. A real monitor ends every request itself within its port
// time-outs (tens of seconds at most); without this bound a driver installed
// without its monitor, or a monitor that died, would hang the program for
// ever. An expired wait counts as LinkFailed.
enum { LinkAnswerTimeoutMs = 60000 };

// The longest one copy waits for the block's guard mutex. Every holder keeps
// it for one 4108-byte copy; a mutex not free after this long is held by a
// process that hangs.
enum { LinkGuardTimeoutMs = 10000 };

class SharedBlockAccess {
public:
    virtual ~SharedBlockAccess() = default;
    // Copies the whole block to the shared one, or back, under the guard
    // mutex. False when the mutex could not be taken: nothing was copied.
    virtual bool Post(const LinkBlock& copy) = 0;
    virtual bool Fetch(LinkBlock* copy) = 0;
    virtual void Pause(unsigned milliseconds) = 0;
    // A millisecond clock; it may wrap.
    virtual unsigned long Milliseconds() = 0;
};

// How one request through the block ended.
enum ExchangeEnd {
    ExchangeDone,       // LinkDone for this request
    ExchangeFailed,     // LinkFailed for this request
    ExchangeOther,      // another status for this request
    ExchangeTimedOut,   // not finished within the bound
    ExchangeGuardLost,  // a copy could not take the guard mutex; this
                        // conversation posts nothing more
};

// True when the block read back still carries the request that was posted:
// the same request code and, for a send, the same length and data bytes.
// The monitor writes the whole block back when it finishes a request, also
// one the program gave up on long ago; such a stale copy carries the old
// request. (A receive's length and data are the monitor's to write, so only
// its code can be compared.)
bool CarriesRequest(const LinkBlock& seen, std::uint32_t code, const unsigned char* data, std::uint32_t length);

// The requests of one conversation. A copy that cannot take the guard mutex
// ends the conversation: every later request fails at once without posting,
// and Detach posts nothing, until the next Attach.
class BlockSession {
public:
    explicit BlockSession(SharedBlockAccess& access) : access_(access) {}

    // Clears `copy` (idle, no data, pending) and posts it. False: the guard
    // mutex was not taken, and the conversation must not go on.
    bool Attach(LinkBlock* copy);

    // Posts the request and waits for its outcome within `boundMs`. Reads
    // back into `copy`; a stale copy of an earlier request is not this
    // request's outcome: the request is posted again and the wait goes on
    // within the same bound.
    ExchangeEnd Exchange(LinkBlock* copy, std::uint32_t code, const void* data, unsigned length,
                         unsigned long boundMs);

    // Posts LinkEnd; does not wait.
    void Detach(LinkBlock* copy);

    bool GuardLost() const { return guardLost_; }

private:
    SharedBlockAccess& access_;
    bool guardLost_ = false;
};

// The channel's reading of an exchange. A send counts as done for every
// status but LinkFailed (another status hands back the non-zero length,
// which callers take for success); a receive only for LinkDone, and its
// answer is copied out of `copy` bounded by the data area.
ChannelReply SendReply(ExchangeEnd end);
ChannelReply ReceiveReply(ExchangeEnd end, const LinkBlock* copy, unsigned char* answer, int* length);
