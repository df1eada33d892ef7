// The setting block that writes all settings to the printer.
#include "setting_block.h"

#include <cstring>

namespace {

const char BlockHeader[] = "SETTING \r";
const unsigned char LineStart = '\r';
const unsigned char NameValueSeparator = ':';
const unsigned char BlockEnd = '\r';

// Appends bytes to the block, never past the end of the buffer.
struct BlockWriter {
    unsigned char* buffer;
    int size;
    int length;

    void Add(const void* bytes, int count) {
        if (count <= 0 || length + count > size) return;
        std::memcpy(buffer + length, bytes, static_cast<std::size_t>(count));
        length += count;
    }
    void Add(unsigned char byte) { Add(&byte, 1); }
};

}  // namespace

int BuildSettingBlock(const SettingsRecord& settings, unsigned char* buffer, int size) {
    if (!buffer || size <= 0) return 0;
    std::memset(buffer, 0, static_cast<std::size_t>(size));
    // The longest block (every value in its list) must fit whole; a part of
    // a block would leave the printer inside its setting command.
    if (size < FullSettingBlockLength) return 0;

    BlockWriter block{buffer, size, 0};
    block.Add(BlockHeader, static_cast<int>(sizeof BlockHeader - 1));
    for (unsigned char item : SettingExchangeOrder) {
        block.Add(LineStart);
        block.Add(SettingItems[item].name, FieldWidth);
        block.Add(NameValueSeparator);
        // A byte outside the item's list (an empty selection, a damaged
        // settings file) has no keyword: the line ends at the colon.
        const char* keyword = SettingKeyword(item, settings.value[item]);
        if (keyword) block.Add(keyword, FieldWidth);
    }
    block.Add(BlockEnd);
    return block.length;
}
