// The printer emulator on the wire: answer layouts byte for byte, the setting
// block, split writes, counter records, resets, injected faults, and the
// config and state files.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/printer_emu/printer_emulator.h"

namespace {

const std::string kOnline = "\x1b" "eONLINE";
const std::string kCounterQuery =
    "\x1b" "eS1" "\x1b" "eS3" "\x1b" "eS4" "\x1b" "eS5" "\x1b" "eS6" "\x1b" "eS7" "\x1b" "eS8" "\x1b" "eS9";
const std::string kClose = "\rEXIT    \rEND     \r";
const std::string kRecovery = "\r\r\r\r\r\r\r\r\rCANCEL  \r";
const std::size_t kNvramAnswerLength = 9 + 109 * 18;

std::string Padded(const std::string& text) {
    std::string field = text;
    field.resize(8, ' ');
    return field;
}

std::string TempPath(const std::string& name) {
    return ::testing::TempDir() + "emutest_" + name;
}

std::string ReadText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
}

class Emulator : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(printer.LoadItems(KOA_PRINTER_ITEMS_PATH, &error)) << error;
        ASSERT_EQ(printer.Items().size(), 109u);
    }

    bool Send(const std::string& bytes) {
        return printer.Write(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }

    // The next answer as text; empty (and the bool false) when none came.
    std::string Answer(bool* got = nullptr) {
        std::vector<std::uint8_t> bytes;
        bool ok = printer.Read(&bytes);
        if (got) *got = ok;
        return ok ? std::string(bytes.begin(), bytes.end()) : std::string();
    }

    std::string Line(const std::string& name, const std::string& keyword) {
        return "\r" + Padded(name) + ":" + Padded(keyword);
    }

    // A setting block carrying `keywordOf(item)` for every item, in table order.
    template <typename Choose>
    std::string SettingBlock(Choose keywordOf) {
        std::string block = "SETTING \r";
        for (const EmulatorItem& item : printer.Items()) block += Line(item.name, keywordOf(item));
        return block + "\r";
    }

    PrinterEmulator printer;
};

// ---- factory state and modes ------------------------------------------------

TEST_F(Emulator, StartsInFactoryState) {
    EXPECT_EQ(printer.Model(), "koa240MR");
    EXPECT_EQ(printer.Version(), "1.00");
    EXPECT_FALSE(printer.Online());
    EXPECT_FALSE(printer.InSettingMode());
    EXPECT_EQ(printer.SettingsListsPrinted(), 0);
    for (int id : {1, 3, 4, 5, 6, 7}) EXPECT_EQ(printer.Counter(id), 0u) << id;
    for (int pin = 1; pin <= 24; ++pin) EXPECT_EQ(printer.HeadPin(pin), 0u);
    EXPECT_EQ(printer.AlarmHistory(), std::vector<std::uint8_t>(7, 0));
    for (const EmulatorItem& item : printer.Items()) EXPECT_EQ(printer.Value(item.name), item.keywords[item.factory]);
    EXPECT_EQ(printer.Value("FRC-LFVA"), "6LPI");
    EXPECT_EQ(printer.Value("NOSUCH"), "");
}

TEST_F(Emulator, CommandWordsBeforeOnlineArePrintData) {
    ASSERT_TRUE(Send("?VER    \r?NVRAM  \rSETTING \r"));
    bool got = true;
    Answer(&got);
    EXPECT_FALSE(got);
    EXPECT_FALSE(printer.InSettingMode());
    EXPECT_FALSE(printer.Online());
}

TEST_F(Emulator, UnpaddedCommandWordIsNotUnderstood) {
    ASSERT_TRUE(Send(kOnline + "?VER\r?NVRAM \r"));
    bool got = true;
    Answer(&got);
    EXPECT_FALSE(got);
    ASSERT_EQ(printer.IgnoredLines().size(), 2u);
    EXPECT_EQ(printer.IgnoredLines()[0], "?VER");
    EXPECT_EQ(printer.IgnoredLines()[1], "?NVRAM ");
}

TEST_F(Emulator, CancelEndAndExitLeaveCommandMode) {
    for (const std::string word : {"CANCEL  \r", "END     \r", "EXIT    \r"}) {
        ASSERT_TRUE(Send(kOnline));
        ASSERT_TRUE(printer.Online());
        ASSERT_TRUE(Send(word));
        EXPECT_FALSE(printer.Online()) << word;
    }
}

TEST_F(Emulator, ExitLeavesSettingModeAndEndLeavesCommandMode) {
    ASSERT_TRUE(Send(kOnline + "SETTING \r"));
    EXPECT_TRUE(printer.InSettingMode());
    ASSERT_TRUE(Send("\rEXIT    \r"));
    EXPECT_FALSE(printer.InSettingMode());
    EXPECT_TRUE(printer.Online());
    ASSERT_TRUE(Send("END     \r"));
    EXPECT_FALSE(printer.Online());
}

TEST_F(Emulator, CancelLeavesSettingMode) {
    ASSERT_TRUE(Send(kOnline + "SETTING \r" + kRecovery));
    EXPECT_FALSE(printer.InSettingMode());
    EXPECT_FALSE(printer.Online());
}

// ---- answer layouts ---------------------------------------------------------

TEST_F(Emulator, ModelAnswerLayout) {
    ASSERT_TRUE(Send(kOnline + "?MODEL  \r"));
    std::string answer = Answer();
    ASSERT_EQ(answer.size(), 18u);
    EXPECT_EQ(answer.substr(0, 8), "?MODEL  ");
    EXPECT_EQ(answer[8], '\r');
    EXPECT_EQ(answer.substr(9, 8), "koa240MR");
    EXPECT_EQ(answer[17], '\r');

    printer.SetModel("koa260MR");
    ASSERT_TRUE(Send("?MODEL  \r"));
    EXPECT_EQ(Answer().substr(9, 8), "koa260MR");
}

TEST_F(Emulator, VersionAnswerLayout) {
    printer.SetVersion("2.10B");
    ASSERT_TRUE(Send(kOnline + "?VER    \r"));
    std::string answer = Answer();
    ASSERT_EQ(answer.size(), 18u);
    EXPECT_EQ(answer.substr(0, 9), "?VER    \r");
    // The remote panel takes the 7 bytes after the separator.
    EXPECT_EQ(answer.substr(9, 7), "2.10B  ");
    EXPECT_EQ(answer.substr(9, 8), "2.10B   ");
    EXPECT_EQ(answer[17], '\r');
}

TEST_F(Emulator, NvramAnswerLayout) {
    ASSERT_TRUE(printer.SetValue("FT-PAGEL", "72LINE"));
    ASSERT_TRUE(Send(kOnline + "?NVRAM  \r"));
    std::string answer = Answer();
    ASSERT_EQ(answer.size(), kNvramAnswerLength);
    EXPECT_EQ(answer.substr(0, 9), "?NVRAM  \r");
    const std::vector<EmulatorItem>& items = printer.Items();
    for (std::size_t i = 0; i < items.size(); ++i) {
        std::size_t at = 9 + 18 * i;
        EXPECT_EQ(answer.substr(at, 8), Padded(items[i].name)) << i;
        EXPECT_EQ(answer[at + 8], '\r') << i;
        EXPECT_EQ(answer.substr(at + 9, 8), Padded(printer.Value(items[i].name))) << i;
        EXPECT_EQ(answer[at + 17], '\r') << i;
    }
    // Fixed points, written out: the first and the last entry, and the changed one.
    EXPECT_EQ(answer.substr(9, 18), std::string("FRC-LFVA\r6LPI    \r"));
    EXPECT_EQ(answer.substr(9 + 18 * 108, 18), std::string("STANDBY \r1min    \r"));
    EXPECT_NE(answer.find("FT-PAGEL\r72LINE  \r"), std::string::npos);
}

TEST_F(Emulator, SeparatorCanBeABlank) {
    printer.SetSeparator(' ');
    ASSERT_TRUE(Send(kOnline + "?MODEL  \r?NVRAM  \r"));
    std::string answer = Answer();
    EXPECT_EQ(answer.substr(0, 18), "?MODEL   koa240MR ");
    EXPECT_EQ(answer.substr(18, 27), "?NVRAM   FRC-LFVA 6LPI     ");
    EXPECT_EQ(answer.find('\r'), std::string::npos);
}

TEST_F(Emulator, StartupQueryAnswersAreConcatenatedInOrder) {
    ASSERT_TRUE(Send(kOnline + "?MODEL  \r?VER    \r?NVRAM  \r"));
    std::string answer = Answer();
    ASSERT_EQ(answer.size(), 18u + 18u + kNvramAnswerLength);
    EXPECT_EQ(answer.substr(0, 8), "?MODEL  ");
    EXPECT_EQ(answer.substr(18, 8), "?VER    ");
    EXPECT_EQ(answer.substr(36, 8), "?NVRAM  ");
    bool got = true;
    Answer(&got);
    EXPECT_FALSE(got) << "a read takes all queued answers";
}

TEST_F(Emulator, AnswerIsCutAt4096Bytes) {
    ASSERT_TRUE(Send(kOnline + "?NVRAM  \r?NVRAM  \r?NVRAM  \r"));
    EXPECT_EQ(Answer().size(), 4096u);
    bool got = true;
    Answer(&got);
    EXPECT_FALSE(got);
}

// ---- setting block ----------------------------------------------------------

TEST_F(Emulator, SettingBlockSetsEveryItem) {
    // The last keyword of each list differs from the factory one for most
    // items, so a line that is dropped shows.
    std::string block = SettingBlock([](const EmulatorItem& item) { return item.keywords.back(); });
    EXPECT_EQ(block.size(), 1972u);
    ASSERT_TRUE(Send(kOnline));
    ASSERT_TRUE(Send(block));
    ASSERT_TRUE(Send(kClose));
    for (const EmulatorItem& item : printer.Items()) EXPECT_EQ(printer.Value(item.name), item.keywords.back()) << item.name;
    EXPECT_TRUE(printer.IgnoredLines().empty());
    EXPECT_FALSE(printer.InSettingMode());
    EXPECT_FALSE(printer.Online());
    bool got = true;
    Answer(&got);
    EXPECT_FALSE(got) << "a setting block is not answered";
}

TEST_F(Emulator, SettingLinesWithUnknownItemsOrKeywordsAreIgnored) {
    std::string block = "SETTING \r";
    block += Line("FRC-LFVA", "9LPI");      // not in the list
    block += Line("PATH-MD", "DETECT");     // a keyword of other items
    block += Line("NOSUCHIT", "DETECT");    // no such item
    block += Line("STANDBY", "60min");      // good
    block += "\rFT-PAGEL:72LINE";           // value not padded to 8
    block += "\rPITCHES :12CPI   ";         // name that only starts like an item
    block += Line("PITCH", "15CPI");        // good
    block += "\r";
    ASSERT_TRUE(Send(kOnline + block + kClose));
    EXPECT_EQ(printer.Value("FRC-LFVA"), "6LPI");
    EXPECT_EQ(printer.Value("PATH-MD"), "FRICTION");
    EXPECT_EQ(printer.Value("FT-PAGEL"), "66LINE");
    EXPECT_EQ(printer.Value("STANDBY"), "60min");
    EXPECT_EQ(printer.Value("PITCH"), "15CPI");
    std::vector<std::string> expected = {"FRC-LFVA:9LPI    ", "PATH-MD :DETECT  ", "NOSUCHIT:DETECT  ",
                                         "FT-PAGEL:72LINE", "PITCHES :12CPI   "};
    EXPECT_EQ(printer.IgnoredLines(), expected);
}

TEST_F(Emulator, SettingLineEndingAtTheColonIsIgnored) {
    std::string block = "SETTING \r\rFRC-LFVA:" + Line("PATH-MD", "TRACTOR") + "\rSTANDBY :\r";
    ASSERT_TRUE(Send(kOnline + block + kClose));
    EXPECT_EQ(printer.Value("FRC-LFVA"), "6LPI");
    EXPECT_EQ(printer.Value("PATH-MD"), "TRACTOR");
    EXPECT_EQ(printer.Value("STANDBY"), "1min");
    EXPECT_FALSE(printer.InSettingMode());
}

TEST_F(Emulator, RunsOfCarriageReturnsAreTolerated) {
    ASSERT_TRUE(Send(kOnline + "\r\r\rSETTING \r\r\r\r" + Line("FRC-LFVA", "8LPI") + "\r\r\r" + Line("PITCH", "12CPI") +
                     "\r\r\r\rEXIT    \r\r\rEND     \r\r"));
    EXPECT_EQ(printer.Value("FRC-LFVA"), "8LPI");
    EXPECT_EQ(printer.Value("PITCH"), "12CPI");
    EXPECT_FALSE(printer.Online());
    EXPECT_TRUE(printer.IgnoredLines().empty());
}

TEST_F(Emulator, LastItemLineNeedsItsCarriageReturn) {
    ASSERT_TRUE(Send(kOnline + "SETTING \r" + Line("STANDBY", "5min")));
    EXPECT_EQ(printer.Value("STANDBY"), "1min");
    ASSERT_TRUE(Send("\r"));
    EXPECT_EQ(printer.Value("STANDBY"), "5min");
}

// ---- split writes and ordering ----------------------------------------------

TEST_F(Emulator, ConversationSplitAtEveryPointGivesTheSameResult) {
    std::string block = SettingBlock([](const EmulatorItem& item) { return item.keywords.front(); });
    std::string stream = kOnline + block + kClose + kOnline + "?MODEL  \r?NVRAM  \r";

    PrinterEmulator whole;
    ASSERT_TRUE(whole.LoadItems(KOA_PRINTER_ITEMS_PATH, nullptr));
    ASSERT_TRUE(whole.Write(reinterpret_cast<const std::uint8_t*>(stream.data()), stream.size()));
    std::vector<std::uint8_t> expected;
    ASSERT_TRUE(whole.Read(&expected));

    // Pieces of 1 to 7 bytes, so that every field, escape and CR is cut somewhere.
    std::size_t at = 0;
    for (std::size_t piece = 1; at < stream.size(); piece = piece % 7 + 1) {
        std::size_t length = std::min(piece, stream.size() - at);
        ASSERT_TRUE(Send(stream.substr(at, length)));
        at += length;
    }
    std::vector<std::uint8_t> answer;
    ASSERT_TRUE(printer.Read(&answer));
    EXPECT_EQ(answer, expected);
    for (const EmulatorItem& item : printer.Items()) EXPECT_EQ(printer.Value(item.name), item.keywords.front());
}

TEST_F(Emulator, EscapeCommandSplitAcrossWrites) {
    ASSERT_TRUE(Send("\x1b"));
    ASSERT_TRUE(Send("e"));
    ASSERT_TRUE(Send("ONL"));
    EXPECT_FALSE(printer.Online());
    ASSERT_TRUE(Send("INE"));
    EXPECT_TRUE(printer.Online());
    printer.SetCounter(6, 77);
    ASSERT_TRUE(Send("\x1b" "e"));
    ASSERT_TRUE(Send("S"));
    ASSERT_TRUE(Send("6"));
    std::string answer = Answer();
    ASSERT_EQ(answer.size(), 8u);
    EXPECT_EQ(static_cast<unsigned char>(answer[7]), 77u);
}

TEST_F(Emulator, ReceivedKeepsEveryTakenByteInOrder) {
    printer.Faults().failNthSend = 3;
    ASSERT_TRUE(Send(kOnline));
    ASSERT_TRUE(Send("?VER    \r"));
    EXPECT_FALSE(Send("PRINT-E \r"));
    ASSERT_TRUE(Send("CANCEL  \r"));
    ASSERT_TRUE(Send(kCounterQuery));
    std::string expected = kOnline + "?VER    \r" + "CANCEL  \r" + kCounterQuery;
    EXPECT_EQ(std::string(printer.Received().begin(), printer.Received().end()), expected);
    EXPECT_EQ(printer.Sends(), 5);
    printer.ClearReceived();
    EXPECT_TRUE(printer.Received().empty());
}

// ---- settings list ----------------------------------------------------------

TEST_F(Emulator, PrintListIsCounted) {
    ASSERT_TRUE(Send("PRINT-E \r"));
    EXPECT_EQ(printer.SettingsListsPrinted(), 0) << "not in command mode";
    ASSERT_TRUE(Send(kOnline + "PRINT-E \r"));
    EXPECT_EQ(printer.SettingsListsPrinted(), 1);
    EXPECT_FALSE(printer.Online());
    ASSERT_TRUE(Send(kOnline + "PRINT-E \r"));
    EXPECT_EQ(printer.SettingsListsPrinted(), 2);
}

// ---- counter records and resets ---------------------------------------------

struct Record {
    std::size_t offset;
    std::string bytes;
};

// Splits an S-query answer into its records by their length bytes.
std::vector<Record> SplitRecords(const std::string& answer) {
    std::vector<Record> records;
    std::size_t at = 0;
    while (at + 2 <= answer.size()) {
        std::size_t length = static_cast<unsigned char>(answer[at + 1]);
        if (length < 4 || at + length > answer.size()) break;
        records.push_back({at, answer.substr(at, length)});
        at += length;
    }
    return records;
}

std::uint32_t BigEndian32(const std::string& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) << 24 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 3]));
}

TEST_F(Emulator, CounterRecordsAreBigEndianWithTheirLengthsAndIds) {
    EXPECT_TRUE(printer.SetCounter(1, 0xBEEF));
    EXPECT_TRUE(printer.SetCounter(3, 0x01020304));
    EXPECT_TRUE(printer.SetCounter(4, 4000000000u));
    EXPECT_TRUE(printer.SetCounter(5, 5));
    EXPECT_TRUE(printer.SetCounter(6, 123456));
    EXPECT_TRUE(printer.SetCounter(7, 0xA0B0C0D0));
    EXPECT_FALSE(printer.SetCounter(2, 1));
    EXPECT_FALSE(printer.SetCounter(8, 1));
    for (int pin = 1; pin <= 24; ++pin) EXPECT_TRUE(printer.SetHeadPin(pin, 0x11000000u + static_cast<std::uint32_t>(pin)));
    EXPECT_FALSE(printer.SetHeadPin(0, 1));
    EXPECT_FALSE(printer.SetHeadPin(25, 1));
    printer.SetAlarmHistory({0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27});

    ASSERT_TRUE(Send(kCounterQuery));  // no ONLINE before the counter query
    std::string answer = Answer();
    ASSERT_EQ(answer.size(), 6u * 8u + 100u + 11u);

    std::vector<Record> records = SplitRecords(answer);
    ASSERT_EQ(records.size(), 8u);
    const int ids[] = {1, 3, 4, 5, 6, 7, 8, 9};
    const unsigned lengths[] = {8, 8, 8, 8, 8, 8, 0x64, 0x0B};
    for (std::size_t r = 0; r < 8; ++r) {
        EXPECT_EQ(static_cast<unsigned char>(records[r].bytes[1]), lengths[r]) << r;
        EXPECT_EQ(static_cast<unsigned char>(records[r].bytes[2]), ids[r]) << r;
    }
    // Byte for byte where it matters.
    EXPECT_EQ(records[0].bytes.substr(1), std::string("\x08\x01\x00\xBE\xEF\x00\x00", 7));
    EXPECT_EQ(records[1].bytes.substr(1), std::string("\x08\x03\x00\x01\x02\x03\x04", 7));
    EXPECT_EQ(BigEndian32(records[2].bytes, 4), 4000000000u);
    EXPECT_EQ(BigEndian32(records[3].bytes, 4), 5u);
    EXPECT_EQ(BigEndian32(records[4].bytes, 4), 123456u);
    EXPECT_EQ(records[5].bytes.substr(4), std::string("\xA0\xB0\xC0\xD0", 4));
    EXPECT_EQ(records[6].bytes.substr(4, 4), std::string("\x11\x00\x00\x01", 4)) << "pin 1 first";
    EXPECT_EQ(records[6].bytes.substr(96, 4), std::string("\x11\x00\x00\x18", 4)) << "pin 24 last";
    for (int pin = 1; pin <= 24; ++pin) {
        EXPECT_EQ(BigEndian32(records[6].bytes, 4 + 4 * static_cast<std::size_t>(pin - 1)), 0x11000000u + static_cast<std::uint32_t>(pin));
    }
    EXPECT_EQ(records[7].bytes.substr(4), std::string("\x21\x22\x23\x24\x25\x26\x27"));
}

TEST_F(Emulator, CounterOneHoldsSixteenBits) {
    printer.SetCounter(1, 0x12345678);
    EXPECT_EQ(printer.Counter(1), 0x5678u);
}

TEST_F(Emulator, ThereIsNoRecordTwo) {
    ASSERT_TRUE(Send("\x1b" "eS2"));
    bool got = true;
    Answer(&got);
    EXPECT_FALSE(got);
}

TEST_F(Emulator, ResetsClearTheirCounters) {
    for (int id : {1, 3, 4, 5, 6, 7}) printer.SetCounter(id, 1000u + static_cast<std::uint32_t>(id));
    for (int pin = 1; pin <= 24; ++pin) printer.SetHeadPin(pin, 50);

    ASSERT_TRUE(Send("\x1b" "eR3"));
    EXPECT_EQ(printer.Counter(3), 0u);
    EXPECT_EQ(printer.Counter(5), 1005u);
    ASSERT_TRUE(Send("\x1b" "eR5"));
    EXPECT_EQ(printer.Counter(5), 0u);
    ASSERT_TRUE(Send("\x1b" "eR6"));
    EXPECT_EQ(printer.Counter(6), 0u);
    ASSERT_TRUE(Send("\x1b" "eR7"));
    EXPECT_EQ(printer.Counter(7), 0u);
    EXPECT_EQ(printer.HeadPin(1), 50u);
    ASSERT_TRUE(Send("\x1b" "eR8"));
    for (int pin = 1; pin <= 24; ++pin) EXPECT_EQ(printer.HeadPin(pin), 0u) << pin;
    ASSERT_TRUE(Send("\x1b" "eR4" "\x1b" "eR1"));  // no such resets
    EXPECT_EQ(printer.Counter(1), 1001u);
    EXPECT_EQ(printer.Counter(4), 1004u);

    ASSERT_TRUE(Send("\x1b" "eS6"));
    EXPECT_EQ(Answer().substr(4), std::string(4, '\0'));
}

// ---- faults -----------------------------------------------------------------

TEST_F(Emulator, NoAnswerFault) {
    printer.Faults().noAnswer = true;
    ASSERT_TRUE(Send(kOnline + "?VER    \r"));
    bool got = true;
    Answer(&got);
    EXPECT_FALSE(got);
    printer.Faults().noAnswer = false;
    Answer(&got);
    EXPECT_FALSE(got) << "the lost answer does not come later";
}

TEST_F(Emulator, NthSendFails) {
    printer.Faults().failNthSend = 2;
    EXPECT_TRUE(Send(kOnline));
    EXPECT_FALSE(Send("?VER    \r"));  // neither recorded nor acted on
    EXPECT_TRUE(Send("?MODEL  \r"));
    EXPECT_TRUE(Send("?NVRAM  \r"));
    std::string answer = Answer();
    EXPECT_EQ(answer.substr(0, 8), "?MODEL  ");
    EXPECT_EQ(answer.find("?VER"), std::string::npos);
    EXPECT_EQ(std::string(printer.Received().begin(), printer.Received().end()), kOnline + "?MODEL  \r?NVRAM  \r");
}

TEST_F(Emulator, AllSendsFromNthFail) {
    printer.Faults().failNthSend = 2;
    printer.Faults().failAllSendsFromNth = true;
    EXPECT_TRUE(Send(kOnline));
    EXPECT_FALSE(Send("SETTING \r"));
    EXPECT_FALSE(Send(kClose));
    EXPECT_FALSE(Send(kRecovery));
    EXPECT_FALSE(printer.InSettingMode());
    EXPECT_TRUE(printer.Online());
    EXPECT_EQ(printer.Received().size(), kOnline.size());
}

TEST_F(Emulator, WrongModelFault) {
    printer.Faults().wrongModel = true;
    ASSERT_TRUE(Send(kOnline + "?MODEL  \r"));
    EXPECT_EQ(Answer().substr(9, 8), "koa260MR");
    printer.SetModel("koa260MR");
    ASSERT_TRUE(Send("?MODEL  \r"));
    EXPECT_EQ(Answer().substr(9, 8), "koa240MR");
}

TEST_F(Emulator, SilentModelFault) {
    printer.Faults().silentModel = true;
    ASSERT_TRUE(Send(kOnline + "?MODEL  \r?VER    \r"));
    EXPECT_EQ(Answer().substr(0, 8), "?VER    ");
}

TEST_F(Emulator, BadKeywordFault) {
    printer.Faults().badKeywordItem = "FT-PAGEL";
    ASSERT_TRUE(Send(kOnline + "?NVRAM  \r"));
    std::string answer = Answer();
    ASSERT_EQ(answer.size(), kNvramAnswerLength);
    // FT-PAGEL is entry 63.
    EXPECT_EQ(answer.substr(9 + 18 * 63, 18), std::string("FT-PAGEL\rBADVALUE\r"));
    EXPECT_EQ(answer.substr(9 + 18 * 62, 18), std::string("FT-LFVAL\r6LPI    \r"));
    EXPECT_EQ(printer.Value("FT-PAGEL"), "66LINE") << "the NVRAM itself is intact";
}

TEST_F(Emulator, GarbageBetweenEntriesFault) {
    printer.Faults().garbageBetweenEntries = true;
    ASSERT_TRUE(Send(kOnline + "?NVRAM  \r"));
    std::string answer = Answer();
    ASSERT_GT(answer.size(), kNvramAnswerLength);
    // Every entry is still there, in order, but they no longer sit on an
    // 18-byte grid: at least one starts at each offset modulo 4.
    std::size_t at = 9;
    bool offsets[4] = {false, false, false, false};
    std::size_t junk = 0;
    for (const EmulatorItem& item : printer.Items()) {
        std::string entry = Padded(item.name) + "\r" + Padded(item.keywords[item.factory]) + "\r";
        std::size_t found = answer.find(entry, at);
        ASSERT_NE(found, std::string::npos) << item.name;
        junk += found - at;
        EXPECT_LE(found - at, 4u) << item.name;
        offsets[found % 4] = true;
        at = found + 18;
    }
    EXPECT_EQ(at, answer.size());
    EXPECT_EQ(junk, answer.size() - kNvramAnswerLength);
    EXPECT_TRUE(offsets[0] && offsets[1] && offsets[2] && offsets[3]);
    EXPECT_EQ(answer.substr(9, 18), std::string("FRC-LFVA\r6LPI    \r")) << "no junk before the first entry";
}

TEST_F(Emulator, CutAfterItemFault) {
    printer.Faults().cutAfterItem = "PATH-MD";
    ASSERT_TRUE(Send(kOnline + "?MODEL  \r?NVRAM  \r"));
    std::string answer = Answer();
    ASSERT_EQ(answer.size(), 18u + 9u + 18u + 9u);
    EXPECT_EQ(answer.substr(answer.size() - 9), "PATH-MD \r");
}

TEST_F(Emulator, MissingCounterRecordsFault) {
    printer.Faults().missingCounterIds = {3, 8};
    ASSERT_TRUE(Send(kCounterQuery));
    std::string answer = Answer();
    ASSERT_EQ(answer.size(), 5u * 8u + 11u);
    std::vector<Record> records = SplitRecords(answer);
    std::vector<int> ids;
    for (const Record& record : records) ids.push_back(static_cast<unsigned char>(record.bytes[2]));
    EXPECT_EQ(ids, (std::vector<int>{1, 4, 5, 6, 7, 9}));
}

// A printer that refuses a reset answers the write that carries it as
// failed and keeps the count; one that ignores it takes the write and keeps
// the count. Other resets are not touched.
TEST_F(Emulator, RefusedAndIgnoredResetFaults) {
    printer.Faults().refusedResetIds = {7};
    printer.Faults().ignoredResetIds = {8};
    printer.SetCounter(6, 60);
    printer.SetCounter(7, 70);
    printer.SetHeadPin(2, 20);
    EXPECT_FALSE(Send("\x1b" "eR7"));
    EXPECT_EQ(printer.Counter(7), 70u);
    const std::vector<std::uint8_t>& received = printer.Received();
    ASSERT_GE(received.size(), 4u);
    EXPECT_EQ(std::string(received.end() - 4, received.end()), "\x1b" "eR7") << "the refused bytes did reach the printer";
    // Split over two writes, the write that completes it fails.
    EXPECT_TRUE(Send("\x1b" "e"));
    EXPECT_FALSE(Send("R7"));
    EXPECT_EQ(printer.Counter(7), 70u);
    EXPECT_TRUE(Send("\x1b" "eR8"));
    EXPECT_EQ(printer.HeadPin(2), 20u);
    EXPECT_TRUE(Send("\x1b" "eR6"));
    EXPECT_EQ(printer.Counter(6), 0u);

    std::string path = TempPath("resets.txt");
    ASSERT_TRUE(printer.SaveState(path));
    PrinterEmulator restored;
    ASSERT_TRUE(restored.LoadItems(KOA_PRINTER_ITEMS_PATH, nullptr));
    ASSERT_TRUE(restored.LoadConfig(path, nullptr));
    EXPECT_EQ(restored.Faults().refusedResetIds, (std::vector<int>{7}));
    EXPECT_EQ(restored.Faults().ignoredResetIds, (std::vector<int>{8}));
}

TEST_F(Emulator, StuckInSettingModeUntilRecovery) {
    printer.Faults().stickInSettingMode = true;
    printer.SetCounter(6, 99);
    ASSERT_TRUE(Send(kOnline + "SETTING \r" + Line("FRC-LFVA", "8LPI") + "\r" + kClose));
    EXPECT_EQ(printer.Value("FRC-LFVA"), "8LPI") << "the block itself is taken";
    EXPECT_TRUE(printer.InSettingMode());

    ASSERT_TRUE(Send("CANCEL  \r"));
    ASSERT_TRUE(Send("\r\r\r\r\r\r\r\rCANCEL  \r"));  // eight empty lines are not enough
    ASSERT_TRUE(Send(kOnline + "?NVRAM  \r" + kCounterQuery + "\x1b" "eR6" + "PRINT-E \r"));
    EXPECT_TRUE(printer.InSettingMode());
    bool got = true;
    Answer(&got);
    EXPECT_FALSE(got);
    EXPECT_EQ(printer.Counter(6), 99u);
    EXPECT_EQ(printer.SettingsListsPrinted(), 0);

    // The recovery sequence, itself split.
    ASSERT_TRUE(Send("\r\r\r\r\r"));
    ASSERT_TRUE(Send("\r\r\r\rCAN"));
    ASSERT_TRUE(Send("CEL  \r"));
    EXPECT_FALSE(printer.InSettingMode());
    EXPECT_FALSE(printer.Online());

    ASSERT_TRUE(Send(kOnline + "?VER    \r"));
    EXPECT_EQ(Answer().substr(0, 8), "?VER    ");
}

// ---- config and state files -------------------------------------------------

TEST_F(Emulator, SaveStateThenLoadConfigRestoresEverything) {
    printer.SetModel("koa260MR");
    printer.SetVersion("3.01C");
    printer.SetSeparator(' ');
    ASSERT_TRUE(printer.SetValue("FRC-LFVA", "8LPI"));
    ASSERT_TRUE(printer.SetValue("FF-LSP", "45.2mm"));
    ASSERT_TRUE(printer.SetValue("DC1/DC3", "IGNOR"));
    ASSERT_TRUE(printer.SetValue("STANDBY", "17min"));
    printer.SetCounter(1, 0xFFFF);
    printer.SetCounter(4, 4294967295u);
    printer.SetCounter(6, 123456);
    printer.SetHeadPin(3, 1000);
    printer.SetHeadPin(24, 7);
    printer.SetAlarmHistory({1, 2, 3, 250, 5, 6, 7});
    ASSERT_TRUE(Send(kOnline + "PRINT-E \r"));
    EmulatorFaults& faults = printer.Faults();
    faults.failNthSend = 9;
    faults.failAllSendsFromNth = true;
    faults.wrongModel = true;
    faults.badKeywordItem = "PITCH";
    faults.garbageBetweenEntries = true;
    faults.cutAfterItem = "STANDBY";
    faults.missingCounterIds = {8, 9};
    faults.stickInSettingMode = true;
    ASSERT_TRUE(Send(kOnline));

    std::string path = TempPath("roundtrip.txt");
    ASSERT_TRUE(printer.SaveState(path));

    PrinterEmulator restored;
    std::string error;
    ASSERT_TRUE(restored.LoadItems(KOA_PRINTER_ITEMS_PATH, &error)) << error;
    ASSERT_TRUE(restored.LoadConfig(path, &error)) << error;

    EXPECT_EQ(restored.Model(), "koa260MR");
    EXPECT_EQ(restored.Version(), "3.01C");
    for (const EmulatorItem& item : printer.Items()) EXPECT_EQ(restored.Value(item.name), printer.Value(item.name));
    for (int id : {1, 3, 4, 5, 6, 7}) EXPECT_EQ(restored.Counter(id), printer.Counter(id)) << id;
    for (int pin = 1; pin <= 24; ++pin) EXPECT_EQ(restored.HeadPin(pin), printer.HeadPin(pin)) << pin;
    EXPECT_EQ(restored.AlarmHistory(), printer.AlarmHistory());
    EXPECT_EQ(restored.SettingsListsPrinted(), 1);
    EXPECT_EQ(restored.Sends(), printer.Sends());
    EXPECT_TRUE(restored.Online());
    const EmulatorFaults& back = restored.Faults();
    EXPECT_FALSE(back.noAnswer);
    EXPECT_EQ(back.failNthSend, 9);
    EXPECT_TRUE(back.failAllSendsFromNth);
    EXPECT_TRUE(back.wrongModel);
    EXPECT_EQ(back.badKeywordItem, "PITCH");
    EXPECT_TRUE(back.garbageBetweenEntries);
    EXPECT_EQ(back.cutAfterItem, "STANDBY");
    EXPECT_EQ(back.missingCounterIds, (std::vector<int>{8, 9}));
    EXPECT_TRUE(back.stickInSettingMode);

    // Both printers answer the same queries with the same bytes.
    std::string query = "?MODEL  \r?VER    \r?NVRAM  \r" + kCounterQuery;
    std::vector<std::uint8_t> a, b;
    ASSERT_TRUE(printer.Write(reinterpret_cast<const std::uint8_t*>(query.data()), query.size()));
    ASSERT_TRUE(restored.Write(reinterpret_cast<const std::uint8_t*>(query.data()), query.size()));
    ASSERT_TRUE(printer.Read(&a));
    ASSERT_TRUE(restored.Read(&b));
    EXPECT_EQ(a, b);

    // And the saved state of the restored printer is the same text.
    std::string again = TempPath("roundtrip2.txt");
    ASSERT_TRUE(restored.SaveState(again));
    ASSERT_TRUE(printer.SaveState(path));
    EXPECT_EQ(ReadText(again), ReadText(path));
}

TEST_F(Emulator, StuckModeSurvivesSaveAndLoad) {
    printer.Faults().stickInSettingMode = true;
    ASSERT_TRUE(Send(kOnline + "SETTING \r\r" + kClose));
    std::string path = TempPath("stuck.txt");
    ASSERT_TRUE(printer.SaveState(path));
    PrinterEmulator restored;
    ASSERT_TRUE(restored.LoadItems(KOA_PRINTER_ITEMS_PATH, nullptr));
    ASSERT_TRUE(restored.LoadConfig(path, nullptr));
    EXPECT_TRUE(restored.InSettingMode());
    ASSERT_TRUE(restored.Write(reinterpret_cast<const std::uint8_t*>(kRecovery.data()), kRecovery.size()));
    EXPECT_FALSE(restored.InSettingMode());
}

TEST_F(Emulator, HandWrittenConfig) {
    std::string path = TempPath("config.txt");
    WriteText(path,
              "# a printer with a worn ribbon\n"
              "model koa260MR\n"
              "version 1.00A  \n"
              "\n"
              "value FRC-LFVA 8LPI\n"
              "value FT-PAGEL 12LINE\r\n"
              "counter 6 123456\n"
              "counter 1 513\n"
              "headpin 3 1000\n"
              "alarms 1 2 3 4 5 6 7\n"
              "fault no-answer\n"
              "fault fail-send 3\n"
              "fault missing-counter 4\n"
              "fault missing-counter 9\n");
    std::string error;
    ASSERT_TRUE(printer.LoadConfig(path, &error)) << error;
    EXPECT_EQ(printer.Model(), "koa260MR");
    EXPECT_EQ(printer.Version(), "1.00A");
    EXPECT_EQ(printer.Value("FRC-LFVA"), "8LPI");
    EXPECT_EQ(printer.Value("FT-PAGEL"), "12LINE");
    EXPECT_EQ(printer.Value("STANDBY"), "1min");
    EXPECT_EQ(printer.Counter(6), 123456u);
    EXPECT_EQ(printer.Counter(1), 513u);
    EXPECT_EQ(printer.HeadPin(3), 1000u);
    EXPECT_EQ(printer.AlarmHistory(), (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_TRUE(printer.Faults().noAnswer);
    EXPECT_EQ(printer.Faults().failNthSend, 3);
    EXPECT_FALSE(printer.Faults().failAllSendsFromNth);
    EXPECT_EQ(printer.Faults().missingCounterIds, (std::vector<int>{4, 9}));
}

TEST_F(Emulator, LoadConfigStartsFromTheFactoryState) {
    printer.SetValue("FRC-LFVA", "3LPI");
    printer.SetCounter(3, 5);
    printer.SetModel("koa260MR");
    printer.Faults().wrongModel = true;
    std::string path = TempPath("empty.txt");
    WriteText(path, "# nothing\n");
    ASSERT_TRUE(printer.LoadConfig(path, nullptr));
    EXPECT_EQ(printer.Value("FRC-LFVA"), "6LPI");
    EXPECT_EQ(printer.Counter(3), 0u);
    EXPECT_EQ(printer.Model(), "koa240MR");
    EXPECT_FALSE(printer.Faults().wrongModel);
}

TEST_F(Emulator, BadConfigIsRefusedAndChangesNothing) {
    printer.SetValue("PITCH", "12CPI");
    const struct {
        const char* text;
        const char* problem;
    } cases[] = {
        {"value FRC-LFVA 9LPI\n", "9LPI"},
        {"value NOSUCH DETECT\n", "NOSUCH"},
        {"counter 2 5\n", "counter"},
        {"counter 1 65536\n", "16 bits"},
        {"headpin 25 1\n", "headpin"},
        {"alarms 1 2 3 4 5 6 7 8\n", "alarms"},
        {"alarms 256\n", "alarm"},
        {"model koa2400MaxR\n", "model"},
        {"fault fail-send 0\n", "fail-send"},
        {"fault nonsense\n", "nonsense"},
        {"fault refuse-reset 4\n", "refuse-reset"},
        {"fault ignore-reset\n", "ignore-reset"},
        {"colour blue\n", "colour"},
        {"mode sleeping\n", "mode"},
    };
    for (const auto& c : cases) {
        std::string path = TempPath("bad.txt");
        WriteText(path, std::string("model koa260MR\n\n") + c.text);
        std::string error;
        EXPECT_FALSE(printer.LoadConfig(path, &error)) << c.text;
        EXPECT_NE(error.find(":3:"), std::string::npos) << error;
        EXPECT_NE(error.find(c.problem), std::string::npos) << error;
        EXPECT_EQ(printer.Model(), "koa240MR") << c.text;
        EXPECT_EQ(printer.Value("PITCH"), "12CPI") << c.text;
    }
    std::string error;
    EXPECT_FALSE(printer.LoadConfig(TempPath("does-not-exist.txt"), &error));
    EXPECT_FALSE(error.empty());
}

TEST(EmulatorConfig, ItemsLineNamesTheDataFile) {
    std::string path = TempPath("with-items.txt");
    WriteText(path, std::string("items ") + KOA_PRINTER_ITEMS_PATH + "\nvalue STANDBY 30min\n");
    PrinterEmulator printer;
    std::string error;
    ASSERT_TRUE(printer.LoadConfig(path, &error)) << error;
    EXPECT_EQ(printer.Items().size(), 109u);
    EXPECT_EQ(printer.Value("STANDBY"), "30min");
    EXPECT_EQ(printer.Value("FRC-LFVA"), "6LPI");
}

TEST(EmulatorConfig, RelativeItemsPathCountsFromTheConfigFolder) {
    std::string items = TempPath("small_items.txt");
    WriteText(items, "item ONE A A B\nitem TWO Y X Y\n");
    std::string path = TempPath("relative.txt");
    std::string name = items.substr(items.find_last_of("/\\") + 1);
    WriteText(path, "items " + name + "\nvalue ONE B\n");
    PrinterEmulator printer;
    std::string error;
    ASSERT_TRUE(printer.LoadConfig(path, &error)) << error;
    EXPECT_EQ(printer.Value("ONE"), "B");
    EXPECT_EQ(printer.Value("TWO"), "Y");
}

TEST(EmulatorConfig, ValuesNeedAnItemTable) {
    std::string path = TempPath("no-items.txt");
    WriteText(path, "value FRC-LFVA 8LPI\n");
    PrinterEmulator printer;
    std::string error;
    EXPECT_FALSE(printer.LoadConfig(path, &error));
    EXPECT_NE(error.find("item"), std::string::npos) << error;
}

}  // namespace
