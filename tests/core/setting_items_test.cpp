// The settings model: invariants over the whole table, the documented
// examples, and lookups at and beyond the edges of every table.
#include "panel/core/setting_items.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

std::string Field(const char* bytes) { return std::string(bytes, FieldWidth); }

// Pads a keyword as the printer sends it: 8 bytes, blanks on the right.
std::string Padded(const std::string& text) {
    std::string field = text;
    field.resize(FieldWidth, ' ');
    return field;
}

int Item(const char* name) { return FindSettingItem(Padded(name).c_str()); }

std::vector<std::string> Keywords(const char* item) {
    std::vector<std::string> out;
    const int index = Item(item);
    for (int p = 0; p < SettingValueCount(index); ++p) {
        std::string k = SettingKeyword(index, p);
        out.push_back(k.substr(0, k.find_last_not_of(' ') + 1));
    }
    return out;
}

std::vector<std::string> DisplayTexts(const char* item) {
    std::vector<std::string> out;
    const int index = Item(item);
    for (int p = 0; p < SettingValueCount(index); ++p) out.push_back(SettingDisplayText(index, p));
    return out;
}

// A field is 8 printable ASCII bytes, not blank at the start, with blanks
// only as right padding, and a NUL right after it.
void ExpectWellFormedField(const char* field, const std::string& where) {
    ASSERT_EQ(field[FieldWidth], '\0') << where;
    EXPECT_NE(field[0], ' ') << where;
    bool padding = false;
    for (int i = 0; i < FieldWidth; ++i) {
        const unsigned char c = static_cast<unsigned char>(field[i]);
        EXPECT_TRUE(c >= 0x20 && c < 0x7F) << where << " byte " << i;
        if (c == ' ') padding = true;
        else EXPECT_FALSE(padding) << where << ": blank inside the field";
    }
}

TEST(SettingTable, NamesAreUniqueWellFormedEightByteFields) {
    std::set<std::string> names;
    for (int i = 0; i < SettingCount; ++i) {
        ExpectWellFormedField(SettingItems[i].name, "item " + std::to_string(i));
        names.insert(Field(SettingItems[i].name));
        EXPECT_EQ(FindSettingItem(SettingItems[i].name), i);
    }
    EXPECT_EQ(names.size(), static_cast<size_t>(SettingCount));
}

TEST(SettingTable, EveryListHasUniqueKeywordsAndTexts) {
    for (int i = 0; i < SettingCount; ++i) {
        const int count = SettingValueCount(i);
        ASSERT_GE(count, 2) << "item " << i;
        ASSERT_LE(count, 255) << "item " << i << ": 255 marks an empty selection";
        std::set<std::string> keywords, texts;
        for (int p = 0; p < count; ++p) {
            const std::string where = "item " + std::to_string(i) + " position " + std::to_string(p);
            ExpectWellFormedField(SettingKeyword(i, p), where);
            keywords.insert(Field(SettingKeyword(i, p)));
            const char* text = SettingDisplayText(i, p);
            ASSERT_NE(text, nullptr) << where;
            EXPECT_GT(std::strlen(text), 0u) << where;
            texts.insert(text);
            // The lookup finds each keyword at its own position.
            EXPECT_EQ(FindSettingValue(i, SettingKeyword(i, p)), p) << where;
        }
        EXPECT_EQ(keywords.size(), static_cast<size_t>(count)) << "item " << i;
        EXPECT_EQ(texts.size(), static_cast<size_t>(count)) << "item " << i << ": combo rows must differ";
    }
}

TEST(SettingTable, FactoryValuesLieInsideTheirLists) {
    SettingsRecord record;
    std::memset(&record, 0xEE, sizeof record);
    CopyFactoryDefaults(&record);
    EXPECT_EQ(std::memcmp(&record, &FactoryDefaults, sizeof record), 0);
    for (int i = 0; i < SettingCount; ++i) EXPECT_LT(record.value[i], SettingValueCount(i)) << "item " << i;
    CopyFactoryDefaults(nullptr);  // no destination: nothing happens
}

TEST(SettingTable, ValueErrorCodesCover101To211Except209And210) {
    std::set<MessageCode> codes;
    for (int i = 0; i < SettingCount; ++i) {
        const MessageCode code = SettingValueErrorCode(i);
        EXPECT_GE(code, 101u);
        EXPECT_LE(code, 211u);
        EXPECT_NE(code, 209u);
        EXPECT_NE(code, 210u);
        codes.insert(code);
        EXPECT_EQ(FindSettingByValueErrorCode(code), i);
        EXPECT_NE(SettingTitle(i), nullptr);
    }
    EXPECT_EQ(codes.size(), static_cast<size_t>(SettingCount));
    for (MessageCode unused : {0u, 100u, 209u, 210u, 212u, 0xFFFFFFFFu})
        EXPECT_EQ(FindSettingByValueErrorCode(unused), -1) << unused;
    EXPECT_EQ(FindSettingByValueErrorCode(102), Item("FRC-LFVA"));
    EXPECT_EQ(FindSettingByValueErrorCode(101), Item("CUT-BACK"));
    EXPECT_EQ(FindSettingByValueErrorCode(211), Item("STANDBY"));
}

// The four pages hold as many items as they have labels with tooltips:
// hardware 33, sheets 30, forms 24, other 22.
TEST(SettingTable, PagesHoldTheirItems) {
    int perPage[4] = {};
    for (int i = 0; i < SettingCount; ++i) ++perPage[SettingItems[i].page];
    EXPECT_EQ(perPage[PageHardware], 33);
    EXPECT_EQ(perPage[PageSheets], 30);
    EXPECT_EQ(perPage[PageForms], 24);
    EXPECT_EQ(perPage[PageOther], 22);
    EXPECT_EQ(SettingItems[Item("CUT-CTL")].page, PageHardware);
    EXPECT_EQ(SettingItems[Item("EJCT-CTL")].page, PageHardware);
    EXPECT_EQ(SettingItems[Item("STANDBY")].page, PageOther);
}

TEST(SettingTable, ExchangeOrderMovesCutBackAndEndsWithStandby) {
    std::set<int> seen(SettingExchangeOrder.begin(), SettingExchangeOrder.end());
    EXPECT_EQ(seen.size(), static_cast<size_t>(SettingCount));
    EXPECT_EQ(*seen.rbegin(), SettingCount - 1);
    EXPECT_EQ(SettingExchangeOrder[0], 0);
    EXPECT_EQ(SettingExchangeOrder[13], 13);
    EXPECT_EQ(SettingExchangeOrder[14], 15);
    EXPECT_EQ(SettingExchangeOrder[106], 107);
    EXPECT_EQ(SettingExchangeOrder[107], Item("CUT-BACK"));
    EXPECT_EQ(SettingExchangeOrder[108], Item("STANDBY"));
}

TEST(SettingLookup, NamesCompareOnExactlyEightBytes) {
    EXPECT_EQ(FindSettingItem("PITCH   "), 92);
    EXPECT_EQ(FindSettingItem("PITCHXYZ"), -1);
    EXPECT_EQ(FindSettingItem("PITCH\0\0\0"), -1);  // NUL is not blank padding
    EXPECT_EQ(FindSettingItem("pitch   "), -1);     // case-sensitive
    EXPECT_EQ(FindSettingItem(nullptr), -1);
    EXPECT_EQ(Field(SettingItems[92].name), "PITCH   ");
}

// Three names are written with a ninth blank; only 8 bytes are the name,
// whatever follows them in the caller's buffer.
TEST(SettingLookup, NineCharacterNameConstantsUseEightBytes) {
    EXPECT_EQ(FindSettingItem("FT-TOP   "), 61);
    EXPECT_EQ(FindSettingItem("RT-TOP   "), 73);
    EXPECT_EQ(FindSettingItem("FF-BTMAJ "), 58);
    EXPECT_EQ(FindSettingItem("FT-TOP  X"), 61);
    EXPECT_EQ(FindSettingItem("FF-BTMAJX"), 58);
    EXPECT_STREQ(SettingItems[61].name, "FT-TOP  ");
    EXPECT_STREQ(SettingItems[58].name, "FF-BTMAJ");
}

TEST(SettingLookup, KeywordsCompareOnExactlyEightBytes) {
    const int lpi = Item("FRC-LFVA");
    EXPECT_EQ(FindSettingValue(lpi, "6LPI    "), 2);
    EXPECT_EQ(FindSettingValue(lpi, "6LPI\0\0\0\0"), -1);
    EXPECT_EQ(FindSettingValue(lpi, "6lpi    "), -1);
    EXPECT_EQ(FindSettingValue(lpi, "6LPIX   "), -1);
    EXPECT_EQ(FindSettingValue(lpi, nullptr), -1);
    EXPECT_EQ(FindSettingValue(-1, "6LPI    "), -1);
    EXPECT_EQ(FindSettingValue(SettingCount, "6LPI    "), -1);
}

TEST(SettingLookup, PositionsOutsideAListHaveNoKeywordOrText) {
    const int lpi = Item("FRC-LFVA");
    EXPECT_EQ(SettingValueCount(lpi), 4);
    EXPECT_EQ(SettingKeyword(lpi, 4), nullptr);
    EXPECT_EQ(SettingKeyword(lpi, -1), nullptr);
    EXPECT_EQ(SettingKeyword(lpi, 255), nullptr);  // an empty selection
    EXPECT_EQ(SettingDisplayText(lpi, 4), nullptr);
    EXPECT_EQ(SettingKeyword(-1, 0), nullptr);
    EXPECT_EQ(SettingKeyword(SettingCount, 0), nullptr);
    EXPECT_EQ(SettingDisplayText(SettingCount, 0), nullptr);
    EXPECT_EQ(SettingValueCount(-1), 0);
    EXPECT_EQ(SettingValueCount(SettingCount), 0);
    EXPECT_EQ(SettingTitle(SettingCount), nullptr);
    EXPECT_EQ(SettingValueErrorCode(-1), 0u);
    // Every byte value of a record, inside or outside its list, is answered
    // without reading past the table.
    for (int i = 0; i < SettingCount; ++i)
        for (int b = 0; b < 256; ++b)
            EXPECT_EQ(SettingKeyword(i, b) != nullptr, b < SettingValueCount(i));
}

TEST(SettingExamples, TitlesAndTextsAreCodePage932) {
    // "改行量(手差し,前ASF,後ASF)" in code page 932.
    const unsigned char expected[] = {0x89, 0xFC, 0x8D, 0x73, 0x97, 0xCA, '(', 0x8E, 0xE8, 0x8D, 0xB7,
                                      0x82, 0xB5, ',', 0x91, 0x4F, 'A', 'S', 'F', ',', 0x8C, 0xE3,
                                      'A', 'S', 'F', ')', 0};
    EXPECT_STREQ(SettingTitle(Item("FRC-LFVA")), reinterpret_cast<const char*>(expected));
    // "ﾚﾝｼﾞ 1" is half-width katakana: one byte each.
    const unsigned char range1[] = {0xDA, 0xDD, 0xBC, 0xDE, ' ', '1', 0};
    EXPECT_STREQ(SettingDisplayText(Item("FA-APTC"), 1), reinterpret_cast<const char*>(range1));
}

TEST(SettingExamples, ZeroSecondsOnlyForParkingWait) {
    for (int i = 0; i < SettingCount; ++i)
        EXPECT_EQ(FindSettingValue(i, "0s      ") >= 0, i == Item("UL-WAIT")) << "item " << i;
    EXPECT_EQ(FindSettingValue(Item("UL-WAIT"), "0s      "), 0);
    EXPECT_EQ(DisplayTexts("UL-WAIT")[0], "無し");
}

// The keywords of the generated lists are held against the emulator's item
// file by the cross-check; what the user sees in the combo boxes is checked
// here.
TEST(GeneratedLists, MillimetreListsShowTheirKeywords) {
    for (const char* group : {"TOFAJ", "BTMAJ", "PRTAJ"})
        for (const char* path : {"FA", "RA", "FF", "FT", "RT"}) {
            const std::string item = std::string(path) + "-" + group;
            EXPECT_EQ(DisplayTexts(item.c_str()), Keywords(item.c_str())) << item;
        }
    ASSERT_EQ(DisplayTexts("FF-LSP").size(), 161u);
    EXPECT_EQ(DisplayTexts("FF-LSP"), Keywords("FF-LSP"));
}

TEST(GeneratedLists, LoadPositionsAsPrinted) {
    const std::vector<std::string> sheet = {
        "0/12(0mm)",     "1/12(2.1mm)",   "2/12(4.2mm)",   "3/12(6.4mm)",   "4/12(8.5mm)",
        "5/12(10.6mm)",  "6/12(12.7mm)",  "7/12(14.8mm)",  "8/12(16.9mm)",  "9/12(19.1mm)",
        "10/12(21.2mm)", "11/12(23.3mm)", "12/12(25.4mm)", "13/12(27.5mm)"};
    EXPECT_EQ(DisplayTexts("FA-TOP"), sheet);
    std::vector<std::string> forms = sheet;
    forms.push_back("14/12(29.6mm)");
    forms.push_back("15/12(31.8mm)");
    EXPECT_EQ(DisplayTexts("FT-TOP"), forms);
}

TEST(GeneratedLists, LinesTimesAndRanges) {
    const std::vector<std::string> lines = DisplayTexts("FT-PAGEL");
    ASSERT_EQ(lines.size(), 99u);
    EXPECT_EQ(lines[0], "1 行");  // one-digit numbers are followed by a blank
    EXPECT_EQ(lines[8], "9 行");
    EXPECT_EQ(lines[9], "10行");
    EXPECT_EQ(lines[98], "99行");

    const std::vector<std::string> standby = DisplayTexts("STANDBY");
    ASSERT_EQ(standby.size(), 60u);
    EXPECT_EQ(standby[0], " 1分");  // right-aligned in two characters
    EXPECT_EQ(standby[9], "10分");
    EXPECT_EQ(standby[59], "60分");

    const std::vector<std::string> park = DisplayTexts("UL-WAIT");
    ASSERT_EQ(park.size(), 34u);
    EXPECT_EQ(park[33], "990s");

    const std::vector<std::string> pe = DisplayTexts("FF-PECNT");
    ASSERT_EQ(pe.size(), 35u);
    EXPECT_EQ(pe[0], "有効");
    EXPECT_EQ(pe[1], "無効");

    const std::vector<std::string> ranges = DisplayTexts("FT-APTC");
    ASSERT_EQ(ranges.size(), 14u);
    EXPECT_EQ(ranges[0], "自動");
    EXPECT_EQ(ranges[13], "ﾚﾝｼﾞ D");
}

TEST(ModelIdentity, IdentifiersAndCodes) {
    EXPECT_EQ(ModelFromIdentifier("koa240MR"), ModelKoa2400MaxR);
    EXPECT_EQ(ModelFromIdentifier("koa260MR"), ModelKoa2600MaxR);
    EXPECT_EQ(ModelFromIdentifier("koa240M "), ModelUnsupported);
    EXPECT_EQ(ModelFromIdentifier("KOA240MR"), ModelUnsupported);
    EXPECT_EQ(ModelFromIdentifier(nullptr), ModelUnsupported);
    EXPECT_STREQ(ModelIdentifier(ModelKoa2400MaxR), "koa240MR");
    EXPECT_STREQ(ModelIdentifier(ModelKoa2600MaxR), "koa260MR");
    EXPECT_EQ(ModelIdentifier(ModelUnsupported), nullptr);
}

}  // namespace
