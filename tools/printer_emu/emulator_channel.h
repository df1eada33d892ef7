// A PrinterChannel straight into a PrinterEmulator in the same process: the
// language monitor and the port collapsed into function calls, so that the
// conversations can be driven natively with every fault a real road has.
// Portable; for tests.
#pragma once

#include <string>
#include <vector>

#include "link/channel/channel.h"
#include "tools/printer_emu/printer_emulator.h"

struct ChannelFaults {
    bool prepareFails = false;     // the shared block cannot be made
    const char* beginFailsWith = nullptr;  // Begin fails and hands back this text
    int failRequest = 0;           // the Nth request (send or receive, from 1) fails
                                   // without reaching the printer; 0: none
    bool failLaterRequests = false;  // with failRequest: that one and all after it fail
    int lateRequest = 0;           // the Nth request is carried out, but its
                                   // answer comes only after the wait bound
};

class EmulatorChannel : public PrinterChannel {
public:
    explicit EmulatorChannel(PrinterEmulator printer, ChannelKind kind = ChannelSpooler)
        : printer_(printer), kind_(kind) {}

    ChannelFaults& Faults() { return faults_; }

    ChannelKind Kind() const override { return kind_; }
    bool Prepare() override;
    bool Begin(const char** errorText) override;
    ChannelReply Send(const void* bytes, int length) override;
    ChannelReply Receive(unsigned char* answer, int* length) override;
    void End() override;

    // Requests posted so far (sends and receives), and those posted after a
    // request had timed out: a late answer would mark such a request done
    // although the printer never saw it.
    int Requests() const { return requests_; }
    int RequestsAfterTimeOut() const { return requestsAfterTimeOut_; }
    int Begun() const { return begun_; }
    int Ended() const { return ended_; }
    // Begin and End alternate: every conversation was ended, none twice.
    bool Balanced() const { return !open_ && begun_ == ended_; }

private:
    // Counts the request; true when it is to fail, *late when it is late.
    bool Fault(bool* late);

    PrinterEmulator printer_;
    ChannelKind kind_;
    ChannelFaults faults_;
    int requests_ = 0;
    int requestsAfterTimeOut_ = 0;
    bool timedOut_ = false;
    bool open_ = false;
    int begun_ = 0;
    int ended_ = 0;
};
