#include "link/choice/port_rules.h"

#include <cstring>

namespace {

bool Contains(const char* text, const char* part) { return std::strstr(text, part) != nullptr; }

}  // namespace

int ClassifyPort(const char* portName, std::uint32_t attributes, std::uint32_t status, const char* separatorFile) {
    const char* port = portName ? portName : "";
    // The LAN port software's ports: the printer is reached past the spooler,
    // so its spooler settings do not matter.
    if (Contains(port, ":lp")) return 1;
    if (std::strncmp(port, "FILE:", 5) == 0) return RefuseFilePort;
    if (!Contains(port, "LPT") && !Contains(port, "USB")) return RefuseOtherPort;
    // The panel reads answers back through the port; without bidirectional
    // support nothing comes back, whatever else is wrong.
    if (!(attributes & PortAttributeEnableBidi)) return RefuseBidiOff;
    if (status & PortStatusPaused) return RefusePaused;
    if (attributes & PortAttributeWorkOffline) return RefuseOffline;
    // A separator page would be printed before the panel's own jobs.
    if (separatorFile && separatorFile[0] != '\0') return RefuseSeparator;
    return 0;
}

bool IsInternetPrintingPort(const char* portName) { return portName && Contains(portName, "/ipp"); }
