// The four setting pages' rows in tab order. Label ids follow each page's
// row order; the gaps on the hardware and other pages are ids that the
// tooltip texts already use for those rows, so they must stay as they are.
#include "panel/core/page_layout.h"

#include <cstddef>
#include <iterator>

namespace {

// One row: label id, record byte, group, column. The list id is always the
// label id + 1000, so it is derived instead of written twice.
struct RowSource {
    unsigned short labelId;
    unsigned char recordByte;
    unsigned char group;
    unsigned char column;
};

constexpr PageRow Row(const RowSource& r) {
    return PageRow{r.labelId, static_cast<unsigned short>(r.labelId + 1000), r.recordByte, r.group, r.column};
}

template <std::size_t N>
struct Rows {
    PageRow rows[N];
};

template <std::size_t N>
constexpr Rows<N> MakeRows(const RowSource (&source)[N]) {
    Rows<N> out{};
    for (std::size_t i = 0; i < N; ++i) out.rows[i] = Row(source[i]);
    return out;
}

// Hardware page: no groups, the first 19 rows in column 1. Items 106 and 107
// sit among the hardware items although their record bytes come last.
constexpr RowSource kHardware[] = {
    {1301, 0, 0, 1},   {1302, 1, 0, 1},   {1303, 2, 0, 1},   {1304, 3, 0, 1},   {1305, 4, 0, 1},
    {1306, 5, 0, 1},   {1307, 6, 0, 1},   {1308, 7, 0, 1},   {1309, 8, 0, 1},   {1310, 9, 0, 1},
    {1311, 10, 0, 1},  {1312, 11, 0, 1},  {1313, 12, 0, 1},  {1314, 13, 0, 1},  {1315, 106, 0, 1},
    {1316, 14, 0, 1},  {1317, 15, 0, 1},  {1318, 16, 0, 1},  {1319, 17, 0, 1},
    {1320, 18, 0, 2},  {1321, 19, 0, 2},  {1322, 20, 0, 2},  {1323, 21, 0, 2},  {1324, 22, 0, 2},
    {1325, 23, 0, 2},  {1326, 24, 0, 2},  {1327, 25, 0, 2},  {1328, 107, 0, 2}, {1329, 26, 0, 2},
    {1330, 27, 0, 2},  {1355, 28, 0, 2},  {1362, 29, 0, 2},  {1363, 30, 0, 2},
};

// Cut-sheet page: groups front ASF (1), rear ASF (2), manual feed (3).
constexpr RowSource kSheets[] = {
    {1400, 31, 1, 1}, {1401, 32, 1, 1}, {1402, 33, 1, 1}, {1403, 34, 1, 1},
    {1404, 35, 1, 2}, {1405, 36, 1, 2}, {1406, 37, 1, 2}, {1407, 38, 1, 2},
    {1408, 39, 2, 1}, {1409, 40, 2, 1}, {1410, 41, 2, 1}, {1411, 42, 2, 1},
    {1412, 43, 2, 2}, {1413, 44, 2, 2}, {1414, 45, 2, 2}, {1415, 46, 2, 2},
    {1416, 47, 3, 1}, {1417, 48, 3, 1}, {1418, 49, 3, 1}, {1419, 50, 3, 1},
    {1420, 51, 3, 1}, {1421, 52, 3, 1}, {1422, 53, 3, 1},
    {1423, 54, 3, 2}, {1424, 55, 3, 2}, {1425, 56, 3, 2}, {1426, 57, 3, 2},
    {1427, 58, 3, 2}, {1428, 59, 3, 2}, {1429, 60, 3, 2},
};

// Continuous-forms page: groups front tractor (1), rear tractor (2).
constexpr RowSource kForms[] = {
    {1500, 61, 1, 1}, {1501, 62, 1, 1}, {1502, 63, 1, 1}, {1503, 64, 1, 1}, {1504, 65, 1, 1}, {1505, 66, 1, 1},
    {1506, 67, 1, 2}, {1507, 68, 1, 2}, {1508, 69, 1, 2}, {1509, 70, 1, 2}, {1510, 71, 1, 2}, {1511, 72, 1, 2},
    {1512, 73, 2, 1}, {1513, 74, 2, 1}, {1514, 75, 2, 1}, {1515, 76, 2, 1}, {1516, 77, 2, 1}, {1517, 78, 2, 1},
    {1518, 79, 2, 2}, {1519, 80, 2, 2}, {1520, 81, 2, 2}, {1521, 82, 2, 2}, {1522, 83, 2, 2}, {1523, 84, 2, 2},
};

// Other page: groups office mode (1), command functions (2), other (3).
constexpr RowSource kOther[] = {
    {1600, 85, 1, 1},
    {1601, 86, 2, 1}, {1602, 87, 2, 1}, {1603, 88, 2, 1}, {1604, 89, 2, 1}, {1605, 90, 2, 1}, {1606, 91, 2, 1},
    {1607, 92, 2, 2}, {1608, 93, 2, 2}, {1611, 94, 2, 2}, {1612, 95, 2, 2}, {1613, 96, 2, 2},
    {1614, 97, 3, 1}, {1615, 98, 3, 1}, {1616, 99, 3, 1}, {1617, 100, 3, 1}, {1618, 101, 3, 1},
    {1619, 102, 3, 2}, {1620, 103, 3, 2}, {1621, 104, 3, 2}, {1622, 105, 3, 2}, {1632, 108, 3, 2},
};

constexpr auto kHardwareRows = MakeRows(kHardware);
constexpr auto kSheetsRows = MakeRows(kSheets);
constexpr auto kFormsRows = MakeRows(kForms);
constexpr auto kOtherRows = MakeRows(kOther);

struct PageTable {
    const PageRow* rows;
    int count;
    int groups;
};

constexpr PageTable kPages[PageCount] = {
    {kHardwareRows.rows, static_cast<int>(std::size(kHardware)), 0},
    {kSheetsRows.rows, static_cast<int>(std::size(kSheets)), 3},
    {kFormsRows.rows, static_cast<int>(std::size(kForms)), 2},
    {kOtherRows.rows, static_cast<int>(std::size(kOther)), 3},
};

static_assert(std::size(kHardware) + std::size(kSheets) + std::size(kForms) + std::size(kOther) == SettingCount,
              "every item has exactly one row");

// "FT-BTM" (64) governs "FT-BTMAJ" (69), "RT-BTM" (76) governs "RT-BTMAJ" (81).
constexpr GreyingRule kFormsGreying[] = {{64, 69}, {76, 81}};

const PageTable* Page(int page) { return page >= 0 && page < PageCount ? &kPages[page] : nullptr; }

}  // namespace

const PageRow* PageRows(int page) {
    const PageTable* table = Page(page);
    return table ? table->rows : nullptr;
}

int PageRowCount(int page) {
    const PageTable* table = Page(page);
    return table ? table->count : 0;
}

const PageRow* FindPageRow(int page, int recordByte) {
    const PageTable* table = Page(page);
    if (!table) return nullptr;
    for (int i = 0; i < table->count; ++i)
        if (table->rows[i].recordByte == recordByte) return &table->rows[i];
    return nullptr;
}

int PageGroupCount(int page) {
    const PageTable* table = Page(page);
    return table ? table->groups : 0;
}

const GreyingRule* PageGreyingRules(int page, int* count) {
    if (page == PageForms) {
        *count = static_cast<int>(std::size(kFormsGreying));
        return kFormsGreying;
    }
    *count = 0;
    return nullptr;
}

bool PageRowEnabled(int page, int recordByte, const SettingsRecord& record) {
    int count = 0;
    const GreyingRule* rules = PageGreyingRules(page, &count);
    for (int i = 0; i < count; ++i)
        if (rules[i].adjustmentByte == recordByte) return record.value[rules[i].detectionByte] == 0;
    return true;
}

unsigned char SelectionToRecordByte(long position) {
    return position >= 0 && position < 255 ? static_cast<unsigned char>(position) : 255;
}

int RecordByteToSelection(unsigned char byte, int count) { return byte < count ? byte : -1; }
