// The counter parse: blocks copied into their records, nothing read or
// written outside the answer buffer or the records.
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FuzzAnswer answer(data, size);
    for (const FuzzAnswer::Case& c : answer.cases()) {
        std::unique_ptr<ConsumablesCounters> counters(new ConsumablesCounters());
        const int blocks = ParseCountersAnswer(c.bytes, c.length, counters.get());
        // Each block takes at least 8 bytes of the scan but may run past
        // the length, so the count is bounded by length / 8 + 1.
        FUZZ_CHECK(blocks >= 0 && blocks <= FuzzAnswer::Effective(c.length) / 8 + 1);
        for (int offset = 4; offset + 4 <= 100; offset += 4) (void)CounterValue(counters->headPins, offset);
    }
    return 0;
}
