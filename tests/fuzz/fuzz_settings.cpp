// The settings parse from the start of the answer and from a start position
// taken from the input.
#include "fuzz_common.h"

namespace {

void ParseFrom(const FuzzAnswer::Case& c, int start, bool alsoQuietly) {
    SettingsRecord record;
    std::memset(record.value, 0xEE, sizeof record.value);
    ValueErrorLog errors;
    if (ParseSettingsAnswer(c.bytes, c.length, start, &record, &ValueErrorLog::Record, &errors)) {
        CheckRecordInLists(record);
        // Each rejected value is one entry of at least 9 bytes, after the echo.
        FUZZ_CHECK(errors.calls * 9 <= FuzzAnswer::Effective(c.length));
    } else {
        for (unsigned char byte : record.value) FUZZ_CHECK(byte == 0xEE);
        FUZZ_CHECK(errors.calls == 0);
    }
    if (!alsoQuietly) return;
    // Without a handler the record comes out the same.
    SettingsRecord quiet;
    std::memset(quiet.value, 0xEE, sizeof quiet.value);
    ParseSettingsAnswer(c.bytes, c.length, start, &quiet, nullptr, nullptr);
    FUZZ_CHECK(std::memcmp(quiet.value, record.value, sizeof record.value) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FuzzAnswer answer(data, size);
    bool first = true;
    for (const FuzzAnswer::Case& c : answer.cases()) {
        ParseFrom(c, 0, first);
        first = false;
    }
    // A start position taken from the input, also before the buffer.
    if (size >= 3) ParseFrom(answer.cases().front(), static_cast<std::int8_t>(data[2]) * 40, false);
    return 0;
}
