// The answer parsers: model check, settings, version and counters. Answers
// are laid out byte by byte here, the way the printer sends them, in a
// 4096-byte buffer that is zero-filled like the real answer buffer.
#include "panel/core/answer_parse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

// ---- building answers ---------------------------------------------------------

// An 8-byte field: the text padded on the right with blanks.
std::string Pad(const std::string& text) {
    std::string field = text.substr(0, 8);
    field.resize(8, ' ');
    return field;
}

// The answer buffer: exactly 4096 bytes on the heap, so that the address
// sanitizer reports any read past its end; zero-filled like the real one.
class Answer {
public:
    Answer() : bytes_(new unsigned char[4096]()) {}

    // Appends raw bytes and returns where they start.
    int Raw(const std::string& text) {
        const int at = length_;
        for (char c : text) Byte(static_cast<unsigned char>(c));
        return at;
    }
    int Byte(unsigned char b) {
        EXPECT_LT(length_, 4096) << "test answer longer than the buffer";
        if (length_ < 4096) bytes_[length_] = b;
        return length_++;
    }
    // An 8-byte field and its separator byte (any value: never examined).
    int Field(const std::string& text, unsigned char separator = '\r') {
        const int at = Raw(Pad(text));
        Byte(separator);
        return at;
    }
    int Entry(const std::string& item, const std::string& value, unsigned char separator = '\r') {
        const int at = Field(item, separator);
        Field(value, separator);
        return at;
    }
    // Places text at a given offset without changing the length.
    void Put(int at, const std::string& text) {
        for (size_t i = 0; i < text.size(); ++i) bytes_[at + i] = static_cast<unsigned char>(text[i]);
    }
    void Skip(int count) { length_ += count; }
    void SetLength(int length) { length_ = length; }

    const unsigned char* data() const { return bytes_.get(); }
    unsigned char* data() { return bytes_.get(); }
    int length() const { return length_; }

private:
    std::unique_ptr<unsigned char[]> bytes_;
    int length_ = 0;
};

// Value-error calls, in order.
struct ValueErrors {
    std::vector<int> items;
    static void Record(int item, void* context) { static_cast<ValueErrors*>(context)->items.push_back(item); }
};

SettingsRecord Filled(unsigned char byte) {
    SettingsRecord r;
    std::memset(r.value, byte, sizeof r.value);
    return r;
}

bool ParseSettings(const Answer& answer, SettingsRecord* record, ValueErrors* errors, int start = 0) {
    return ParseSettingsAnswer(answer.data(), answer.length(), start, record, &ValueErrors::Record, errors);
}

// Indices used below (record order of the item table).
constexpr int FrcLfva = 0;    // "3LPI" "4LPI" "6LPI" "8LPI", factory 2
constexpr int PathMd = 1;     // "TRACTOR" "FRICTION", factory 1
constexpr int FrcMode = 2;    // "FRC" "ASF", factory 0
constexpr int CutBack = 14;   // "1sec" "2sec" "OFF", factory 2
constexpr int UlWait = 17;    // named list of parking times
constexpr int Standby = 108;  // last item

std::string Trim(const char* field) {
    std::string s(field, 8);
    return s.substr(0, s.find_last_not_of(' ') + 1);
}

// ---- FindAnswerField -------------------------------------------------------

TEST(AnswerField, FoundAtAnyOffsetFromTheStartPosition) {
    Answer a;
    a.Raw("xx?NVRAM  yy?NVRAM  ");
    EXPECT_EQ(FindAnswerField(a.data(), a.length(), 0, "?NVRAM  "), 2);
    EXPECT_EQ(FindAnswerField(a.data(), a.length(), 2, "?NVRAM  "), 2);
    EXPECT_EQ(FindAnswerField(a.data(), a.length(), 3, "?NVRAM  "), 12);
    EXPECT_EQ(FindAnswerField(a.data(), a.length(), 13, "?NVRAM  "), -1);
    EXPECT_EQ(FindAnswerField(a.data(), a.length(), -5, "?NVRAM  "), 2);
}

TEST(AnswerField, MustStartBeforeTheLengthButIsComparedAgainstTheBuffer) {
    Answer a;
    a.Raw("ab?VER    ");
    EXPECT_EQ(FindAnswerField(a.data(), 2, 0, "?VER    "), -1);
    EXPECT_EQ(FindAnswerField(a.data(), 3, 0, "?VER    "), 2);
    EXPECT_EQ(FindAnswerField(a.data(), 0, 0, "?VER    "), -1);
    EXPECT_EQ(FindAnswerField(a.data(), -1, 0, "?VER    "), -1);
}

TEST(AnswerField, AFieldRunningPastTheBufferMatchesNothing) {
    Answer a;
    a.Put(4088, "?NVRAM  ");
    EXPECT_EQ(FindAnswerField(a.data(), 4096, 0, "?NVRAM  "), 4088);
    Answer b;
    b.Put(4089, "?NVRAM ");  // 7 bytes fit; the 8th would lie outside
    EXPECT_EQ(FindAnswerField(b.data(), 4096, 0, "?NVRAM "), -1);
    EXPECT_EQ(FindAnswerField(b.data(), 100000, 0, "?NVRAM "), -1);
}

TEST(AnswerField, NullArgumentsFindNothing) {
    Answer a;
    a.Raw("?VER    ");
    EXPECT_EQ(FindAnswerField(nullptr, 8, 0, "?VER    "), -1);
    EXPECT_EQ(FindAnswerField(a.data(), 8, 0, nullptr), -1);
}

// ---- model check -----------------------------------------------------------------

TEST(ModelAnswer, SecondModelIdentifierSets18AndSettingsStartAtTheIdentifier) {
    Answer a;
    a.Raw("junk");
    const int at = a.Field("?MODEL", ' ');
    const int id = a.Field("koa260MR");
    std::uint32_t model = 0;
    EXPECT_EQ(ParseModelAnswer(a.data(), a.length(), &model), id);
    EXPECT_EQ(id, at + 9);
    EXPECT_EQ(model, 18u);
}

TEST(ModelAnswer, FirstModelIdentifierSets17) {
    Answer a;
    a.Field("?MODEL", 0);
    a.Field("koa240MR");
    std::uint32_t model = 18;
    EXPECT_EQ(ParseModelAnswer(a.data(), a.length(), &model), 9);
    EXPECT_EQ(model, 17u);
}

TEST(ModelAnswer, UnknownIdentifierLeavesTheModelUnchanged) {
    for (const char* id : {"koa250MR", "KOA240MR", "koa240M", "", "koa2400M"}) {
        Answer a;
        a.Field("?MODEL");
        a.Field(id);
        std::uint32_t model = 0;
        EXPECT_EQ(ParseModelAnswer(a.data(), a.length(), &model), 9) << id;
        EXPECT_EQ(model, 0u) << id;
        model = 17;
        ParseModelAnswer(a.data(), a.length(), &model);
        EXPECT_EQ(model, 17u) << id;
    }
}

TEST(ModelAnswer, MissingQueryEchoMakesTheSettingsParseStartAtTheLength) {
    Answer a;
    a.Field("?MODL");
    a.Field("koa240MR");
    a.Field("?NVRAM");
    a.Entry("FRC-LFVA", "8LPI");
    std::uint32_t model = 0;
    const int start = ParseModelAnswer(a.data(), a.length(), &model);
    EXPECT_EQ(start, a.length());
    EXPECT_EQ(model, 0u);

    SettingsRecord r = Filled(0xEE);
    ValueErrors errors;
    EXPECT_FALSE(ParseSettings(a, &r, &errors, start));
    EXPECT_EQ(r.value[0], 0xEE) << "no settings section: record untouched";
    EXPECT_TRUE(errors.items.empty());
}

TEST(ModelAnswer, FullStartUpAnswerReadsModelThenSettings) {
    Answer a;
    a.Field("?MODEL");
    a.Field("koa240MR");
    a.Field("?VER");
    a.Field("1.02A");
    a.Field("?NVRAM");
    a.Entry("FRC-LFVA", "8LPI");
    std::uint32_t model = 0;
    const int start = ParseModelAnswer(a.data(), a.length(), &model);
    EXPECT_EQ(model, 17u);
    SettingsRecord r = Filled(0xEE);
    ValueErrors errors;
    EXPECT_TRUE(ParseSettings(a, &r, &errors, start));
    EXPECT_EQ(r.value[FrcLfva], 3);
}

TEST(ModelAnswer, SettingsSectionBeforeTheModelIsNotSeen) {
    Answer a;
    a.Field("?NVRAM");
    a.Entry("FRC-LFVA", "8LPI");
    a.Field("?MODEL");
    a.Field("koa260MR");
    std::uint32_t model = 0;
    const int start = ParseModelAnswer(a.data(), a.length(), &model);
    SettingsRecord r = Filled(0xEE);
    ValueErrors errors;
    EXPECT_FALSE(ParseSettings(a, &r, &errors, start));
}

TEST(ModelAnswer, IdentifierAtTheEndOfTheBuffer) {
    Answer a;
    a.Put(4096 - 17, "?MODEL  \rkoa260MR");
    std::uint32_t model = 0;
    EXPECT_EQ(ParseModelAnswer(a.data(), 4096, &model), 4096 - 8);
    EXPECT_EQ(model, 18u);

    Answer b;  // the identifier would run past the buffer: matches nothing
    b.Put(4096 - 16, "?MODEL  \rkoa260M");
    model = 0;
    EXPECT_EQ(ParseModelAnswer(b.data(), 4096, &model), 4096 - 7);
    EXPECT_EQ(model, 0u);
    EXPECT_EQ(ParseModelAnswer(b.data(), 99999, &model), 4096 - 7);
}

TEST(ModelAnswer, NullModelPointerOnlyFindsTheStart) {
    Answer a;
    a.Field("?MODEL");
    a.Field("koa240MR");
    EXPECT_EQ(ParseModelAnswer(a.data(), a.length(), nullptr), 9);
}

// ---- settings parse --------------------------------------------------------------

TEST(SettingsAnswer, EveryItemIsReadFromAFullAnswer) {
    // Every item reports the last value of its list, in record order.
    Answer a;
    a.Field("?NVRAM");
    for (int i = 0; i < SettingCount; ++i) {
        const ValueTable* list = SettingItems[i].list;
        a.Entry(Trim(SettingItems[i].name), Trim(list->values[list->count - 1].keyword));
    }
    SettingsRecord r = Filled(0xEE);
    ValueErrors errors;
    ASSERT_TRUE(ParseSettings(a, &r, &errors));
    EXPECT_TRUE(errors.items.empty());
    for (int i = 0; i < SettingCount; ++i)
        EXPECT_EQ(r.value[i], SettingItems[i].list->count - 1) << SettingItems[i].name;
}

TEST(SettingsAnswer, EveryPositionOfEveryListIsRecognised) {
    for (int i = 0; i < SettingCount; ++i) {
        const ValueTable* list = SettingItems[i].list;
        for (int p = 0; p < list->count; ++p) {
            Answer a;
            a.Field("?NVRAM");
            a.Entry(Trim(SettingItems[i].name), Trim(list->values[p].keyword));
            SettingsRecord r = Filled(0xEE);
            ValueErrors errors;
            ASSERT_TRUE(ParseSettings(a, &r, &errors));
            EXPECT_EQ(r.value[i], p) << SettingItems[i].name << " position " << p;
            EXPECT_TRUE(errors.items.empty());
        }
    }
}

TEST(SettingsAnswer, ValueOutsideTheFirstItemsListIsReportedOnceAndKeepsTheFactoryValue) {
    Answer a;
    a.Field("?VER");
    a.Field("1.00");
    a.Field("?NVRAM");
    a.Entry("FRC-LFVA", "5LPI");
    a.Entry("PATH-MD", "TRACTOR");
    a.Entry("FRC-MODE", "ASF");
    a.Entry("STANDBY", "5min");
    SettingsRecord r = Filled(0xEE);
    ValueErrors errors;
    ASSERT_TRUE(ParseSettings(a, &r, &errors));
    ASSERT_EQ(errors.items, std::vector<int>{FrcLfva});
    EXPECT_EQ(SettingValueErrorCode(errors.items[0]), 102u);
    EXPECT_EQ(r.value[FrcLfva], 2);
    EXPECT_EQ(Trim(SettingKeyword(FrcLfva, r.value[FrcLfva])), "6LPI");
    EXPECT_EQ(r.value[PathMd], 0);
    EXPECT_EQ(r.value[FrcMode], 1);
    EXPECT_EQ(Trim(SettingKeyword(Standby, r.value[Standby])), "5min");
}

TEST(SettingsAnswer, SectionWithoutEntriesGivesTheFactoryValues) {
    Answer a;
    a.Field("?NVRAM");
    SettingsRecord r = Filled(0xEE);
    ValueErrors errors;
    ASSERT_TRUE(ParseSettings(a, &r, &errors));
    EXPECT_EQ(std::memcmp(r.value, FactoryDefaults.value, SettingCount), 0);
    EXPECT_TRUE(errors.items.empty());

    Answer bare;  // even the separator may be missing
    bare.Raw("?NVRAM  ");
    r = Filled(0xEE);
    ASSERT_TRUE(ParseSettings(bare, &r, &errors));
    EXPECT_EQ(std::memcmp(r.value, FactoryDefaults.value, SettingCount), 0);
}

TEST(SettingsAnswer, NoSectionLeavesTheRecordUntouched) {
    Answer a;
    a.Field("?NVRAMM");
    a.Raw("?nvram  \r");
    a.Entry("FRC-LFVA", "8LPI");
    SettingsRecord r = Filled(0xEE);
    ValueErrors errors;
    EXPECT_FALSE(ParseSettings(a, &r, &errors));
    EXPECT_EQ(r.value[0], 0xEE);
    EXPECT_EQ(r.value[SettingCount - 1], 0xEE);
    EXPECT_TRUE(errors.items.empty());
}

TEST(SettingsAnswer, SectionStartingBeforeTheStartPositionIsNotSeen) {
    Answer a;
    a.Field("?NVRAM");
    SettingsRecord r = Filled(0xEE);
    ValueErrors errors;
    EXPECT_FALSE(ParseSettings(a, &r, &errors, 1));
    EXPECT_TRUE(ParseSettings(a, &r, &errors, 0));
    EXPECT_FALSE(ParseSettings(a, &r, &errors, a.length()));
}

TEST(SettingsAnswer, CutOffAfterAnItemNameReportsThatItem) {
    Answer a;
    a.Field("?NVRAM");
    a.Entry("FRC-LFVA", "8LPI");
    a.Field("PATH-MD");  // name and separator, then the answer ends
    SettingsRecord r = Filled(0xEE);
    ValueErrors errors;
    ASSERT_TRUE(ParseSettings(a, &r, &errors));
    EXPECT_EQ(errors.items, std::vector<int>{PathMd});
    EXPECT_EQ(r.value[FrcLfva], 3);
    EXPECT_EQ(r.value[PathMd], FactoryDefaults.value[PathMd]);
}

TEST(SettingsAnswer, CutOffInsideAValueReportsThatItem) {
    Answer a;
    a.Field("?NVRAM");
    a.Field("PATH-MD");
    a.Raw("TRAC");  // the rest of the field reads as zero fill
    SettingsRecord r = Filled(0xEE);
    ValueErrors errors;
    ASSERT_TRUE(ParseSettings(a, &r, &errors));
    EXPECT_EQ(errors.items, std::vector<int>{PathMd});
    EXPECT_EQ(r.value[PathMd], 1);
}

TEST(SettingsAnswer, GarbageBetweenEntriesIsSkippedAndEntriesStartAnywhere) {
    Answer a;
    a.Raw("\x1b\x65ONLINE");
    a.Field("?NVRAM", 0xFF);
    a.Raw("\r\r\n  ??");
    a.Entry("FRC-LFVA", "3LPI", 0x00);
    a.Raw("X");
    a.Entry("PATH-MD", "TRACTOR", ':');
    a.Raw(std::string("\0\0\xff\x80PATH-M", 10));
    a.Entry("CUT-BACK", "1sec", 0xFF);
    a.Raw("FRC-LFV");  // a name cut short is no name
    a.Entry("STANDBY", "15min", ' ');
    a.Raw("trailing garbage");
    SettingsRecord r = Filled(0xEE);
    ValueErrors errors;
    ASSERT_TRUE(ParseSettings(a, &r, &errors));
    EXPECT_TRUE(errors.items.empty());
    EXPECT_EQ(r.value[FrcLfva], 0);
    EXPECT_EQ(r.value[PathMd], 0);
    EXPECT_EQ(r.value[CutBack], 0);
    EXPECT_EQ(Trim(SettingKeyword(Standby, r.value[Standby])), "15min");
    for (int i = 0; i < SettingCount; ++i) {
        if (i != FrcLfva && i != PathMd && i != CutBack && i != Standby) {
            EXPECT_EQ(r.value[i], FactoryDefaults.value[i]) << i;
        }
    }
}

TEST(SettingsAnswer, EntryAtEveryOffset) {
    for (int gap = 0; gap < 40; ++gap) {
        Answer a;
        a.Field("?NVRAM");
        a.Raw(std::string(static_cast<size_t>(gap), '#'));
        a.Entry("FRC-MODE", "ASF");
        SettingsRecord r = Filled(0xEE);
        ValueErrors errors;
        ASSERT_TRUE(ParseSettings(a, &r, &errors)) << gap;
        EXPECT_EQ(r.value[FrcMode], 1) << gap;
    }
}

TEST(SettingsAnswer, AnItemTwiceTakesItsLastValidValue) {
    Answer a;
    a.Field("?NVRAM");
    a.Entry("FRC-LFVA", "3LPI");
    a.Entry("FRC-LFVA", "4LPI");
    a.Entry("FRC-LFVA", "9LPI");  // rejected: the 4LPI stays
    SettingsRecord r = Filled(0xEE);
    ValueErrors errors;
    ASSERT_TRUE(ParseSettings(a, &r, &errors));
    EXPECT_EQ(r.value[FrcLfva], 1);
    EXPECT_EQ(errors.items, std::vector<int>{FrcLfva});
}

TEST(SettingsAnswer, ScanGoesOnOneByteAfterTheStartOfARejectedValue) {
    // The rejected value's bytes hold an entry that starts one byte in.
    Answer a;
    a.Field("?NVRAM");
    a.Field("FRC-LFVA");
    a.Raw("X");
    a.Entry("PATH-MD", "TRACTOR");
    SettingsRecord r = Filled(0xEE);
    ValueErrors errors;
    ASSERT_TRUE(ParseSettings(a, &r, &errors));
    EXPECT_EQ(errors.items, std::vector<int>{FrcLfva});
    EXPECT_EQ(r.value[PathMd], 0);

    // An entry right at the rejected value's start is taken as that value
    // and so is not read as an entry.
    Answer b;
    b.Field("?NVRAM");
    b.Field("FRC-LFVA");
    b.Entry("PATH-MD", "TRACTOR");
    r = Filled(0xEE);
    errors.items.clear();
    ASSERT_TRUE(ParseSettings(b, &r, &errors));
    EXPECT_EQ(errors.items, std::vector<int>{FrcLfva});
    EXPECT_EQ(r.value[PathMd], FactoryDefaults.value[PathMd]);
}

TEST(SettingsAnswer, AValueIsSkippedWholeAfterAMatch) {
    // "TRACTOR" as a value is not looked at again as a name, and an item
    // name that happens to be a value keyword is read as the value.
    Answer a;
    a.Field("?NVRAM");
    a.Entry("UL-MODE", "TEAROFF");
    SettingsRecord r = Filled(0xEE);
    ValueErrors errors;
    ASSERT_TRUE(ParseSettings(a, &r, &errors));
    EXPECT_TRUE(errors.items.empty());
    EXPECT_EQ(r.value[18], 0);
    EXPECT_EQ(r.value[13], FactoryDefaults.value[13]) << "TEAROFF is also an item name";
}

TEST(SettingsAnswer, NamesAndKeywordsAreCaseSensitiveAndExactlyEightBytes) {
    Answer a;
    a.Field("?NVRAM");
    a.Entry("frc-lfva", "8LPI");
    a.Entry("FRC-MODE", "asf");
    a.Raw("PATH-MD\r");  // 7 bytes and a CR is not "PATH-MD "
    a.Field("TRACTOR");
    SettingsRecord r = Filled(0xEE);
    ValueErrors errors;
    ASSERT_TRUE(ParseSettings(a, &r, &errors));
    EXPECT_EQ(r.value[FrcLfva], FactoryDefaults.value[FrcLfva]);
    EXPECT_EQ(r.value[FrcMode], FactoryDefaults.value[FrcMode]);
    EXPECT_EQ(r.value[PathMd], FactoryDefaults.value[PathMd]);
    EXPECT_EQ(errors.items, std::vector<int>{FrcMode});
}

TEST(SettingsAnswer, KeywordOfAnotherListIsRejected) {
    Answer a;
    a.Field("?NVRAM");
    a.Entry("UL-WAIT", "TRACTOR");
    SettingsRecord r = Filled(0xEE);
    ValueErrors errors;
    ASSERT_TRUE(ParseSettings(a, &r, &errors));
    EXPECT_EQ(errors.items, std::vector<int>{UlWait});
    EXPECT_EQ(r.value[UlWait], FactoryDefaults.value[UlWait]);
}

TEST(SettingsAnswer, EveryRejectedValueIsReportedInAnswerOrder) {
    Answer a;
    a.Field("?NVRAM");
    a.Entry("STANDBY", "never");
    a.Entry("CUT-BACK", "9sec");
    a.Entry("FRC-LFVA", "6LPI");
    a.Entry("FRC-MODE", "MANUAL");
    SettingsRecord r = Filled(0xEE);
    ValueErrors errors;
    ASSERT_TRUE(ParseSettings(a, &r, &errors));
    EXPECT_EQ(errors.items, (std::vector<int>{Standby, CutBack, FrcMode}));
}

TEST(SettingsAnswer, NoHandlerIsAllowed) {
    Answer a;
    a.Field("?NVRAM");
    a.Entry("FRC-LFVA", "5LPI");
    a.Entry("PATH-MD", "TRACTOR");
    SettingsRecord r = Filled(0xEE);
    ASSERT_TRUE(ParseSettingsAnswer(a.data(), a.length(), 0, &r, nullptr, nullptr));
    EXPECT_EQ(r.value[FrcLfva], 2);
    EXPECT_EQ(r.value[PathMd], 0);
}

TEST(SettingsAnswer, EntryEndingAtTheEndOfTheBuffer) {
    // The last value field ends on the buffer's last byte: still read.
    Answer a;
    a.Field("?NVRAM");
    a.Put(4096 - 17, Pad("PATH-MD") + "\r" + Pad("TRACTOR"));
    SettingsRecord r = Filled(0xEE);
    ValueErrors errors;
    ASSERT_TRUE(ParseSettingsAnswer(a.data(), 4096, 0, &r, &ValueErrors::Record, &errors));
    EXPECT_TRUE(errors.items.empty());
    EXPECT_EQ(r.value[PathMd], 0);
}

TEST(SettingsAnswer, ValueRunningPastTheBufferIsRejected) {
    for (int nameAt : {4096 - 16, 4096 - 9, 4096 - 8}) {
        Answer a;
        a.Field("?NVRAM");
        std::string tail = Pad("PATH-MD") + "\r" + Pad("TRACTOR");
        tail.resize(static_cast<size_t>(4096 - nameAt));
        a.Put(nameAt, tail);
        SettingsRecord r = Filled(0xEE);
        ValueErrors errors;
        ASSERT_TRUE(ParseSettingsAnswer(a.data(), 4096, 0, &r, &ValueErrors::Record, &errors)) << nameAt;
        EXPECT_EQ(errors.items, std::vector<int>{PathMd}) << nameAt;
        EXPECT_EQ(r.value[PathMd], FactoryDefaults.value[PathMd]);
    }
    // A name that does not fit is no name.
    Answer b;
    b.Field("?NVRAM");
    b.Put(4096 - 7, "PATH-MD");
    SettingsRecord r = Filled(0xEE);
    ValueErrors errors;
    ASSERT_TRUE(ParseSettingsAnswer(b.data(), 4096, 0, &r, &ValueErrors::Record, &errors));
    EXPECT_TRUE(errors.items.empty());
}

TEST(SettingsAnswer, LengthAboveTheBufferCountsAsTheBuffer) {
    Answer a;
    a.Field("?NVRAM");
    a.Put(2000, Pad("PATH-MD") + "\r" + Pad("TRACTOR"));
    for (int length : {4096, 4097, 8192, 0x7fffffff}) {
        SettingsRecord r = Filled(0xEE);
        ValueErrors errors;
        ASSERT_TRUE(ParseSettingsAnswer(a.data(), length, 0, &r, &ValueErrors::Record, &errors)) << length;
        EXPECT_EQ(r.value[PathMd], 0) << length;
    }
    SettingsRecord r = Filled(0xEE);
    EXPECT_FALSE(ParseSettingsAnswer(a.data(), -3, 0, &r, nullptr, nullptr));
    EXPECT_EQ(r.value[0], 0xEE);
}

TEST(SettingsAnswer, ScanStopsAtTheLength) {
    Answer a;
    a.Field("?NVRAM");
    a.Entry("FRC-MODE", "ASF");
    const int end = a.length();
    a.Entry("PATH-MD", "TRACTOR");  // in the buffer, past the length
    a.SetLength(end);
    SettingsRecord r = Filled(0xEE);
    ValueErrors errors;
    ASSERT_TRUE(ParseSettings(a, &r, &errors));
    EXPECT_EQ(r.value[FrcMode], 1);
    EXPECT_EQ(r.value[PathMd], FactoryDefaults.value[PathMd]);
}

// ---- version parse --------------------------------------------------------------

TEST(VersionAnswer, SevenBytesAfterTheFirstEcho) {
    Answer a;
    a.Raw("\r");
    a.Field("?VER");
    a.Raw("1.23ABCDEFG");
    a.Field("?VER");
    a.Raw("9.99ZZZ");
    unsigned char version[12];
    std::memset(version, 0x55, sizeof version);
    ASSERT_TRUE(ParseVersionAnswer(a.data(), a.length(), version));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(version), 7), "1.23ABC");
    for (int i = 7; i < 12; ++i) EXPECT_EQ(version[i], 0x55) << i;
}

TEST(VersionAnswer, ZeroFilledBlockStaysTerminated) {
    Answer a;
    a.Field("?VER");
    a.Raw("V01");
    unsigned char version[12] = {};
    ASSERT_TRUE(ParseVersionAnswer(a.data(), a.length(), version));
    EXPECT_STREQ(reinterpret_cast<char*>(version), "V01");
}

TEST(VersionAnswer, MissingEchoLeavesTheVersionUnchanged) {
    Answer a;
    a.Field("?VERS");
    a.Raw("1.23ABC");
    unsigned char version[12] = {'o', 'l', 'd'};
    unsigned char before[12];
    std::memcpy(before, version, sizeof version);
    EXPECT_FALSE(ParseVersionAnswer(a.data(), a.length(), version));
    EXPECT_EQ(std::memcmp(version, before, sizeof version), 0);
    EXPECT_FALSE(ParseVersionAnswer(a.data(), 0, version));
    EXPECT_EQ(std::memcmp(version, before, sizeof version), 0);
}

TEST(VersionAnswer, TextBeyondTheBufferReadsAsZero) {
    Answer a;
    a.Put(4096 - 12, "?VER    \r1.2");  // 3 of the 7 bytes lie inside
    unsigned char version[12];
    std::memset(version, 0x55, sizeof version);
    ASSERT_TRUE(ParseVersionAnswer(a.data(), 4096, version));
    EXPECT_EQ(version[0], '1');
    EXPECT_EQ(version[2], '2');
    for (int i = 3; i < 7; ++i) EXPECT_EQ(version[i], 0) << i;
    EXPECT_EQ(version[7], 0x55);

    Answer b;
    b.Put(4088, "?VER    ");
    std::memset(version, 0x55, sizeof version);
    ASSERT_TRUE(ParseVersionAnswer(b.data(), 100000, version));
    for (int i = 0; i < 7; ++i) EXPECT_EQ(version[i], 0) << i;
}

// ---- counter parse ----------------------------------------------------------------

// A counter block as the printer sends it: leading byte, length, id, one
// further byte, then data (big-endian counts), padded with zeros to L.
std::string Block(int length, int id, const std::vector<unsigned char>& data, unsigned char leading = 0x1B) {
    std::string b;
    b.push_back(static_cast<char>(leading));
    b.push_back(static_cast<char>(length));
    b.push_back(static_cast<char>(id));
    b.push_back('\x5A');
    for (unsigned char c : data) b.push_back(static_cast<char>(c));
    b.resize(static_cast<size_t>(length), '\0');
    return b;
}

std::vector<unsigned char> BigEndian32(std::uint32_t v) {
    return {static_cast<unsigned char>(v >> 24), static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 8),
            static_cast<unsigned char>(v)};
}

std::string HeadPinBlock(std::uint32_t first) {
    std::vector<unsigned char> data;
    for (std::uint32_t pin = 0; pin < 24; ++pin) {
        const std::vector<unsigned char> v = BigEndian32(first + pin * 0x01010101u);
        data.insert(data.end(), v.begin(), v.end());
    }
    return Block(100, 8, data);
}

// The eight blocks of a complete answer, S1 and S3..S9.
std::vector<std::string> AllBlocks() {
    return {
        Block(8, 1, {0x12, 0x34}),
        Block(8, 3, BigEndian32(0x00012345)),
        Block(8, 4, BigEndian32(0x01020304)),
        Block(8, 5, BigEndian32(0xA0B0C0D0)),
        Block(8, 6, BigEndian32(0xFFFFFFFE)),
        Block(8, 7, BigEndian32(7)),
        HeadPinBlock(0x10203040),
        Block(11, 9, {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}),
    };
}

void ExpectConverted(const ConsumablesCounters& c) {
    std::uint16_t record1;
    std::memcpy(&record1, c.record1 + 4, 2);
    EXPECT_EQ(record1, 0x1234);
    EXPECT_EQ(CounterValue(c.powerOnTime, 4), 0x00012345u);
    EXPECT_EQ(CounterValue(c.printedLines, 4), 0x01020304u);
    EXPECT_EQ(CounterValue(c.platenFeeds, 4), 0xA0B0C0D0u);
    EXPECT_EQ(CounterValue(c.ribbonLife, 4), 0xFFFFFFFEu);
    EXPECT_EQ(CounterValue(c.thicknessCount, 4), 7u);
    for (std::uint32_t pin = 0; pin < 24; ++pin)
        EXPECT_EQ(CounterValue(c.headPins, static_cast<int>(4 + 4 * pin)), 0x10203040u + pin * 0x01010101u) << pin;
    const unsigned char alarms[] = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77};
    EXPECT_EQ(std::memcmp(c.alarmHistory + 4, alarms, 7), 0) << "alarm codes stay as received";
}

TEST(CountersAnswer, CompleteAnswerIsCopiedAndConvertedToHostOrder) {
    Answer a;
    for (const std::string& b : AllBlocks()) a.Raw(b);
    ConsumablesCounters c = {};
    EXPECT_EQ(ParseCountersAnswer(a.data(), a.length(), &c), 8);
    ExpectConverted(c);
    // Header bytes as received: leading byte, length, id, byte 3.
    EXPECT_EQ(c.powerOnTime[0], 0x1B);
    EXPECT_EQ(c.powerOnTime[1], 8);
    EXPECT_EQ(c.powerOnTime[2], 3);
    EXPECT_EQ(c.powerOnTime[3], 0x5A);
    EXPECT_EQ(c.headPins[1], 100);
    EXPECT_EQ(c.headPins[2], 8);
    EXPECT_EQ(c.alarmHistory[1], 11);
    EXPECT_EQ(c.alarmHistory[2], 9);
}

TEST(CountersAnswer, BlocksInAnyOrderWithGarbageBetween) {
    std::vector<std::string> blocks = AllBlocks();
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        std::shuffle(blocks.begin(), blocks.end(), random);
        Answer a;
        for (const std::string& b : blocks) {
            a.Raw(std::string(static_cast<size_t>(random() % 5), '\x07'));
            a.Raw(b);
        }
        ConsumablesCounters c = {};
        EXPECT_EQ(ParseCountersAnswer(a.data(), a.length(), &c), 8) << round;
        ExpectConverted(c);
    }
}

TEST(CountersAnswer, TheSameBlockEightTimesCountsEight) {
    Answer a;
    for (int i = 0; i < 8; ++i) a.Raw(Block(8, 6, BigEndian32(0x00000100u + static_cast<std::uint32_t>(i))));
    ConsumablesCounters c = {};
    EXPECT_EQ(ParseCountersAnswer(a.data(), a.length(), &c), 8);
    EXPECT_EQ(CounterValue(c.ribbonLife, 4), 0x107u) << "the last copy, converted";
}

// Records that an answer did not bring keep the values of the earlier read:
// turning them again would scramble them.
TEST(CountersAnswer, RecordsNotInTheAnswerAreNotConvertedAgain) {
    Answer full;
    for (const std::string& b : AllBlocks()) full.Raw(b);
    ConsumablesCounters c = {};
    ASSERT_EQ(ParseCountersAnswer(full.data(), full.length(), &c), 8);
    const ConsumablesCounters before = c;

    Answer repeated;
    for (int i = 0; i < 8; ++i) repeated.Raw(Block(8, 6, BigEndian32(0x00000200u)));
    EXPECT_EQ(ParseCountersAnswer(repeated.data(), repeated.length(), &c), 8);
    EXPECT_EQ(CounterValue(c.ribbonLife, 4), 0x200u);
    EXPECT_EQ(std::memcmp(c.printedLines, before.printedLines, sizeof c.printedLines), 0);
    EXPECT_EQ(std::memcmp(c.headPins, before.headPins, sizeof c.headPins), 0);
    EXPECT_EQ(std::memcmp(c.record1, before.record1, sizeof c.record1), 0);
}

TEST(CountersAnswer, FewerThanEightBlocksStayInThePrintersByteOrder) {
    std::vector<std::string> blocks = AllBlocks();
    blocks.pop_back();  // no alarm history
    Answer a;
    for (const std::string& b : blocks) a.Raw(b);
    ConsumablesCounters c = {};
    EXPECT_EQ(ParseCountersAnswer(a.data(), a.length(), &c), 7);
    EXPECT_EQ(c.record1[4], 0x12);
    EXPECT_EQ(c.record1[5], 0x34);
    const std::vector<unsigned char> be = BigEndian32(0x01020304);
    EXPECT_EQ(std::memcmp(c.printedLines + 4, be.data(), 4), 0);
    EXPECT_EQ(c.headPins[4], 0x10);
    EXPECT_EQ(c.headPins[7], 0x40);
    for (unsigned char byte : c.alarmHistory) EXPECT_EQ(byte, 0);
}

TEST(CountersAnswer, EmptyAnswerCountsNothing) {
    Answer a;
    ConsumablesCounters c = {};
    EXPECT_EQ(ParseCountersAnswer(a.data(), 0, &c), 0);
    EXPECT_EQ(ParseCountersAnswer(a.data(), 4096, &c), 0) << "zero fill holds no block";
    EXPECT_EQ(ParseCountersAnswer(a.data(), -1, &c), 0);
    EXPECT_EQ(ParseCountersAnswer(nullptr, 10, &c), 0);
    EXPECT_EQ(ParseCountersAnswer(a.data(), 10, nullptr), 0);
}

TEST(CountersAnswer, BlockAtPositionZeroHasLeadingByteZero) {
    Answer a;
    const std::string first = Block(8, 3, BigEndian32(0x0A0B0C0D));
    a.Raw(first.substr(1));  // the answer starts at the length byte
    ConsumablesCounters c;
    std::memset(&c, 0xEE, sizeof c);
    EXPECT_EQ(ParseCountersAnswer(a.data(), a.length(), &c), 1);
    EXPECT_EQ(c.powerOnTime[0], 0);
    EXPECT_EQ(c.powerOnTime[1], 8);
    EXPECT_EQ(c.powerOnTime[2], 3);
    EXPECT_EQ(c.powerOnTime[3], 0x5A);
    EXPECT_EQ(c.powerOnTime[4], 0x0A);
    EXPECT_EQ(c.powerOnTime[6], 0x0C);
    EXPECT_EQ(c.powerOnTime[7], 0x0D);
    EXPECT_EQ(c.printedLines[0], 0xEE) << "other records untouched";
}

TEST(CountersAnswer, ScanAdvancesByTheBlockLength) {
    // A head-pin block whose data looks like other blocks: not counted.
    std::vector<unsigned char> data;
    for (int i = 0; i < 40; ++i) {
        data.push_back(0x08);
        data.push_back(static_cast<unsigned char>(3 + i % 5));
    }
    Answer a;
    a.Raw(Block(100, 8, data));
    a.Raw(Block(8, 1, {0, 1}));
    ConsumablesCounters c = {};
    EXPECT_EQ(ParseCountersAnswer(a.data(), a.length(), &c), 2);
    EXPECT_EQ(c.powerOnTime[1], 0);
}

TEST(CountersAnswer, HeadPinBlockEndingOnTheLastByteOfTheBuffer) {
    Answer a;
    const std::string pins = HeadPinBlock(0x01000000);
    a.Put(4096 - 100, pins);
    ConsumablesCounters c = {};
    EXPECT_EQ(ParseCountersAnswer(a.data(), 4096, &c), 1);
    EXPECT_EQ(std::memcmp(c.headPins, pins.data(), 100), 0);
}

TEST(CountersAnswer, HeadPinBlockRunningPastTheBufferIsCutWithZeros) {
    for (int start : {4096 - 99, 4096 - 60, 4096 - 3}) {
        Answer a;
        std::string pins = HeadPinBlock(0x01000000);
        pins.resize(static_cast<size_t>(4096 - start));
        a.Put(start, pins);
        ConsumablesCounters c;
        std::memset(&c, 0xEE, sizeof c);
        EXPECT_EQ(ParseCountersAnswer(a.data(), 4096, &c), 1) << start;
        EXPECT_EQ(std::memcmp(c.headPins, pins.data(), pins.size()), 0) << start;
        for (size_t i = pins.size(); i < 100; ++i) ASSERT_EQ(c.headPins[i], 0) << start << " byte " << i;
        EXPECT_EQ(c.alarmHistory[0], 0xEE) << "nothing written past the record";
    }
    // The pair itself must lie inside the buffer: a length byte on the last
    // byte has its id outside.
    Answer b;
    b.Put(4094, "\x1b\x64");
    ConsumablesCounters c = {};
    EXPECT_EQ(ParseCountersAnswer(b.data(), 4096, &c), 0);
}

TEST(CountersAnswer, LengthAboveTheBufferCountsAsTheBuffer) {
    Answer a;
    for (const std::string& b : AllBlocks()) a.Raw(b);
    for (int length : {4097, 5000, 0x7fffffff}) {
        ConsumablesCounters c = {};
        EXPECT_EQ(ParseCountersAnswer(a.data(), length, &c), 8) << length;
        ExpectConverted(c);
    }
}

TEST(CountersAnswer, ScanStopsAtTheLength) {
    Answer a;
    for (const std::string& b : AllBlocks()) a.Raw(b);
    ConsumablesCounters c = {};
    // The last block's pair lies at length - 10 (11-byte block): cut before it.
    EXPECT_EQ(ParseCountersAnswer(a.data(), a.length() - 10, &c), 7);
    EXPECT_EQ(ParseCountersAnswer(a.data(), a.length() - 9, &c), 8);
}

TEST(CounterValue, ReadsHostOrderAtAnyOffset) {
    unsigned char block[12] = {};
    const std::uint32_t v = 0xCAFEF00D;
    std::memcpy(block + 5, &v, 4);
    EXPECT_EQ(CounterValue(block, 5), 0xCAFEF00Du);
    EXPECT_EQ(CounterValue(nullptr, 4), 0u);
    EXPECT_EQ(CounterValue(block, -1), 0u);
}

}  // namespace
