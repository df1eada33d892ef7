// Steps shared by every conversation with the printer on the spooler channel.
#pragma once

#include "link/channel/link_block.h"

// One send through the channel; true when the printer took the bytes.
bool SendFrame(const void* bytes, int length);
bool SendFrame(const CommandFrame& frame);

// Starts a conversation with the current printer. When an earlier one was
// left open, the flag is cleared and, except on USB ports, the recovery
// sequence goes first with a 5 s pause: the printer may not answer until it
// is out of the old command. Its result is not looked at.
void AttachAndRepair();
