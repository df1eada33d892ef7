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
