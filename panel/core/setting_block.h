// The setting block that writes all 109 settings: "SETTING \r", then per item
// (in SettingExchangeOrder) CR, the 8-byte name, ':', the 8-byte keyword of
// its position in the record, and a final CR: 1972 bytes when every value
// lies in its list.
#pragma once

#include "panel/core/setting_items.h"

enum { SettingBlockBufferSize = 4096, FullSettingBlockLength = 9 + SettingCount * 18 + 1 };

// Builds the block into `buffer` (zero-filled first, `size` bytes, at least
// SettingBlockBufferSize) and returns its length. A record byte outside its
// item's list adds no value text: that line ends at the colon.
int BuildSettingBlock(const SettingsRecord& settings, unsigned char* buffer, int size);
