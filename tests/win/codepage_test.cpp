// The programs are ANSI: every text they hold must be code page 932 bytes
// that Windows itself decodes to the intended characters.
#include "panel/core/setting_items.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// Decodes ANSI text as the system does; empty on an invalid byte sequence.
std::wstring FromAnsi(const char* text) {
    const int n = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring wide(n, L'\0');
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, -1, &wide[0], n);
    wide.resize(n - 1);
    return wide;
}

std::string ToAnsi(const std::wstring& wide) {
    const int n = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::string();
    std::string text(n, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, &text[0], n, nullptr, nullptr);
    text.resize(n - 1);
    return text;
}

TEST(CodePage, TheTestEnvironmentIsJapanese) {
    EXPECT_EQ(GetACP(), 932u);
    EXPECT_EQ(GetOEMCP(), 932u);
}

TEST(CodePage, TitleOfFrcLfvaIsExactlyItsCp932Bytes) {
    const char* title = SettingTitle(FindSettingItem("FRC-LFVA"));
    ASSERT_NE(title, nullptr);
    // 改 行 量 ( 手 差 し , 前 A S F , 後 A S F )
    const unsigned char expected[] = {0x89, 0xFC, 0x8D, 0x73, 0x97, 0xCA, 0x28, 0x8E, 0xE8, 0x8D, 0xB7,
                                      0x82, 0xB5, 0x2C, 0x91, 0x4F, 0x41, 0x53, 0x46, 0x2C, 0x8C, 0xE3,
                                      0x41, 0x53, 0x46, 0x29};
    EXPECT_EQ(std::string(title), std::string(reinterpret_cast<const char*>(expected), sizeof expected));
    EXPECT_EQ(FromAnsi(title), L"改行量(手差し,前ASF,後ASF)");
}

TEST(CodePage, HalfWidthKatakanaStaySingleBytes) {
    const char* text = SettingDisplayText(FindSettingItem("FA-APTC "), 1);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::string(text).size(), 6u);
    EXPECT_EQ(FromAnsi(text), L"ﾚﾝｼﾞ 1");
    EXPECT_EQ(FromAnsi(SettingTitle(FindSettingItem("STANDBY "))), L"ｽﾀﾝﾊﾞｲﾓｰﾄﾞ");
}

// Every title and display text decodes without error and encodes back to the
// same bytes: nothing in the tables is mangled or outside the code page.
TEST(CodePage, EveryTableTextRoundTrips) {
    for (int i = 0; i < SettingCount; ++i) {
        const std::wstring title = FromAnsi(SettingTitle(i));
        ASSERT_FALSE(title.empty()) << "title of item " << i;
        EXPECT_EQ(ToAnsi(title), SettingTitle(i)) << "item " << i;
        for (int p = 0; p < SettingValueCount(i); ++p) {
            const char* text = SettingDisplayText(i, p);
            const std::wstring wide = FromAnsi(text);
            ASSERT_FALSE(wide.empty()) << "item " << i << " position " << p;
            EXPECT_EQ(ToAnsi(wide), text) << "item " << i << " position " << p;
        }
    }
    EXPECT_EQ(FromAnsi(SettingDisplayText(FindSettingItem("STANDBY "), 0)), L" 1分");
    EXPECT_EQ(FromAnsi(SettingDisplayText(FindSettingItem("UL-MODE "), 0)), L"ｶｯﾄ位置まで送る");
}

}  // namespace
