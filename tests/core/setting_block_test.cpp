// The setting block: its exact bytes for the factory values, its line order,
// and records holding bytes outside their lists.
#include "panel/core/setting_block.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

// The block buffer: exactly 4096 bytes on the heap, so that the address
// sanitizer reports a write past its end; filled with a marker first to
// show that the builder zero-fills it.
class BlockBuffer {
public:
    explicit BlockBuffer(int size = 4096) : size_(size), bytes_(new unsigned char[static_cast<size_t>(size)]) {
        std::memset(bytes_.get(), 0xA5, static_cast<size_t>(size));
    }
    int Build(const SettingsRecord& record) { return BuildSettingBlock(record, bytes_.get(), size_); }
    std::string Text(int length) const { return std::string(reinterpret_cast<const char*>(bytes_.get()), length); }
    const unsigned char* data() const { return bytes_.get(); }
    int size() const { return size_; }

private:
    int size_;
    std::unique_ptr<unsigned char[]> bytes_;
};

// Exchange order written out: record order with item 14 moved after 107.
std::vector<int> ExpectedLineOrder() {
    std::vector<int> order;
    for (int i = 0; i <= 13; ++i) order.push_back(i);
    for (int i = 15; i <= 107; ++i) order.push_back(i);
    order.push_back(14);
    order.push_back(108);
    return order;
}

// Reads a block back line by line, the way the printer takes it: each line
// must name the item due at that place and carry the keyword that the lookup
// finds at the record's position, or end at the colon when the record's
// byte lies outside the item's list.
void ExpectBlockReadsBackAs(const std::string& block, const SettingsRecord& record) {
    ASSERT_EQ(block.substr(0, 9), "SETTING \r");
    std::size_t at = 9;
    for (int item : ExpectedLineOrder()) {
        ASSERT_LE(at + 10, block.size()) << "block ends before item " << item;
        ASSERT_EQ(block[at], '\r') << "byte " << at;
        ASSERT_EQ(FindSettingItem(block.c_str() + at + 1), item) << "line at byte " << at;
        ASSERT_EQ(block[at + 9], ':') << "byte " << at + 9;
        at += 10;
        if (record.value[item] >= SettingValueCount(item)) continue;
        ASSERT_LE(at + 8, block.size()) << "value of item " << item;
        EXPECT_EQ(FindSettingValue(item, block.c_str() + at), record.value[item]) << "item " << item;
        at += 8;
    }
    EXPECT_EQ(block.substr(at), "\r");
}

void ExpectZeroFrom(const BlockBuffer& buffer, int from) {
    for (int i = from; i < buffer.size(); ++i) ASSERT_EQ(buffer.data()[i], 0) << "byte " << i;
}

TEST(SettingBlock, FactoryValuesGiveTheDocumentedBlock) {
    BlockBuffer buffer;
    const int length = buffer.Build(FactoryDefaults);
    ASSERT_EQ(length, 1972);
    const std::string block = buffer.Text(length);
    // Two carriage returns stand together after "SETTING ".
    EXPECT_EQ(block.substr(0, 63),
              "SETTING \r"
              "\rFRC-LFVA:6LPI    "
              "\rPATH-MD :FRICTION"
              "\rFRC-MODE:FRC     ");
    // CUT-BACK (item 14) is not at its record place but second to last.
    EXPECT_EQ(block.substr(9 + 18 * 13, 28), "\rTEAROFF :IGNOR   \rOL-CUTSW:");
    EXPECT_EQ(block.substr(length - 1 - 3 * 18),
              "\rEJCT-CTL:COMMAND "
              "\rCUT-BACK:OFF     "
              "\rSTANDBY :1min    "
              "\r");
    ExpectBlockReadsBackAs(block, FactoryDefaults);
    ExpectZeroFrom(buffer, length);
}

// Each list's every position, its first and its last included.
TEST(SettingBlock, EveryPositionOfEveryListReadsBack) {
    int longest = 0;
    for (int item = 0; item < SettingCount; ++item) longest = std::max(longest, SettingValueCount(item));
    for (int position = 0; position < longest; ++position) {
        SettingsRecord record = FactoryDefaults;
        for (int item = 0; item < SettingCount; ++item)
            if (position < SettingValueCount(item)) record.value[item] = static_cast<unsigned char>(position);
        SCOPED_TRACE("position " + std::to_string(position));
        BlockBuffer buffer;
        const int length = buffer.Build(record);
        ASSERT_EQ(length, 1972);
        ExpectBlockReadsBackAs(buffer.Text(length), record);
        ASSERT_FALSE(HasFailure());
    }
}

TEST(SettingBlock, ByteOutsideTheListEndsTheLineAtTheColon) {
    SettingsRecord record = FactoryDefaults;
    record.value[0] = 255;  // FRC-LFVA: a list written in the item's row
    BlockBuffer buffer;
    const int length = buffer.Build(record);
    ASSERT_EQ(length, 1972 - 8);
    EXPECT_EQ(buffer.Text(length).substr(0, 37),
              "SETTING \r"
              "\rFRC-LFVA:"
              "\rPATH-MD :FRICTION");
    ExpectZeroFrom(buffer, length);
}

TEST(SettingBlock, ByteOutsideANamedListAlsoEndsTheLine) {
    const int ulWait = 17;    // list of parking times
    const int faTop = 31;     // list of sheet load positions
    const int standby = 108;  // list of standby times, the last line
    SettingsRecord record = FactoryDefaults;
    record.value[ulWait] = 34;  // first past the end of its 34 values
    record.value[faTop] = 255;
    record.value[standby] = 60;  // first past the end of its 60 values
    BlockBuffer buffer;
    const int length = buffer.Build(record);
    ASSERT_EQ(length, 1972 - 3 * 8);
    const std::string block = buffer.Text(length);
    EXPECT_NE(block.find("\rUL-WAIT :\rUL-MODE :"), std::string::npos);
    EXPECT_NE(block.find("\rFA-TOP  :\rFA-EJDIR:"), std::string::npos);
    EXPECT_EQ(block.substr(length - 11), "\rSTANDBY :\r");
    ExpectBlockReadsBackAs(block, record);
}

TEST(SettingBlock, EveryByteOutsideGivesTheShortestBlock) {
    SettingsRecord record;
    std::memset(record.value, 255, sizeof record.value);
    BlockBuffer buffer;
    const int length = buffer.Build(record);
    EXPECT_EQ(length, 9 + 109 * 10 + 1);
    ExpectBlockReadsBackAs(buffer.Text(length), record);
    ExpectZeroFrom(buffer, length);
}

TEST(SettingBlock, BlockOfAnyRecordFitsTheBuffer) {
    std::mt19937 random(1972);
    for (int round = 0; round < 2000; ++round) {
        SettingsRecord record;
        for (unsigned char& byte : record.value) {
            // Mostly near the lists' sizes, where the edges are.
            byte = static_cast<unsigned char>(round % 2 ? random() % 256 : random() % 100);
        }
        SCOPED_TRACE("round " + std::to_string(round));
        BlockBuffer buffer;
        const int length = buffer.Build(record);
        ASSERT_GE(length, 9 + 109 * 10 + 1);
        ASSERT_LE(length, 1972);
        ASSERT_LE(length, SettingBlockBufferSize);
        ExpectBlockReadsBackAs(buffer.Text(length), record);
        ExpectZeroFrom(buffer, length);
        ASSERT_FALSE(HasFailure());
    }
}

TEST(SettingBlock, TooSmallABufferGetsNoBlock) {
    for (int size : {1, 9, 100, 1971}) {
        BlockBuffer buffer(size);
        EXPECT_EQ(buffer.Build(FactoryDefaults), 0) << size;
        ExpectZeroFrom(buffer, 0);
    }
    EXPECT_EQ(BuildSettingBlock(FactoryDefaults, nullptr, 4096), 0);
    BlockBuffer full;
    ASSERT_EQ(full.Build(FactoryDefaults), 1972);
    BlockBuffer exact(1972);
    EXPECT_EQ(exact.Build(FactoryDefaults), 1972);
    EXPECT_EQ(exact.Text(1972), full.Text(1972));
}

}  // namespace
