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
