// Where the monitor window goes: the saved position when the window keeps a
// grip on the work area, else the centre. Portable arithmetic in pixels; the
// saved values come from the registry and may hold anything, so nothing
// here overflows for any 32-bit input.
#pragma once

#include <cstdint>

struct PixelRect {
    std::int32_t left, top, right, bottom;
};

struct PixelPoint {
    std::int32_t x, y;
};

// How much of the window must stay inside the work area on each axis.
enum { PositionGripPixels = 10 };

// True when a window of `width` x `height` placed at (left, top) keeps at
// least PositionGripPixels inside the work area on each axis:
// area.left - width + 10 < left < area.right - 10, and likewise vertically.
bool SavedPositionFits(const PixelRect& workArea, std::int32_t width, std::int32_t height, std::int32_t left,
                       std::int32_t top);

// The centred position; a window larger than the work area on an axis goes
// to the work area's start on that axis.
PixelPoint CentredPosition(const PixelRect& workArea, std::int32_t width, std::int32_t height);

// The centred position as the saving rule computes it, without the
// large-window rule: a window that sits there has no position of its own.
PixelPoint CentredPositionForSave(const PixelRect& workArea, std::int32_t width, std::int32_t height);
