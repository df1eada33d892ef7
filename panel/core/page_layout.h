// The rows of the four setting pages: which label and list show which item,
// in tab order. Portable: the dialogs, the tooltips and the tests all read
// this one table.
#pragma once

#include "panel/core/setting_items.h"

enum { PageCount = 4 };

struct PageRow {
    unsigned short labelId;    // the label's control id (also its tooltip's string id)
    unsigned short listId;     // the drop-down list's control id: labelId + 1000
    unsigned char recordByte;  // the item's index in a SettingsRecord
    unsigned char group;       // index of the group box on the page (0 without groups)
    unsigned char column;      // 1 or 2
};

// Rows of `page` (0 hardware, 1 cut sheets, 2 continuous forms, 3 other) in
// tab order; null and 0 for a page outside 0..3.
const PageRow* PageRows(int page);
int PageRowCount(int page);

// The row of `page` that shows record byte `recordByte`, or null.
const PageRow* FindPageRow(int page, int recordByte);

// Number of group boxes on `page` (groups are numbered 1..count; 0 when the
// page has none or lies outside 0..3).
int PageGroupCount(int page);

// The continuous-forms page greys a bottom-edge fine adjustment (list and
// label) while its bottom-edge detection is not at position 0: the trim is
// meaningless with the sensor set to the far position. The value stays in
// the record and is still written.
struct GreyingRule {
    unsigned char detectionByte;   // "PE検出位置" of one tractor
    unsigned char adjustmentByte;  // its "PE検出位置微調整"
};

// The rules of `page` (only the forms page has any); null and 0 otherwise.
const GreyingRule* PageGreyingRules(int page, int* count);

// Whether the row showing `recordByte` on `page` is enabled for `record`.
// Rows no rule names are always enabled.
bool PageRowEnabled(int page, int recordByte, const SettingsRecord& record);

// A list position as a record byte: the row number, or 255 for "no
// selection" (a negative position or one that cannot be a list row).
unsigned char SelectionToRecordByte(long position);

// The list row a record byte selects in a list of `count` rows, or -1 (no
// selection) for a byte outside the list.
int RecordByteToSelection(unsigned char byte, int count);
