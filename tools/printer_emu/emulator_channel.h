// A PrinterChannel into a PrinterEmulator in the same process, so that the
// conversations can be driven natively with every fault a real road has.
//
// On the spooler channel the requests go the whole way the program's own
// code takes them (BlockSession: post, poll, stale copies, the bound, the
// guard mutex) through a shared block that a monitor in this process serves
// on a clock of its own: time passes only when the program pauses, so a
// 60-second bound costs nothing but polls. On the LAN channel the library
// is a function call.
// Portable; for tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/channel/block_exchange.h"
#include "link/channel/channel.h"
#include "tools/printer_emu/printer_emulator.h"

struct ChannelFaults {
    bool prepareFails = false;     // the shared block cannot be made
    const char* beginFailsWith = nullptr;  // Begin fails and hands back this text
    int failRequest = 0;           // the Nth request (send or receive, from 1) fails
                                   // without reaching the printer; 0: none
    bool failLaterRequests = false;  // with failRequest: that one and all after it fail
    int lateRequest = 0;           // the Nth request reaches the printer at once, but
                                   // its outcome comes only lateMs later: on the
                                   // spooler channel the monitor then writes its whole
                                   // block back over whatever is posted by then, and
                                   // serves nothing meanwhile; on the LAN channel the
                                   // library reports a failure
    unsigned long lateMs = 0;      // 0: one and a half bounds
    bool guardHungAtBegin = false; // a hung process holds the guard mutex from the start
    int guardHungAtRequest = 0;    // ... from the program's Nth request on; 0: never
};

// Serves one pending request of the block the way a language monitor does:
// a send goes to the printer, a receive brings its answer into the data
// area and the length field. Returns the status to write back.
std::uint32_t ServeLinkRequest(PrinterEmulator& printer, LinkBlock& block);

// The language monitor and its shared block. It serves the block from a
// connection job until it takes LinkEnd, one request per look, and writes
// the whole block back when a request is finished.
class SimulatedMonitor : public SharedBlockAccess {
public:
    SimulatedMonitor(PrinterEmulator printer, const ChannelFaults& faults) : printer_(printer), faults_(faults) {}

    bool Post(const LinkBlock& copy) override;
    bool Fetch(LinkBlock* copy) override;
    void Pause(unsigned milliseconds) override;
    unsigned long Milliseconds() override { return now_; }

    void ConnectionJob() { serving_ = true; }
    void HangGuard() { guardHung_ = true; }
    // The outcome of a late request lands on the next look at or after its time.
    void SetBound(unsigned long boundMs) { boundMs_ = boundMs; }

    int Served() const { return served_; }
    int Posts() const { return posts_; }
    // Copies tried while the guard mutex was held: each would have waited
    // out the guard's bound.
    int RefusedCopies() const { return refusedCopies_; }
    // Late write-backs that landed over a request the program had posted since.
    int StaleLandings() const { return staleLandings_; }

private:
    void Look();

    PrinterEmulator printer_;
    const ChannelFaults& faults_;
    LinkBlock shared_ = {};
    unsigned long now_ = 0;
    unsigned long boundMs_ = 0;
    bool serving_ = false;
    bool guardHung_ = false;
    bool lateBusy_ = false;
    unsigned long lateDue_ = 0;
    LinkBlock late_ = {};
    int served_ = 0;
    int posts_ = 0;
    int refusedCopies_ = 0;
    int staleLandings_ = 0;
};

class EmulatorChannel : public PrinterChannel {
public:
    // The bound of the in-process monitor's clock: shorter than the
    // program's real one only to keep the polls few.
    static constexpr unsigned long kBoundMs = 1000;

    explicit EmulatorChannel(PrinterEmulator printer, ChannelKind kind = ChannelSpooler)
        : printer_(printer), kind_(kind), monitor_(printer, faults_), session_(monitor_) {
        monitor_.SetBound(kBoundMs);
    }

    ChannelFaults& Faults() { return faults_; }
    SimulatedMonitor& Monitor() { return monitor_; }

    ChannelKind Kind() const override { return kind_; }
    bool Prepare() override;
    bool Begin(const char** errorText) override;
    ChannelReply Send(const void* bytes, int length) override;
    ChannelReply Receive(unsigned char* answer, int* length) override;
    void End() override;

    // Requests that reached the monitor or the library (sends and receives).
    int Requests() const { return kind_ == ChannelLan ? lanRequests_ : monitor_.Served(); }
    int Begun() const { return begun_; }
    int Ended() const { return ended_; }
    // Begin and End alternate: every conversation was ended, none twice.
    bool Balanced() const { return !open_ && begun_ == ended_; }

private:
    // The program's next request: hangs the guard when the faults say so.
    void NextRequest();
    ChannelReply LanSend(const void* bytes, int length);
    ChannelReply LanReceive(unsigned char* answer, int* length);
    bool LanFault(bool* late);

    PrinterEmulator printer_;
    ChannelKind kind_;
    ChannelFaults faults_;
    SimulatedMonitor monitor_;
    BlockSession session_;
    LinkBlock copy_ = {};
    int programRequests_ = 0;
    int lanRequests_ = 0;
    bool open_ = false;
    int begun_ = 0;
    int ended_ = 0;
};
