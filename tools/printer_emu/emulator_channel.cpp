#include "tools/printer_emu/emulator_channel.h"

#include <cstdint>
#include <cstring>

std::uint32_t ServeLinkRequest(PrinterEmulator& printer, LinkBlock& block) {
    if (block.request == LinkSend) {
        const std::size_t length = block.length < LinkDataSize ? block.length : LinkDataSize;
        return printer.Write(block.data, length) ? LinkDone : LinkFailed;
    }
    std::vector<std::uint8_t> answer;
    if (!printer.Read(&answer)) return LinkFailed;
    const std::size_t length = answer.size() < LinkDataSize ? answer.size() : std::size_t{LinkDataSize};
    std::memset(block.data, 0, LinkDataSize);
    if (length) std::memcpy(block.data, answer.data(), length);
    block.length = static_cast<std::uint32_t>(length);
    return LinkDone;
}

namespace {

bool Fails(const ChannelFaults& faults, int request) {
    if (!faults.failRequest) return false;
    return faults.failLaterRequests ? request >= faults.failRequest : request == faults.failRequest;
}

}  // namespace

// ---- the monitor ------------------------------------------------------------

bool SimulatedMonitor::Post(const LinkBlock& copy) {
    if (guardHung_) return ++refusedCopies_, false;
    Look();
    shared_ = copy;
    ++posts_;
    return true;
}

bool SimulatedMonitor::Fetch(LinkBlock* copy) {
    if (guardHung_) return ++refusedCopies_, false;
    Look();
    *copy = shared_;
    return true;
}

void SimulatedMonitor::Pause(unsigned milliseconds) {
    now_ += milliseconds;
    Look();
}

void SimulatedMonitor::Look() {
    if (lateBusy_) {
        if (now_ < lateDue_) return;
        // The whole block goes back, over whatever the program posted since.
        if (std::memcmp(&shared_, &late_, sizeof shared_) != 0 && shared_.status == LinkPending) ++staleLandings_;
        shared_ = late_;
        lateBusy_ = false;
        return;
    }
    if (!serving_) return;
    if (shared_.request == LinkEnd) {
        serving_ = false;
        return;
    }
    if ((shared_.request != LinkSend && shared_.request != LinkReceive) || shared_.status != LinkPending) return;
    ++served_;
    LinkBlock block = shared_;
    block.status = Fails(faults_, served_) ? static_cast<std::uint32_t>(LinkFailed) : ServeLinkRequest(printer_, block);
    if (served_ == faults_.lateRequest) {
        late_ = block;
        lateBusy_ = true;
        lateDue_ = now_ + (faults_.lateMs ? faults_.lateMs : boundMs_ + boundMs_ / 2);
        return;
    }
    shared_ = block;
}

// ---- the channel ----------------------------------------------------------------

bool EmulatorChannel::Prepare() { return !faults_.prepareFails; }

bool EmulatorChannel::Begin(const char** errorText) {
    if (errorText) *errorText = nullptr;
    if (faults_.beginFailsWith) {
        if (errorText) *errorText = faults_.beginFailsWith;
        return false;
    }
    if (kind_ == ChannelSpooler) {
        if (faults_.guardHungAtBegin) monitor_.HangGuard();
        if (!session_.Attach(&copy_)) return false;
        monitor_.ConnectionJob();
    }
    open_ = true;
    ++begun_;
    return true;
}

void EmulatorChannel::NextRequest() {
    ++programRequests_;
    if (faults_.guardHungAtRequest && programRequests_ >= faults_.guardHungAtRequest) monitor_.HangGuard();
}

ChannelReply EmulatorChannel::Send(const void* bytes, int length) {
    if (length < 0) length = 0;
    if (kind_ == ChannelLan) return LanSend(bytes, length);
    NextRequest();
    return SendReply(session_.Exchange(&copy_, LinkSend, bytes, static_cast<unsigned>(length), kBoundMs));
}

ChannelReply EmulatorChannel::Receive(unsigned char* answer, int* length) {
    if (kind_ == ChannelLan) return LanReceive(answer, length);
    NextRequest();
    const ExchangeEnd end = session_.Exchange(&copy_, LinkReceive, nullptr, 0, kBoundMs);
    return ReceiveReply(end, &copy_, answer, length);
}

void EmulatorChannel::End() {
    if (kind_ == ChannelSpooler) session_.Detach(&copy_);
    open_ = false;
    ++ended_;
}

bool EmulatorChannel::LanFault(bool* late) {
    ++lanRequests_;
    *late = faults_.lateRequest == lanRequests_;
    return Fails(faults_, lanRequests_);
}

ChannelReply EmulatorChannel::LanSend(const void* bytes, int length) {
    bool late = false;
    if (LanFault(&late)) return ReplyFailed;
    if (length > ChannelAnswerSize) length = ChannelAnswerSize;
    const bool taken = printer_.Write(static_cast<const std::uint8_t*>(bytes), static_cast<std::size_t>(length));
    return taken && !late ? ReplyDone : ReplyFailed;
}

ChannelReply EmulatorChannel::LanReceive(unsigned char* answer, int* length) {
    std::memset(answer, 0, ChannelAnswerSize);
    *length = 0;
    bool late = false;
    if (LanFault(&late)) return ReplyFailed;
    std::vector<std::uint8_t> bytes;
    const bool answered = printer_.Read(&bytes);
    if (!answered || late) return ReplyFailed;
    const std::size_t limit = static_cast<std::size_t>(ChannelAnswerSize);
    const std::size_t count = bytes.size() < limit ? bytes.size() : limit;
    if (count) std::memcpy(answer, bytes.data(), count);
    *length = static_cast<int>(count);
    return ReplyDone;
}
