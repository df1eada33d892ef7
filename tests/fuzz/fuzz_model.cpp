// The start-up read: model check, then the settings parse from where it ends.
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FuzzAnswer answer(data, size);
    for (const FuzzAnswer::Case& c : answer.cases()) {
        const int effective = FuzzAnswer::Effective(c.length);

        std::uint32_t model = 0;
        const int start = ParseModelAnswer(c.bytes, c.length, &model);
        FUZZ_CHECK(model == 0 || model == ModelKoa2400MaxR || model == ModelKoa2600MaxR);
        // The identifier follows a query echo that starts before the length.
        FUZZ_CHECK(start == effective || (start >= 9 && start <= effective + 8));

        std::uint32_t earlier = ModelKoa2600MaxR;
        FUZZ_CHECK(ParseModelAnswer(c.bytes, c.length, &earlier) == start);
        FUZZ_CHECK(earlier == (model ? model : static_cast<std::uint32_t>(ModelKoa2600MaxR)));

        SettingsRecord record;
        std::memset(record.value, 0xEE, sizeof record.value);
        ValueErrorLog errors;
        if (ParseSettingsAnswer(c.bytes, c.length, start, &record, &ValueErrorLog::Record, &errors)) {
            CheckRecordInLists(record);
            FUZZ_CHECK(start < effective);
        } else {
            for (unsigned char byte : record.value) FUZZ_CHECK(byte == 0xEE);
            FUZZ_CHECK(errors.calls == 0);
        }
    }
    return 0;
}
