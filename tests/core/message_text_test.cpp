// The value-error message built from a message code.
#include "panel/core/message_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kHead = "プリンターから以下の項目において\n規定外のデータを読み取りました。\n\n";
const std::string kTail = "\n\n他のアプリケーションからの印刷が無いことを確認し、\nプリンターの電源を再投入して下さい。";

std::string Text(MessageCode code, const char* caller) {
    char buffer[1024];
    const std::size_t n = BuildMessageText(code, caller, buffer, sizeof buffer);
    EXPECT_EQ(n, std::string(buffer).size());
    return buffer;
}

TEST(MessageText, ValueErrorCodeReplacesTheCallersText) {
    EXPECT_EQ(Text(102, "ignored"), kHead + "改行量(手差し,前ASF,後ASF)" + kTail);
    EXPECT_EQ(Text(211, "ignored"), kHead + "ｽﾀﾝﾊﾞｲﾓｰﾄﾞ" + kTail);
    EXPECT_EQ(Text(101, nullptr), kHead + "ｶｯﾄ位置からの戻し動作" + kTail);
}

TEST(MessageText, OtherCodesShowTheCallersText) {
    for (MessageCode code : {0u, 100u, 209u, 210u, 212u, 0xFFFFFFFFu})
        EXPECT_EQ(Text(code, "そのまま"), "そのまま") << code;
    EXPECT_EQ(Text(0, nullptr), "");
}

// A cut never leaves half of a double-byte character behind.
TEST(MessageText, ASmallBufferIsCutAtACharacterAndTerminated) {
    char buffer[10];
    const std::size_t n = BuildMessageText(102, "", buffer, sizeof buffer);
    EXPECT_EQ(n, 8u);
    EXPECT_EQ(std::string(buffer), "プリンタ");
    char eleven[11];
    EXPECT_EQ(BuildMessageText(0, "ab改行", eleven, 5), 4u);
    EXPECT_STREQ(eleven, "ab改");
    char one[1] = {'x'};
    EXPECT_EQ(BuildMessageText(102, "", one, 1), 0u);
    EXPECT_EQ(one[0], '\0');
    EXPECT_EQ(BuildMessageText(102, "", nullptr, 0), 0u);
}

}  // namespace

namespace {

// A record whose every byte lies inside its list, except the ones changed.
SettingsRecord Valid() {
    SettingsRecord record;
    CopyFactoryDefaults(&record);
    return record;
}

TEST(OutOfList, FindsTheFirstItemWhoseByteLiesOutsideItsList) {
    SettingsRecord record = Valid();
    EXPECT_EQ(FindOutOfListSetting(record), -1);
    // The last position of a list is still inside; one past it is not.
    record.value[5] = static_cast<unsigned char>(SettingValueCount(5) - 1);
    EXPECT_EQ(FindOutOfListSetting(record), -1);
    record.value[5] = static_cast<unsigned char>(SettingValueCount(5));
    record.value[108] = 255;  // an empty selection
    EXPECT_EQ(FindOutOfListSetting(record), 5);
    record.value[5] = 0;
    EXPECT_EQ(FindOutOfListSetting(record), 108);
}

TEST(OutOfList, TheRefusalNamesTheItem) {
    char buffer[512];
    BuildOutOfListText(0, buffer, sizeof buffer);
    const std::string text = buffer;
    EXPECT_NE(text.find("改行量(手差し,前ASF,後ASF)"), std::string::npos) << text;
    EXPECT_EQ(BuildOutOfListText(SettingCount, buffer, sizeof buffer), 0u);
    EXPECT_STREQ(buffer, "");
    // Cut, never overrun: a short buffer ends in a terminator.
    char small[10];
    EXPECT_LT(BuildOutOfListText(0, small, sizeof small), sizeof small);
}

}  // namespace
