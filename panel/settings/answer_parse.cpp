// Parsers of the printer's answers.
//
// The answer is untrusted: whatever the length field says, every read stays
// inside the 4096-byte answer buffer and every copy inside its destination.
// A length outside 0..4096 is clamped here as well as by the caller, so the
// parsers are safe on their own.
#include "answer_parse.h"

#include <cstring>

namespace {

const char ModelQueryField[] = "?MODEL  ";
const char SettingsQueryField[] = "?NVRAM  ";
const char VersionQueryField[] = "?VER    ";

// Every 8-byte field of a settings answer is followed by one separator byte
// whose value carries no meaning, so a field and its separator take 9 bytes.
enum { FieldAndSeparator = FieldWidth + 1 };

// Bytes of the version text taken from the answer; the rest of the 12-byte
// block stays as it was, so a zero-filled block stays NUL-terminated.
enum { VersionTextLength = 7 };

int ClampLength(int length) {
    if (length < 0) return 0;
    if (length > AnswerBufferSize) return AnswerBufferSize;
    return length;
}

// The 8 bytes at `position` lie wholly inside the answer buffer. A field that
// would run past the buffer matches nothing.
bool FieldFits(int position) { return position >= 0 && position <= AnswerBufferSize - FieldWidth; }

bool FieldEquals(const unsigned char* buffer, int position, const char* field) {
    return FieldFits(position) && buffer[position] == static_cast<unsigned char>(field[0]) &&
           std::memcmp(buffer + position, field, FieldWidth) == 0;
}

// Which bytes begin some item name. The scan tries every byte of the answer
// as the start of an entry; most bytes begin no name at all.
struct NameStarts {
    bool byte[256] = {};
    NameStarts() {
        for (const SettingItem& item : SettingItems) byte[static_cast<unsigned char>(item.name[0])] = true;
    }
};

// Record index of the item named by the 8 bytes at `position`, or -1. The
// names are compared in the order they are exchanged with the printer.
int MatchItemName(const unsigned char* buffer, int position) {
    static const NameStarts starts;
    if (!FieldFits(position) || !starts.byte[buffer[position]]) return -1;
    for (unsigned char item : SettingExchangeOrder)
        if (FieldEquals(buffer, position, SettingItems[item].name)) return item;
    return -1;
}

// Position of the value keyword at `position` in `item`'s list, or -1.
int MatchItemValue(const unsigned char* buffer, int position, int item) {
    if (!FieldFits(position)) return -1;
    return FindSettingValue(item, reinterpret_cast<const char*>(buffer + position));
}

// Byte `position` of the answer buffer, 0 outside it.
unsigned char BufferByte(const unsigned char* buffer, int position) {
    return position >= 0 && position < AnswerBufferSize ? buffer[position] : 0;
}

// ---- counters ---------------------------------------------------------------

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

int FindAnswerField(const unsigned char* buffer, int length, int from, const char* field) {
    if (!buffer || !field) return -1;
    length = ClampLength(length);
    for (int position = from < 0 ? 0 : from; position < length; ++position)
        if (FieldEquals(buffer, position, field)) return position;
    return -1;
}

int ParseModelAnswer(const unsigned char* buffer, int length, std::uint32_t* detectedModel) {
    length = ClampLength(length);
    const int query = FindAnswerField(buffer, length, 0, ModelQueryField);
    if (query < 0) return length;
    const int identifier = query + FieldAndSeparator;
    if (detectedModel && FieldFits(identifier)) {
        const ModelCode model = ModelFromIdentifier(reinterpret_cast<const char*>(buffer + identifier));
        if (model == ModelKoa2400MaxR || model == ModelKoa2600MaxR) *detectedModel = model;
    }
    return identifier;
}

bool ParseSettingsAnswer(const unsigned char* buffer, int length, int start, SettingsRecord* received,
                         ValueErrorHandler onValueError, void* context) {
    if (!buffer || !received) return false;
    length = ClampLength(length);
    const int section = FindAnswerField(buffer, length, start, SettingsQueryField);
    if (section < 0) return false;

    // An item the printer does not report keeps its factory value.
    CopyFactoryDefaults(received);

    int position = section + FieldAndSeparator;
    while (position < length) {
        const int item = MatchItemName(buffer, position);
        if (item < 0) {
            ++position;  // not an entry: skip one byte and look again
            continue;
        }
        position += FieldAndSeparator;
        const int value = MatchItemValue(buffer, position, item);
        if (value >= 0) {
            received->value[item] = static_cast<unsigned char>(value);
            position += FieldAndSeparator;
        } else {
            // The item keeps what it had. The rejected bytes may hold the
            // next entry, so the scan goes on just after the value's start.
            if (onValueError) onValueError(item, context);
            ++position;
        }
    }
    return true;
}

bool ParseVersionAnswer(const unsigned char* buffer, int length, unsigned char version[12]) {
    if (!buffer || !version) return false;
    const int query = FindAnswerField(buffer, length, 0, VersionQueryField);
    if (query < 0) return false;
    const int text = query + FieldAndSeparator;
    for (int i = 0; i < VersionTextLength; ++i) version[i] = BufferByte(buffer, text + i);
    return true;
}

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
