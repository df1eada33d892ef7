// The seam between a conversation with the printer and the road its bytes
// take: the language monitor's shared block, the LAN library, or (in tests)
// a printer emulator in the same process. Portable: no platform headers.
#pragma once

enum ChannelKind { ChannelSpooler = 0, ChannelLan = 1 };

// How one request through a channel ended.
// A request that nobody finished in time counts as failed: the channel
// makes sure that a late outcome of it cannot pass for a later request's.
enum ChannelReply {
    ReplyDone,    // the bytes were taken, or an answer came
    ReplyFailed,  // the channel reported failure (no printer, no answer, no
                  // outcome within the channel's bound)
};

constexpr int ChannelAnswerSize = 4096;

class PrinterChannel {
public:
    virtual ~PrinterChannel() = default;

    virtual ChannelKind Kind() const = 0;

    // Readies what the channel keeps for the whole run (the shared block
    // and the private copy that carries the answer length). False: nothing
    // can be exchanged; the caller ends its operation without a message.
    virtual bool Prepare() = 0;

    // Starts one conversation. False when the printer cannot be reached at
    // all; *errorText (when not null) then holds the text to show the user,
    // or null when there is nothing to tell.
    virtual bool Begin(const char** errorText) = 0;

    // Sends `length` bytes (at most ChannelAnswerSize).
    virtual ChannelReply Send(const void* bytes, int length) = 0;

    // Receives one answer: `answer` (ChannelAnswerSize bytes) is zero-filled
    // first and receives at most ChannelAnswerSize bytes; *length is the
    // answer's length, never above ChannelAnswerSize.
    virtual ChannelReply Receive(unsigned char* answer, int* length) = 0;

    // Ends the conversation; does not wait for the printer.
    virtual void End() = 0;
};
