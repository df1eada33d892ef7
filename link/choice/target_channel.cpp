#include "link/choice/target_channel.h"

PrinterTargetChannel::PrinterTargetChannel(PrinterTarget& target)
    : spooler_(target.PrinterName), lan_(target.PortName, target.LanAddress), chosen_(nullptr) {
    if (target.ConnectionKind == ConnectSpooler) chosen_ = &spooler_;
    if (target.ConnectionKind == ConnectLan) chosen_ = &lan_;
}
