// Counter parse of the consumables answer (ESC e S1, S3..S9): binary blocks
// found anywhere in the answer, each copied into the record of its id.
//
// The answer is untrusted: every read stays inside the 4096-byte answer
// buffer and every copy inside its record, whatever the length says.
#include "panel/core/counters.h"

#include <cstring>

namespace {

enum { AnswerBufferSize = CounterAnswerBufferSize };

int ClampLength(int length) {
    if (length < 0) return 0;
    if (length > AnswerBufferSize) return AnswerBufferSize;
    return length;
}

// Byte `position` of the answer buffer, 0 outside it.
unsigned char BufferByte(const unsigned char* buffer, int position) {
    return position >= 0 && position < AnswerBufferSize ? buffer[position] : 0;
}

struct CounterBlockKind {
    unsigned char length;  // L: the whole block from its leading byte
    unsigned char id;
};

// The (length, id) pairs looked for, in the order they are compared.
constexpr CounterBlockKind CounterBlockKinds[] = {
    {0x08, 1}, {0x08, 3}, {0x08, 4}, {0x08, 5}, {0x08, 6}, {0x08, 7}, {0x64, 8}, {0x0B, 9},
};

// A complete answer holds one block per query: S1, S3 .. S9.
enum { CompleteCounterBlocks = 8 };

struct CounterRecord {
    unsigned char* bytes;
    int size;
};

CounterRecord RecordOfId(ConsumablesCounters* counters, int id) {
    switch (id) {
    case 1: return {counters->record1, static_cast<int>(sizeof counters->record1)};
    case 3: return {counters->powerOnTime, static_cast<int>(sizeof counters->powerOnTime)};
    case 4: return {counters->printedLines, static_cast<int>(sizeof counters->printedLines)};
    case 5: return {counters->platenFeeds, static_cast<int>(sizeof counters->platenFeeds)};
    case 6: return {counters->ribbonLife, static_cast<int>(sizeof counters->ribbonLife)};
    case 7: return {counters->thicknessCount, static_cast<int>(sizeof counters->thicknessCount)};
    case 8: return {counters->headPins, static_cast<int>(sizeof counters->headPins)};
    case 9: return {counters->alarmHistory, static_cast<int>(sizeof counters->alarmHistory)};
    default: return {nullptr, 0};
    }
}

// Kind of the counter block whose (length, id) pair starts at `position`, or
// null. Both bytes must lie inside the buffer.
const CounterBlockKind* MatchCounterBlock(const unsigned char* buffer, int position) {
    if (position < 0 || position + 1 >= AnswerBufferSize) return nullptr;
    for (const CounterBlockKind& kind : CounterBlockKinds)
        if (buffer[position] == kind.length && buffer[position + 1] == kind.id) return &kind;
    return nullptr;
}

void ConvertBigEndian16(unsigned char* bytes) {
    const std::uint16_t value = static_cast<std::uint16_t>((bytes[0] << 8) | bytes[1]);
    std::memcpy(bytes, &value, sizeof value);
}

void ConvertBigEndian32(unsigned char* bytes) {
    const std::uint32_t value = (static_cast<std::uint32_t>(bytes[0]) << 24) |
                                (static_cast<std::uint32_t>(bytes[1]) << 16) |
                                (static_cast<std::uint32_t>(bytes[2]) << 8) | static_cast<std::uint32_t>(bytes[3]);
    std::memcpy(bytes, &value, sizeof value);
}

// The counts start at block byte 4. The alarm history (id 9) is a list of
// one-byte codes and has no byte order. Only the records this answer brought
// are converted, each once: a complete count can come from one block
// repeated, and turning a record that is already in host order again would
// scramble the values of an earlier read.
void ConvertCountersToHostOrder(ConsumablesCounters* counters, const bool arrived[10]) {
    if (arrived[1]) ConvertBigEndian16(counters->record1 + 4);
    if (arrived[3]) ConvertBigEndian32(counters->powerOnTime + 4);
    if (arrived[4]) ConvertBigEndian32(counters->printedLines + 4);
    if (arrived[5]) ConvertBigEndian32(counters->platenFeeds + 4);
    if (arrived[6]) ConvertBigEndian32(counters->ribbonLife + 4);
    if (arrived[7]) ConvertBigEndian32(counters->thicknessCount + 4);
    if (arrived[8])
        for (int offset = 4; offset + 4 <= static_cast<int>(sizeof counters->headPins); offset += 4)
            ConvertBigEndian32(counters->headPins + offset);
}

}  // namespace

int ParseCountersAnswer(const unsigned char* buffer, int length, ConsumablesCounters* counters) {
    if (!buffer || !counters) return 0;
    length = ClampLength(length);
    int blocks = 0;
    bool arrived[10] = {};
    int position = 0;
    while (position < length) {
        const CounterBlockKind* kind = MatchCounterBlock(buffer, position);
        if (!kind) {
            ++position;
            continue;
        }
        // The match is at the length byte; the block starts one byte before
        // it with a leading byte, which is 0 for a match at position 0.
        const CounterRecord record = RecordOfId(counters, kind->id);
        const int size = kind->length < record.size ? kind->length : record.size;
        for (int i = 0; i < size; ++i) record.bytes[i] = BufferByte(buffer, position - 1 + i);
        ++blocks;  // matched blocks, not distinct ids
        arrived[kind->id] = true;
        position += kind->length;
    }
    // An incomplete answer leaves the copied blocks in the printer's order.
    if (blocks >= CompleteCounterBlocks) ConvertCountersToHostOrder(counters, arrived);
    return blocks;
}
