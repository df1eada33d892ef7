// A whole read or write conversation against a channel that answers with
// the input: the first byte picks the kind, the fourth which of the first
// seven requests fail (a time-out comes back as a failure), the next two the answer length the channel claims (possibly above
// the 4096-byte buffer), the rest is the answer.
#include "fuzz_common.h"

#include "panel/core/conversation.h"

namespace {

class ScriptChannel : public PrinterChannel {
public:
    ScriptChannel(const std::uint8_t* answer, std::size_t size, int claimed, unsigned faults)
        : answer_(answer), size_(size), claimed_(claimed), faults_(faults) {}

    ChannelKind Kind() const override { return (faults_ & 0x80) ? ChannelLan : ChannelSpooler; }
    bool Prepare() override { return true; }
    bool Begin(const char** errorText) override {
        if (errorText) *errorText = nullptr;
        FUZZ_CHECK(!open_);
        open_ = true;
        return true;
    }
    ChannelReply Send(const void* bytes, int length) override {
        FUZZ_CHECK(open_);
        FUZZ_CHECK(length >= 0 && length <= ChannelAnswerSize);
        FUZZ_CHECK(bytes != nullptr || length == 0);
        return Next();
    }
    ChannelReply Receive(unsigned char* answer, int* length) override {
        FUZZ_CHECK(open_);
        std::memset(answer, 0, ChannelAnswerSize);
        const std::size_t fits = size_ < static_cast<std::size_t>(ChannelAnswerSize) ? size_ : ChannelAnswerSize;
        if (fits) std::memcpy(answer, answer_, fits);
        // A channel that misreports: the conversation must bound it.
        *length = claimed_;
        return Next();
    }
    void End() override {
        FUZZ_CHECK(open_);
        open_ = false;
    }
    bool open() const { return open_; }

private:
    ChannelReply Next() {
        const int request = requests_++;
        return request < 7 && (faults_ >> request & 1) ? ReplyFailed : ReplyDone;
    }

    const std::uint8_t* answer_;
    std::size_t size_;
    int claimed_;
    unsigned faults_;
    int requests_ = 0;
    bool open_ = false;
};

class QuietHost : public ConversationHost {
public:
    void Wait(unsigned) override {}
    void ValueError(int item) override { FUZZ_CHECK(item >= 0 && item < SettingCount); }
    void LogAnswer(const unsigned char* bytes, int length) override {
        FUZZ_CHECK(bytes != nullptr && length >= 0 && length <= ChannelAnswerSize);
        if (length) {
            volatile unsigned char last = bytes[length - 1];  // readable to the end
            (void)last;
        }
    }
};

const ReadKind kReadKinds[] = {ReadModelAndSettings, ReadSettings, ReadCounters, ReadVersion};
const WriteKind kWriteKinds[] = {WriteSettings, ResetRibbonLife, ResetHeadPinCounter, PrintSettingsList};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    const unsigned control = data[0];
    const int claimed = static_cast<std::int16_t>(data[1] | data[2] << 8) * 2;
    const unsigned faults = data[3];
    ScriptChannel channel(data + 4, size - 4, claimed, faults);

    SettingsRecord current, received;
    CopyFactoryDefaults(&current);
    std::memset(&received, 0xEE, sizeof received);
    ConsumablesCounters counters = {};
    std::uint32_t detected = control & 0x40 ? ModelKoa2400MaxR : 0;
    unsigned char version[12] = {};
    bool pending = (control & 0x20) != 0;
    ConversationRecords records{&current, &received, &counters, &detected, version, &pending,
                                ModelKoa2400MaxR, (control & 0x10) ? "USB001" : "LPT1:"};
    QuietHost host;
    ConversationOutcome outcome;
    const bool read = (control & 0x08) == 0;
    if (read)
        RunRead(kReadKinds[control & 3], channel, records, host, &outcome);
    else
        RunWrite(kWriteKinds[control & 3], channel, records, host, &outcome);

    FUZZ_CHECK(!channel.open());
    FUZZ_CHECK(outcome.result >= -1 && outcome.result <= 1);
    FUZZ_CHECK(outcome.cancelPending == pending);
    if (outcome.result == 1 && read && (control & 3) < 2) CheckRecordInLists(current);
    FUZZ_CHECK(version[7] == 0 && version[11] == 0);
    FUZZ_CHECK(detected == 0 || detected == ModelKoa2400MaxR || detected == ModelKoa2600MaxR);
    return 0;
}
