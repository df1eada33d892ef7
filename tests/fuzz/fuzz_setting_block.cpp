// The setting block of any 109-byte record, built into a buffer exactly as
// large as asked, so that the address sanitizer sees any write past it.
#include "fuzz_common.h"

#include "panel/core/setting_block.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SettingsRecord record = {};
    std::memcpy(record.value, data, size < sizeof record.value ? size : sizeof record.value);

    int expected = 9 + SettingCount * 10 + 1;
    for (int item = 0; item < SettingCount; ++item)
        if (record.value[item] < SettingValueCount(item)) expected += FieldWidth;

    // The full 4096-byte buffer, and a size taken from the input.
    std::vector<int> sizes{SettingBlockBufferSize};
    if (size >= sizeof record.value + 2)
        sizes.push_back(1 + (data[sizeof record.value] | (data[sizeof record.value + 1] << 8)) % SettingBlockBufferSize);

    for (int bufferSize : sizes) {
        std::unique_ptr<unsigned char[]> buffer(new unsigned char[static_cast<std::size_t>(bufferSize)]);
        std::memset(buffer.get(), 0xA5, static_cast<std::size_t>(bufferSize));
        const int length = BuildSettingBlock(record, buffer.get(), bufferSize);
        if (bufferSize < FullSettingBlockLength) {
            FUZZ_CHECK(length == 0);
        } else {
            FUZZ_CHECK(length == expected);
            FUZZ_CHECK(length <= FullSettingBlockLength);
            FUZZ_CHECK(std::memcmp(buffer.get(), "SETTING \r\r", 10) == 0);
            FUZZ_CHECK(buffer[length - 1] == '\r');
        }
        for (int i = length; i < bufferSize; ++i) FUZZ_CHECK(buffer[i] == 0);
    }
    return 0;
}
