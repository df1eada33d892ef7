#include "monitor/core/window_position_rules.h"

namespace {

bool FitsOnAxis(std::int64_t start, std::int64_t end, std::int64_t size, std::int64_t position) {
    return start - size + PositionGripPixels < position && position < end - PositionGripPixels;
}

std::int32_t Clamp32(std::int64_t value) {
    if (value < INT32_MIN) return INT32_MIN;
    if (value > INT32_MAX) return INT32_MAX;
    return static_cast<std::int32_t>(value);
}

// (start + end - size) / 2, with the truncating division of the rule.
std::int32_t Centre(std::int64_t start, std::int64_t end, std::int64_t size) {
    return Clamp32((start + end - size) / 2);
}

std::int32_t CentreOrStart(std::int64_t start, std::int64_t end, std::int64_t size) {
    return size > end - start ? Clamp32(start) : Centre(start, end, size);
}

}  // namespace

bool SavedPositionFits(const PixelRect& workArea, std::int32_t width, std::int32_t height, std::int32_t left,
                       std::int32_t top) {
    return FitsOnAxis(workArea.left, workArea.right, width, left) &&
           FitsOnAxis(workArea.top, workArea.bottom, height, top);
}

PixelPoint CentredPosition(const PixelRect& workArea, std::int32_t width, std::int32_t height) {
    return {CentreOrStart(workArea.left, workArea.right, width), CentreOrStart(workArea.top, workArea.bottom, height)};
}

PixelPoint CentredPositionForSave(const PixelRect& workArea, std::int32_t width, std::int32_t height) {
    return {Centre(workArea.left, workArea.right, width), Centre(workArea.top, workArea.bottom, height)};
}
