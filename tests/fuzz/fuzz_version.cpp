// The version parse: 7 bytes taken, the rest of the 12-byte block untouched.
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FuzzAnswer answer(data, size);
    for (const FuzzAnswer::Case& c : answer.cases()) {
        std::unique_ptr<unsigned char[]> version(new unsigned char[12]);
        std::memset(version.get(), 0x5A, 12);
        const bool found = ParseVersionAnswer(c.bytes, c.length, version.get());
        FUZZ_CHECK(found == (FindAnswerField(c.bytes, c.length, 0, "?VER    ") >= 0));
        for (int i = found ? 7 : 0; i < 12; ++i) FUZZ_CHECK(version[i] == 0x5A);
    }
    return 0;
}
