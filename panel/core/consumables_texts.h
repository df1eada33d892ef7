// The consumables windows' texts that are built rather than loaded: the
// warnings under the gauges and the alarm names. One place, so that the
// windows, the reports and the text file say the same.
#pragma once

extern const char* const HeadPrepareText;
extern const char* const HeadReplaceText;
extern const char* const RibbonPrepareText;
extern const char* const RibbonReplaceText;
extern const char* const NoWearText;

extern const char* const AlarmHistoryHeading;  // first line of the error log text
extern const char* const AlarmHistoryLabel;    // before each entry's number

extern const char* const NoAlarmText;          // code 00
extern const char* const UndefinedAlarmText;   // any code the printer does not define
// Codes 0x40 to 0x57, in order.
enum { FirstAlarmCode = 0x40, LastAlarmCode = 0x57 };
extern const char* const AlarmTexts[LastAlarmCode - FirstAlarmCode + 1];

// The consumables report and the error log, on paper and in the text file.
// The printer's name comes before the headings, its firmware version after
// the error log's.
extern const char* const ReportHeading;          // "   消耗品情報"
extern const char* const ErrorLogHeading;        // "   エラーログ情報   ROM Ver "
extern const char* const ReportAlarmLabel;       // before each alarm entry's number
// The head pin lines up to their "#": the first names the counter, the
// others are blank to the same width. The file's are one blank wider.
extern const char* const PrintedPinLabel;
extern const char* const PrintedPinIndent;
extern const char* const FilePinLabel;
extern const char* const FilePinIndent;
extern const char* const PinUnit;                // "打"
// The five general counts, in CounterField order: the label with its "="
// (28 bytes each, two blanks after the "=" on paper, one in the file) and
// the unit after the number.
struct ReportCounterText {
    const char* printedLabel;
    const char* fileLabel;
    const char* unit;
};
extern const ReportCounterText ReportCounterTexts[5];
