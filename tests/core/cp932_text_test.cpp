// Copies of code page 932 text into fixed fields: cut only between whole
// characters, never past the field, never reading past what may be read.
#include "common/cp932_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const std::string kKana = "\x83\x76";  // a katakana

std::string Copy(const std::string& source, std::size_t size = 256) {
    std::string destination(size + 8, '#');  // guard bytes after the field
    const std::size_t n = CopyCp932(&destination[0], size, source.c_str());
    EXPECT_EQ(n, std::strlen(destination.c_str()));
    EXPECT_EQ(destination.substr(size), std::string(8, '#')) << "wrote past the field";
    return destination.c_str();
}

TEST(Cp932Copy, ShortTextsWholeLongOnesCutAtTheField) {
    EXPECT_EQ(Copy("KOA Choice LPT"), "KOA Choice LPT");
    EXPECT_EQ(Copy(""), "");
    EXPECT_EQ(Copy(std::string(255, 'n')), std::string(255, 'n'));
    EXPECT_EQ(Copy(std::string(256, 'n')), std::string(255, 'n'));
    EXPECT_EQ(Copy(std::string(5000, 'n')), std::string(255, 'n'));
    EXPECT_EQ(Copy("abcdef", 4), "abc");
    EXPECT_EQ(Copy("abcdef", 1), "");
}

TEST(Cp932Copy, ACutKeepsDoubleByteCharactersWhole) {
    // 254 single bytes then a double-byte character: it would end on byte 256.
    EXPECT_EQ(Copy(std::string(254, 'n') + kKana + "tail"), std::string(254, 'n'));
    EXPECT_EQ(Copy(std::string(253, 'n') + kKana + "tail"), std::string(253, 'n') + kKana);
    std::string wide;
    for (int i = 0; i < 200; ++i) wide += kKana;
    EXPECT_EQ(Copy(wide), wide.substr(0, 254));
    // A trail byte that looks like a lead byte is still the second half:
    // "\x88\x9F" is one character; "\x95\x5C" (表) ends in a backslash.
    EXPECT_EQ(Copy("\x88\x9F" "a", 4), "\x88\x9F" "a");
    EXPECT_EQ(Copy("a\x88\x9F", 3), "a");
    EXPECT_EQ(Copy("\x95\x5C\x95\x5C", 4), "\x95\x5C");
    // Half-width katakana (0xA1-0xDF) are single bytes.
    EXPECT_EQ(Copy("\xB1\xB2\xB3", 3), "\xB1\xB2");
}

TEST(Cp932Copy, ALoneLeadByteAtTheEndIsNotCopied) {
    // It would combine with whatever is written after it into another character.
    EXPECT_EQ(Copy("ab\x83"), "ab");
    EXPECT_EQ(Cp932CharLength("\x83"), 0u);
    EXPECT_EQ(Cp932CharLength("\x83\x76"), 2u);
    EXPECT_EQ(Cp932CharLength("a"), 1u);
    EXPECT_EQ(Cp932CharLength(""), 0u);
}

TEST(Cp932Copy, NeverReadsPastWhatTheFieldCanTake) {
    // Unterminated sources: only size - 1 bytes may be read.
    char source[255];
    std::memset(source, 'x', sizeof source);
    char destination[256];
    EXPECT_EQ(CopyCp932(destination, sizeof destination, source), sizeof source);
    EXPECT_EQ(std::string(destination), std::string(sizeof source, 'x'));
    // A lead byte in the last readable place: its second byte is not looked at.
    source[254] = '\x83';
    EXPECT_EQ(CopyCp932(destination, sizeof destination, source), 254u);
    EXPECT_EQ(Cp932CutLength(source, 254), 254u);
}

TEST(Cp932Copy, NullAndEmptyFields) {
    char destination[8] = "old";
    EXPECT_EQ(CopyCp932(destination, sizeof destination, nullptr), 0u);
    EXPECT_STREQ(destination, "");
    std::strcpy(destination, "old");
    EXPECT_EQ(CopyCp932(destination, 0, "abc"), 0u);
    EXPECT_STREQ(destination, "old");
    EXPECT_EQ(CopyCp932(nullptr, 8, "abc"), 0u);
}

}  // namespace
