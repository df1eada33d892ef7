// The channel a printer's ConnectionKind names: the language monitor's
// shared block for local ports, the LAN library for network ports. The
// remote panel talks to its chosen printer through it, the console tool to
// each printer it is given.
#pragma once

#include "link/channel/spooler_channel.h"
#include "link/choice/printer_target.h"
#include "link/lan/lan_link.h"

class PrinterTargetChannel {
public:
    // `target` must outlive the channel: its names are read, and its
    // LanAddress filled, while the channel is used.
    explicit PrinterTargetChannel(PrinterTarget& target);
    PrinterTargetChannel(const PrinterTargetChannel&) = delete;
    PrinterTargetChannel& operator=(const PrinterTargetChannel&) = delete;

    // Null for a printer that no channel serves (a refusal code).
    PrinterChannel* get() { return chosen_; }

private:
    SpoolerChannel spooler_;
    LanChannel lan_;
    PrinterChannel* chosen_;
};
