#include "panel/consumables/count_fields.h"

#include <cstdio>

namespace {

const COLORREF kCyan = RGB(0, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);

}  // namespace

void ShowCount(HWND page, int id, std::uint32_t count) {
    char text[16];  // ten digits at most
    std::snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(count));
    SetDlgItemTextA(page, id, text);
}

void CountBrushes::Create() {
    if (!cyan_) cyan_ = CreateSolidBrush(kCyan);
    if (!red_) red_ = CreateSolidBrush(kRed);
}

void CountBrushes::Release() {
    if (cyan_) DeleteObject(cyan_);
    if (red_) DeleteObject(red_);
    cyan_ = red_ = nullptr;
}

INT_PTR CountBrushes::Paint(HDC dc, bool red, COLORREF text) const {
    SetTextColor(dc, text);
    SetBkColor(dc, red ? kRed : kCyan);
    return reinterpret_cast<INT_PTR>(red ? red_ : cyan_);
}
