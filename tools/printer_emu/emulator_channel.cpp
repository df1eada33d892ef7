#include "tools/printer_emu/emulator_channel.h"

#include <cstdint>
#include <cstring>

bool EmulatorChannel::Prepare() { return !faults_.prepareFails; }

bool EmulatorChannel::Begin(const char** errorText) {
    if (errorText) *errorText = nullptr;
    if (faults_.beginFailsWith) {
        if (errorText) *errorText = faults_.beginFailsWith;
        return false;
    }
    open_ = true;
    ++begun_;
    return true;
}

bool EmulatorChannel::Fault(bool* late) {
    ++requests_;
    if (timedOut_) ++requestsAfterTimeOut_;
    *late = faults_.lateRequest == requests_;
    if (!faults_.failRequest) return false;
    return faults_.failLaterRequests ? requests_ >= faults_.failRequest : requests_ == faults_.failRequest;
}

ChannelReply EmulatorChannel::Send(const void* bytes, int length) {
    bool late = false;
    if (Fault(&late)) return ReplyFailed;
    if (length < 0) length = 0;
    if (length > ChannelAnswerSize) length = ChannelAnswerSize;
    const bool taken = printer_.Write(static_cast<const std::uint8_t*>(bytes), static_cast<std::size_t>(length));
    if (late) {
        timedOut_ = true;
        return ReplyTimedOut;
    }
    return taken ? ReplyDone : ReplyFailed;
}

ChannelReply EmulatorChannel::Receive(unsigned char* answer, int* length) {
    std::memset(answer, 0, ChannelAnswerSize);
    *length = 0;
    bool late = false;
    if (Fault(&late)) return ReplyFailed;
    std::vector<std::uint8_t> bytes;
    const bool answered = printer_.Read(&bytes);
    if (late) {
        timedOut_ = true;
        return ReplyTimedOut;
    }
    if (!answered) return ReplyFailed;
    const std::size_t limit = static_cast<std::size_t>(ChannelAnswerSize);
    const std::size_t count = bytes.size() < limit ? bytes.size() : limit;
    if (count) std::memcpy(answer, bytes.data(), count);
    *length = static_cast<int>(count);
    return ReplyDone;
}

void EmulatorChannel::End() {
    open_ = false;
    ++ended_;
}
