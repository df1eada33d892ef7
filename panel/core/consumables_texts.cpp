#include "panel/core/consumables_texts.h"

const char* const HeadPrepareText = "\nヘッド交換準備をしてください。";
const char* const HeadReplaceText = "ヘッド交換をしてください。\n保守員へ連絡してください。";
const char* const RibbonPrepareText = "\nリボン交換準備をしてください。";
const char* const RibbonReplaceText = "\nリボン交換をしてください。";
const char* const NoWearText = " ";

const char* const AlarmHistoryHeading = "エラーログ\r\n";
const char* const AlarmHistoryLabel = " ｱﾗｰﾑ履歴";

const char* const NoAlarmText = "エラー無し";
const char* const UndefinedAlarmText = "未定義エラー";
const char* const AlarmTexts[LastAlarmCode - FirstAlarmCode + 1] = {
    "ASFモータ異常",           // 40
    "リボンモータ異常",        // 41
    "過負荷アラーム",          // 42
    "低電圧アラーム",          // 43
    "過電圧アラーム",          // 44
    "印字ヘッド異常",          // 45
    "LFモータ異常",            // 46
    "SPモータ異常",            // 47
    "未定義エラー",            // 48
    "未定義エラー",            // 49
    "未定義エラー",            // 4A
    "未定義エラー",            // 4B
    "未定義エラー",            // 4C
    "未定義エラー",            // 4D
    "未定義エラー",            // 4E
    "未定義エラー",            // 4F
    "ROM/RAMアラーム",         // 50
    "ファンアラーム",          // 51
    "イージーセットアラーム",  // 52
    "HCPPアラーム",            // 53
    "APTCアラーム",            // 54
    "LRESアラーム",            // 55
    "ファンアラーム",          // 56
    "ファンアラーム",          // 57
};

const char* const ReportHeading = "   消耗品情報";
const char* const ErrorLogHeading = "   エラーログ情報   ROM Ver ";
const char* const ReportAlarmLabel = "   アラーム履歴";

const char* const PrintedPinLabel = "  ヘッドピンカウンター ";
const char* const PrintedPinIndent = "                       ";
const char* const FilePinLabel = "  ヘッドピンカウンター  ";
const char* const FilePinIndent = "                        ";
const char* const PinUnit = "打";

const ReportCounterText ReportCounterTexts[5] = {
    {"  印字行数               =  ", "  印字行数                = ", "行"},
    {"  リボン寿命             =  ", "  リボン寿命              = ", "文字"},
    {"  電源オン時間           =  ", "  電源オン時間            = ", "時間"},
    {"  紙厚検出回数           =  ", "  紙厚検出回数            = ", "回"},
    {"  プラテン改行数         =  ", "  プラテン改行数          = ", "行"},
};
