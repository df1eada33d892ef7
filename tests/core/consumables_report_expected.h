// A counters answer as a printer sends it, a printer name and a firmware
// version, and the consumables report, the error log and the text file
// that the remote panel must make of them, written out by hand. Shared by
// the native tests of the lines and the Wine tests of the printed documents
// and the saved file.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "panel/core/counters.h"

namespace report_expected {

inline std::string BigEndian(std::uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
            static_cast<char>(value)};
}

// One answer record as the printer frames it: a leading byte, the length,
// the id, a spare byte, the data.
inline std::string Record(int length, int id, const std::string& data) {
    std::string record = {'\x1b', static_cast<char>(length), static_cast<char>(id), '\0'};
    record += data;
    record.resize(static_cast<std::size_t>(length), '\0');
    return record;
}

constexpr std::uint32_t kPins[24] = {
    4294967295u, 0, 1, 12, 123, 1234, 12345, 123456, 1234567, 12345678, 123456789, 1234567890,
    65000000, 70000000, 75000000, 80000000, 85000000, 90000000, 95000000, 100000000,
    105000000, 110000000, 115000000, 120000000,
};

// The counters after the printer's answer: the records out of order, as the
// parse must take them.
inline ConsumablesCounters Answered() {
    std::string pins;
    for (std::uint32_t pin : kPins) pins += BigEndian(pin);
    const std::string answer = Record(100, 8, pins) + Record(8, 4, BigEndian(987654)) +
                               Record(8, 3, BigEndian(12345)) + Record(8, 1, "\x01\x02") +
                               Record(8, 6, BigEndian(3000000)) + Record(8, 5, BigEndian(55555)) +
                               Record(11, 9, std::string("\x00\x40\x48\x58\x3f\x57\x45", 7)) +
                               Record(8, 7, BigEndian(42));
    ConsumablesCounters counters = {};
    std::vector<unsigned char> buffer(CounterAnswerBufferSize, 0);
    std::memcpy(buffer.data(), answer.data(), answer.size());
    EXPECT_EQ(8, ParseCountersAnswer(buffer.data(), static_cast<int>(answer.size()), &counters));
    return counters;
}

constexpr char kName[] = "経理部 KOA koa2400Max-R";
constexpr unsigned char kVersion[12] = {'0', '1', '.', '2', '3', 0xB1, 'B', 'x', 'x', 'x', 'x', 0};  // "01.23ｱB"

// The printed consumables report, line 1 first.
inline std::vector<std::string> ConsumablesLines() {
    return {
        "経理部 KOA koa2400Max-R   消耗品情報",
        "",
        "  ヘッドピンカウンター #01 =  4294967295打",
        "                       #02 =           0打",
        "                       #03 =           1打",
        "                       #04 =          12打",
        "                       #05 =         123打",
        "                       #06 =        1234打",
        "                       #07 =       12345打",
        "                       #08 =      123456打",
        "                       #09 =     1234567打",
        "                       #10 =    12345678打",
        "                       #11 =   123456789打",
        "                       #12 =  1234567890打",
        "                       #13 =    65000000打",
        "                       #14 =    70000000打",
        "                       #15 =    75000000打",
        "                       #16 =    80000000打",
        "                       #17 =    85000000打",
        "                       #18 =    90000000打",
        "                       #19 =    95000000打",
        "                       #20 =   100000000打",
        "                       #21 =   105000000打",
        "                       #22 =   110000000打",
        "                       #23 =   115000000打",
        "                       #24 =   120000000打",
        "  印字行数               =      987654行",
        "  リボン寿命             =     3000000文字",
        "  電源オン時間           =       12345時間",
        "  紙厚検出回数           =          42回",
        "  プラテン改行数         =       55555行",
    };
}

// The printed error log.
inline std::vector<std::string> ErrorLogLines() {
    return {
        "経理部 KOA koa2400Max-R   エラーログ情報   ROM Ver 01.23ｱB",
        "",
        "   アラーム履歴1   エラー無し",
        "   アラーム履歴2   ASFモータ異常",
        "   アラーム履歴3   未定義エラー",
        "   アラーム履歴4   未定義エラー",
        "   アラーム履歴5   未定義エラー",
        "   アラーム履歴6   ファンアラーム",
        "   アラーム履歴7   印字ヘッド異常",
    };
}

// The text file, its zero byte included.
inline std::string FileBytes() {
    return std::string(
        "経理部 KOA koa2400Max-R   消耗品情報\r\n"
        "\r\n"
        "  ヘッドピンカウンター  #01 = 4294967295打\r\n"
        "                        #02 =          0打\r\n"
        "                        #03 =          1打\r\n"
        "                        #04 =         12打\r\n"
        "                        #05 =        123打\r\n"
        "                        #06 =       1234打\r\n"
        "                        #07 =      12345打\r\n"
        "                        #08 =     123456打\r\n"
        "                        #09 =    1234567打\r\n"
        "                        #10 =   12345678打\r\n"
        "                        #11 =  123456789打\r\n"
        "                        #12 = 1234567890打\r\n"
        "                        #13 =   65000000打\r\n"
        "                        #14 =   70000000打\r\n"
        "                        #15 =   75000000打\r\n"
        "                        #16 =   80000000打\r\n"
        "                        #17 =   85000000打\r\n"
        "                        #18 =   90000000打\r\n"
        "                        #19 =   95000000打\r\n"
        "                        #20 =  100000000打\r\n"
        "                        #21 =  105000000打\r\n"
        "                        #22 =  110000000打\r\n"
        "                        #23 =  115000000打\r\n"
        "                        #24 =  120000000打\r\n"
        "  印字行数                =     987654行\r\n"
        "  リボン寿命              =    3000000文字\r\n"
        "  電源オン時間            =      12345時間\r\n"
        "  紙厚検出回数            =         42回\r\n"
        "  プラテン改行数          =      55555行\r\n"
        "\r\n"
        "\r\n"
        "\r\n"
        "\r\n"
        "\r\n"
        "経理部 KOA koa2400Max-R   エラーログ情報   ROM Ver 01.23ｱB\r\n"
        "\r\n"
        "   アラーム履歴1   エラー無し\r\n"
        "   アラーム履歴2   ASFモータ異常\r\n"
        "   アラーム履歴3   未定義エラー\r\n"
        "   アラーム履歴4   未定義エラー\r\n"
        "   アラーム履歴5   未定義エラー\r\n"
        "   アラーム履歴6   ファンアラーム\r\n"
        "   アラーム履歴7   印字ヘッド異常\r\n") + '\0';
}

}  // namespace report_expected
