// Parsers of the printer's answers. Portable and free of side effects: the
// caller owns the buffers and shows any messages.
//
// Every parser takes the 4096-byte answer buffer (zero-filled before the
// exchange) and the answer length (already clamped to 4096). Scans run while
// the position is below the answer length; an 8-byte field is compared
// against the buffer, so bytes past the answer length read as the zero fill,
// and a field that would run past the end of the buffer matches nothing.
#pragma once

#include <cstdint>

#include "panel/core/counters.h"
#include "panel/core/setting_items.h"

enum { AnswerBufferSize = 4096 };

// Position of the first occurrence of the 8 bytes `field` at or after `from`
// and before `length`, or -1.
int FindAnswerField(const unsigned char* buffer, int length, int from, const char* field);

// Model check of the start-up read. Looks for "?MODEL  "; the 8 bytes at 9
// past it set *detectedModel to 17 ("koa240MR") or 18 ("koa260MR"); any
// other text leaves it unchanged. Returns where the settings parse starts:
// the position of the identifier, or `length` when "?MODEL  " is missing.
int ParseModelAnswer(const unsigned char* buffer, int length, std::uint32_t* detectedModel);

// Called once for every entry whose value is not in its item's list.
typedef void (*ValueErrorHandler)(int item, void* context);

// Settings parse from `start`. Without "?NVRAM  " before `length`, returns
// false and leaves *received untouched. Otherwise copies FactoryDefaults into
// *received, reads every entry (items compared in SettingExchangeOrder),
// calls onValueError(item, context) for a value outside the item's list
// (the item keeps what it had), and returns true.
bool ParseSettingsAnswer(const unsigned char* buffer, int length, int start, SettingsRecord* received,
                         ValueErrorHandler onValueError, void* context);

// Version parse: at the first "?VER    ", copies the 7 bytes at 9 past it
// into version[0..6] and returns true; otherwise returns false and leaves
// `version` (12 bytes) unchanged.
bool ParseVersionAnswer(const unsigned char* buffer, int length, unsigned char version[12]);
