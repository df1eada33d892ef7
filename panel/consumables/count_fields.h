// The count fields of the detail window's two pages: each count written
// with "%lu", on cyan while the part has life left and on red from 90 % of
// its life on. Each page owns its two brushes.
#pragma once

#include <windows.h>

#include <cstdint>

// Writes `count` into control `id` of `page` as an unsigned decimal without
// separators.
void ShowCount(HWND page, int id, std::uint32_t count);

class CountBrushes {
public:
    CountBrushes() = default;
    ~CountBrushes() { Release(); }
    CountBrushes(const CountBrushes&) = delete;
    CountBrushes& operator=(const CountBrushes&) = delete;

    // Makes the brushes that are missing.
    void Create();
    void Release();
    // Colours a count field being painted (WM_CTLCOLORSTATIC): `text` on red
    // or cyan. Returns the background brush for the dialog to hand back.
    INT_PTR Paint(HDC dc, bool red, COLORREF text) const;

private:
    HBRUSH cyan_ = nullptr;
    HBRUSH red_ = nullptr;
};
