// Texts of the remote panel's printer messages that are built rather than
// loaded: the value-error message of a setting item.
#pragma once

#include <cstddef>

#include "panel/core/setting_items.h"

// Writes into `buffer` (always NUL-terminated, cut at `size`) the text to show
// for `code`: the value-error message of the item whose code it is, or
// `callerText` when the code belongs to no item (0, 209, 210, any other).
// Returns the text's length.
std::size_t BuildMessageText(MessageCode code, const char* callerText, char* buffer, std::size_t size);

// The refusal of a write whose record holds a byte outside `item`'s list:
// names the item's title so that the user can choose its value. Same
// bounds as above.
std::size_t BuildOutOfListText(int item, char* buffer, std::size_t size);
