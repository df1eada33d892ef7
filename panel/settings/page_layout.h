// The rows of the four setting pages: which label and list show which item,
// in tab order. Portable: the dialogs, the tooltips and the tests all read
// this one table.
#pragma once

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
