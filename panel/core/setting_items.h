// The printer's 109 panel settings: item names, value lists, titles, factory
// values and the lookups every other part of the panel uses.
//
// Portable: no platform headers. All texts are code page 932 bytes (the
// sources are compiled with -fexec-charset=CP932).
#pragma once

#include <array>
#include <cstdint>

#include "link/channel/model_code.h"

// Item names, value keywords and command words travel as exactly 8 bytes,
// padded on the right with blanks, compared byte for byte.
enum { FieldWidth = 8 };

enum { SettingCount = 109 };

enum SettingPage { PageHardware = 0, PageSheets = 1, PageForms = 2, PageOther = 3 };

// 0: the caller's text; 101..211: the value-error message of one item.
typedef std::uint32_t MessageCode;

// Byte i is the position of item i's value in its value list. A byte may lie
// outside the list (an empty selection stores 255, a file may bring anything):
// the lookups below answer "no value" for it instead of reading past a table.
struct SettingsRecord {
    unsigned char value[SettingCount];
};
static_assert(sizeof(SettingsRecord) == SettingCount, "a record is the 109 raw bytes");

struct SettingValue {
    char keyword[FieldWidth + 1];  // 8 bytes blank padded, then a NUL
    char display[24];              // text of the combo box row, NUL terminated
};

struct ValueTable {
    const SettingValue* values;
    int count;
};

struct SettingItem {
    char name[FieldWidth + 1];  // 8 bytes blank padded, then a NUL
    SettingPage page;
    const char* title;          // the item's name in messages
    const ValueTable* list;
    unsigned char factory;      // position stored in FactoryDefaults
    MessageCode valueErrorCode;
};

extern const SettingItem SettingItems[SettingCount];
extern const SettingsRecord FactoryDefaults;

// Order in which the items are exchanged with the printer: record order, but
// item 14 ("CUT-BACK") after item 107 and item 108 ("STANDBY") last.
extern const std::array<unsigned char, SettingCount> SettingExchangeOrder;

// Record index of the item whose name equals the 8 bytes at `field`, or -1.
int FindSettingItem(const char* field);

// Position of the first keyword of `item`'s list equal to the 8 bytes at
// `field`, or -1 (also for an item index outside the table).
int FindSettingValue(int item, const char* field);

// Number of values in `item`'s list, 0 for an index outside the table.
int SettingValueCount(int item);

// The 8-byte blank-padded keyword (NUL after the 8th byte) of `position` in
// `item`'s list, or null when either lies outside its table.
const char* SettingKeyword(int item, int position);

// The display text of `position` in `item`'s list, or null.
const char* SettingDisplayText(int item, int position);

// Title and value-error code of `item`; null and 0 outside the table.
const char* SettingTitle(int item);
MessageCode SettingValueErrorCode(int item);

// The item whose value-error code is `code`, or -1 (209, 210 and codes
// outside 101..211 belong to no item).
int FindSettingByValueErrorCode(MessageCode code);

void CopyFactoryDefaults(SettingsRecord* record);

// The first item (in record order) whose byte lies outside its list, or -1.
// Such a record must not be written: the printer would get an item line
// without a value.
int FindOutOfListSetting(const SettingsRecord& record);

// Model identity: the 8-byte "?MODEL" identifier of a supported model
// ("koa240MR"), or null; and the model code of an 8-byte identifier.
const char* ModelIdentifier(ModelCode model);
ModelCode ModelFromIdentifier(const char* field);
